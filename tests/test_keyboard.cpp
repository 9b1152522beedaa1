// Typed cards in both windows, Backspace, Delete, separators, and the summary Control+C copies.
#include "app/main_dialog.h"
#include "app/result_bars.h"
#include "platform/headless/headless.h"
#include "render/gain.h"
#include "tests/support/shell_fixture.h"

#include "tests/support/card_text.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <string_view>

namespace {

struct KeyCase {
    GameVariant variant;
    bool selection;            // typed into the card selection window, else into the main dialog
    const char *hole, *board;  // the slots before ("As --"), then after the keys
    const char* keys;          // '\b' Backspace, '\x7f' Delete, '\t' a key without a character
    const char *holeAfter, *boardAfter;
};

constexpr KeyCase Cases[] = {
    // The usual notation, either case, "10" for a ten; spaces and commas between don't press New
    // Hand.
    {TexasHoldem, true, "", "", "aS, kD ,  10h", "As Kd", "Th"},
    {OmahaHoldem, false, "", "", "As Kd Qh Jc Ts", "As Kd Qh Jc", "Ts"},
    // A rank waits for its suit; anything else drops it (a separator still does nothing else).
    {TexasHoldem, false, "", "", "A s, Kd", "Kd --", ""},
    {TexasHoldem, false, "", "", "AKs", "Ks --", ""},
    {TexasHoldem, true, "", "", "Axs 1s 0s s", "", ""},
    {TexasHoldem, false, "", "", "A\bs", "", ""},
    {TexasHoldem, false, "", "", "A\x80s\xff\x01Q\tc", "", ""},
    // A space after a typo only separates too: it must not press New Hand and lose the cards.
    {TexasHoldem, false, "As", "", "Kx Qd", "As Qd", ""},
    // A card already placed, or no slot left: nothing changes, nothing is lost.
    {TexasHoldem, false, "As", "", "As", "As --", ""},
    {TexasHoldem, true, "As Kd", "Th Jd 4c 5c 6c", "2s", "As Kd", "Th Jd 4c 5c 6c"},
    // A space at any other time presses the focused button: "New Hand" empties every slot.
    {TexasHoldem, false, "As Kd", "Th", " ", "", ""},
    // Backspace and Delete take back the last filled slot: the board from its end, then the hole.
    {TexasHoldem, false, "-- Kd", "Th -- 4c", "\b\x7f", "-- Kd", ""},
    {TexasHoldem, true, "-- Kd", "Th", "\b\bQs", "Qs --", ""},
    {OmahaHoldem, true, "As Kd Qh Jc", "Ts 9s", "\x7f\x7f\x7f", "As Kd Qh --", ""},
    {TexasHoldem, false, "", "", "\b", "", ""},
};

// Sends the keys as the platform does: Backspace, Delete and Tab as KeyDown, the rest as Char.
void Type(Window window, const std::string& keys)
{
    for (const char c : keys)
        if (c == '\b' || c == '\x7f' || c == '\t')
            HeadlessTypeKey(window, c == '\b' ? KeyBackspace : c == '\t' ? KeyOther : KeyDelete);
        else
            HeadlessTypeText(window, std::string(1, c));
}

}  // namespace

TEST(Keyboard, TypedCardsFollowTheRulesOfAClick)
{
    for (const KeyCase& c : Cases) {
        SCOPED_TRACE(::testing::Message() << "case " << &c - Cases);
        Window dialog = StartMainDialog();
        ASSERT_NE(OpenSelectionWindow(), nullptr);
        SetFocus(ControlWindow(dialog, NewHandCommand));  // as at start-up
        appState.gameVariant = c.variant;
        appState.holeCards = Cards<4>(c.hole);
        appState.tableCards = Cards<5>(c.board);
        HeadlessFireTimer(dialog, EstimateTimer);
        const HandTypeCounts finalHands = appState.handTypeCounts;
        const std::int64_t deals = appState.outcomeCounts.total();
        Type(c.selection ? SelectionWindow() : dialog, c.keys);
        EXPECT_EQ(appState.holeCards, Cards<4>(c.holeAfter));
        EXPECT_EQ(appState.tableCards, Cards<5>(c.boardAfter));
        // As after a click, both estimates start over when a slot changed and are kept otherwise.
        const bool changed =
            appState.holeCards != Cards<4>(c.hole) || appState.tableCards != Cards<5>(c.board);
        EXPECT_EQ(appState.handTypeCounts, changed ? HandTypeCounts{} : finalHands);
        EXPECT_EQ(appState.outcomeCounts.total(), changed ? 0 : deals);
    }
    for (int code : {INT_MIN, -1, 0, 127, 0x10FFFF, INT_MAX})  // no keyboard sends these
        for (Message message : {Message::Char, Message::KeyDown})
            EXPECT_EQ(SendWindowMessage(appState.mainDialog, message, {.id = code}), 0) << code;
}

TEST(Keyboard, ControlCCopiesTheTextsOnTheScreen)
{
    Window dialog = StartMainDialog();
    HeadlessTypeKey(OpenSelectionWindow(), 'C', ModifierControl);  // nothing placed: what is shown
    EXPECT_EQ(HeadlessClipboard().substr(0, 46),
              "Texas Hold'em\nHand:\nBoard:\nHand type: No Hand\n");

    appState.roster.append(Player{});
    Type(dialog, "As Kd Th Jd 4c");
    HeadlessClickControl(dialog, ModellingCheckBox);
    HeadlessFireTimer(dialog, EstimateTimer);
    appState.winEstimatePaused = true;
    HeadlessTypeKey(dialog, 'C', ModifierControl);
    const auto text = [&](int id) { return ControlText(dialog, id); };
    std::string bars;  // each bar's label, then its percentage
    const char* names[] = {"High Card",      "One Pair",   "Two Pairs",  "Three of a Kind",
                           "Straight",       "Flush",      "Full House", "Four of a Kind",
                           "Straight Flush", "Royal Flush"};
    for (int i = 0; i < 10; ++i)
        bars += (i ? "  " : "") + std::string(names[i]) + ' ' + text(FirstPercentControl + i);
    EXPECT_EQ(HeadlessClipboard(),
              "Texas Hold'em\nHand: As Kd\nBoard: Th Jd 4c\nHand type: High Card (Ace)\n"
              "Best possible: Straight, Ace high\n" +
                  bars + "\nWin " + text(WinShareControl) + "  Tie " + text(TieShareControl) +
                  "  Loss " + text(LossShareControl) + "\nGain " + FormatGain(gainPercent) +
                  " against 1 opponent, opponent modelling on, paused\n");
}
