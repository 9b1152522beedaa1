// Tests of the desktop platform on FLTK. They run under their own X server (CTest starts them
// through xvfb-run) and fail when none is there. Keys are fed through Fl::handle as FLTK's own
// X event handler would; mouse input comes from xdotool, so that it really passes through the
// X server and the OpenGL child windows.
#include "platform/fltk/fltk_platform.h"
#include "platform/gl.h"
#include "resources/dialog_templates.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <FL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Received {
    Window window;
    Message message;
    MessageParams params;
};

std::vector<Received> received;

int Recorder(Window window, Message message, const MessageParams& params)
{
    received.push_back({window, message, params});
    return message == Message::InitDialog ? 1 : 0;
}

int QuietRecorder(Window window, Message message, const MessageParams& params)
{
    Recorder(window, message, params);
    return 0;  // InitDialog: no focus for the first tab stop
}

std::vector<int> Commands(Window window)
{
    std::vector<int> ids;
    for (const Received& r : received)
        if (r.window == window && r.message == Message::Command)
            ids.push_back(r.params.id);
    return ids;
}

int CountOf(Window window, Message message)
{
    int count = 0;
    for (const Received& r : received)
        count += r.window == window && r.message == message;
    return count;
}

Fl_Window* HostOf(Window window)
{
    return static_cast<Fl_Window*>(FltkWidget(window));
}

void PressKey(Window dialog, int key, int state = 0)
{
    static char empty[] = "";
    Fl::e_keysym = key;
    Fl::e_state = state;
    Fl::e_text = empty;
    Fl::e_length = 0;
    Fl::handle(FL_KEYBOARD, HostOf(dialog));
}

// Shows the dialog and waits until X has mapped it.
void ShowAndWait(Window window)
{
    ShowWindow(window);
    FltkRunUntil([&] { return HostOf(window)->visible(); }, 2.0);
    FltkRunUntil([] { return false; }, 0.2);
}

class FltkPlatformTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FltkDisplayAvailable()) << "no X display: the suite runs under xvfb-run";
        received.clear();
    }
};

// --- Dialogs from templates ---------------------------------------------------------------

TEST_F(FltkPlatformTest, MainDialogHasEveryControlAtItsTemplateRectangle)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(std::string(HostOf(dialog)->label()), "Tablewise Application");
    EXPECT_EQ(WindowClientSize(dialog).width, 558);
    EXPECT_EQ(WindowClientSize(dialog).height, 483);
    const DialogTemplate* main = FindDialogTemplate(101);
    for (const ControlTemplate& c : main->controls) {
        if (c.id == -1)
            continue;
        const PixelRect r = DialogRectToPixels(c.x, c.y, c.width, c.height);
        Fl_Widget* widget = FltkWidget(ControlWindow(dialog, c.id));
        ASSERT_NE(widget, nullptr) << c.id;
        EXPECT_EQ(widget->x(), r.left) << c.id;
        EXPECT_EQ(widget->y(), r.top) << c.id;
        EXPECT_EQ(widget->w(), r.right - r.left) << c.id;
        EXPECT_EQ(widget->h(), r.bottom - r.top) << c.id;
        EXPECT_EQ(WindowClientSize(ControlWindow(dialog, c.id)).width, r.right - r.left);
    }
    // Centred on the screen, and controls report their screen rectangle from the client origin.
    ShowAndWait(dialog);
    EXPECT_NEAR(HostOf(dialog)->x() + 558 / 2, Fl::w() / 2, 2);
    EXPECT_NEAR(HostOf(dialog)->y() + 483 / 2, Fl::h() / 2, 2);
    const ScreenRect bar = WindowScreenRect(ControlWindow(dialog, 1051));
    const PixelRect r = DialogRectToPixels(228, 20, 102, 7);
    EXPECT_EQ(bar.left, HostOf(dialog)->x() + r.left);
    EXPECT_EQ(bar.bottom, HostOf(dialog)->y() + r.bottom);
    EXPECT_EQ(ControlWindow(dialog, 4242), nullptr);
    EXPECT_EQ(CreateModelessDialog(4242, nullptr, Recorder), nullptr);
    DestroyWindow(dialog);
}

TEST_F(FltkPlatformTest, TextsCheckMarksAndEnablingRoundTrip)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    EXPECT_EQ(ControlText(dialog, 1043), "Hand type");
    SetControlText(dialog, 1043, "Pair of Aces");
    EXPECT_EQ(ControlText(dialog, 1043), "Pair of Aces");
    EXPECT_EQ(std::string(FltkWidget(ControlWindow(dialog, 1043))->label()), "Pair of Aces");
    EXPECT_EQ(ControlText(dialog, 999), "");

    EXPECT_FALSE(IsControlChecked(dialog, 1088));
    SetControlChecked(dialog, 1088, true);
    EXPECT_TRUE(IsControlChecked(dialog, 1088));
    SetControlChecked(dialog, 1088, false);
    EXPECT_FALSE(IsControlChecked(dialog, 1088));

    EnableControl(dialog, 3, false);
    EXPECT_FALSE(FltkWidget(ControlWindow(dialog, 3))->active());
    EnableControl(dialog, 3, true);
    EXPECT_TRUE(FltkWidget(ControlWindow(dialog, 3))->active());
    DestroyWindow(dialog);

    // The edit field's text is what the field holds, typed text included (UTF-8).
    Window player = CreateModelessDialog(110, nullptr, Recorder);
    SetControlText(player, 1097, "Opponent 6");
    EXPECT_EQ(ControlText(player, 1097), "Opponent 6");
    auto* input = static_cast<Fl_Input_*>(FltkWidget(ControlWindow(player, 1097)));
    input->value("Zo\xC3\xAB");
    EXPECT_EQ(ControlText(player, 1097), "Zo\xC3\xAB");
    DestroyWindow(player);
    EXPECT_EQ(FltkWidget(player), nullptr);
}

TEST_F(FltkPlatformTest, RectangleFollowsGdiRulesInTheControlsBuffer)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    Window bar = ControlWindow(dialog, 1051);  // 153 x 11 pixels
    ASSERT_EQ(WindowClientSize(bar).width, 153);
    DeviceContext dc = GetDeviceContext(bar);
    // A fresh black frame shows its outline.
    EXPECT_EQ(FltkPixel(bar, 0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(FltkPixel(bar, 152, 10), Rgb(0, 0, 0));

    ShowAndWait(dialog);
    FltkWidget(bar)->clear_damage();
    SelectPen(dc, CreateSolidPen(Rgb(0, 0, 255)));
    SelectBrush(dc, CreateSolidBrush(Rgb(255, 0, 0)));
    Rectangle(dc, 10, 2, 20, 8);
    EXPECT_NE(FltkWidget(bar)->damage(), 0) << "a drawn rectangle must be shown soon";
    EXPECT_EQ(FltkPixel(bar, 10, 2), Rgb(0, 0, 255));  // outline, top-left
    EXPECT_EQ(FltkPixel(bar, 19, 7), Rgb(0, 0, 255));  // outline, bottom-right (right-1, bottom-1)
    EXPECT_EQ(FltkPixel(bar, 11, 3), Rgb(255, 0, 0));  // inside
    EXPECT_EQ(FltkPixel(bar, 18, 6), Rgb(255, 0, 0));  // inside
    EXPECT_NE(FltkPixel(bar, 20, 5), Rgb(255, 0, 0));  // right edge excluded
    EXPECT_NE(FltkPixel(bar, 15, 8), Rgb(0, 0, 255));  // bottom edge excluded
    // Clipped to the control; empty rectangles draw nothing.
    Rectangle(dc, 140, -5, 400, 40);
    EXPECT_EQ(FltkPixel(bar, 152, 0), Rgb(255, 0, 0));
    EXPECT_EQ(FltkPixel(bar, 140, 5), Rgb(0, 0, 255));
    SelectBrush(dc, StockWhiteBrush());
    Rectangle(dc, 30, 2, 30, 8);
    Rectangle(dc, 40, 8, 50, 2);
    EXPECT_NE(FltkPixel(bar, 30, 5), Rgb(255, 255, 255));
    EXPECT_NE(FltkPixel(bar, 45, 5), Rgb(255, 255, 255));
    EXPECT_EQ(FltkPixel(bar, 153, 0), 0xFF000000u);
    // A fresh device context starts with the black pen and the white brush.
    dc = GetDeviceContext(bar);
    Rectangle(dc, 60, 0, 70, 11);
    EXPECT_EQ(FltkPixel(bar, 60, 0), Rgb(0, 0, 0));
    EXPECT_EQ(FltkPixel(bar, 65, 5), Rgb(255, 255, 255));
    DestroyWindow(dialog);
}

// --- The dialog manager -----------------------------------------------------------------------

TEST_F(FltkPlatformTest, EscapeEnterTabAndTheCloseBoxGoThroughTheDialogManager)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    ShowAndWait(dialog);
    // InitDialog returned 1: the first tab stop, "New Hand", has the focus.
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 3));

    PressKey(dialog, FL_Escape);
    HostOf(dialog)->do_callback();  // what FLTK does for the close box
    FltkRunUntil([] { return false; }, 0.1);
    EXPECT_EQ(Commands(dialog), (std::vector<int>{2, 2}));
    EXPECT_TRUE(HostOf(dialog)->shown()) << "Escape and the close box must not hide the dialog";

    // Enter presses the focused push button.
    received.clear();
    PressKey(dialog, FL_Enter);
    EXPECT_EQ(Commands(dialog), (std::vector<int>{3}));

    // Tab walks the tab stops in template order (3, 1088, 1091) and wraps; Shift+Tab goes back.
    PressKey(dialog, FL_Tab);
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 1088));
    PressKey(dialog, FL_Tab);
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 1091));
    PressKey(dialog, FL_Tab);
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 3));
    PressKey(dialog, FL_Tab, FL_SHIFT);
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 1091));
    // Disabled controls are skipped.
    EnableControl(dialog, 3, false);
    PressKey(dialog, FL_Tab);
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 1088));

    // Enter on the check box is not a button press: command 1, and the box keeps its state.
    received.clear();
    PressKey(dialog, FL_Enter);
    EXPECT_EQ(Commands(dialog), (std::vector<int>{1}));
    EXPECT_FALSE(IsControlChecked(dialog, 1088));
    DestroyWindow(dialog);

    // Without a focused control (InitDialog returned 0) Enter sends 1.
    received.clear();
    Window precalc = CreateModelessDialog(105, nullptr, QuietRecorder);
    ShowAndWait(precalc);
    EXPECT_NE(FocusedWindow(), ControlWindow(precalc, 1093));
    PressKey(precalc, FL_Enter);
    EXPECT_EQ(Commands(precalc), (std::vector<int>{1}));
    DestroyWindow(precalc);
}

TEST_F(FltkPlatformTest, ButtonsAndTheCheckBoxSendTheirIds)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    ShowAndWait(dialog);
    FltkWidget(ControlWindow(dialog, 1091))->do_callback();
    EXPECT_EQ(Commands(dialog), (std::vector<int>{1091}));
    // The check box toggles itself before its command arrives.
    auto* box = static_cast<Fl_Button*>(FltkWidget(ControlWindow(dialog, 1088)));
    bool checkedAtCommand = false;
    received.clear();
    box->value(1);  // FLTK's click sets the value, then calls back
    box->do_callback();
    checkedAtCommand = IsControlChecked(dialog, 1088);
    EXPECT_EQ(Commands(dialog), (std::vector<int>{1088}));
    EXPECT_TRUE(checkedAtCommand);
    // A disabled button sends nothing.
    received.clear();
    EnableControl(dialog, 1091, false);
    FltkWidget(ControlWindow(dialog, 1091))->do_callback();
    EXPECT_TRUE(Commands(dialog).empty());
    DestroyWindow(dialog);
}

// --- Mouse through the X server -------------------------------------------------------------

bool Xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

TEST_F(FltkPlatformTest, MouseOverFramesAndOpenGlAreasReachesTheDialog)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    ShowAndWait(dialog);
    DeviceContext dc = GetDeviceContext(ControlWindow(dialog, 1094));
    ASSERT_TRUE(SetGlPixelFormat(dc, ChooseGlPixelFormat(dc)));
    GlContext rc = CreateGlContextFor(dc);
    ASSERT_NE(rc, nullptr);
    FltkRunUntil([] { return false; }, 0.3);
    const PixelRect area = DialogRectToPixels(14, 21, 141, 41);
    const int cx = area.left + 40;
    const int cy = area.top + 20;
    const int sx = HostOf(dialog)->x() + cx;
    const int sy = HostOf(dialog)->y() + cy;
    ASSERT_TRUE(Xdotool("mousemove " + std::to_string(sx) + " " + std::to_string(sy)))
        << "xdotool is needed";
    ASSERT_TRUE(FltkRunUntil([&] { return CountOf(dialog, Message::MouseMove) > 0; }, 3.0));
    const Received& move = [&]() -> const Received& {
        for (auto it = received.rbegin(); it != received.rend(); ++it)
            if (it->message == Message::MouseMove)
                return *it;
        return received.back();
    }();
    EXPECT_EQ(move.params.x, cx);
    EXPECT_EQ(move.params.y, cy);
    Xdotool("click 1");
    Xdotool("click 3");
    ASSERT_TRUE(FltkRunUntil([&] { return CountOf(dialog, Message::RightUp) > 0; }, 3.0));
    EXPECT_EQ(CountOf(dialog, Message::LeftDown), 1);
    EXPECT_EQ(CountOf(dialog, Message::LeftUp), 1);
    // Over a bar (a frame), too.
    const PixelRect bar = DialogRectToPixels(228, 20, 102, 7);
    received.clear();
    Xdotool("mousemove " + std::to_string(HostOf(dialog)->x() + bar.left + 3) + " " +
            std::to_string(HostOf(dialog)->y() + bar.top + 2));
    ASSERT_TRUE(FltkRunUntil([&] { return CountOf(dialog, Message::MouseMove) > 0; }, 3.0));
    EXPECT_EQ(received.back().params.x, bar.left + 3);
    DeleteGlContext(rc);
    DestroyWindow(dialog);
}

// --- Timers, posted messages, painting -------------------------------------------------------

TEST_F(FltkPlatformTest, TimersTickUntilKilledOrTheWindowIsDestroyed)
{
    Window dialog = CreateModelessDialog(105, nullptr, Recorder);
    SetTimer(dialog, 1, 5);
    SetTimer(dialog, 2, 1);
    ASSERT_TRUE(FltkRunUntil(
        [&] {
            int ones = 0, twos = 0;
            for (const Received& r : received)
                if (r.message == Message::Timer)
                    (r.params.id == 1 ? ones : twos)++;
            return ones >= 3 && twos >= 10;
        },
        3.0));
    KillTimer(dialog, 2);
    received.clear();
    FltkRunUntil([] { return false; }, 0.1);
    for (const Received& r : received)
        EXPECT_NE(r.params.id, 2) << "a killed timer ticked";
    EXPECT_GT(CountOf(dialog, Message::Timer), 0);
    DestroyWindow(dialog);
    EXPECT_EQ(CountOf(dialog, Message::Destroy), 1);
    received.clear();
    FltkRunUntil([] { return false; }, 0.1);
    EXPECT_TRUE(received.empty()) << "a destroyed window received a message";
    DestroyWindow(dialog);  // twice does nothing
    EXPECT_TRUE(received.empty());
}

TEST_F(FltkPlatformTest, PostedMessagesArriveInOrderAndPaintRequestsCoalesce)
{
    Window dialog = CreateModelessDialog(105, nullptr, Recorder);
    received.clear();
    for (int id : {5, 6, 7}) {
        MessageParams params;
        params.id = id;
        PostWindowMessage(dialog, Message::Command, params);
    }
    EXPECT_TRUE(received.empty()) << "posting must not deliver at once";
    RequestPaint(dialog, false);
    RequestPaint(dialog, false);
    RequestPaint(dialog, false);
    ASSERT_TRUE(FltkRunUntil([&] { return Commands(dialog).size() == 3; }, 2.0));
    FltkRunUntil([] { return false; }, 0.05);
    EXPECT_EQ(Commands(dialog), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(CountOf(dialog, Message::Paint), 1);
    RequestPaint(dialog, true);
    EXPECT_EQ(CountOf(dialog, Message::Paint), 2);
    // Messages posted to a window destroyed meanwhile are dropped.
    PostWindowMessage(dialog, Message::Command, {});
    DestroyWindow(dialog);
    received.clear();
    FltkRunUntil([] { return false; }, 0.05);
    EXPECT_TRUE(received.empty());
}

// --- Modal runs and the message loop ----------------------------------------------------------

Window modalOwner = nullptr;
int ownerTicksDuringRun = 0;

int ModalProc(Window dialog, Message message, const MessageParams& params)
{
    Recorder(dialog, message, params);
    if (message == Message::InitDialog)
        SetTimer(dialog, 1, 50);
    if (message == Message::Timer && ownerTicksDuringRun >= 2) {
        PressKey(modalOwner, FL_Escape);  // the disabled owner must ignore it
        EndDialog(dialog, 7);
    }
    return 0;
}

int OwnerProc(Window window, Message message, const MessageParams& params)
{
    Recorder(window, message, params);
    if (message == Message::Timer)
        ++ownerTicksDuringRun;
    return 0;
}

TEST_F(FltkPlatformTest, ModalRunEndsWithTheResultWhileOtherTimersKeepTicking)
{
    modalOwner = CreateModelessDialog(101, nullptr, OwnerProc);
    ShowAndWait(modalOwner);
    SetTimer(modalOwner, 1, 10);
    ownerTicksDuringRun = 0;
    EXPECT_EQ(RunModalDialog(110, modalOwner, ModalProc), 7);
    EXPECT_GE(ownerTicksDuringRun, 2);
    EXPECT_TRUE(Commands(modalOwner).empty()) << "the owner took a key during the modal run";
    // The dialog is gone; the owner takes keys again.
    Window modal = nullptr;
    for (const Received& r : received)
        if (r.message == Message::InitDialog && r.window != modalOwner)
            modal = r.window;
    ASSERT_NE(modal, nullptr);
    EXPECT_EQ(FltkWidget(modal), nullptr);
    EXPECT_EQ(CountOf(modal, Message::Destroy), 1);
    PressKey(modalOwner, FL_Escape);
    EXPECT_EQ(Commands(modalOwner), (std::vector<int>{2}));
    EXPECT_EQ(RunModalDialog(4242, modalOwner, ModalProc), -1);
    DestroyWindow(modalOwner);
}

int QuitOnTimer(Window window, Message message, const MessageParams& params)
{
    Recorder(window, message, params);
    if (message == Message::Timer)
        PostQuitMessage(2);
    return 0;
}

TEST_F(FltkPlatformTest, MessageLoopReturnsTheQuitCode)
{
    Window dialog = CreateModelessDialog(105, nullptr, QuitOnTimer);
    SetTimer(dialog, 1, 20);
    EXPECT_EQ(RunMessageLoop(dialog), 2);
    DestroyWindow(dialog);
}

// --- Scroll bars ------------------------------------------------------------------------------

int ScrollProc(Window dialog, Message message, const MessageParams& params)
{
    Recorder(dialog, message, params);
    if (message == Message::HScroll && params.id == ScrollThumbTrack)
        SetScrollPosition(params.control, params.position, true);
    return 0;
}

TEST_F(FltkPlatformTest, ScrollBarMapsClicksAndDragsToWin32Codes)
{
    const ScrollInfo info{0, 10, 1, 5, 0};
    const ScrollGeometry g = ComputeScrollGeometry(147, 16, info, 5);
    EXPECT_EQ(g.arrow, 16);
    EXPECT_EQ(g.troughLeft, 16);
    EXPECT_EQ(g.troughRight, 131);
    EXPECT_EQ(ComputeScrollGeometry(147, 16, info, 0).thumbLeft, g.troughLeft);
    EXPECT_EQ(ComputeScrollGeometry(147, 16, info, 10).thumbLeft + g.thumbWidth, g.troughRight);
    for (int pos = 0; pos <= 10; ++pos)
        EXPECT_EQ(
            ScrollPositionForThumb(g, info, ComputeScrollGeometry(147, 16, info, pos).thumbLeft),
            pos);
    EXPECT_EQ(ScrollPositionForThumb(g, info, -50), 0);
    EXPECT_EQ(ScrollPositionForThumb(g, info, 500), 10);
    EXPECT_EQ(ScrollCodeAt(g, 147, 3), ScrollLineLeft);
    EXPECT_EQ(ScrollCodeAt(g, 147, 140), ScrollLineRight);
    EXPECT_EQ(ScrollCodeAt(g, 147, g.troughLeft + 1), ScrollPageLeft);
    EXPECT_EQ(ScrollCodeAt(g, 147, g.troughRight - 1), ScrollPageRight);
    EXPECT_EQ(ScrollCodeAt(g, 147, g.thumbLeft + g.thumbWidth / 2), ScrollThumbTrack);

    // The widget: a press in the right trough, then a drag of the thumb to the far left.
    Window dialog = CreateModelessDialog(110, nullptr, ScrollProc);
    Window bar = ControlWindow(dialog, 1102);
    SetScrollInfo(bar, info, true);
    ShowAndWait(dialog);
    Fl_Widget* widget = FltkWidget(bar);
    const ScrollGeometry at5 = ComputeScrollGeometry(widget->w(), widget->h(), info, 5);
    auto mouse = [&](int event, int x) {
        Fl::e_x = widget->x() + x;
        Fl::e_y = widget->y() + widget->h() / 2;
        Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
        widget->handle(event);
    };
    received.clear();
    mouse(FL_PUSH, widget->w() - at5.arrow - 2);
    mouse(FL_RELEASE, widget->w() - at5.arrow - 2);
    mouse(FL_PUSH, at5.thumbLeft + 2);
    mouse(FL_DRAG, at5.thumbLeft - 20);
    mouse(FL_DRAG, 0);
    mouse(FL_RELEASE, 0);
    std::vector<int> codes;
    for (const Received& r : received)
        if (r.message == Message::HScroll) {
            codes.push_back(r.params.id);
            EXPECT_EQ(r.params.control, bar);
        }
    const std::vector<int> expected{ScrollPageRight,  ScrollEnd,           ScrollThumbTrack,
                                    ScrollThumbTrack, ScrollThumbPosition, ScrollEnd};
    EXPECT_EQ(codes, expected);
    EXPECT_EQ(GetScrollInfo(bar).pos, 0) << "the procedure set the last tracked position";
    EXPECT_EQ(GetScrollInfo(bar).max, 10);
    DestroyWindow(dialog);
}

// --- Popup menus ------------------------------------------------------------------------------

TEST_F(FltkPlatformTest, PopupMenuItemsCarryIdsCheckMarksSeparatorsAndSubmenus)
{
    Menu menu = CreatePopupMenu();
    AppendMenuItem(menu, 1017, "Playing");
    CheckMenuItem(menu, 1017, true);
    Menu levels = CreatePopupMenu();
    for (int v = 0; v <= 2; ++v)
        AppendMenuItem(levels, 1020 + v, std::to_string(v));
    AppendSubmenu(menu, levels, "Aggression");
    CheckMenuItem(menu, 1021, true);  // by command id, inside the submenu
    AppendMenuSeparator(menu);
    AppendMenuItem(menu, 1018, "Delete");

    const std::vector<Fl_Menu_Item> items = BuildFltkMenuItems(menu);
    ASSERT_EQ(items.size(), 8u);  // Playing, Aggression, 0, 1, 2, end, Delete, end
    EXPECT_STREQ(items[0].label(), "Playing");
    EXPECT_EQ(items[0].argument(), 1017);
    EXPECT_TRUE(items[0].checkbox());
    EXPECT_TRUE(items[0].value());
    EXPECT_STREQ(items[1].label(), "Aggression");
    EXPECT_TRUE(items[1].submenu());
    EXPECT_TRUE(items[1].flags & FL_MENU_DIVIDER) << "the separator follows the submenu";
    EXPECT_EQ(items[2].argument(), 1020);
    EXPECT_FALSE(items[2].value());
    EXPECT_EQ(items[3].argument(), 1021);
    EXPECT_TRUE(items[3].checkbox() && items[3].value());
    EXPECT_EQ(items[5].label(), nullptr);
    EXPECT_STREQ(items[6].label(), "Delete");
    EXPECT_EQ(items[6].argument(), 1018);
    EXPECT_FALSE(items[6].checkbox());
    EXPECT_EQ(items[7].label(), nullptr);
    // FLTK walks the array the same way: the submenu is skipped as one entry.
    EXPECT_EQ(items[0].size(), 8);  // counts every entry, terminators included
    EXPECT_EQ(items[1].next(), &items[6]);

    CheckMenuItem(menu, 1017, false);
    EXPECT_FALSE(BuildFltkMenuItems(menu)[0].value());
    DestroyMenu(menu);
}

// --- OpenGL -----------------------------------------------------------------------------------

int redraws = 0;
DeviceContext redrawDc = nullptr;
GlContext redrawRc = nullptr;

void RedrawGreen()
{
    ++redraws;
    if (!MakeGlCurrent(redrawDc, redrawRc))
        return;
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SwapGlBuffers(redrawDc);
    MakeGlCurrent(nullptr, nullptr);
}

TEST_F(FltkPlatformTest, OpenGlAreaRendersAndRefusesAHiddenWindow)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    Window control = ControlWindow(dialog, 1095);
    DeviceContext dc = GetDeviceContext(control);
    const int format = ChooseGlPixelFormat(dc);
    ASSERT_NE(format, 0);
    ASSERT_TRUE(SetGlPixelFormat(dc, format));
    GlContext rc = CreateGlContextFor(dc);
    ASSERT_NE(rc, nullptr);
    // The surface covers exactly the control.
    Fl_Widget* surface = FltkGlSurface(control);
    ASSERT_NE(surface, nullptr);
    const PixelRect r = DialogRectToPixels(14, 83, 141, 41);
    EXPECT_EQ(surface->x(), r.left);
    EXPECT_EQ(surface->y(), r.top);
    EXPECT_EQ(surface->w(), r.right - r.left);
    EXPECT_EQ(surface->h(), r.bottom - r.top);
    // Not shown yet: nothing can be made current.
    EXPECT_FALSE(static_cast<Fl_Window*>(surface)->shown());
    EXPECT_FALSE(HostOf(dialog)->shown());
    EXPECT_FALSE(MakeGlCurrent(dc, rc));
    EXPECT_EQ(CurrentGlContext(), nullptr);

    redrawDc = dc;
    redrawRc = rc;
    redraws = 0;
    SetGlRedrawRoutine(dc, RedrawGreen);
    ShowAndWait(dialog);
    EXPECT_TRUE(FltkRunUntil([] { return redraws > 0; }, 2.0)) << "map must run the routine";
    EXPECT_EQ(CurrentGlContext(), nullptr) << "the routine released its context";

    ASSERT_TRUE(MakeGlCurrent(dc, rc));
    EXPECT_EQ(CurrentGlContext(), rc);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char pixel[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 0);
    SwapGlBuffers(dc);
    EXPECT_TRUE(MakeGlCurrent(nullptr, nullptr));
    EXPECT_EQ(CurrentGlContext(), nullptr);

    // Hidden: refused.
    HostOf(dialog)->hide();
    EXPECT_FALSE(MakeGlCurrent(dc, rc));
    EXPECT_EQ(CurrentGlContext(), nullptr);
    // Another control's context does not fit this surface.
    DeleteGlContext(rc);
    DeleteGlContext(nullptr);
    DestroyWindow(dialog);
    EXPECT_FALSE(MakeGlCurrent(dc, rc = nullptr));
}

// --- Top-level windows --------------------------------------------------------------------------

DeviceContext topDc = nullptr;
GlContext topRc = nullptr;

int TopProc(Window window, Message message, const MessageParams& params)
{
    Recorder(window, message, params);
    if (message == Message::Create) {
        topDc = GetDeviceContext(window);
        SetGlPixelFormat(topDc, ChooseGlPixelFormat(topDc));
        topRc = CreateGlContextFor(topDc);
    }
    if (message == Message::Destroy)
        DeleteGlContext(topRc);
    return message == Message::Create ? 1 : 0;
}

int RefuseCreate(Window, Message message, const MessageParams&)
{
    return message == Message::Create ? -1 : 0;
}

TEST_F(FltkPlatformTest, TopLevelWindowIsCreatedSizedAndDestroyedWithItsOwner)
{
    ASSERT_TRUE(RegisterWindowClass("TestTopLevel", TopProc));
    EXPECT_FALSE(RegisterWindowClass("TestTopLevel", TopProc));
    EXPECT_EQ(CreateTopLevelWindow("NoSuchClass", "x", 0, 0, 10, 10, nullptr), nullptr);
    ASSERT_TRUE(RegisterWindowClass("TestRefuses", RefuseCreate));
    EXPECT_EQ(CreateTopLevelWindow("TestRefuses", "x", 0, 0, 10, 10, nullptr), nullptr);

    Window owner = CreateModelessDialog(105, nullptr, Recorder);
    ShowAndWait(owner);
    received.clear();
    Window window =
        CreateTopLevelWindow("TestTopLevel", "Card Selection Window", 10, 10, 400, 180, owner);
    ASSERT_NE(window, nullptr);
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[0].message, Message::Create);
    EXPECT_EQ(received[1].message, Message::Size);
    EXPECT_EQ(received[1].params.x, 400);
    EXPECT_EQ(received[1].params.y, 180);
    EXPECT_EQ(std::string(HostOf(window)->label()), "Card Selection Window");
    ShowAndWait(window);
    EXPECT_EQ(HostOf(window)->x(), 10);
    EXPECT_EQ(HostOf(window)->y(), 10);
    EXPECT_TRUE(MakeGlCurrent(topDc, topRc));
    MakeGlCurrent(nullptr, nullptr);

    // A resize reports the client size; the OpenGL surface follows it.
    received.clear();
    HostOf(window)->resize(10, 10, 300, 150);
    EXPECT_EQ(CountOf(window, Message::Size), 1);
    EXPECT_EQ(received.back().params.x, 300);
    EXPECT_EQ(FltkGlSurface(window)->w(), 300);
    EXPECT_EQ(WindowClientSize(window).height, 150);
    // Escape does not hide it.
    PressKey(window, FL_Escape);
    EXPECT_TRUE(HostOf(window)->shown());

    received.clear();
    DestroyWindow(owner);
    std::vector<Window> destroyed;
    for (const Received& r : received)
        if (r.message == Message::Destroy)
            destroyed.push_back(r.window);
    EXPECT_EQ(destroyed, (std::vector<Window>{window, owner})) << "owned windows go first";
    EXPECT_EQ(FltkWidget(window), nullptr);
}

}  // namespace
