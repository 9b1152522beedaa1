#include "app/result_bars.h"

#include "app/state.h"

#include <algorithm>
#include <cstdio>

std::string FormatPercent(std::int64_t count, std::int64_t total)
{
    if (count == 0)
        return "0%";
    const double p =
        total == 0 ? 0.0 : 100.0 * static_cast<double>(count) / static_cast<double>(total);
    const char* format = "%.0f%%";
    if (p < 0.001)
        format = "%.5f%%";
    else if (p < 0.01)
        format = "%.4f%%";
    else if (p < 0.1)
        format = "%.3f%%";
    else if (p < 1)
        format = "%.2f%%";
    else if (p < 10)
        format = "%.1f%%";
    char text[48];
    std::snprintf(text, sizeof text, format, p);
    return text;
}

void CreateDrawingObjects()
{
    DrawingObjects& d = appState;
    d.redBrush = CreateSolidBrush(Rgb(255, 0, 0));
    d.blueBrush = CreateSolidBrush(Rgb(0, 0, 255));
    d.greenBrush = CreateSolidBrush(Rgb(0, 255, 0));
    d.darkGreenBrush = CreateSolidBrush(Rgb(0, 180, 0));
    d.lightGreenBrush = CreateSolidBrush(Rgb(120, 255, 150));
    d.redPen = CreateSolidPen(Rgb(255, 0, 0));
    d.bluePen = CreateSolidPen(Rgb(0, 0, 255));
    d.greenPen = CreateSolidPen(Rgb(0, 255, 0));
    d.darkGreenPen = CreateSolidPen(Rgb(0, 180, 0));
}

namespace {

// Draws one rectangle with the given pen and brush.
void FillRect(DeviceContext dc, Pen pen, Brush brush, int left, int top, int right, int bottom)
{
    SelectPen(dc, pen);
    SelectBrush(dc, brush);
    Rectangle(dc, left, top, right, bottom);
}

// The text of a category's share: "<<1%" below a tenth of a percent, "<1%" below one percent.
std::string CategoryText(std::int64_t count, std::int64_t total)
{
    if (count == 0)
        return "0%";
    if (count * 1000 < total)
        return "<<1%";
    if (count * 100 < total)
        return "<1%";
    return FormatPercent(count, total);
}

}  // namespace

void DrawResultBars(Window dialog)
{
    if (!dialog)
        return;
    const HandTypeCounts& counts = appState.handTypeCounts;
    std::int64_t total = 0;
    for (std::int32_t c : counts)
        total += c;
    const ClientSize size = WindowClientSize(ControlWindow(dialog, FirstBarControl));
    const int w = size.width;
    const int h = size.height;
    for (int i = 0; i < HandTypeCount; ++i) {
        const std::int64_t c = counts[static_cast<std::size_t>(i)];
        int len = total == 0 ? 0 : static_cast<int>(c * w / total);
        if (c > 0 && len < 2)
            len = 2;  // every category that occurred shows at least two pixels
        SetControlText(dialog, FirstPercentControl + i, CategoryText(c, total));

        Window bar = ControlWindow(dialog, FirstBarControl + i);
        DeviceContext dc = GetDeviceContext(bar);
        FillRect(dc, StockBlackPen(), StockBlackBrush(), len, 1, w, h);
        FillRect(dc, appState.darkGreenPen, appState.darkGreenBrush, 0, 1, len, h);
        FillRect(dc, appState.greenPen, appState.greenBrush, 0, 2, len, h - 1);
        FillRect(dc, appState.greenPen, appState.lightGreenBrush, 0, 4, len, h - 3);
        ReleaseDeviceContext(bar, dc);
    }
}

void DrawOutcomeLegends(Window dialog)
{
    if (!dialog)
        return;
    const ClientSize size = WindowClientSize(ControlWindow(dialog, WinLegendControl));
    const int w = size.width;
    const int h = size.height;
    const int mid = h / 2;
    const int half = w / 2;
    const AppState& s = appState;

    for (int id : {WinLegendControl, TieLegendControl, LossLegendControl}) {
        Window legend = ControlWindow(dialog, id);
        DeviceContext dc = GetDeviceContext(legend);
        FillRect(dc, StockWhitePen(), StockWhiteBrush(), 1, 1, w, h);
        if (id == WinLegendControl) {
            FillRect(dc, s.greenPen, s.greenBrush, 2, mid - 1, w - 2, mid + 1);
            FillRect(dc, s.greenPen, s.greenBrush, half - 1, 2, half + 1, h - 2);
        } else if (id == TieLegendControl) {
            FillRect(dc, s.bluePen, s.blueBrush, 2, mid - 4, w - 2, mid - 1);
            FillRect(dc, s.bluePen, s.blueBrush, 2, mid + 1, w - 2, mid + 4);
        } else {
            FillRect(dc, s.redPen, s.redBrush, 2, mid - 1, w - 2, mid + 1);
        }
        ReleaseDeviceContext(legend, dc);
    }
}

namespace {

// What the activity strip showed when it was last drawn: its window and size, and the
// marker's position (-1 for none). The strip keeps its pixels between drawings.
struct StripFrame {
    Window strip = nullptr;
    int width = 0;
    int height = 0;
    int marker = -1;

    bool operator==(const StripFrame&) const = default;
};

StripFrame lastStripFrame;

// The strip's picture now; its window is null when the dialog has no strip to draw.
StripFrame StripFrameNow(Window dialog)
{
    if (!dialog)
        return {};
    Window strip = ControlWindow(dialog, ActivityStripControl);
    const ClientSize size = WindowClientSize(strip);
    if (!strip || size.width <= 0 || size.height <= 0)
        return {};
    const std::int64_t n = appState.outcomeCounts.total();
    const int marker =
        !appState.winEstimatePaused && n > 0 ? static_cast<int>((n / 100) % size.width) : -1;
    return {strip, size.width, size.height, marker};
}

}  // namespace

void DrawActivityStrip(Window dialog)
{
    const StripFrame frame = StripFrameNow(dialog);
    if (!frame.strip)
        return;
    const int w = frame.width;
    const int h = frame.height;
    DeviceContext dc = GetDeviceContext(frame.strip);
    FillRect(dc, StockBlackPen(), StockBlackBrush(), 1, 1, w, h);
    if (frame.marker >= 0) {
        const int pos = frame.marker;
        FillRect(dc, appState.redPen, appState.redBrush, std::max(pos - 7, 1), 1,
                 std::min(pos + 7, w), h);
    }
    ReleaseDeviceContext(frame.strip, dc);
    lastStripFrame = frame;
}

void DrawActivityStripIfChanged(Window dialog)
{
    if (StripFrameNow(dialog) != lastStripFrame)
        DrawActivityStrip(dialog);
}

void ForgetActivityStrip()
{
    lastStripFrame = {};
}
