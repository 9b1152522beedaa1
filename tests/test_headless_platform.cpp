// The window model's dialog manager, modal runs, menus and owned windows, on the headless platform.
#include "platform/headless/headless.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

static std::vector<int> commands;
static int initAnswer = 1;

// Records commands; command 1 ends a modal run with 7.
static int RecordingProc(Window window, Message message, const MessageParams& params)
{
    if (message == Message::Command)
        commands.push_back(params.id);
    if (message == Message::Command && params.id == 1)
        EndDialog(window, 7);
    return message == Message::InitDialog ? initAnswer : 0;
}

struct HeadlessPlatform : ::testing::Test {
    void SetUp() override
    {
        HeadlessReset();
        commands.clear();
        initAnswer = 1;
    }
};

TEST_F(HeadlessPlatform, DialogManagerKeysFollowTheFocus)
{
    Window dialog = CreateModelessDialog(101, nullptr, RecordingProc);
    // InitDialog's 1 focuses "New Hand"; Enter presses the focused button (on the check box: 1).
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 3));
    using enum HeadlessKey;
    const std::pair<HeadlessKey, int> keys[] = {{Enter, 3},  {Tab, 1088},   {Enter, 1088},
                                                {Tab, 1091}, {Enter, 1091}, {Tab, 3}};
    for (const auto& [key, focus] : keys) {
        HeadlessPressKey(dialog, key);
        EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, focus));
    }
    HeadlessPressKey(dialog, Escape);
    HeadlessClickClose(dialog);
    HeadlessClickControl(dialog, 1088);  // toggles itself, then reports
    EXPECT_TRUE(IsControlChecked(dialog, 1088));
    EnableControl(dialog, 3, false);
    HeadlessClickControl(dialog, 3);  // disabled: nothing, and Tab passes it by
    for (int i = 0; i < 3; ++i)
        HeadlessPressKey(dialog, Tab);
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, 1088));
    EXPECT_EQ(commands, (std::vector<int>{3, 1, 1091, 2, 2, 1088}));
    EXPECT_TRUE(HeadlessWindowExists(dialog));
}

TEST_F(HeadlessPlatform, ModalRunsEndWithTheirResultMenuChoicesArePostedAndOwnersTakeOwned)
{
    initAnswer = 0;
    Window seen = nullptr;  // Enter without focus sends 1, which ends the run with 7
    HeadlessSetModalDriver([&](Window d) { HeadlessPressKey(seen = d, HeadlessKey::Enter); });
    EXPECT_EQ(RunModalDialog(110, nullptr, RecordingProc), 7);
    EXPECT_FALSE(HeadlessWindowExists(seen));
    Window owner = CreateModelessDialog(101, nullptr, RecordingProc);
    Menu menu = CreatePopupMenu();
    AppendMenuItem(menu, 1017, "Playing");
    HeadlessSetMenuResponder([](const ShownMenu& shown) { return shown.items[0].id; });
    TrackPopupMenu(menu, 40, 50, owner);
    DestroyMenu(menu);
    EXPECT_EQ(commands, (std::vector<int>{1}));  // the choice is posted, not sent
    EXPECT_EQ(HeadlessDeliverPosted(), 1);
    EXPECT_EQ(commands, (std::vector<int>{1, 1017}));
    ASSERT_TRUE(RegisterWindowClass("Test", RecordingProc));
    Window top = CreateTopLevelWindow("Test", "Caption", 10, 10, 400, 180, owner);
    DestroyWindow(owner);
    EXPECT_FALSE(HeadlessWindowExists(top));
}
