#include "preview/layout_undo.h"

#include <deque>

#include "data/layout_model.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"

namespace belvorine {
namespace {

struct UndoEntry {
    int format = 0;
    LayoutItem item;
    // A leader's followers whole, so that an undo gives back exactly what
    // was there, their own texts and attributes included.
    LayoutItem followers[2];
};

struct UndoState {
    std::deque<UndoEntry> entries;
    bool changed[kFormatCount] = {};
};

UndoState& state() {
    static UndoState instance;
    return instance;
}

bool isItemIndex(int index) {
    return index >= 0 && index < kLayoutItemCount;
}

}  // namespace

int groupFollowers(int itemIndex) {
    const ItemGroup group = groupOf(itemIndex);
    return group.first == itemIndex ? group.last - group.first : 0;
}

void pushLayoutUndo(int itemIndex) {
    if (!isItemIndex(itemIndex) || itemIndex == 0) {
        return;
    }
    const int format = currentFormat();
    const FormLayout& live = liveLayout(format);
    UndoEntry entry;
    entry.format = format;
    entry.item = live[itemIndex];
    entry.item.itemId = itemIndex;
    for (int i = 0; i < groupFollowers(itemIndex); ++i) {
        entry.followers[i] = live[itemIndex + 1 + i];
    }
    std::deque<UndoEntry>& entries = state().entries;
    if (entries.size() >= kLayoutUndoDepth) {
        entries.pop_front();
    }
    entries.push_back(entry);
    state().changed[format] = true;
}

bool undoLayoutEdit(int* restoredItem) {
    std::deque<UndoEntry>& entries = state().entries;
    if (entries.empty()) {
        return false;
    }
    const UndoEntry entry = entries.back();
    entries.pop_back();
    const int id = entry.item.itemId;
    if (!isFormatIndex(entry.format) || !isItemIndex(id)) {
        return true;
    }
    FormLayout& live = liveLayout(entry.format);
    live[id] = entry.item;
    for (int i = 0; i < groupFollowers(id); ++i) {
        live[id + 1 + i] = entry.followers[i];
    }
    prepareLayout(entry.format, live);
    if (restoredItem) {
        *restoredItem = id;
    }
    return true;
}

void clearLayoutUndo() {
    state().entries.clear();
}

int layoutUndoCount() {
    return static_cast<int>(state().entries.size());
}

bool layoutChanged(int format) {
    return isFormatIndex(format) && state().changed[format];
}

void setLayoutChanged(int format, bool changed) {
    if (isFormatIndex(format)) {
        state().changed[format] = changed;
    }
}

}  // namespace belvorine
