// Precalculation, start-up and exit codes: 2 after a confirmed quit, 0 if precalculation is closed.
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

// Chooses the quick level in the precalculation dialog and lets the timer tick once.
void QuickStart(Window precalc)
{
    HeadlessClickControl(precalc, QuickButton);
    HeadlessFireTimer(precalc, PrecalcTimer);
}

// Runs the program, `precalc` in the precalculation dialog, `loopTurn` at each turn of the loop.
int RunProgram(std::function<void(Window)> precalc, std::function<void(int)> loopTurn = nullptr)
{
    HeadlessReset();
    ResetAppState(appState);
    CatchProcessExit();
    HeadlessSetModalDriver(std::move(precalc));
    int turn = 0;
    HeadlessSetLoopDriver([&] { loopTurn ? loopTurn(turn++) : void(); });
    return RunTablewise(nullptr);
}

}  // namespace

TEST(Precalc, TheLastChoiceDecidesItCannotChangeOnceStartedAndTheDialogClosesAfterTheLastCell)
{
    HeadlessReset();
    ResetAppState(appState);
    CreateDrawingObjects();
    Window dialog = CreateModelessDialog(105, nullptr, PrecalcDialogProc);
    EXPECT_TRUE(HeadlessFireTimer(dialog, PrecalcTimer));  // waiting for a level: no cell done
    HeadlessClickControl(dialog, NormalButton);
    HeadlessClickControl(dialog, QuickButton);
    for (int cell = 1; cell <= StartingHandCells; ++cell) {
        ASSERT_TRUE(HeadlessFireTimer(dialog, PrecalcTimer)) << cell;
        HeadlessClickControl(dialog, DetailedButton);  // disabled once started: ignored
    }
    EXPECT_FALSE(HeadlessWindowExists(dialog));
    EXPECT_EQ(appState.precalcLevel, QuickCalculation);
}

TEST(Startup, RunsUntilAConfirmedQuitThenEndsWithTwoAndOutlivesTheCardSelectionWindow)
{
    const int code = RunProgram(QuickStart, [&](int turn) {
        const Window main = appState.mainDialog;
        if (turn == 0) {
            // Escape, the close box and command 1 (Enter off a button) each ask; No goes on.
            HeadlessSetMessageBoxResponder(
                [](const RecordedMessageBox&) { return MessageBoxResult::No; });
            HeadlessPressKey(main, HeadlessKey::Escape);
            HeadlessClickClose(main);
            SendWindowMessage(main, Message::Command, {.id = 1});
            HeadlessClickClose(SelectionWindow());  // the program goes on without it
        } else if (turn == 1) {
            HeadlessFireTimer(main, RedrawTimer);
            SendWindowMessage(main, Message::LeftUp, {});  // redraws the grid
            HeadlessSetMessageBoxResponder(nullptr);       // answers Yes
            HeadlessPressKey(main, HeadlessKey::Escape);
        }
    });
    EXPECT_EQ(code, 2);
    ASSERT_EQ(HeadlessMessageBoxes().size(), 4u);
    const RecordedMessageBox& box = HeadlessMessageBoxes()[0];
    EXPECT_EQ(std::tuple(box.text, box.caption, box.buttons),
              std::tuple("Really Quit?", "Quit Program", MessageBoxButtons::YesNo));
    EXPECT_FALSE(HeadlessWindowExists(appState.mainDialog));
    EXPECT_EQ(std::pair(appState.gainArea.surface.rc, appState.selectionSurface.rc),
              std::pair(GlContext{}, GlContext{}));
}

TEST(Startup, ClosingThePrecalculationDialogAtAnyTimeEndsWithZeroBeforeTheMainDialog)
{
    for (bool ticked : {false, true}) {
        const auto close = [ticked](Window precalc) {
            ticked ? QuickStart(precalc) : HeadlessClickControl(precalc, QuickButton);
            HeadlessPressKey(precalc, HeadlessKey::Escape);
        };
        EXPECT_EQ(ExitCodeOf([&] { RunProgram(close); }), 0) << ticked;
        EXPECT_EQ(appState.mainDialog, nullptr);
    }
}

TEST(Startup, AHandCardsContextFailureShowsTwoMessagesAndEndsWithZero)
{
    glOwnerWindow = nullptr;  // as at process start
    const auto failAfterTheTable = [](Window precalc) {
        QuickStart(precalc);
        if (!HeadlessWindowExists(precalc))
            HeadlessFailGl(GlFailure::CreateContext);
    };
    EXPECT_EQ(ExitCodeOf([&] { RunProgram(failAfterTheTable); }), 0);
    HeadlessFailGl(GlFailure::None);
    const auto& boxes = HeadlessMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, nullptr);  // before the graphics owner is known
    EXPECT_EQ(std::tuple(boxes[1].text, boxes[1].caption),
              std::tuple("Could not set up Hand Cards sub window for OpenGL display",
                         "OpenGL initialisation problem"));
}
