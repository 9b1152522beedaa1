#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> commands;
int initAnswer = 1;

int RecordingProc(Window window, Message message, const MessageParams& params)
{
    if (message == Message::InitDialog)
        return initAnswer;
    if (message == Message::Command) {
        commands.push_back(params.id);
        if (params.id == 1)
            EndDialog(window, 7);
    }
    return 0;
}

class HeadlessPlatform : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        commands.clear();
        initAnswer = 1;
    }
};

}  // namespace

TEST_F(HeadlessPlatform, DialogManagerKeysFollowTheFocus)
{
    Window dialog = CreateModelessDialog(101, nullptr, RecordingProc);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowClientSize(dialog).width, 558);
    EXPECT_EQ(WindowClientSize(dialog).height, 483);
    // A true answer to InitDialog gives the focus to the first tab stop, "New Hand".
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 3));
    HeadlessPressKey(dialog, HeadlessKey::Enter);  // presses the focused button
    HeadlessPressKey(dialog, HeadlessKey::Tab);    // to the check box
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 1088));
    HeadlessPressKey(dialog, HeadlessKey::Enter);  // not a push button: command 1
    HeadlessPressKey(dialog, HeadlessKey::Tab);    // to the variant button
    HeadlessPressKey(dialog, HeadlessKey::Enter);
    HeadlessPressKey(dialog, HeadlessKey::Tab);  // wraps to "New Hand"
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 3));
    HeadlessPressKey(dialog, HeadlessKey::Escape);
    HeadlessClickClose(dialog);
    HeadlessClickControl(dialog, 1088);  // the check box toggles itself, then reports
    EXPECT_TRUE(IsControlChecked(dialog, 1088));
    EnableControl(dialog, 3, false);
    HeadlessClickControl(dialog, 3);  // disabled: nothing
    EXPECT_EQ(commands, (std::vector<int>{3, 1, 1091, 2, 2, 1088}));
}

TEST_F(HeadlessPlatform, ModalRunsEndWithTheirResultAndDestroyTheDialog)
{
    initAnswer = 0;
    Window seen = nullptr;
    HeadlessSetModalDriver([&](Window dialog) {
        seen = dialog;
        HeadlessPressKey(dialog, HeadlessKey::Enter);  // no focus: command 1 ends it with 7
    });
    EXPECT_EQ(RunModalDialog(110, nullptr, RecordingProc), 7);
    EXPECT_FALSE(HeadlessWindowExists(seen));
    EXPECT_EQ(RunModalDialog(999, nullptr, RecordingProc), -1);

    // Without a driver the run ends at once, so no test can hang in it.
    HeadlessSetModalDriver(nullptr);
    EXPECT_EQ(RunModalDialog(110, nullptr, RecordingProc), 0);
}

TEST_F(HeadlessPlatform, MenuChoicesArePostedToTheOwner)
{
    Window owner = CreateModelessDialog(101, nullptr, RecordingProc);
    Menu menu = CreatePopupMenu();
    AppendMenuItem(menu, 1017, "Playing");
    Menu levels = CreatePopupMenu();
    AppendMenuItem(levels, 1025, "5");
    AppendSubmenu(menu, levels, "Aggression");
    AppendMenuSeparator(menu);
    CheckMenuItem(menu, 1025, true);
    HeadlessSetMenuResponder([](const ShownMenu& shown) {
        EXPECT_TRUE(shown.items[1].submenu[0].checked);
        EXPECT_TRUE(shown.items[2].separator);
        return shown.items[0].id;
    });
    TrackPopupMenu(menu, 40, 50, owner);
    DestroyMenu(menu);
    EXPECT_TRUE(commands.empty());  // posted, not sent
    EXPECT_EQ(HeadlessDeliverPosted(), 1);
    EXPECT_EQ(commands, (std::vector<int>{1017}));
    EXPECT_EQ(HeadlessMenusShown().back().screenX, 40);
}

TEST_F(HeadlessPlatform, OwnedWindowsGoWithTheirOwnerAndTheLoopEndsOnQuit)
{
    Window owner = CreateModelessDialog(101, nullptr, RecordingProc);
    ASSERT_TRUE(RegisterWindowClass("Test", RecordingProc));
    EXPECT_FALSE(RegisterWindowClass("Test", RecordingProc));
    Window top = CreateTopLevelWindow("Test", "Caption", 10, 10, 400, 180, owner);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(CreateTopLevelWindow("Nope", "x", 0, 0, 1, 1, owner), nullptr);
    SetTimer(top, 1, 250);
    EXPECT_TRUE(HeadlessFireTimer(top, 1));
    DestroyWindow(owner);
    EXPECT_FALSE(HeadlessWindowExists(top));
    EXPECT_FALSE(HeadlessFireTimer(top, 1));

    int turns = 0;
    HeadlessSetLoopDriver([&] {
        if (++turns == 3)
            PostQuitMessage(2);
    });
    EXPECT_EQ(RunMessageLoop(nullptr), 2);
    EXPECT_EQ(turns, 3);
    HeadlessSetLoopDriver(nullptr);
    EXPECT_EQ(RunMessageLoop(nullptr), -1);  // nothing to do: no hang
}
