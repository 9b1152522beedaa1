#include "app/result_bars.h"

#include "app/state.h"

std::string FormatPercent(std::int64_t, std::int64_t)
{
    return "0%";
}

void CreateDrawingObjects() {}
void DrawResultBars(Window) {}
void DrawOutcomeLegends(Window) {}
void DrawActivityStrip(Window) {}
