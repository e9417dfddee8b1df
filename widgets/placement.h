#pragma once
// Where windows and dialogs go on the screen. The arithmetic is kept apart
// from the widgets so that it can be checked with any screen.

#include <QRect>

class QWidget;

namespace belvorine {

// Top-left corner of a dialog of `dialogSize` centred over `mainWindow`
// (the work area when that is empty), kept inside the work area's right
// and bottom edges and never at a negative position.
QPoint centredPosition(QSize dialogSize, QRect mainWindow, QRect workArea);

// The window rectangle moved (and if need be cut) so that it lies inside
// the work area: a window above or left of the work area comes back to its
// edge, one past its bottom or right edge moves back so that the edges meet,
// but never above or left of screen coordinate 0.
QRect keepInsideWorkArea(QRect window, QRect workArea);

// The available area of the screen that shows `widget` (or the primary
// screen).
QRect workArea(const QWidget* widget = nullptr);

// The window that dialogs centre over and that owns the message boxes.
void setMainWindow(QWidget* window);
QWidget* mainWindow();

// Moves `dialog` over the main window by centredPosition.
void centreDialog(QWidget* dialog);

}  // namespace belvorine
