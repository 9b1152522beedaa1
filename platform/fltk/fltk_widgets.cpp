// The FLTK widgets of the desktop platform. Each subclass only overrides what FLTK needs to
// call (draw, handle, flush, resize) and hands the event to the layer's free functions.
#include "platform/fltk/fltk_widgets.h"

#include "platform/fltk/fltk_platform.h"

#include "platform/fltk/fltk_draw.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_PNG_Image.H>

#include "resources/program_icon.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// Drawing through an Fl_Gl_Window (fltk_gl.cpp): runs the redraw routine or clears to black.
void FlushGlSurface(WindowRecord& window);

// Gives a shown window the keyboard focus; offers it no resizing and no maximise button
// (fltk_display.cpp).
void ActivateShownWindow(Fl_Window* window);
void MarkShownWindowFixedSize(Fl_Window* window);

namespace {

// --- Host window: dialogs and top-level windows -------------------------------------------

class HostWindow : public Fl_Double_Window {
public:
    HostWindow(WindowRecord& record, int x, int y, int width, int height)
        : Fl_Double_Window(x, y, width, height), record_(record)
    {
    }

    int handle(int event) override
    {
        const int handled = HandleHostEvent(record_, event);
        if (handled >= 0)
            return handled;
        const int result = Fl_Double_Window::handle(event);
        NoteFocus(record_);
        return result;
    }

    void draw() override
    {
        Fl_Double_Window::draw();
        DrawGlFrames(record_);
    }

    void resize(int x, int y, int width, int height) override
    {
        const bool moved = x != this->x() || y != this->y();
        const bool resized = width != w() || height != h();
        Fl_Double_Window::resize(x, y, width, height);
        if (moved || resized)
            HostWindowMoved(record_, moved, resized);
    }

private:
    WindowRecord& record_;
};

void CloseCallback(Fl_Widget*, void* data)
{
    PressCloseBox(*static_cast<WindowRecord*>(data));
}

void PressCallback(Fl_Widget*, void* data)
{
    PressControl(*static_cast<WindowRecord*>(data), false);  // a check box toggled itself
}

// Only the left mouse button presses a push button or toggles a check box. The press, drag
// and release of any other button are taken and dropped, so that neither the control nor the
// dialog under it acts on them.
bool OtherMouseButton(int event)
{
    return (event == FL_PUSH || event == FL_DRAG || event == FL_RELEASE) &&
           Fl::event_button() != FL_LEFT_MOUSE;
}

// --- Push button: the left mouse button only; its text shrinks until it fits ---------------

class PushButton : public Fl_Button {
public:
    PushButton(int x, int y, int width, int height) : Fl_Button(x, y, width, height) {}

    int handle(int event) override
    {
        return OtherMouseButton(event) ? 1 : Fl_Button::handle(event);
    }

    // The text keeps a margin of TextMargin pixels inside the focus rectangle, which FLTK draws
    // one pixel inside the box: a text too wide for that is drawn in a smaller size.
    void draw() override
    {
        const int room = w() - Fl::box_dw(box()) - 2 - 2 * TextMargin;
        const Fl_Fontsize wanted = labelsize();
        Fl_Fontsize size = wanted;
        if (label()) {
            fl_font(labelfont(), size);
            while (size > 7 && fl_width(label()) > room)
                fl_font(labelfont(), --size);
        }
        labelsize(size);
        Fl_Button::draw();
        labelsize(wanted);
    }

    static constexpr int TextMargin = 3;
};

// --- Check box with its text on the left and the box at the right end ---------------------

class LeftTextCheckBox : public Fl_Check_Button {
public:
    LeftTextCheckBox(int x, int y, int width, int height) : Fl_Check_Button(x, y, width, height) {}

    int handle(int event) override
    {
        return OtherMouseButton(event) ? 1 : Fl_Check_Button::handle(event);
    }

    void draw() override
    {
        fl_rectf(x(), y(), w(), h(), color());
        const int side = std::min(13, h());
        const int bx = x() + w() - side;
        const int by = y() + (h() - side) / 2;
        fl_draw_box(FL_DOWN_BOX, bx, by, side, side,
                    active_r() ? FL_BACKGROUND2_COLOR : FL_BACKGROUND_COLOR);
        if (value()) {
            fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
            fl_line_style(FL_SOLID, 2);
            fl_line(bx + 3, by + side / 2, bx + side / 2 - 1, by + side - 4, bx + side - 3, by + 3);
            fl_line_style(0);
        }
        draw_label(x(), y(), w() - side - 2, h());
        if (Fl::focus() == this)
            draw_focus(FL_FLAT_BOX, x(), y(), w() - side - 2, h());
    }
};

// --- Group box: an engraved frame with its caption set into the top edge -------------------

class GroupBox : public Fl_Box {
public:
    GroupBox(int x, int y, int width, int height) : Fl_Box(x, y, width, height) {}

    void draw() override
    {
        fl_font(labelfont(), labelsize());
        const int half = fl_height() / 2;
        fl_draw_box(FL_ENGRAVED_FRAME, x(), y() + half, w(), h() - half, color());
        const char* caption = label() ? label() : "";
        const int width = static_cast<int>(fl_width(caption));
        fl_color(color());
        fl_rectf(x() + 6, y(), width + 4, fl_height());
        fl_color(labelcolor());
        fl_draw(caption, x() + 8, y() + fl_height() - fl_descent());
    }
};

// --- Frames: the device context's pixel buffer ----------------------------------------------

class PixelFrame : public Fl_Box {
public:
    PixelFrame(WindowRecord& record, int x, int y, int width, int height)
        : Fl_Box(x, y, width, height), record_(record)
    {
    }

    void draw() override
    {
        const int width = record_.width;
        const int height = record_.height;
        if (width <= 0 || height <= 0 ||
            record_.pixels.size() != static_cast<std::size_t>(width) * height)
            return;
        rgb_.resize(record_.pixels.size() * 3);
        for (std::size_t i = 0; i < record_.pixels.size(); ++i) {
            const std::uint32_t c = record_.pixels[i];
            rgb_[3 * i] = static_cast<uchar>(c >> 16);
            rgb_[3 * i + 1] = static_cast<uchar>(c >> 8);
            rgb_[3 * i + 2] = static_cast<uchar>(c);
        }
        fl_draw_image(rgb_.data(), x(), y(), width, height, 3);
    }

private:
    WindowRecord& record_;
    std::vector<uchar> rgb_;
};

// --- Edit field with its text centred while it fits -----------------------------------------

class CentredInput : public Fl_Input {
public:
    CentredInput(int x, int y, int width, int height) : Fl_Input(x, y, width, height) {}

    void draw() override
    {
        const Fl_Boxtype b = box();
        if (damage() & FL_DAMAGE_ALL)
            draw_box(b, color());
        const int shift = Shift();
        drawtext(x() + Fl::box_dx(b) + shift, y() + Fl::box_dy(b), w() - Fl::box_dw(b) - shift,
                 h() - Fl::box_dh(b));
    }

    // FLTK maps the mouse to text positions from the field's left edge: move the mouse by
    // the same shift as the text so that clicks land where the text is shown.
    int handle(int event) override
    {
        const bool mouse = event == FL_PUSH || event == FL_DRAG || event == FL_RELEASE;
        const int shift = mouse ? Shift() : 0;
        const int before = size();
        const std::string old = value();
        Fl::e_x -= shift;
        const int result = Fl_Input::handle(event);
        Fl::e_x += shift;
        if (size() != before || old != value())
            redraw();  // the shift changes with the text's width
        return result;
    }

private:
    int Shift()
    {
        fl_font(textfont(), textsize());
        const int text = static_cast<int>(fl_width(value(), size()));
        const int room = w() - Fl::box_dw(box()) - 6;
        return text < room ? (room - text) / 2 : 0;
    }
};

// --- Horizontal scroll bar with Win32's codes -----------------------------------------------

class ScrollBarWidget : public Fl_Widget {
public:
    ScrollBarWidget(WindowRecord& record, int x, int y, int width, int height)
        : Fl_Widget(x, y, width, height), record_(record)
    {
    }

    ~ScrollBarWidget() override { Fl::remove_timeout(Repeat, this); }

    void draw() override
    {
        const ScrollInfo& info = record_.scroll;
        const ScrollGeometry g =
            ComputeScrollGeometry(w(), h(), info, record_.tracking ? info.trackPos : info.pos);
        fl_draw_box(FL_FLAT_BOX, x(), y(), w(), h(),
                    fl_color_average(FL_BACKGROUND_COLOR, FL_WHITE, 0.5f));
        const bool leftDown = pressed_ == ScrollLineLeft;
        const bool rightDown = pressed_ == ScrollLineRight;
        fl_draw_box(leftDown ? FL_DOWN_BOX : FL_UP_BOX, x(), y(), g.arrow, h(),
                    FL_BACKGROUND_COLOR);
        fl_draw_box(rightDown ? FL_DOWN_BOX : FL_UP_BOX, x() + w() - g.arrow, y(), g.arrow, h(),
                    FL_BACKGROUND_COLOR);
        fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
        const int cy = y() + h() / 2;
        const int s = std::max(2, h() / 4);
        const int lx = x() + g.arrow / 2 - s / 2;
        fl_polygon(lx, cy, lx + s, cy - s, lx + s, cy + s);
        const int rx = x() + w() - g.arrow + g.arrow / 2 + s / 2;
        fl_polygon(rx, cy, rx - s, cy - s, rx - s, cy + s);
        if (g.thumbWidth > 0)
            fl_draw_box(FL_UP_BOX, x() + g.thumbLeft, y(), g.thumbWidth, h(), FL_BACKGROUND_COLOR);
    }

    int handle(int event) override
    {
        switch (event) {
        case FL_PUSH: {
            if (Fl::event_button() != FL_LEFT_MOUSE || !active_r())
                return 1;
            ScrollInfo& info = record_.scroll;
            const ScrollGeometry g = ComputeScrollGeometry(w(), h(), info, info.pos);
            mouseX_ = Fl::event_x() - x();
            const int code = ScrollCodeAt(g, w(), mouseX_);
            if (code == ScrollThumbTrack) {
                record_.tracking = true;
                record_.trackGrab = mouseX_ - g.thumbLeft;
                info.trackPos = info.pos;
                redraw();
                return 1;
            }
            pressed_ = code;
            redraw();
            SendScroll(record_, code, 0);
            Fl::add_timeout(0.4, Repeat, this);
            return 1;
        }
        case FL_DRAG: {
            mouseX_ = Fl::event_x() - x();
            ScrollInfo& info = record_.scroll;
            if (!record_.tracking)
                return 1;
            const ScrollGeometry g = ComputeScrollGeometry(w(), h(), info, info.pos);
            const int pos = ScrollPositionForThumb(g, info, mouseX_ - record_.trackGrab);
            if (pos != info.trackPos) {
                info.trackPos = pos;
                redraw();
                SendScroll(record_, ScrollThumbTrack, pos);
            }
            return 1;
        }
        case FL_RELEASE: {
            Fl::remove_timeout(Repeat, this);
            pressed_ = -1;
            redraw();
            if (record_.tracking) {
                record_.tracking = false;
                SendScroll(record_, ScrollThumbPosition, record_.scroll.trackPos);
            }
            SendScroll(record_, ScrollEnd, 0);
            return 1;
        }
        default:
            return Fl_Widget::handle(event);
        }
    }

private:
    // Auto-repeat of an arrow or of the trough while the button stays down; a page repeat
    // stops once the thumb has reached the mouse.
    static void Repeat(void* data)
    {
        auto* self = static_cast<ScrollBarWidget*>(data);
        if (self->pressed_ < 0 || !WindowAlive(&self->record_))
            return;
        const ScrollInfo& info = self->record_.scroll;
        const ScrollGeometry g = ComputeScrollGeometry(self->w(), self->h(), info, info.pos);
        if (ScrollCodeAt(g, self->w(), self->mouseX_) == self->pressed_) {
            Fl::repeat_timeout(0.05, Repeat, data);
            SendScroll(self->record_, self->pressed_, 0);
        }
    }

    WindowRecord& record_;
    int pressed_ = -1;  // the arrow or trough code held down, -1 for none
    int mouseX_ = 0;
};

// --- OpenGL surface ----------------------------------------------------------------------------

// FLTK's own Fl_Gl_Window::flush makes the context current, calls draw() and then swaps. The
// program's views follow their own frame protocol instead (make current, draw, swap, release),
// so flush() is replaced as a whole: it runs the view's redraw routine, and FLTK never swaps a
// second time. A second swap would show the back buffer left after the routine's swap, which
// on a flipping driver is the frame before, and on Mesa's copying swap merely costs time.
class GlSurface : public Fl_Gl_Window {
public:
    GlSurface(WindowRecord& record, int x, int y, int width, int height)
        : Fl_Gl_Window(x, y, width, height), record_(record)
    {
        mode(FL_RGB | FL_DOUBLE | FL_DEPTH | FL_STENCIL);
    }

    void flush() override { FlushGlSurface(record_); }
    void draw() override { FlushGlSurface(record_); }

private:
    WindowRecord& record_;
};

Fl_Align TextAlign(ControlKind kind)
{
    switch (kind) {
    // Labels may run a pixel or two past their box, as the dialog font's do; the texts that
    // change (in sunken boxes) are clipped so that no old text stays beside them.
    case ControlKind::LeftText:
        return FL_ALIGN_LEFT | FL_ALIGN_INSIDE;
    case ControlKind::RightText:
        return FL_ALIGN_RIGHT | FL_ALIGN_INSIDE;
    case ControlKind::SunkenText:
        return FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_CLIP;
    default:
        return FL_ALIGN_CENTER | FL_ALIGN_INSIDE;
    }
}

}  // namespace

Fl_Window* MakeHostWindow(WindowRecord& window, int x, int y, int width, int height)
{
    Fl_Group* current = Fl_Group::current();
    Fl_Group::current(nullptr);
    auto* host = new HostWindow(window, x, y, width, height);
    host->end();
    Fl_Group::current(current);
    host->callback(CloseCallback, &window);
    host->copy_label(window.text.c_str());
    host->labelsize(DialogFontSize);
    return host;
}

Fl_Widget* MakeControlWidget(WindowRecord& control, Fl_Window& dialog)
{
    const int x = control.x;
    const int y = control.y;
    const int w = control.width;
    const int h = control.height;
    Fl_Widget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::PushButton:
        widget = new PushButton(x, y, w, h);
        widget->callback(PressCallback, &control);
        break;
    case ControlKind::CheckBox:
        widget = new LeftTextCheckBox(x, y, w, h);
        widget->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
        widget->callback(PressCallback, &control);
        break;
    case ControlKind::LeftText:
    case ControlKind::CenterText:
    case ControlKind::RightText:
        widget = new Fl_Box(FL_FLAT_BOX, x, y, w, h, nullptr);
        widget->align(TextAlign(control.kind));
        break;
    case ControlKind::SunkenText:
        widget = new Fl_Box(FL_THIN_DOWN_BOX, x, y, w, h, nullptr);
        widget->align(TextAlign(control.kind));
        break;
    case ControlKind::GroupBox:
        widget = new GroupBox(x, y, w, h);
        break;
    case ControlKind::BlackFrame:
    case ControlKind::WhiteFrame:
        widget = new PixelFrame(control, x, y, w, h);
        break;
    case ControlKind::Edit: {
        auto* input = new CentredInput(x, y, w, h);
        input->textsize(DialogFontSize);
        input->textfont(FL_HELVETICA);
        input->value(control.text.c_str());
        widget = input;
        break;
    }
    case ControlKind::HScrollBar:
        widget = new ScrollBarWidget(control, x, y, w, h);
        break;
    }
    widget->labelsize(DialogFontSize);
    widget->labelfont(FL_HELVETICA);
    if (control.kind != ControlKind::Edit && control.kind != ControlKind::HScrollBar)
        widget->copy_label(control.text.c_str());
    if (!control.tabStop && control.kind != ControlKind::Edit)
        widget->clear_visible_focus();
    dialog.add(widget);
    return widget;
}

Fl_Gl_Window* MakeGlSurface(WindowRecord& window)
{
    auto* host = static_cast<Fl_Window*>(window.isDialog || window.isTopLevel
                                             ? window.native->widget
                                             : window.parent->native->widget);
    const bool whole = window.isDialog || window.isTopLevel;
    const int x = whole ? 0 : window.x;
    const int y = whole ? 0 : window.y;
    const int w = whole ? host->w() : window.width;
    const int h = whole ? host->h() : window.height;
    Fl_Group* current = Fl_Group::current();
    Fl_Group::current(nullptr);
    auto* surface = new GlSurface(window, x, y, std::max(w, 1), std::max(h, 1));
    surface->end();
    Fl_Group::current(current);
    host->add(surface);
    if (whole)
        host->resizable(surface);
    if (host->shown())
        surface->show();
    return surface;
}

// --- Message box ---------------------------------------------------------------------------

namespace {

// A fixed-size box centred on the screen: the text, then the buttons at the bottom right.
// Enter presses the focused button, Escape and the close box answer with the last button.
class MessageBoxWindow : public Fl_Double_Window {
public:
    MessageBoxWindow(int x, int y, int width, int height) : Fl_Double_Window(x, y, width, height) {}

    int handle(int event) override
    {
        if ((event == FL_KEYBOARD || event == FL_SHORTCUT) &&
            (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
            Fl_Widget* focus = Fl::focus();
            if (focus && focus->parent() == this && focus != text)
                focus->do_callback();
            return 1;
        }
        return Fl_Double_Window::handle(event);
    }

    Fl_Widget* text = nullptr;
    int answer = -1;
};

void AnswerCallback(Fl_Widget* widget, void* data)
{
    auto* box = static_cast<MessageBoxWindow*>(widget->window() ? widget->window() : widget);
    box->answer = static_cast<int>(reinterpret_cast<std::intptr_t>(data));
    box->hide();
}

}  // namespace

int RunFltkMessageBox(Fl_Window* owner, const std::string& text, const std::string& caption,
                      const std::vector<std::string>& buttons)
{
    constexpr int Margin = 14;
    constexpr int ButtonWidth = 75;
    constexpr int ButtonHeight = 25;
    constexpr int Gap = 8;
    const int count = static_cast<int>(buttons.size());
    fl_font(FL_HELVETICA, MessageFontSize);
    int textWidth = 0, textHeight = 0;
    fl_measure(text.c_str(), textWidth, textHeight, 0);
    const int buttonsWidth = count * ButtonWidth + std::max(count - 1, 0) * Gap;
    const int width = std::max({textWidth, buttonsWidth, 200}) + 2 * Margin;
    const int height = Margin + std::max(textHeight, 20) + Margin + ButtonHeight + Margin;
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_xywh(sx, sy, sw, sh, 0);

    Fl_Group* current = Fl_Group::current();
    Fl_Group::current(nullptr);
    auto* box = new MessageBoxWindow(sx + (sw - width) / 2, sy + (sh - height) / 2, width, height);
    box->copy_label(caption.c_str());
    box->size_range(width, height, width, height);
    box->set_modal();
    box->callback(AnswerCallback, reinterpret_cast<void*>(static_cast<std::intptr_t>(count - 1)));
    auto* label = new Fl_Box(Margin, Margin, width - 2 * Margin, std::max(textHeight, 20));
    label->copy_label(text.c_str());
    label->labelfont(FL_HELVETICA);
    label->labelsize(MessageFontSize);
    label->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    label->clear_visible_focus();
    box->text = label;
    Fl_Widget* first = nullptr;
    for (int i = 0; i < count; ++i) {
        const int x = width - Margin - buttonsWidth + i * (ButtonWidth + Gap);
        auto* button = new PushButton(x, height - Margin - ButtonHeight, ButtonWidth, ButtonHeight);
        button->copy_label(buttons[static_cast<std::size_t>(i)].c_str());
        button->labelfont(FL_HELVETICA);
        button->labelsize(MessageFontSize);
        button->callback(AnswerCallback, reinterpret_cast<void*>(static_cast<std::intptr_t>(i)));
        if (!first)
            first = button;
    }
    box->end();
    Fl_Group::current(current);

    box->show();
    MarkShownWindowFixedSize(box);
    ActivateShownWindow(box);
    if (first)
        Fl::focus(first);
    while (box->shown())
        Fl::wait(1e20);
    const int answer = box->answer;
    delete box;
    if (owner && owner->shown())
        ActivateShownWindow(owner);
    return answer;
}

void SetProgramIcons()
{
    std::vector<Fl_PNG_Image*> images;
    for (const auto& file : ProgramIconFiles) {
        const std::span<const std::uint8_t> bytes = file();
        auto* image = new Fl_PNG_Image(nullptr, bytes.data(), static_cast<int>(bytes.size()));
        if (image->w() > 0 && image->h() > 0 && image->d() == 4)
            images.push_back(image);
        else
            delete image;
    }
    std::vector<const Fl_RGB_Image*> icons(images.begin(), images.end());
    Fl_Window::default_icons(icons.data(), static_cast<int>(icons.size()));  // takes copies
    for (Fl_PNG_Image* image : images)
        delete image;
}
