#pragma once
// The texts and part edges of the status bar.

#include <array>

#include <QString>

#include "platform/local_clock.h"
#include "records/records.h"

namespace belvorine {

// The right edges of the three parts for a client width and the display's
// horizontal pixels per inch (120 when it reports 0). Parts 1 and 2 are at
// least `positionWidth` and `clockWidth` pixels wide, so that the texts
// they show in the bar's font are never cut.
std::array<int, 3> statusPartEdges(int clientWidth, int dpiX, int positionWidth = 0,
                                   int clockWidth = 0);

// " 現在 2026年 12月  7日 09：05です"
QString clockText(const LocalTime& now);

// "位置：  10，  21mm　範囲：  50×  30mm" for a frame in 1/100 mm, each
// value rounded to whole millimetres.
QString positionText(const Rect& mmRect);

// The long description of a command shown in part 0 while its tool-bar
// tooltip shows; empty for commands that have none.
QString longDescription(int command);

// Part 0's text when nothing else is shown.
QString idleStatusText();

}  // namespace belvorine
