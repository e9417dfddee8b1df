#pragma once
// The undo history of the layout editor: up to nine frames as they were
// before a change, newest last, and the per-format flag that the layout was
// changed since start-up ("起動時の状態に戻す" is offered only then).

namespace belvorine {

inline constexpr int kLayoutUndoDepth = 9;

// Saves the current format's live item `itemIndex` (1 to 29) as it is now;
// for the group leaders 1, 14 and 17 also their two followers.
// With nine entries held the oldest is dropped. Marks the format as changed.
// An index outside the layout saves nothing.
void pushLayoutUndo(int itemIndex);

// Writes the newest entry back into the live layout of the format it was
// taken from (a group leader also into its followers, which get back their
// own texts and attributes) and prepares every item of that layout again. Returns false
// when the history is empty. `restoredItem` receives the item written.
bool undoLayoutEdit(int* restoredItem = nullptr);

// Forgets every entry. Called on entering layout mode, on a format switch,
// by the resets and by every dialog that rewrites the live layout outside
// the editor, so that an undo never writes an old frame over its changes.
void clearLayoutUndo();

int layoutUndoCount();

// Whether `format`'s layout was changed in the editor since start-up or
// since the last reset to the start-up state.
bool layoutChanged(int format);
void setLayoutChanged(int format, bool changed);

// The number of followers of a group leader (1 → 2, 3; 14 → 15, 16;
// 17 → 18, 19); 0 for any other item.
int groupFollowers(int itemIndex);

}  // namespace belvorine
