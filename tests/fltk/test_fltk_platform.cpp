// What the FLTK platform owns, under its own X server: the toolkit's input, timers and posted
// messages reach the window model (tested headless); GDI, GL, modal runs, scroll bars, menus.
#include "platform/fltk/fltk_platform.h"
#include "platform/gl.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Received {
    Window window;
    Message message;
    MessageParams params;
};
std::vector<Received> received;
std::function<int(const Received&)> react;  // a test's own handling; its answer is returned

struct FltkPlatformTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(FltkDisplayAvailable()) << "no X display: run under run_under_xvfb.sh";
        received.clear();
        react = nullptr;
    }
    static int Recorder(Window window, Message message, const MessageParams& params)
    {
        received.push_back({window, message, params});
        return react ? react(received.back()) : message == Message::InitDialog;
    }
    static std::vector<int> Ids(Window window, Message message = Message::Command)
    {
        std::vector<int> ids;
        for (const Received& r : received)
            if (r.window == window && r.message == message)
                ids.push_back(r.params.id);
        return ids;
    }
    static Window Show(Window window)
    {
        ShowWindow(window);
        FltkRunUntil([&] { return HostOf(window)->visible(); }, 2.0);
        FltkRunUntil([] { return false; }, 0.2);
        return window;
    }
    static Fl_Window* HostOf(Window w) { return static_cast<Fl_Window*>(FltkWidget(w)); }
    static void PressKey(Window window, int key, int state = 0)
    {
        Fl::e_keysym = key;
        Fl::e_state = state;
        Fl::handle(FL_KEYBOARD, HostOf(window));
    }
    // xdotool's move to the dialog's client point (x, y).
    static std::string At(Window dialog, int x, int y)
    {
        return "mousemove " + std::to_string(HostOf(dialog)->x() + x) + " " +
               std::to_string(HostOf(dialog)->y() + y) + " ";
    }
    static void Xdotool(const std::string& arguments)
    {
        ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << "xdotool is needed";
    }
};

TEST_F(FltkPlatformTest, DialogDrawsGdiAndGlTakesTheToolkitsKeysAndButtonsAfterTheirMoves)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    DeviceContext gl = GetDeviceContext(ControlWindow(dialog, 1095));
    ASSERT_TRUE(SetGlPixelFormat(gl, ChooseGlPixelFormat(gl)));
    GlContext rc = CreateGlContextFor(gl);
    EXPECT_FALSE(MakeGlCurrent(gl, rc)) << "not shown yet";
    static int redraws = 0;
    SetGlRedrawRoutine(gl, [] { ++redraws; });
    Show(dialog);
    EXPECT_TRUE(FltkRunUntil([] { return redraws > 0; }, 2.0)) << "map must run the routine";
    EXPECT_TRUE(MakeGlCurrent(gl, rc) && MakeGlCurrent(nullptr, nullptr));
    // GDI: the pen from (left, top) to (right - 1, bottom - 1), the brush inside, clipped.
    Window bar = ControlWindow(dialog, 1051);
    FltkWidget(bar)->clear_damage();
    DeviceContext dc = GetDeviceContext(bar);
    const std::uint32_t blue = Rgb(0, 0, 255), red = Rgb(255, 0, 0);
    SelectPen(dc, CreateSolidPen(blue));
    SelectBrush(dc, CreateSolidBrush(red));
    Rectangle(dc, 10, 2, 20, 8);
    EXPECT_NE(FltkWidget(bar)->damage(), 0) << "a drawn rectangle must be shown soon";
    Rectangle(dc, 140, -5, 400, 40);
    const std::tuple<int, int, std::uint32_t> pixels[] = {
        {10, 2, blue}, {19, 5, blue}, {15, 7, blue}, {11, 3, red}, {152, 0, red}};
    for (auto [x, y, colour] : pixels)
        EXPECT_EQ(FltkPixel(bar, x, y), colour) << x << "," << y;
    // Escape and the close box send 2 and hide nothing; Enter presses the focused button, Shift+Tab
    // goes back (the dialog manager's order, not FLTK's). Only the left button presses a button or
    // the check box.
    PressKey(dialog, FL_Escape);
    HostOf(dialog)->do_callback();
    PressKey(dialog, FL_Enter);
    PressKey(dialog, FL_Tab, FL_SHIFT);
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 1091));
    EXPECT_TRUE(HostOf(dialog)->shown());
    for (int button : {3, 2, 1})
        for (int id : {3, 1088}) {
            const Fl_Widget* w = FltkWidget(ControlWindow(dialog, id));
            Xdotool(At(dialog, w->x() + w->w() / 2, w->y() + w->h() / 2) + "click " +
                    std::to_string(button));
            FltkRunUntil([] { return false; }, 0.3);
        }
    EXPECT_EQ(Ids(dialog), (std::vector<int>{2, 2, 3, 3, 1088}));
    EXPECT_TRUE(Ids(dialog, Message::RightUp).empty()) << "a click on a control is the control's";
    EXPECT_TRUE(IsControlChecked(dialog, 1088));
    // Every button, over the OpenGL area or a bar, comes after a move to where it happened (the
    // views pick on moves), though xdotool sends each move and click back to back.
    const Fl_Widget* area = FltkGlSurface(ControlWindow(dialog, 1095));
    std::string command;
    for (int i = 0; i < 6; ++i)
        command += At(dialog, area->x() + 10 + 30 * i, area->y() + 10 + 5 * i) + "click 1 ";
    Xdotool(command + At(dialog, FltkWidget(bar)->x() + 3, FltkWidget(bar)->y() + 2) + "click 3");
    ASSERT_TRUE(FltkRunUntil([&] { return !Ids(dialog, Message::RightUp).empty(); }, 3.0));
    std::pair<int, int> pointer{-1, -1};
    for (const Received& r : received)
        if (r.message == Message::MouseMove) {
            pointer = {r.params.x, r.params.y};
        } else if (r.message == Message::LeftDown || r.message == Message::LeftUp ||
                   r.message == Message::RightUp) {
            EXPECT_EQ(pointer, std::pair(r.params.x, r.params.y));
        }
    EXPECT_EQ(Ids(dialog, Message::LeftDown).size(), 6u);
    EXPECT_EQ(pointer, std::pair(FltkWidget(bar)->x() + 3, FltkWidget(bar)->y() + 2));
    HostOf(dialog)->hide();
    EXPECT_FALSE(MakeGlCurrent(gl, rc)) << "hidden";
    EXPECT_EQ(CurrentGlContext(), nullptr);
    DeleteGlContext(rc);
    DestroyWindow(dialog);
}

TEST_F(FltkPlatformTest, PostedMessagesTimersModalRunsAndMessageBoxesAnsweredByKeys)
{
    Window dialog = Show(CreateModelessDialog(105, nullptr, Recorder));
    received.clear();
    for (int id : {5, 6, 7})
        PostWindowMessage(dialog, Message::Command, MessageParams{.id = id});
    EXPECT_TRUE(received.empty()) << "posting must not deliver at once";
    SetTimer(dialog, 1, 5);
    auto ticks = [&] { return Ids(dialog, Message::Timer).size(); };
    ASSERT_TRUE(FltkRunUntil([&] { return ticks() >= 3; }, 3.0));
    EXPECT_EQ(Ids(dialog), (std::vector<int>{5, 6, 7}));
    // A modal run ends with its result while the owner's timer ticks and its keys are refused.
    Window modal = nullptr;
    received.clear();
    react = [&](const Received& r) {
        if (r.window != dialog && r.message == Message::InitDialog)
            SetTimer(modal = r.window, 1, 50);
        if (r.window == modal && r.message == Message::Timer && ticks() >= 2) {
            PressKey(dialog, FL_Escape);
            EndDialog(modal, 7);
        }
        return 0;
    };
    EXPECT_EQ(RunModalDialog(110, dialog, Recorder), 7);
    EXPECT_TRUE(Ids(dialog).empty()) << "the owner took a key during the modal run";
    EXPECT_EQ(FltkWidget(modal), nullptr);
    PressKey(dialog, FL_Escape);  // the owner takes keys again
    EXPECT_EQ(Ids(dialog), (std::vector<int>{2}));
    // A message box with Yes focused, answered by keys: Escape is No, Enter the focused button.
    const auto type = [](void* keys) { Xdotool("key " + std::string(static_cast<char*>(keys))); };
    for (auto [keys, answer] : {std::pair{"Escape", MessageBoxResult::No},
                                {"Return", MessageBoxResult::Yes},
                                {"Tab Return", MessageBoxResult::No}}) {
        Fl::add_timeout(0.5, type, const_cast<char*>(keys));
        EXPECT_EQ(ShowMessageBox(dialog, "Quit?", "Quit", MessageBoxButtons::YesNo), answer)
            << keys;
    }
    PostWindowMessage(dialog, Message::Command, {});  // dropped with its window, as is its timer
    DestroyWindow(dialog);
    received.clear();
    FltkRunUntil([] { return false; }, 0.1);
    EXPECT_TRUE(received.empty()) << "a destroyed window received a message";
}

TEST_F(FltkPlatformTest, ScrollBarSendsItsCodesAndPopupMenusCarryIdsChecksAndSubmenus)
{
    const ScrollInfo info{0, 10, 1, 5, 0};
    Window dialog = CreateModelessDialog(110, nullptr, Recorder);
    SetScrollInfo(ControlWindow(dialog, 1102), info, true);
    Show(dialog);
    // The left arrow, the right trough, then a drag of the thumb to the far left.
    Fl_Widget* widget = FltkWidget(ControlWindow(dialog, 1102));
    const ScrollGeometry at5 = ComputeScrollGeometry(widget->w(), widget->h(), info, 5);
    const int trough = widget->w() - at5.arrow - 2, thumb = at5.thumbLeft;
    const std::pair<int, int> steps[] = {
        {FL_PUSH, 2},         {FL_RELEASE, 2},       {FL_PUSH, trough}, {FL_RELEASE, trough},
        {FL_PUSH, thumb + 2}, {FL_DRAG, thumb - 20}, {FL_DRAG, 0},      {FL_RELEASE, 0}};
    for (auto [event, x] : steps) {
        Fl::e_x = widget->x() + x;
        Fl::e_y = widget->y() + widget->h() / 2;
        Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
        widget->handle(event);
    }
    EXPECT_EQ(
        Ids(dialog, Message::HScroll),
        (std::vector<int>{ScrollLineLeft, ScrollEnd, ScrollPageRight, ScrollEnd, ScrollThumbTrack,
                          ScrollThumbTrack, ScrollThumbPosition, ScrollEnd}));
    Menu menu = CreatePopupMenu(), levels = CreatePopupMenu();
    AppendMenuItem(menu, 1017, "Playing");
    AppendMenuSeparator(menu);
    AppendMenuItem(levels, 1021, "1");
    AppendSubmenu(menu, levels, "Aggression");
    CheckMenuItem(menu, 1017, true);
    CheckMenuItem(menu, 1021, true);  // by command id, inside the submenu
    // Each entry as label=id, > for a submenu, [x] or [ ] for a check box, / for a divider.
    const std::vector<Fl_Menu_Item> items = BuildFltkMenuItems(menu);
    std::string shown;
    for (const Fl_Menu_Item& i : items) {
        shown.append(i.label() ? i.label() : "end").append(i.submenu() ? ">" : "");
        if (i.label() && !i.submenu())
            shown.append("=").append(std::to_string(i.argument()));
        shown.append(i.checkbox() ? (i.value() ? "[x]" : "[ ]") : "");
        shown.append(i.flags & FL_MENU_DIVIDER ? "/ " : " ");
    }
    EXPECT_EQ(shown, "Playing=1017[x]/ Aggression> 1=1021[x] end end ");
    DestroyMenu(menu);
}

}  // namespace
