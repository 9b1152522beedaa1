#include "app/main_dialog.h"
#include "app/precalc_dialog.h"
#include "app/result_bars.h"
#include "app/startup.h"
#include "app/state.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "tests/support/shell_fixture.h"

#include <gtest/gtest.h>

namespace {

class Precalc : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        CreateDrawingObjects();
        CatchProcessExit();
        SeedRandom(1);
        dialog = CreateModelessDialog(105, nullptr, PrecalcDialogProc);
        bar = ControlWindow(dialog, ProgressControl);
    }

    // The length of the done part of the progress bar: its red inside ends one pixel before
    // its black outline, which ends at len - 1.
    int RedLength() const
    {
        const ClientSize size = WindowClientSize(bar);
        int len = 0;
        for (int x = 1; x < size.width; ++x)
            if (HeadlessPixel(bar, x, size.height / 2) == Rgb(255, 0, 0))
                len = x + 2;
        return len;
    }

    Window dialog = nullptr;
    Window bar = nullptr;
};

int ExitCodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ProcessExit& exit) {
        return exit.code;
    }
    return 1000;  // no exit
}

}  // namespace

TEST_F(Precalc, TheLastChoiceBeforeATickDecidesAndTheButtonsLockAfterIt)
{
    EXPECT_TRUE(HeadlessFireTimer(dialog, PrecalcTimer));  // waiting for a level: nothing happens
    EXPECT_EQ(appState.precalcCellsDone, 0);
    HeadlessClickControl(dialog, NormalButton);
    HeadlessClickControl(dialog, QuickButton);
    EXPECT_EQ(appState.precalcLevel, QuickCalculation);
    ASSERT_TRUE(HeadlessFireTimer(dialog, PrecalcTimer));
    EXPECT_EQ(appState.precalcCellsDone, 1);
    for (int id : {QuickButton, NormalButton, DetailedButton})
        EXPECT_FALSE(HeadlessIsEnabled(ControlWindow(dialog, id)));
    HeadlessClickControl(dialog, DetailedButton);  // disabled: ignored
    EXPECT_EQ(appState.precalcLevel, QuickCalculation);
}

TEST_F(Precalc, TheRedBarGrowsByOneCellAndTheDialogClosesAfterTheLast)
{
    const int width = WindowClientSize(bar).width;
    HeadlessClickControl(dialog, QuickButton);
    for (int cell = 1; cell <= StartingHandCells; ++cell) {
        ASSERT_TRUE(HeadlessWindowExists(dialog));
        ASSERT_TRUE(HeadlessFireTimer(dialog, PrecalcTimer));
        if (cell == 1 || cell == 45 || cell == 90) {
            EXPECT_EQ(RedLength(), cell * width / StartingHandCells) << cell;
        }
    }
    EXPECT_FALSE(HeadlessWindowExists(dialog));
    EXPECT_EQ(RedLength(), width);  // full when the last cell started
    EXPECT_EQ(appState.startingHandTable.cursorRow, 12);
}

TEST_F(Precalc, EscapeOrTheCloseBoxEndsTheProgramWithZero)
{
    EXPECT_EQ(ExitCodeOf([&] { HeadlessPressKey(dialog, HeadlessKey::Escape); }), 0);
    HeadlessClickControl(dialog, QuickButton);
    HeadlessFireTimer(dialog, PrecalcTimer);
    EXPECT_EQ(ExitCodeOf([&] { HeadlessClickClose(dialog); }), 0);
}

namespace {

// Drives start-up: the precalculation dialog chooses the quick level and ticks; the message
// loop runs `loopTurn` once per turn.
int RunProgram(const std::function<void(int turn)>& loopTurn)
{
    HeadlessReset();
    ResetAppState(appState);
    CatchProcessExit();
    HeadlessSetModalDriver([](Window precalc) {
        HeadlessClickControl(precalc, QuickButton);
        HeadlessFireTimer(precalc, PrecalcTimer);
    });
    int turn = 0;
    HeadlessSetLoopDriver([&] { loopTurn(turn++); });
    return RunTablewise(nullptr);
}

}  // namespace

TEST(Startup, RunsUntilAConfirmedQuitAndEndsWithTwo)
{
    Window selection = nullptr;
    const int code = RunProgram([&](int turn) {
        if (turn == 0) {
            const auto windows = HeadlessTopLevelWindows();
            for (Window w : windows)
                if (HeadlessWindowText(w) == "Card Selection Window")
                    selection = w;
            ASSERT_NE(selection, nullptr);
            const ScreenRect r = WindowScreenRect(selection);
            EXPECT_EQ(r.left, 10);
            EXPECT_EQ(r.top, 10);
            EXPECT_EQ(r.right - r.left, 400);
            EXPECT_EQ(r.bottom - r.top, 180);
            EXPECT_EQ(FocusedWindow(), appState.mainDialog);
            EXPECT_EQ(appState.roster.count(), 5);
            EXPECT_EQ(appState.startingHandTable.cursorRow, 12);
            HeadlessFireTimer(appState.mainDialog, EstimateTimer);
            HeadlessPressKey(appState.mainDialog, HeadlessKey::Escape);  // answered Yes
        }
    });
    EXPECT_EQ(code, 2);
    EXPECT_FALSE(HeadlessWindowExists(appState.mainDialog));
    EXPECT_FALSE(HeadlessWindowExists(selection));  // owned: destroyed with the dialog
    EXPECT_EQ(appState.gainArea.surface.rc, nullptr);
}

TEST(Startup, ClosingThePrecalculationDialogEndsWithZeroBeforeTheMainDialog)
{
    HeadlessReset();
    ResetAppState(appState);
    CatchProcessExit();
    HeadlessSetModalDriver([](Window precalc) { HeadlessClickClose(precalc); });
    EXPECT_EQ(ExitCodeOf([] { RunTablewise(nullptr); }), 0);
    EXPECT_EQ(appState.mainDialog, nullptr);
}

TEST(Startup, AHandCardsContextFailureShowsTwoMessagesAndEndsWithZero)
{
    HeadlessReset();
    ResetAppState(appState);
    glOwnerWindow = nullptr;  // as at process start
    CatchProcessExit();
    HeadlessSetModalDriver([](Window precalc) {
        HeadlessClickControl(precalc, QuickButton);
        HeadlessFireTimer(precalc, PrecalcTimer);
        if (!HeadlessWindowExists(precalc))
            HeadlessFailGl(GlFailure::CreateContext);  // once the table is done
    });
    EXPECT_EQ(ExitCodeOf([] { RunTablewise(nullptr); }), 0);
    HeadlessFailGl(GlFailure::None);
    const auto& boxes = HeadlessMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Could not create HGLRC");
    EXPECT_EQ(boxes[0].owner, nullptr);  // before the graphics owner is known
    EXPECT_EQ(boxes[1].text, "Could not set up Hand Cards sub window for OpenGL display");
    EXPECT_EQ(boxes[1].caption, "OpenGL initialisation problem");
    EXPECT_TRUE(HeadlessIsVisible(appState.mainDialog));
}

TEST(Startup, ClosingTheCardSelectionWindowLeavesTheMainDialogRunning)
{
    const int code = RunProgram([&](int turn) {
        if (turn == 0) {
            for (Window w : HeadlessTopLevelWindows())
                if (HeadlessWindowText(w) == "Card Selection Window")
                    HeadlessClickClose(w);
        } else if (turn < 4) {
            HeadlessFireTimer(appState.mainDialog, RedrawTimer);
            HeadlessFireTimer(appState.mainDialog, EstimateTimer);
            MessageParams up;
            SendWindowMessage(appState.mainDialog, Message::LeftUp, up);  // redraws the grid
        } else {
            PostQuitMessage(2);
        }
    });
    EXPECT_EQ(code, 2);
    EXPECT_EQ(appState.selectionSurface.rc, nullptr);
}
