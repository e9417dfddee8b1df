// Frame groups, the company profile and the resets of a format.

#include <gtest/gtest.h>

#include "data/factory_values.h"
#include "data/layout_model.h"
#include "data/settings_state.h"
#include "platform/sjis_text.h"

using namespace belvorine;

namespace {

class LayoutModel : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettingsStateForTesting();
        for (int format : {0, 1}) {
            settings().liveLayout[format] = factoryLayout();
        }
    }
    void TearDown() override { resetSettingsStateForTesting(); }
};

}  // namespace

TEST_F(LayoutModel, AWriteToAGroupMovesTheWholeGroup) {
    FormLayout layout = factoryLayout();
    const Rect moved{100, 200, 300, 400};
    for (int item : {1, 2, 3, 14, 15, 16, 17, 18, 19}) {
        layout = factoryLayout();
        setGroupRect(layout, item, moved);
        const ItemGroup group = groupOf(item);
        for (int i = 0; i < kLayoutItemCount; ++i) {
            const bool inGroup = i >= group.first && i <= group.last;
            EXPECT_EQ(layout[i].mmRect == moved, inGroup) << "write " << item << " item " << i;
        }
        EXPECT_EQ(group.last - group.first, 2) << item;
    }
    layout = factoryLayout();
    setGroupRect(layout, 20, moved);
    EXPECT_EQ(layout[20].mmRect, moved);
    EXPECT_EQ(layout[17].mmRect, factoryLayout()[17].mmRect);
    EXPECT_EQ(layout[21].mmRect, factoryLayout()[21].mmRect);
    // Out-of-range items are ignored rather than written past the layout.
    setGroupRect(layout, 30, moved);
    setGroupRect(layout, -1, moved);

    layout[15].mmRect = moved;
    layout[15].screenRect = Rect{1, 2, 3, 4};
    copyRectsToGroup(layout, 15);
    EXPECT_EQ(layout[14].screenRect, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(layout[16].mmRect, moved);
}

TEST_F(LayoutModel, TheCompanyProfileIsWrittenToBothFormats) {
    const std::string name = toSjisLossy(QStringLiteral("ベルヴォリン商事株式会社"));
    ASSERT_EQ(setCompanyProfileText(0, name), 1);
    EXPECT_EQ(companyProfileText(0, 0), name);
    EXPECT_EQ(companyProfileText(1, 0), name);
    EXPECT_EQ(sjisView(liveLayout(1)[5].text), name);
    EXPECT_EQ(companyProfileText(1, 5), "FAX (000)000-0000");

    // 200 double-byte characters: cut to 127 of them, never half of one.
    std::string tooLong;
    for (int i = 0; i < 200; ++i) {
        tooLong += "\x82\xA0";
    }
    ASSERT_EQ(setCompanyProfileText(3, tooLong), 1);
    EXPECT_EQ(companyProfileText(0, 3), tooLong.substr(0, 254));

    EXPECT_EQ(setCompanyProfileText(6, "x"), 0);
    EXPECT_EQ(setCompanyProfileText(-1, "x"), 0);
    EXPECT_EQ(sjisView(liveLayout(0)[11].text), sjisView(factoryLayout()[11].text));
    EXPECT_EQ(sjisView(liveLayout(0)[4].text), sjisView(factoryLayout()[4].text));
    EXPECT_EQ(companyProfileText(2, 0), "");
    EXPECT_EQ(companyProfileText(0, 6), "");
}
