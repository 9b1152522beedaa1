// The program under abuse: crowded tables, days of estimates, hostile names and storms of mouse
// events. Nothing may hang, crash or corrupt the state.
#include "app/main_dialog.h"
#include "app/state.h"
#include "odds/screen.h"
#include "odds/win_estimate.h"
#include "opponents/player_dialog.h"
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "render/gain.h"
#include "tests/support/shell_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>  // multiset
#include <string>

namespace {

#ifdef TABLEWISE_SANITIZED
constexpr int Scale = 10;  // the sanitizers run about ten times slower
#else
constexpr int Scale = 1;
#endif

void FillRoster(int players, int aggression, int bluffing, bool playing)
{
    appState.roster.clear();
    for (int i = 0; i < players; ++i)
        appState.roster.append({std::string("P").append(std::to_string(i)), bluffing, aggression,
                                playing, 12 + (i * 7) % 250, 12 + (i * 13) % 150});
}

// Every chosen card sits in one slot only, Texas Hold'em leaves the last hole slots empty, and
// the hovered and dragged players are in the roster.
void ExpectConsistentDeal()
{
    std::multiset<Card> chosen(appState.holeCards.begin(), appState.holeCards.end());
    chosen.insert(appState.tableCards.begin(), appState.tableCards.end());
    chosen.erase(NoCard);
    for (Card c : chosen)
        ASSERT_TRUE(c >= 0 && c < 52 && chosen.count(c) == 1) << c << " out of range or twice";
    ASSERT_TRUE(appState.gameVariant == OmahaHoldem ||
                (appState.holeCards[2] == NoCard && appState.holeCards[3] == NoCard));
    for (int player : {appState.hoverPlayer, appState.draggedPlayer})
        ASSERT_TRUE(player >= -1 && player < appState.roster.count()) << player;
}

class Abuse : public ::testing::Test {
protected:
    void SetUp() override { dialog = StartMainDialog(); }
    Window dialog = nullptr;
};

}  // namespace

// The crowded tables: the deck serves 22 Texas or 10 Omaha players, cautious players late in a
// deal find few fitting hands, players who are not playing want weak ones; an 11-player table
// meets the empty starting-hand table of before the precalculation, where every hand rates 0
// and folded aggressive players can get no hand below their bar.
TEST_F(Abuse, EveryTickFinishesAndCountsItsDealsForRostersOfAnySize)
{
    const StartingHandTable computed = appState.startingHandTable;
    const int sizes[] = {0, 1, 5, 10, 11, 22, 23, 40, 100};
    for (int variant : {TexasHoldem, OmahaHoldem})
        for (bool modelling : {false, true})
            for (int players : sizes)
                for (int aggression : {0, 10}) {
                    SCOPED_TRACE(::testing::Message()
                                 << "variant " << variant << " modelling " << modelling
                                 << " players " << players << " aggression " << aggression);
                    ResetForNewHand(appState);
                    appState.gameVariant = static_cast<GameVariant>(variant);
                    SetControlChecked(dialog, ModellingCheckBox, modelling);
                    FillRoster(players, aggression, aggression == 0 ? 0 : 10, players % 2 == 0);
                    appState.startingHandTable = players == 11 ? StartingHandTable{} : computed;
                    ChangeCard(0, true);
                    ChangeCard(13, true);
                    if (variant == OmahaHoldem) {
                        ChangeCard(26, true);
                        ChangeCard(39, true);
                    }
                    ChangeCard(5, true);  // one board card
                    ASSERT_TRUE(HeadlessFireTimer(dialog, EstimateTimer));
                    ASSERT_TRUE(HeadlessFireTimer(dialog, RedrawTimer));
                    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);
                    ExpectConsistentDeal();
                }
}

TEST_F(Abuse, DaysOfEstimatesKeepPercentagesAndGainRight)
{
    // Counters near the 32-bit limit, then at least ten million more deals (a million under
    // the sanitizers): the shares and the gain stay those of the counts.
    FillRoster(1, 5, 5, true);
    ChangeCard(0, true);
    ChangeCard(13, true);
    appState.outcomeCounts = {2147000000LL, 100000000LL, 900000000LL};
    // Hours of estimates, not of frames: the gain view's surface is left out (a program whose
    // window is hidden), so the figure is still computed but no frame is drawn.
    DeleteGlContext(appState.gainArea.surface.rc);
    appState.gainArea.surface.rc = nullptr;
    const int calls = 10000 / Scale;
    for (int i = 0; i < calls; ++i)
        EstimateWin(appState.holeCards.data(), appState.tableCards.data());
    const OutcomeCounts c = appState.outcomeCounts;
    ASSERT_EQ(c.total(), 3147000000LL + 1000LL * calls);
    ASSERT_GT(c.wins, 2147483647LL);  // past where a 32-bit counter would have wrapped

    const double total = static_cast<double>(c.total());
    const std::int64_t counts[] = {c.wins, c.ties, c.losses};
    double sum = 0;
    for (int i = 0; i < 3; ++i) {
        const double shown = std::atof(ControlText(dialog, WinShareControl + i).c_str());
        EXPECT_NEAR(shown, 100.0 * static_cast<double>(counts[i]) / total, 0.01) << i;
        sum += shown;
    }
    EXPECT_NEAR(sum, 100.0, 0.03);
    EXPECT_FLOAT_EQ(gainPercent, ComputeGainPercent(c.wins, c.ties, c.losses, 1));
    EXPECT_GT(gainPercent, 30.0f);  // about 68% of the pot heads-up: a clear gain
}

TEST_F(Abuse, AnyTypedNameIsStoredAndDrawnSafely)
{
    static const char WithControls[] = "tab\there\nnew\x01\x1F\x7F\0after a zero";
    const std::string names[] = {
        "",
        std::string(1000, 'x'),
        std::string(WithControls, sizeof WithControls - 1),
        "\xE2\x82\xAC uro \xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x82\xA1",  // € é 日本
                                                                                         // 🂡
        "\xFF\xFE bad \xC3 \xE2\x82 \xED\xA0\x80 \xC0\xAF end",  // invalid UTF-8 of every kind
        std::string(40, '\xC3'),
    };
    for (const std::string& name : names) {
        HeadlessSetModalDriver([&](Window add) {
            SetControlText(add, NameEditControl, name);
            HeadlessPressKey(add, HeadlessKey::Enter);
        });
        RunAddPlayerDialog();
    }
    ASSERT_EQ(appState.roster.count(), 6);
    for (int i = 0; i < appState.roster.count(); ++i)
        EXPECT_LE(appState.roster.at(i).name.size(), 31u) << i;
    EXPECT_EQ(appState.roster.at(1).name, std::string(31, 'x'));
    EXPECT_EQ(appState.roster.at(3).name.substr(0, 3), "\x80 u");  // converted to Windows-1252
    HeadlessFireTimer(dialog, RedrawTimer);                        // draws every name
    ExpectConsistentDeal();
}

TEST_F(Abuse, MouseStormsKeepTheStateConsistent)
{
    FillRoster(6, 5, 5, true);
    std::mt19937 random(20261206);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const Window selection = OpenSelectionWindow();
    ASSERT_NE(selection, nullptr);
    HeadlessSetMenuResponder([&](const ShownMenu& menu) {
        switch (pick(4)) {
        case 0:
            return 0;  // cancelled
        case 1:
            return DeleteCommand;
        case 2:
            return menu.items[0].id;  // "Add New" or "Playing"
        default:
            return FirstAggressionCommand + pick(22);
        }
    });
    HeadlessSetModalDriver([&](Window add) {
        HeadlessPressKey(add, pick(2) == 0 ? HeadlessKey::Enter : HeadlessKey::Escape);
    });

    const int events = 3000 / Scale;
    for (int i = 0; i < events; ++i) {
        const int event = pick(12);
        if (event < 6) {  // moves, presses and releases beyond the dialog on every side too
            const Message mouse[] = {Message::MouseMove, Message::MouseMove, Message::MouseMove,
                                     Message::LeftDown,  Message::LeftUp,    Message::RightUp};
            MouseAt(mouse[event], pick(620) - 30, pick(540) - 30);
            if (event == 5)
                HeadlessDeliverPosted();  // the context menu's command
        } else if (event == 6) {
            MessageParams p;
            p.x = pick(400);
            p.y = pick(180);
            SendWindowMessage(selection, Message::MouseMove, p);
            SendWindowMessage(selection, Message::LeftUp, p);
        } else if (event == 7) {
            HeadlessClickControl(dialog, pick(3) == 0 ? NewHandCommand : VariantButton);
        } else if (event == 8) {
            HeadlessFireTimer(dialog, EstimateTimer);
        } else if (event == 9) {
            HeadlessFireTimer(dialog, RedrawTimer);
            HeadlessFireTimer(selection, 1);
        } else if (event == 10) {
            MessageParams command;
            command.id = PlayingCommand + pick(25);
            appState.selectedPlayer = pick(10) - 2;
            SendWindowMessage(dialog, Message::Command, command);
        } else {
            HeadlessClickControl(dialog, ModellingCheckBox);
        }
        ExpectConsistentDeal();
        if (HasFatalFailure())
            return;
    }
}

TEST_F(Abuse, TheSelectionWindowSurvivesBeingShrunkAndClosed)
{
    const Window selection = OpenSelectionWindow();
    ASSERT_NE(selection, nullptr);
    for (auto [w, h] : {std::pair{1, 1}, {0, 0}, {1, 500}, {400, 180}}) {
        HeadlessResizeWindow(selection, w, h);
        HeadlessFireTimer(selection, 1);
        MessageParams p;
        p.x = w / 2;
        p.y = h / 2;
        SendWindowMessage(selection, Message::MouseMove, p);
        SendWindowMessage(selection, Message::LeftUp, p);
        ExpectConsistentDeal();
    }
    HeadlessClickClose(selection);
    EXPECT_FALSE(HeadlessWindowExists(selection));
    HeadlessFireTimer(dialog, RedrawTimer);
    MouseAt(Message::LeftUp, 5, 5);  // redraws the grid of a closed window: no effect
    ExpectConsistentDeal();
}
