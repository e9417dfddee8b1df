#pragma once
// The lines of a multi-line edit as the user sees them, for records that
// keep a text's first lines apart as it appears in its box.

#include <QStringList>

class QPlainTextEdit;

namespace belvorine {

// The first `count` lines of `edit`: each paragraph cut where the edit
// wraps it when the edit is on screen with its real width, its paragraphs
// as they are otherwise. Line breaks are not part of the lines.
QStringList shownLines(const QPlainTextEdit* edit, int count);

}  // namespace belvorine
