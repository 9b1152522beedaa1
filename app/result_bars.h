// The main dialog's rectangle drawing: the ten category bars with their percentage texts, the
// three outcome legends and the activity strip under the gain display, plus the one rule that
// turns a count out of a total into a percentage text.
#pragma once

#include "resources/control_ids.h"

#include "platform/platform.h"

#include <cstdint>
#include <string>

// Control ids of the main dialog that this part draws or writes.

// "0%" for a zero count; otherwise 100 * count / total with more decimals the smaller it is
// ("%.5f%%" below 0.001 up to "%.0f%%" from 10 on). A zero total gives 0.00000% for a
// non-zero count.
std::string FormatPercent(std::int64_t count, std::int64_t total);

// Creates the nine pens and brushes into the state block.
void CreateDrawingObjects();

// Draws the ten bars and writes their texts from appState.handTypeCounts.
void DrawResultBars(Window dialog);

// Draws the win, tie and loss legends: a green plus, a blue equals sign, a red minus.
void DrawOutcomeLegends(Window dialog);

// Draws the activity strip: black, with a red marker that moves one pixel per 100 deals while
// the win estimate runs.
void DrawActivityStrip(Window dialog);

// The redraw timer's drawing: DrawActivityStrip only when the strip would look different from
// its last drawing (its window, size, or the marker's place), or after ForgetActivityStrip
// (a new dialog, whose strip holds no drawing yet).
void DrawActivityStripIfChanged(Window dialog);
void ForgetActivityStrip();
