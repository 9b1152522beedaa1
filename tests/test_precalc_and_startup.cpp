// The precalculation dialog, start-up, and how the program ends: a confirmed quit with 2, the
// precalculation dialog closed with 0.
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

// Drives start-up: `precalc` runs in the precalculation dialog (by default it chooses the
// quick level and ticks); the message loop runs `loopTurn` once per turn.
int RunProgram(const std::function<void(int turn)>& loopTurn,
               std::function<void(Window)> precalc = nullptr)
{
    HeadlessReset();
    ResetAppState(appState);
    CatchProcessExit();
    if (!precalc)
        precalc = [](Window dialog) {
            HeadlessClickControl(dialog, QuickButton);
            HeadlessFireTimer(dialog, PrecalcTimer);
        };
    HeadlessSetModalDriver(precalc);
    int turn = 0;
    HeadlessSetLoopDriver([&] { loopTurn(turn++); });
    return RunTablewise(nullptr);
}

}  // namespace

TEST(Precalc, TheLastChoiceDecidesTheBarGrowsByOneCellAndTheDialogClosesAfterTheLast)
{
    HeadlessReset();
    ResetAppState(appState);
    CreateDrawingObjects();
    Window dialog = CreateModelessDialog(105, nullptr, PrecalcDialogProc);
    Window bar = ControlWindow(dialog, ProgressControl);
    const ClientSize size = WindowClientSize(bar);
    auto redLength = [&] {  // the red inside ends one pixel before the outline at len - 1
        int len = 0;
        for (int x = 1; x < size.width; ++x)
            if (HeadlessPixel(bar, x, size.height / 2) == Rgb(255, 0, 0))
                len = x + 2;
        return len;
    };
    EXPECT_TRUE(HeadlessFireTimer(dialog, PrecalcTimer));  // waiting for a level: nothing happens
    EXPECT_EQ(appState.precalcCellsDone, 0);
    HeadlessClickControl(dialog, NormalButton);
    HeadlessClickControl(dialog, QuickButton);
    EXPECT_EQ(appState.precalcLevel, QuickCalculation);
    for (int cell = 1; cell <= StartingHandCells; ++cell) {
        ASSERT_TRUE(HeadlessWindowExists(dialog));
        ASSERT_TRUE(HeadlessFireTimer(dialog, PrecalcTimer));
        if (cell == 1) {
            for (int id : {QuickButton, NormalButton, DetailedButton})
                EXPECT_FALSE(HeadlessIsEnabled(ControlWindow(dialog, id)));
            HeadlessClickControl(dialog, DetailedButton);  // disabled: ignored
            EXPECT_EQ(appState.precalcLevel, QuickCalculation);
        }
        if (cell == 1 || cell == 45 || cell == 90) {
            EXPECT_EQ(redLength(), cell * size.width / StartingHandCells) << cell;
        }
    }
    EXPECT_FALSE(HeadlessWindowExists(dialog));
    EXPECT_EQ(redLength(), size.width);  // full when the last cell started
    EXPECT_EQ(appState.startingHandTable.cursorRow, 12);
}

TEST(Startup, OpensTheWindowsAndRunsUntilAConfirmedQuitThenEndsWithTwo)
{
    Window selection = nullptr;
    const int code = RunProgram([&](int turn) {
        if (turn == 0) {
            selection = SelectionWindow();
            ASSERT_NE(selection, nullptr);
            const ScreenRect r = WindowScreenRect(selection);
            EXPECT_EQ((std::array{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                      (std::array{10, 10, 400, 180}));
            EXPECT_EQ(FocusedWindow(), appState.mainDialog);
            EXPECT_EQ(appState.roster.count(), 5);
            EXPECT_EQ(appState.startingHandTable.cursorRow, 12);
            // Escape, the close box and command 1 (Enter off a button) each ask; No goes on.
            HeadlessSetMessageBoxResponder(
                [](const RecordedMessageBox&) { return MessageBoxResult::No; });
            HeadlessPressKey(appState.mainDialog, HeadlessKey::Escape);
            HeadlessClickClose(appState.mainDialog);
            SendWindowMessage(appState.mainDialog, Message::Command, {.id = 1});
            HeadlessFireTimer(appState.mainDialog, EstimateTimer);
        } else if (turn == 1) {
            EXPECT_EQ(HeadlessMessageBoxes().size(), 3u);
            HeadlessSetMessageBoxResponder(nullptr);  // answers Yes
            HeadlessPressKey(appState.mainDialog, HeadlessKey::Escape);
        }
    });
    EXPECT_EQ(code, 2);
    ASSERT_EQ(HeadlessMessageBoxes().size(), 4u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Really Quit?");
    EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Quit Program");
    EXPECT_EQ(HeadlessMessageBoxes()[0].buttons, MessageBoxButtons::YesNo);
    EXPECT_FALSE(HeadlessWindowExists(appState.mainDialog));
    EXPECT_FALSE(HeadlessWindowExists(selection));  // owned: destroyed with the dialog
    EXPECT_EQ(appState.gainArea.surface.rc, nullptr);
}

TEST(Startup, ClosingThePrecalculationDialogAtAnyTimeEndsWithZeroBeforeTheMainDialog)
{
    for (int ticks : {0, 1}) {
        const auto close = [ticks](Window precalc) {
            HeadlessClickControl(precalc, QuickButton);
            for (int i = 0; i < ticks; ++i)
                HeadlessFireTimer(precalc, PrecalcTimer);
            HeadlessPressKey(precalc, HeadlessKey::Escape);
        };
        EXPECT_EQ(ExitCodeOf([&] { RunProgram([](int) {}, close); }), 0) << ticks;
        EXPECT_EQ(appState.mainDialog, nullptr);
    }
}

TEST(Startup, AHandCardsContextFailureShowsTwoMessagesAndEndsWithZero)
{
    glOwnerWindow = nullptr;  // as at process start
    const auto failAfterTheTable = [](Window precalc) {
        HeadlessClickControl(precalc, QuickButton);
        HeadlessFireTimer(precalc, PrecalcTimer);
        if (!HeadlessWindowExists(precalc))
            HeadlessFailGl(GlFailure::CreateContext);
    };
    EXPECT_EQ(ExitCodeOf([&] { RunProgram([](int) {}, failAfterTheTable); }), 0);
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
            HeadlessClickClose(SelectionWindow());
        } else if (turn < 4) {
            HeadlessFireTimer(appState.mainDialog, RedrawTimer);
            HeadlessFireTimer(appState.mainDialog, EstimateTimer);
            SendWindowMessage(appState.mainDialog, Message::LeftUp, {});  // redraws the grid
        } else {
            PostQuitMessage(2);
        }
    });
    EXPECT_EQ(code, 2);
    EXPECT_EQ(appState.selectionSurface.rc, nullptr);
}
