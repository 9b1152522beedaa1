// The three dialog templates of the program as constant data: the main dialog (101), the
// precalculation dialog (105) and the add-player dialog (110). Positions are dialog units of
// an 8-point dialog font; DialogRectToPixels turns them into pixels.
#pragma once

#include <span>

enum class ControlKind {
    PushButton,  // a push button; sends its id as a command when pressed
    CheckBox,    // an automatic check box, text on the left; toggles itself, then sends its id
    LeftText,    // static text, left-aligned
    CenterText,  // static text, centred
    RightText,   // static text, right-aligned
    SunkenText,  // static text centred both ways in a box with a sunken edge
    GroupBox,    // a frame with a caption
    BlackFrame,  // a plain black rectangle; takes no mouse input
    WhiteFrame,  // a plain white rectangle; takes no mouse input
    Edit,        // a one-line edit field, bordered, centred text
    HScrollBar,  // a horizontal scroll bar
};

struct ControlTemplate {
    int id;  // UnaddressedControl for a label or frame that nothing refers to
    ControlKind kind;
    int x, y, width, height;  // dialog units
    const char* text;
    bool tabStop;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int width, height;  // dialog units, of the client area
    std::span<const ControlTemplate> controls;
};

// The template with the given id, or null.
const DialogTemplate* FindDialogTemplate(int templateId);

struct PixelRect {
    int left, top, right, bottom;
};

// Dialog units to pixels with the base units of an 8-point MS Sans Serif dialog at 96 dpi
// (6 by 13 pixels per 4 by 8 units), corners rounded to the nearest pixel.
PixelRect DialogRectToPixels(int x, int y, int width, int height);
