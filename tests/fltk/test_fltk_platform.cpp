// Tests of the desktop platform on FLTK, under their own X server (CTest starts them through
// tests/fltk/run_under_xvfb.sh). Keys go through Fl::handle; the mouse comes from xdotool, through
// the X server.
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
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Received {
    Window window;
    Message message;
    MessageParams params;
};
std::vector<Received> received;
int initAnswer = 1;                         // 1 focuses the first tab stop
std::function<int(const Received&)> react;  // a test's own handling; its answer is returned

int Recorder(Window window, Message message, const MessageParams& params)
{
    const Received r{window, message, params};
    received.push_back(r);
    return react ? react(r) : message == Message::InitDialog ? initAnswer : 0;
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

// Runs an xdotool command line against the suite's own X server.
void Xdotool(const std::string& arguments)
{
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << "xdotool is needed";
}

// Clicks with a mouse button at the centre of a control, through the X server.
void ClickControl(Window dialog, int id, int button)
{
    const Fl_Widget* w = FltkWidget(ControlWindow(dialog, id));
    const int x = HostOf(dialog)->x() + w->x() + w->w() / 2;
    const int y = HostOf(dialog)->y() + w->y() + w->h() / 2;
    Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
            std::to_string(button));
    FltkRunUntil([] { return false; }, 0.3);
}

struct FltkPlatformTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(FltkDisplayAvailable())
            << "no X display: the suite runs under run_under_xvfb.sh";
        received.clear();
        initAnswer = 1;
        react = nullptr;
    }
};

TEST_F(FltkPlatformTest, MainDialogFollowsItsTemplateAndItsControlsRoundTrip)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(HostOf(dialog)->label(), "Tablewise Application");
    EXPECT_EQ(std::pair(WindowClientSize(dialog).width, WindowClientSize(dialog).height),
              std::pair(558, 483));
    for (const ControlTemplate& c : FindDialogTemplate(101)->controls) {
        const PixelRect r = DialogRectToPixels(c.x, c.y, c.width, c.height);
        const Fl_Widget* w = FltkWidget(ControlWindow(dialog, c.id));
        if (c.id != -1) {
            ASSERT_NE(w, nullptr) << c.id;
            EXPECT_EQ((std::array{w->x(), w->y(), w->x() + w->w(), w->y() + w->h()}),
                      (std::array{r.left, r.top, r.right, r.bottom}))
                << c.id;
        }
    }
    EXPECT_EQ(CreateModelessDialog(4242, nullptr, Recorder), nullptr);
    SetControlText(dialog, HandTypeControl, "Pair of Aces");
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "Pair of Aces");
    EXPECT_STREQ(FltkWidget(ControlWindow(dialog, HandTypeControl))->label(), "Pair of Aces");
    EXPECT_FALSE(IsControlChecked(dialog, 1088));
    for (bool on : {true, false}) {
        SetControlChecked(dialog, 1088, on);
        EXPECT_EQ(IsControlChecked(dialog, 1088), on);
        EnableControl(dialog, 3, on);
        EXPECT_EQ(FltkWidget(ControlWindow(dialog, 3))->active() != 0, on);
    }
    // Buttons and the check box send their ids; the disabled "New Hand" sends nothing.
    for (int id : {1091, 3, 1088})
        FltkWidget(ControlWindow(dialog, id))->do_callback();
    EXPECT_EQ(Ids(dialog), (std::vector<int>{1091, 1088}));
    // Centred on the screen; a control's screen rectangle counts from the client origin.
    Show(dialog);
    EXPECT_NEAR(HostOf(dialog)->x() + 558 / 2, Fl::w() / 2, 2);
    EXPECT_NEAR(HostOf(dialog)->y() + 483 / 2, Fl::h() / 2, 2);
    const PixelRect r = DialogRectToPixels(228, 20, 102, 7);
    EXPECT_EQ(WindowScreenRect(ControlWindow(dialog, 1051)).bottom, HostOf(dialog)->y() + r.bottom);
    DestroyWindow(dialog);
    EXPECT_EQ(FltkWidget(dialog), nullptr);
}

TEST_F(FltkPlatformTest, RectangleFollowsGdiRulesInTheControlsBuffer)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    Window bar = ControlWindow(dialog, 1051);
    ASSERT_EQ(WindowClientSize(bar).width, 153);
    EXPECT_EQ(FltkPixel(bar, 152, 10), Rgb(0, 0, 0));  // a fresh frame shows its black outline
    Show(dialog);
    FltkWidget(bar)->clear_damage();
    DeviceContext dc = GetDeviceContext(bar);
    const std::uint32_t blue = Rgb(0, 0, 255), red = Rgb(255, 0, 0), white = Rgb(255, 255, 255);
    SelectPen(dc, CreateSolidPen(blue));
    SelectBrush(dc, CreateSolidBrush(red));
    Rectangle(dc, 10, 2, 20, 8);
    EXPECT_NE(FltkWidget(bar)->damage(), 0) << "a drawn rectangle must be shown soon";
    Rectangle(dc, 140, -5, 400, 40);  // clipped to the control
    SelectBrush(dc, StockWhiteBrush());
    Rectangle(dc, 30, 2, 30, 8);  // empty rectangles draw nothing
    Rectangle(dc, 40, 8, 50, 2);
    dc = GetDeviceContext(bar);  // a fresh one: the black pen and the white brush
    Rectangle(dc, 60, 0, 70, 11);
    // The outline from (left, top) to (right - 1, bottom - 1), the brush inside.
    const std::tuple<int, int, std::uint32_t> same[] = {{10, 2, blue},  {19, 7, blue}, {11, 3, red},
                                                        {140, 5, blue}, {152, 0, red}, {60, 0, 0},
                                                        {65, 5, white}};
    for (auto [x, y, colour] : same)
        EXPECT_EQ(FltkPixel(bar, x, y), colour) << x << "," << y;
    const std::tuple<int, int, std::uint32_t> other[] = {
        {20, 5, red}, {15, 8, blue}, {30, 5, white}, {45, 5, white}};
    for (auto [x, y, colour] : other)
        EXPECT_NE(FltkPixel(bar, x, y), colour) << x << "," << y;
    DestroyWindow(dialog);
}

TEST_F(FltkPlatformTest, TheToolkitsKeysAndCloseBoxReachTheDialogManager)
{
    Window dialog = Show(CreateModelessDialog(101, nullptr, Recorder));
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 3));  // "New Hand", the first tab stop
    PressKey(dialog, FL_Escape);
    HostOf(dialog)->do_callback();  // what FLTK does for the close box
    PressKey(dialog, FL_Enter);     // presses the focused button
    FltkRunUntil([] { return false; }, 0.1);
    EXPECT_EQ(Ids(dialog), (std::vector<int>{2, 2, 3}));
    EXPECT_TRUE(HostOf(dialog)->shown()) << "Escape and the close box must not hide the dialog";
    const std::pair<int, int> tabs[] = {{0, 1088}, {FL_SHIFT, 3}};
    for (auto [state, focus] : tabs) {
        PressKey(dialog, FL_Tab, state);
        EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, focus));
    }
    DestroyWindow(dialog);
}

TEST_F(FltkPlatformTest, OnlyTheLeftButtonPressesButtonsAndTogglesCheckBoxes)
{
    // "New Hand", the variant button and "Opponent Modelling"; "Add Player" and "Cancel"; the
    // three precalculation buttons.
    const std::pair<int, std::vector<int>> dialogs[] = {
        {101, {3, 1091, 1088}}, {110, {1, 2}}, {105, {1093, 1094, 1095}}};
    for (const auto& [templateId, ids] : dialogs) {
        Window dialog = Show(CreateModelessDialog(templateId, nullptr, Recorder));
        for (int id : ids)
            EnableControl(dialog, id, true);
        received.clear();
        for (int id : ids)
            for (int button : {3, 2})
                ClickControl(dialog, id, button);
        EXPECT_EQ(Ids(dialog), std::vector<int>{}) << "template " << templateId;
        EXPECT_TRUE(Ids(dialog, Message::RightUp).empty()) << "template " << templateId;
        EXPECT_FALSE(IsControlChecked(dialog, 1088));
        for (int id : ids)
            ClickControl(dialog, id, 1);
        EXPECT_EQ(Ids(dialog), ids) << "template " << templateId;
        EXPECT_EQ(IsControlChecked(dialog, 1088), templateId == 101);
        DestroyWindow(dialog);
    }
}

// What a test saw of an open "Quit Program" box, and the keys it then typed.
struct BoxSeen {
    int centreX = 0, centreY = 0;
    std::string focus;
};
BoxSeen boxSeen;
const char* boxKeys = "";

Fl_Window* TheBox()
{
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
        if (w->label() && std::string(w->label()) == "Quit Program")
            return w;
    return nullptr;
}

void LookAtTheBoxAndType(void*)
{
    if (Fl_Window* w = TheBox()) {
        boxSeen.centreX = w->x() + w->w() / 2;
        boxSeen.centreY = w->y() + w->h() / 2;
        boxSeen.focus = Fl::focus() && Fl::focus()->label() ? Fl::focus()->label() : "";
    }
    Xdotool(std::string("key ") + boxKeys);
}

void HideTheBox(void*)
{
    if (Fl_Window* w = TheBox())
        w->hide();
}

TEST_F(FltkPlatformTest, NewDialogsAndMessageBoxesTakeTheKeyboardAtOnceAndBoxesAreCentred)
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
    auto answer = [&](const char* keys) {
        boxSeen = {};
        boxKeys = keys;
        Fl::add_timeout(0.5, LookAtTheBoxAndType);
        Fl::add_timeout(5.0, HideTheBox);  // should the keys never arrive
        const MessageBoxResult result =
            ShowMessageBox(main, "Really Quit?", "Quit Program", MessageBoxButtons::YesNo);
        Fl::remove_timeout(HideTheBox);
        return result;
    };
    EXPECT_EQ(answer("Escape"), MessageBoxResult::No);
    EXPECT_NEAR(boxSeen.centreX, Fl::w() / 2, 1);
    EXPECT_NEAR(boxSeen.centreY, Fl::h() / 2, 1);
    EXPECT_EQ(boxSeen.focus, "Yes");
    EXPECT_EQ(answer("Return"), MessageBoxResult::Yes);
    EXPECT_EQ(answer("Tab Return"), MessageBoxResult::No);
    DestroyWindow(main);
}

TEST_F(FltkPlatformTest, PostedMessagesAndTimersArriveUntilKilledOrTheWindowIsDestroyed)
{
    Window dialog = CreateModelessDialog(105, nullptr, Recorder);
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
    // The loop returns the quit code; the killed timer stays silent meanwhile.
    KillTimer(dialog, 2);
    received.clear();
    react = [&](const Received& r) {
        if (r.message == Message::Timer && ticks(1) == 10)
            PostQuitMessage(2);
        return 0;
    };
    EXPECT_EQ(RunMessageLoop(dialog), 2);
    EXPECT_EQ(ticks(2), 0) << "a killed timer ticked";
    PostWindowMessage(dialog, Message::Command, {});  // dropped with its window
    DestroyWindow(dialog);
    EXPECT_EQ(Ids(dialog, Message::Destroy).size(), 1u);
    received.clear();
    FltkRunUntil([] { return false; }, 0.1);
    DestroyWindow(dialog);  // twice does nothing
    EXPECT_TRUE(received.empty()) << "a destroyed window received a message";
}

TEST_F(FltkPlatformTest, ModalRunEndsWithTheResultWhileOtherTimersKeepTicking)
{
    Window owner = Show(CreateModelessDialog(101, nullptr, Recorder));
    SetTimer(owner, 1, 10);
    Window modal = nullptr;
    react = [&](const Received& r) {
        if (r.window != owner && r.message == Message::InitDialog)
            SetTimer(modal = r.window, 1, 50);
        if (r.window == modal && r.message == Message::Timer &&
            Ids(owner, Message::Timer).size() >= 2) {
            PressKey(owner, FL_Escape);  // the disabled owner must ignore it
            EndDialog(modal, 7);
        }
        return 0;
    };
    EXPECT_EQ(RunModalDialog(110, owner, Recorder), 7);
    EXPECT_TRUE(Ids(owner).empty()) << "the owner took a key during the modal run";
    EXPECT_EQ(FltkWidget(modal), nullptr);
    EXPECT_EQ(Ids(modal, Message::Destroy).size(), 1u);
    PressKey(owner, FL_Escape);  // the owner takes keys again
    EXPECT_EQ(Ids(owner), (std::vector<int>{2}));
    EXPECT_EQ(RunModalDialog(4242, owner, Recorder), -1);
    DestroyWindow(owner);
}

TEST_F(FltkPlatformTest, ScrollBarMapsClicksAndDragsToWin32Codes)
{
    const ScrollInfo info{0, 10, 1, 5, 0};
    const ScrollGeometry g = ComputeScrollGeometry(147, 16, info, 5);
    for (int pos = 0; pos <= 10; ++pos) {
        const int thumb = ComputeScrollGeometry(147, 16, info, pos).thumbLeft;
        EXPECT_EQ(ScrollPositionForThumb(g, info, thumb), pos);
    }
    EXPECT_EQ(ScrollCodeAt(g, 147, g.troughLeft + 1), ScrollPageLeft);

    // The widget: the left arrow, the right trough, then a drag of the thumb to the far left.
    Window dialog = CreateModelessDialog(110, nullptr, Recorder);
    Window bar = ControlWindow(dialog, 1102);
    SetScrollInfo(bar, info, true);
    Show(dialog);
    react = [](const Received& r) {
        if (r.message == Message::HScroll && r.params.id == ScrollThumbTrack)
            SetScrollPosition(r.params.control, r.params.position, true);
        return 0;
    };
    Fl_Widget* widget = FltkWidget(bar);
    const ScrollGeometry at5 = ComputeScrollGeometry(widget->w(), widget->h(), info, 5);
    const int trough = widget->w() - at5.arrow - 2, thumb = at5.thumbLeft;
    const std::pair<int, int> events[] = {
        {FL_PUSH, 2},         {FL_RELEASE, 2},       {FL_PUSH, trough}, {FL_RELEASE, trough},
        {FL_PUSH, thumb + 2}, {FL_DRAG, thumb - 20}, {FL_DRAG, 0},      {FL_RELEASE, 0}};
    for (auto [event, x] : events) {
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
}

TEST_F(FltkPlatformTest, PopupMenuItemsCarryIdsCheckMarksSeparatorsAndSubmenus)
{
    Menu menu = CreatePopupMenu();
    Menu levels = CreatePopupMenu();
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
    CheckMenuItem(menu, 1017, false);
    EXPECT_FALSE(BuildFltkMenuItems(menu)[0].value());
    DestroyMenu(menu);
}

TEST_F(FltkPlatformTest, OpenGlAreaRendersPassesTheMouseOnAndRefusesAHiddenWindow)
{
    Window dialog = CreateModelessDialog(101, nullptr, Recorder);
    Window control = ControlWindow(dialog, 1095);
    DeviceContext dc = GetDeviceContext(control);
    ASSERT_TRUE(SetGlPixelFormat(dc, ChooseGlPixelFormat(dc)));
    GlContext rc = CreateGlContextFor(dc);
    ASSERT_NE(rc, nullptr);
    const Fl_Widget* s = FltkGlSurface(control);  // covers exactly the control
    const PixelRect area = DialogRectToPixels(14, 83, 141, 41);
    EXPECT_EQ((std::array{s->x(), s->y(), s->x() + s->w(), s->y() + s->h()}),
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
    EXPECT_EQ(CurrentGlContext(), nullptr);

    // The mouse over the OpenGL area and over a bar (a frame) reaches the dialog.
    const PixelRect bar = DialogRectToPixels(228, 20, 102, 7);
    for (auto [x, y] :
         {std::pair{area.left + 40, area.top + 20}, std::pair{bar.left + 3, bar.top + 2}}) {
        received.clear();
        const std::string to =
            std::to_string(HostOf(dialog)->x() + x) + " " + std::to_string(HostOf(dialog)->y() + y);
        ASSERT_EQ(std::system(("xdotool mousemove " + to + " click 1 click 3").c_str()), 0)
            << "xdotool is needed";
        ASSERT_TRUE(FltkRunUntil([&] { return !Ids(dialog, Message::RightUp).empty(); }, 3.0));
        EXPECT_EQ(Ids(dialog, Message::LeftDown).size(), 1u);
        const auto move = std::ranges::find(received, Message::MouseMove, &Received::message);
        ASSERT_NE(move, received.end());
        EXPECT_EQ(std::pair(move->params.x, move->params.y), std::pair(x, y));
    }
    HostOf(dialog)->hide();
    EXPECT_FALSE(MakeGlCurrent(dc, rc)) << "hidden";
    EXPECT_EQ(CurrentGlContext(), nullptr);
    DeleteGlContext(rc);
    DestroyWindow(dialog);
}

TEST_F(FltkPlatformTest, EveryButtonComesAfterAMoveToWhereItHappened)
{
    // The views pick on moves and act on buttons: a click right after a move must not act on
    // what lay under the pointer before. xdotool sends each move and click back to back.
    Window dialog = Show(CreateModelessDialog(101, nullptr, Recorder));
    const PixelRect area = DialogRectToPixels(14, 83, 141, 41);
    received.clear();
    std::string command = "xdotool";
    for (int i = 0; i < 6; ++i) {
        const int x = HostOf(dialog)->x() + area.left + 10 + 30 * i;
        const int y = HostOf(dialog)->y() + area.top + 10 + 5 * i;
        command += " mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
                   (i == 5 ? "3" : "1");
    }
    ASSERT_EQ(std::system(command.c_str()), 0) << "xdotool is needed";
    ASSERT_TRUE(FltkRunUntil([&] { return !Ids(dialog, Message::RightUp).empty(); }, 3.0));
    int buttons = 0;
    for (std::size_t i = 0; i < received.size(); ++i) {
        const Message m = received[i].message;
        if (m != Message::LeftDown && m != Message::LeftUp && m != Message::RightUp)
            continue;
        ++buttons;
        auto move = std::find_if(received.rbegin() + static_cast<long>(received.size() - i),
                                 received.rend(),
                                 [](const Received& r) { return r.message == Message::MouseMove; });
        ASSERT_NE(move, received.rend()) << "button " << buttons;
        EXPECT_EQ(std::pair(move->params.x, move->params.y),
                  std::pair(received[i].params.x, received[i].params.y))
            << "button " << buttons;
    }
    EXPECT_EQ(buttons, 11);  // five clicks of the left button, one release of the right
    DestroyWindow(dialog);
}

TEST_F(FltkPlatformTest, TopLevelWindowIsCreatedSizedAndDestroyedWithItsOwner)
{
    Window owner = Show(CreateModelessDialog(105, nullptr, Recorder));
    ASSERT_TRUE(RegisterWindowClass("TestTopLevel", Recorder));
    EXPECT_EQ(CreateTopLevelWindow("NoSuchClass", "x", 0, 0, 10, 10, nullptr), nullptr);
    react = [](const Received& r) { return r.message == Message::Create ? -1 : 0; };
    EXPECT_EQ(CreateTopLevelWindow("TestTopLevel", "x", 0, 0, 10, 10, nullptr), nullptr);

    react = nullptr;
    received.clear();
    Window window =
        CreateTopLevelWindow("TestTopLevel", "Card Selection Window", 10, 10, 400, 180, owner);
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[0].message, Message::Create);
    EXPECT_EQ(received[1].message, Message::Size);
    EXPECT_EQ(std::pair(received[1].params.x, received[1].params.y), std::pair(400, 180));
    EXPECT_STREQ(HostOf(window)->label(), "Card Selection Window");
    Show(window);
    EXPECT_EQ(std::pair(HostOf(window)->x(), HostOf(window)->y()), std::pair(10, 10));
    DeviceContext dc = GetDeviceContext(window);
    ASSERT_TRUE(SetGlPixelFormat(dc, ChooseGlPixelFormat(dc)));
    GlContext rc = CreateGlContextFor(dc);
    EXPECT_TRUE(MakeGlCurrent(dc, rc));
    MakeGlCurrent(nullptr, nullptr);
    // A resize reports the client size and the OpenGL surface follows; Escape does not hide it.
    received.clear();
    HostOf(window)->resize(10, 10, 300, 150);
    EXPECT_EQ(Ids(window, Message::Size).size(), 1u);
    EXPECT_EQ(std::pair(received.back().params.x, FltkGlSurface(window)->w()), std::pair(300, 300));
    PressKey(window, FL_Escape);
    EXPECT_TRUE(HostOf(window)->shown());

    DeleteGlContext(rc);
    received.clear();
    DestroyWindow(owner);
    std::erase_if(received, [](const Received& r) { return r.message != Message::Destroy; });
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].window, window) << "owned windows go first";
    EXPECT_EQ(received[1].window, owner);
    EXPECT_EQ(FltkWidget(window), nullptr);
}

}  // namespace
