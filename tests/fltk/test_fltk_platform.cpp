// Tests of what the desktop platform on FLTK owns, under their own X server (CTest starts them
// through tests/fltk/run_under_xvfb.sh): the real toolkit's keys and mouse reach the shared window
// model, widgets follow the templates, GDI drawing, timers, modal runs, scroll bars, menus and
// OpenGL areas. The dialog manager's own rules are the headless suite's. Keys go through
// Fl::handle; the mouse comes from xdotool, through the X server.
#include "odds/screen.h"
#include "platform/fltk/fltk_platform.h"
#include "platform/gl.h"
#include "resources/dialog_templates.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <FL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
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

int Recorder(Window window, Message message, const MessageParams& params)
{
    received.push_back({window, message, params});
    return react ? react(received.back()) : message == Message::InitDialog;
}

// The ids of the messages of a kind the window received.
std::vector<int> Ids(Window window, Message message = Message::Command)
{
    std::vector<int> ids;
    for (const Received& r : received)
        if (r.window == window && r.message == message)
            ids.push_back(r.params.id);
    return ids;
}

Fl_Window* HostOf(Window window)
{
    return static_cast<Fl_Window*>(FltkWidget(window));
}

void PressKey(Window dialog, int key, int state = 0)
{
    Fl::e_keysym = key;
    Fl::e_state = state;
    Fl::handle(FL_KEYBOARD, HostOf(dialog));
}

Window Show(Window window)
{
    ShowWindow(window);
    FltkRunUntil([&] { return HostOf(window)->visible(); }, 2.0);
    FltkRunUntil([] { return false; }, 0.2);
    return window;
}

// Runs xdotool against the suite's own X server, with "at X Y" standing for a move to the
// dialog's client point (X, Y).
void Xdotool(std::string arguments, Window dialog = nullptr)
{
    for (std::size_t at; (at = arguments.find("at ")) != std::string::npos;) {
        const std::size_t end = arguments.find(' ', arguments.find(' ', at + 3) + 1);
        int x = 0, y = 0;
        std::sscanf(arguments.c_str() + at + 3, "%d %d", &x, &y);
        arguments.replace(at, end - at,
                          "mousemove " + std::to_string(HostOf(dialog)->x() + x) + " " +
                              std::to_string(HostOf(dialog)->y() + y));
    }
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << "xdotool is needed";
}

// The screen rectangle of a control as (left, top, right, bottom) in client pixels.
std::array<int, 4> Box(const Fl_Widget* w)
{
    return {w->x(), w->y(), w->x() + w->w(), w->y() + w->h()};
}

struct FltkPlatformTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(FltkDisplayAvailable())
            << "no X display: the suite runs under run_under_xvfb.sh";
        received.clear();
        react = nullptr;
    }
};

TEST_F(FltkPlatformTest, MainDialogFollowsItsTemplateDrawsGdiAndTakesTheToolkitsKeysAndButtons)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CreateModelessDialog(4242, nullptr, Recorder), nullptr);
    EXPECT_STREQ(HostOf(dialog)->label(), "Tablewise Application");
    EXPECT_EQ(std::pair(WindowClientSize(dialog).width, WindowClientSize(dialog).height),
              std::pair(558, 483));
    for (const ControlTemplate& c : FindDialogTemplate(101)->controls)
        if (c.id != -1) {
            const PixelRect r = DialogRectToPixels(c.x, c.y, c.width, c.height);
            ASSERT_NE(FltkWidget(ControlWindow(dialog, c.id)), nullptr) << c.id;
            EXPECT_EQ(Box(FltkWidget(ControlWindow(dialog, c.id))),
                      (std::array{r.left, r.top, r.right, r.bottom}))
                << c.id;
        }
    SetControlText(dialog, HandTypeControl, "Pair of Aces");
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "Pair of Aces");
    EXPECT_STREQ(FltkWidget(ControlWindow(dialog, HandTypeControl))->label(), "Pair of Aces");
    SetControlChecked(dialog, 1088, true);
    EXPECT_TRUE(IsControlChecked(dialog, 1088));
    SetControlChecked(dialog, 1088, false);
    Window bar = ControlWindow(dialog, 1051);
    EXPECT_EQ(FltkPixel(bar, 152, 10), 0u);  // a fresh frame shows its black outline
    Show(dialog);
    EXPECT_NEAR(HostOf(dialog)->x() + 558 / 2, Fl::w() / 2, 2);  // centred on the screen
    EXPECT_NEAR(HostOf(dialog)->y() + 483 / 2, Fl::h() / 2, 2);
    const PixelRect barRect = DialogRectToPixels(228, 20, 102, 7);
    EXPECT_EQ(WindowScreenRect(bar).bottom, HostOf(dialog)->y() + barRect.bottom);

    // GDI: the outline from (left, top) to (right - 1, bottom - 1), the brush inside, clipped;
    // empty rectangles draw nothing; a fresh context has the black pen and the white brush.
    FltkWidget(bar)->clear_damage();
    DeviceContext dc = GetDeviceContext(bar);
    const std::uint32_t blue = Rgb(0, 0, 255), red = Rgb(255, 0, 0), white = Rgb(255, 255, 255);
    SelectPen(dc, CreateSolidPen(blue));
    SelectBrush(dc, CreateSolidBrush(red));
    Rectangle(dc, 10, 2, 20, 8);
    EXPECT_NE(FltkWidget(bar)->damage(), 0) << "a drawn rectangle must be shown soon";
    Rectangle(dc, 140, -5, 400, 40);
    Rectangle(dc, 30, 2, 30, 8);
    Rectangle(GetDeviceContext(bar), 60, 0, 70, 11);
    for (auto [x, y, colour, same] : {std::tuple{10, 2, blue, true},
                                      {19, 7, blue, true},
                                      {11, 3, red, true},
                                      {140, 5, blue, true},
                                      {152, 0, red, true},
                                      {60, 0, 0u, true},
                                      {65, 5, white, true},
                                      {20, 5, red, false},
                                      {15, 8, blue, false},
                                      {30, 5, blue, false}})
        EXPECT_EQ(FltkPixel(bar, x, y) == colour, same) << x << "," << y;

    // Keys: Escape and the close box send 2 and hide nothing; Enter presses the focused button.
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 3));
    PressKey(dialog, FL_Escape);
    HostOf(dialog)->do_callback();
    PressKey(dialog, FL_Enter);
    PressKey(dialog, FL_Tab);
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 1088));
    PressKey(dialog, FL_Tab, FL_SHIFT);
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 3));
    EXPECT_TRUE(HostOf(dialog)->shown());
    // Only the left button presses a button or toggles the check box.
    for (int button : {3, 2, 1})
        for (int id : {3, 1088}) {
            const Fl_Widget* w = FltkWidget(ControlWindow(dialog, id));
            Xdotool("at " + std::to_string(w->x() + w->w() / 2) + " " +
                        std::to_string(w->y() + w->h() / 2) + " click " + std::to_string(button),
                    dialog);
            FltkRunUntil([] { return false; }, 0.3);
        }
    for (bool on : {false, true}) {
        EnableControl(dialog, 3, on);
        EXPECT_EQ(FltkWidget(ControlWindow(dialog, 3))->active() != 0, on);
        FltkWidget(ControlWindow(dialog, on ? 1091 : 3))->do_callback();  // disabled: nothing
    }
    EXPECT_EQ(Ids(dialog), (std::vector<int>{2, 2, 3, 3, 1088, 1091}));
    EXPECT_TRUE(Ids(dialog, Message::RightUp).empty()) << "a click on a control is the control's";
    EXPECT_TRUE(IsControlChecked(dialog, 1088));
    DestroyWindow(dialog);
    EXPECT_EQ(FltkWidget(dialog), nullptr);
}

TEST_F(FltkPlatformTest, GlAreaRendersRefusesAHiddenWindowAndEveryButtonComesAfterItsMove)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    Window control = ControlWindow(dialog, 1095);
    DeviceContext dc = GetDeviceContext(control);
    ASSERT_TRUE(SetGlPixelFormat(dc, ChooseGlPixelFormat(dc)));
    GlContext rc = CreateGlContextFor(dc);
    ASSERT_NE(rc, nullptr);
    const PixelRect area = DialogRectToPixels(14, 83, 141, 41);
    EXPECT_EQ(Box(FltkGlSurface(control)),
              (std::array{area.left, area.top, area.right, area.bottom}));
    EXPECT_FALSE(MakeGlCurrent(dc, rc)) << "not shown yet";
    static int redraws = 0;
    SetGlRedrawRoutine(dc, [] { ++redraws; });
    Show(dialog);
    EXPECT_TRUE(FltkRunUntil([] { return redraws > 0; }, 2.0)) << "map must run the routine";
    ASSERT_TRUE(MakeGlCurrent(dc, rc));
    EXPECT_EQ(CurrentGlContext(), rc);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(Rgb(pixel[0], pixel[1], pixel[2]), Rgb(255, 0, 0));
    SwapGlBuffers(dc);
    EXPECT_TRUE(MakeGlCurrent(nullptr, nullptr));

    // The views pick on moves and act on buttons: every button, over the OpenGL area or a bar
    // (a frame), reaches the dialog after a move to where it happened, though xdotool sends each
    // move and click back to back.
    const PixelRect bar = DialogRectToPixels(228, 20, 102, 7);
    std::string command;
    for (int i = 0; i < 6; ++i)
        command += "at " + std::to_string(area.left + 10 + 30 * i) + " " +
                   std::to_string(area.top + 10 + 5 * i) + " click 1 ";
    Xdotool(command + "at " + std::to_string(bar.left + 3) + " " + std::to_string(bar.top + 2) +
                " click 3",
            dialog);
    ASSERT_TRUE(FltkRunUntil([&] { return !Ids(dialog, Message::RightUp).empty(); }, 3.0));
    int buttons = 0;
    std::pair<int, int> pointer{-1, -1};
    for (const Received& r : received)
        if (r.message == Message::MouseMove) {
            pointer = {r.params.x, r.params.y};
        } else if (r.message == Message::LeftDown || r.message == Message::LeftUp ||
                   r.message == Message::RightUp) {
            EXPECT_EQ(pointer, std::pair(r.params.x, r.params.y)) << "button " << ++buttons;
        }
    EXPECT_EQ(Ids(dialog, Message::LeftDown).size(), 6u);
    EXPECT_EQ(pointer, std::pair(bar.left + 3, bar.top + 2));
    HostOf(dialog)->hide();
    EXPECT_FALSE(MakeGlCurrent(dc, rc)) << "hidden";
    EXPECT_EQ(CurrentGlContext(), nullptr);
    DeleteGlContext(rc);
    DestroyWindow(dialog);
}

TEST_F(FltkPlatformTest, PostedMessagesTimersAndModalRunsUntilKilledEndedOrDestroyed)
{
    Window dialog = Show(CreateModelessDialog(105, nullptr, Recorder));
    received.clear();
    for (int id : {5, 6, 7}) {
        PostWindowMessage(dialog, Message::Command, MessageParams{.id = id});
        RequestPaint(dialog, false);
    }
    EXPECT_TRUE(received.empty()) << "posting must not deliver at once";
    SetTimer(dialog, 1, 5);
    SetTimer(dialog, 2, 1);
    auto ticks = [&](int id) { return std::ranges::count(Ids(dialog, Message::Timer), id); };
    ASSERT_TRUE(FltkRunUntil([&] { return ticks(1) >= 3 && ticks(2) >= 10; }, 3.0));
    EXPECT_EQ(Ids(dialog), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(Ids(dialog, Message::Paint).size(), 1u) << "paint requests coalesce";
    KillTimer(dialog, 2);
    received.clear();
    react = [&](const Received& r) {  // the loop returns the quit code
        if (r.message == Message::Timer && ticks(1) == 10)
            PostQuitMessage(2);
        return 0;
    };
    EXPECT_EQ(RunMessageLoop(dialog), 2);
    EXPECT_EQ(ticks(2), 0) << "a killed timer ticked";

    // A modal run ends with its result while the owner's timer ticks and its keys are refused.
    Window modal = nullptr;
    received.clear();
    react = [&](const Received& r) {
        if (r.window != dialog && r.message == Message::InitDialog)
            SetTimer(modal = r.window, 1, 50);
        if (r.window == modal && r.message == Message::Timer && ticks(1) >= 2) {
            PressKey(dialog, FL_Escape);
            EndDialog(modal, 7);
        }
        return 0;
    };
    EXPECT_EQ(RunModalDialog(110, dialog, Recorder), 7);
    EXPECT_TRUE(Ids(dialog).empty()) << "the owner took a key during the modal run";
    EXPECT_EQ(FltkWidget(modal), nullptr);
    EXPECT_EQ(Ids(modal, Message::Destroy).size(), 1u);
    PressKey(dialog, FL_Escape);  // the owner takes keys again
    EXPECT_EQ(Ids(dialog), (std::vector<int>{2}));
    EXPECT_EQ(RunModalDialog(4242, dialog, Recorder), -1);

    PostWindowMessage(dialog, Message::Command, {});  // dropped with its window
    DestroyWindow(dialog);
    EXPECT_EQ(Ids(dialog, Message::Destroy).size(), 1u);
    received.clear();
    FltkRunUntil([] { return false; }, 0.1);
    DestroyWindow(dialog);  // twice does nothing
    EXPECT_TRUE(received.empty()) << "a destroyed window received a message";
}

TEST_F(FltkPlatformTest, ScrollBarSendsItsCodesAndPopupMenusCarryIdsChecksAndSubmenus)
{
    const ScrollInfo info{0, 10, 1, 5, 0};
    Window dialog = CreateModelessDialog(110, nullptr, Recorder);
    Window bar = ControlWindow(dialog, 1102);
    SetScrollInfo(bar, info, true);
    Show(dialog);
    react = [](const Received& r) {
        if (r.message == Message::HScroll && r.params.id == ScrollThumbTrack)
            SetScrollPosition(r.params.control, r.params.position, true);
        return 0;
    };
    // The left arrow, the right trough, then a drag of the thumb to the far left.
    Fl_Widget* widget = FltkWidget(bar);
    const ScrollGeometry at5 = ComputeScrollGeometry(widget->w(), widget->h(), info, 5);
    const int trough = widget->w() - at5.arrow - 2, thumb = at5.thumbLeft;
    for (auto [event, x] : {std::pair{FL_PUSH, 2},
                            {FL_RELEASE, 2},
                            {FL_PUSH, trough},
                            {FL_RELEASE, trough},
                            {FL_PUSH, thumb + 2},
                            {FL_DRAG, thumb - 20},
                            {FL_DRAG, 0},
                            {FL_RELEASE, 0}}) {
        Fl::e_x = widget->x() + x;
        Fl::e_y = widget->y() + widget->h() / 2;
        Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
        widget->handle(event);
    }
    EXPECT_EQ(
        Ids(dialog, Message::HScroll),
        (std::vector<int>{ScrollLineLeft, ScrollEnd, ScrollPageRight, ScrollEnd, ScrollThumbTrack,
                          ScrollThumbTrack, ScrollThumbPosition, ScrollEnd}));
    EXPECT_EQ(GetScrollInfo(bar).pos, 0) << "the procedure set the last tracked position";
    DestroyWindow(dialog);

    Menu menu = CreatePopupMenu(), levels = CreatePopupMenu();
    AppendMenuItem(menu, 1017, "Playing");
    for (int v = 0; v <= 2; ++v)
        AppendMenuItem(levels, 1020 + v, std::to_string(v));
    AppendSubmenu(menu, levels, "Aggression");
    AppendMenuSeparator(menu);
    AppendMenuItem(menu, 1018, "Delete");
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
    EXPECT_EQ(shown,
              "Playing=1017[x] Aggression>/ 0=1020[ ] 1=1021[x] 2=1022[ ] end Delete=1018 end ");
    EXPECT_EQ(items[1].next(), &items[6]) << "FLTK skips the submenu as one entry";
    DestroyMenu(menu);
}

// The keys a timer types into an open "Quit Program" box, and the focus and centre it saw there.
std::string boxKeys, boxFocus;
std::pair<int, int> boxCentre;

Fl_Window* TheBox()
{
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
        if (w->label() && std::string(w->label()) == "Quit Program")
            return w;
    return nullptr;
}

void LookAtTheBoxAndType(void*)
{
    if (const Fl_Window* w = TheBox()) {
        boxCentre = {w->x() + w->w() / 2, w->y() + w->h() / 2};
        boxFocus = Fl::focus() && Fl::focus()->label() ? Fl::focus()->label() : "";
    }
    Xdotool("key " + boxKeys);
}

void HideTheBox(void*)  // should the keys never arrive
{
    if (Fl_Window* w = TheBox())
        w->hide();
}

TEST_F(FltkPlatformTest, NewWindowsAndMessageBoxesTakeTheKeyboardAtOnceAndTopLevelsAreSized)
{
    // No click anywhere, and the pointer away from every window (without a window manager the
    // server would otherwise send keys to the window under it): the keys reach the newest one.
    Xdotool("mousemove 1279 1023");
    Window main = Show(CreateModelessDialog(101, nullptr, Recorder));
    Window player = Show(CreateModelessDialog(110, main, Recorder));
    Xdotool("key Escape");
    ASSERT_TRUE(FltkRunUntil([&] { return !Ids(player).empty(); }, 2.0));
    EXPECT_EQ(Ids(player), (std::vector<int>{2}));
    EXPECT_TRUE(Ids(main).empty());
    // A message box: centred, with Yes focused; Escape answers No, Enter the focused button.
    for (auto [keys, answer] : {std::pair{"Escape", MessageBoxResult::No},
                                {"Return", MessageBoxResult::Yes},
                                {"Tab Return", MessageBoxResult::No}}) {
        boxKeys = keys;
        Fl::add_timeout(0.5, LookAtTheBoxAndType);
        Fl::add_timeout(5.0, HideTheBox);
        EXPECT_EQ(ShowMessageBox(main, "Really Quit?", "Quit Program", MessageBoxButtons::YesNo),
                  answer)
            << keys;
        Fl::remove_timeout(HideTheBox);
        EXPECT_EQ(boxFocus, "Yes");
        EXPECT_NEAR(boxCentre.first, Fl::w() / 2, 1);
        EXPECT_NEAR(boxCentre.second, Fl::h() / 2, 1);
    }

    // A top-level window: refused for an unknown class or a -1 to Create; otherwise Create, then
    // Size with the client size; placed where asked; its OpenGL surface follows a resize; Escape
    // does not hide it; destroyed before its owner.
    ASSERT_TRUE(RegisterWindowClass("TestTopLevel", Recorder));
    EXPECT_EQ(CreateTopLevelWindow("NoSuchClass", "x", 0, 0, 10, 10, nullptr), nullptr);
    react = [](const Received& r) { return r.message == Message::Create ? -1 : 0; };
    EXPECT_EQ(CreateTopLevelWindow("TestTopLevel", "x", 0, 0, 10, 10, nullptr), nullptr);
    react = nullptr;
    received.clear();
    Window window =
        CreateTopLevelWindow("TestTopLevel", "Card Selection Window", 10, 10, 400, 180, main);
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(std::tuple(received[0].message, received[1].message, received[1].params.x,
                         received[1].params.y),
              std::tuple(Message::Create, Message::Size, 400, 180));
    EXPECT_STREQ(HostOf(window)->label(), "Card Selection Window");
    Show(window);
    EXPECT_EQ(std::pair(HostOf(window)->x(), HostOf(window)->y()), std::pair(10, 10));
    DeviceContext dc = GetDeviceContext(window);
    ASSERT_TRUE(SetGlPixelFormat(dc, ChooseGlPixelFormat(dc)));
    GlContext rc = CreateGlContextFor(dc);
    EXPECT_TRUE(MakeGlCurrent(dc, rc));
    MakeGlCurrent(nullptr, nullptr);
    received.clear();
    HostOf(window)->resize(10, 10, 300, 150);
    EXPECT_EQ(Ids(window, Message::Size).size(), 1u);
    EXPECT_EQ(std::pair(received.back().params.x, FltkGlSurface(window)->w()), std::pair(300, 300));
    PressKey(window, FL_Escape);
    EXPECT_TRUE(HostOf(window)->shown());
    DeleteGlContext(rc);
    DestroyWindow(player);
    received.clear();
    DestroyWindow(main);
    std::erase_if(received, [](const Received& r) { return r.message != Message::Destroy; });
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(std::pair(received[0].window, received[1].window), std::pair(window, main))
        << "owned windows go first";
    EXPECT_EQ(FltkWidget(window), nullptr);
}

}  // namespace
