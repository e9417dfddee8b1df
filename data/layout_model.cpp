#include "data/layout_model.h"

#include "data/settings_state.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

constexpr ItemGroup kSharedFrames[] = {{1, 3}, {14, 16}, {17, 19}};

bool isProfileIndex(int index) {
    return index >= 0 && index < kCompanyProfileCount;
}

}  // namespace

ItemGroup groupOf(int item) {
    for (const ItemGroup& group : kSharedFrames) {
        if (item >= group.first && item <= group.last) {
            return group;
        }
    }
    return ItemGroup{item, item};
}

bool isFrameOnlyItem(int item) {
    return item == kItemStampBox || item == kItemTable || item == kItemRevenueStamp ||
           item == kItemRuleLine;
}

void setGroupRect(FormLayout& layout, int item, const Rect& mm) {
    if (item < 0 || item >= kLayoutItemCount) {
        return;
    }
    const ItemGroup group = groupOf(item);
    for (int i = group.first; i <= group.last; ++i) {
        layout[i].mmRect = mm;
    }
}

void copyRectsToGroup(FormLayout& layout, int item) {
    if (item < 0 || item >= kLayoutItemCount) {
        return;
    }
    const ItemGroup group = groupOf(item);
    for (int i = group.first; i <= group.last; ++i) {
        layout[i].mmRect = layout[item].mmRect;
        layout[i].screenRect = layout[item].screenRect;
    }
}

void numberItems(FormLayout& layout) {
    for (int i = 0; i < kLayoutItemCount; ++i) {
        layout[i].itemId = i;
    }
}

std::string_view companyProfileText(int format, int index) {
    if (!isProfileIndex(index) || !isFormatIndex(format)) {
        return std::string_view();
    }
    return sjisView(liveLayout(format)[kItemCompanyFirst + index].text);
}

int setCompanyProfileText(int index, std::string_view textSjis) {
    if (!isProfileIndex(index)) {
        return 0;
    }
    for (int format = 0; format < kFormatCount; ++format) {
        copySjis(liveLayout(format)[kItemCompanyFirst + index].text, textSjis);
    }
    return 1;
}

}  // namespace belvorine
