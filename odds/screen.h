// The core's touch points with the screen: the only ways in which the estimates (odds/) reach
// the views and the dialogs. Each is a callback that the shell installs at start-up; until then
// (and in programs that link the core alone) every touch point does nothing, and the check box
// reads unchecked.
//
// The controls of the main dialog that the estimates write or read are named here as well; the
// shell uses the same names.
#pragma once

#include "resources/control_ids.h"

#include <string_view>

struct ScreenTouchPoints {
    void (*drawResultBars)() = nullptr;         // the ten category bars of the main dialog
    void (*drawGain)(int opponents) = nullptr;  // the gain display (DrawGain)
    void (*setControlText)(int controlId, std::string_view text) = nullptr;  // main dialog
    bool (*isControlChecked)(int controlId) = nullptr;                       // main dialog
    void (*repaintPrecalculation)() = nullptr;  // the precalculation dialog, at once
    // An OK box owned by the main dialog, for a consistency error.
    void (*showMessageBox)(std::string_view text, std::string_view caption) = nullptr;
};

// Replaces the installed touch points (entries left null do nothing).
void InstallScreenTouchPoints(const ScreenTouchPoints& points);

// The calls of the estimates.
void RedrawResultBars();
void RedrawGain(int opponents);
void SetMainDialogText(int controlId, std::string_view text);
bool IsMainDialogChecked(int controlId);
void RepaintPrecalculation();
void ShowConsistencyMessage(std::string_view text, std::string_view caption);
