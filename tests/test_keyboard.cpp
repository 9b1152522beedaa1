// Cards typed into the main dialog and the card selection window, Backspace and Delete, the
// separators, and the summary Control+C copies.
#include "app/main_dialog.h"
#include "app/result_bars.h"
#include "app/startup.h"
#include "odds/evaluate_hand.h"
#include "odds/hand_description.h"
#include "platform/headless/headless.h"
#include "render/gain.h"
#include "tests/support/shell_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <numeric>
#include <string>
#include <string_view>

namespace {

struct KeyCase {
    GameVariant variant;
    bool selection;    // typed into the card selection window, else into the main dialog
    const char* hole;  // the slots before ("As --"), then after the keys
    const char* board;
    const char* keys;  // '\b' Backspace, '\x7f' Delete, anything else typed as a character
    const char* holeAfter;
    const char* boardAfter;
};

constexpr KeyCase Cases[] = {
    // Cards in the usual notation, either case, "10" for a ten, with spaces and commas between:
    // the spaces never reach "New Hand", which has the focus.
    {TexasHoldem, false, "", "", "As Kd", "As Kd", ""},
    {TexasHoldem, false, "As Kd", "", "Th Jd 4c", "As Kd", "Th Jd 4c"},
    {TexasHoldem, true, "", "", "aS, kD ,  10h", "As Kd", "Th"},
    {OmahaHoldem, false, "", "", "As Kd Qh Jc Ts", "As Kd Qh Jc", "Ts"},
    {OmahaHoldem, true, "As", "", "2c3d", "As 2c 3d --", ""},
    // A rank waits for its suit; anything else drops it (a separator still does nothing else).
    {TexasHoldem, false, "", "", "A s, Kd", "Kd --", ""},
    {TexasHoldem, false, "", "", "AKs", "Ks --", ""},
    {TexasHoldem, true, "", "", "Axs 1s 0s s", "", ""},
    {TexasHoldem, false, "", "", "A\bs", "", ""},
    {TexasHoldem, false, "", "", "A\x80s\xff\x01Q\tc", "", ""},
    // A card already placed, or no slot left: nothing changes, nothing is lost.
    {TexasHoldem, false, "As", "", "As", "As --", ""},
    {TexasHoldem, true, "As Kd", "Th Jd 4c 5c 6c", "2s", "As Kd", "Th Jd 4c 5c 6c"},
    {OmahaHoldem, false, "As Kd Qh Jc", "Th Jd 4c 5c 6c", "2s", "As Kd Qh Jc", "Th Jd 4c 5c 6c"},
    // A space at any other time presses the focused button: "New Hand" empties every slot.
    {TexasHoldem, false, "As Kd", "Th", " ", "", ""},
    {TexasHoldem, false, "Kd", "", "As\b ", "", ""},
    // Backspace and Delete take back the last filled slot: the board from its end, then the hole.
    {TexasHoldem, false, "-- Kd", "Th -- 4c", "\b\x7f", "-- Kd", ""},
    {TexasHoldem, true, "-- Kd", "Th", "\b\bQs", "Qs --", ""},
    {OmahaHoldem, true, "As Kd Qh Jc", "Ts 9s", "\x7f\x7f\x7f", "As Kd Qh --", ""},
    {TexasHoldem, false, "", "", "\b", "", ""},
};

// Slots written "As -- Kd": rank, then suit as the rows of the card selection window from the
// bottom (clubs 0, diamonds 1, hearts 2, spades 3); "--" or the end of the text is empty.
template <std::size_t N> std::array<Card, N> Cards(std::string_view text)
{
    std::array<Card, N> cards;
    cards.fill(NoCard);
    for (std::size_t i = 0; 3 * i + 1 < text.size() && i < N; ++i)
        if (text[3 * i] != '-')
            cards[i] = static_cast<Card>(std::string_view("cdhs").find(text[3 * i + 1]) * 13 +
                                         std::string_view("A23456789TJQK").find(text[3 * i]));
    return cards;
}

// Sends the keys as the platform does: Backspace and Delete as KeyDown, the rest as Char.
void Type(Window window, const std::string& keys)
{
    for (const char c : keys) {
        if (c == '\b' || c == '\x7f')
            HeadlessTypeKey(window, c == '\b' ? KeyBackspace : KeyDelete);
        else if (c == '\t')
            HeadlessTypeKey(window, KeyOther);
        else
            HeadlessTypeText(window, std::string(1, c));
    }
}

int FinalHandTotal()
{
    return std::accumulate(appState.handTypeCounts.begin(), appState.handTypeCounts.end(), 0);
}

Window StartWithSelectionWindow()
{
    Window dialog = StartMainDialog();
    RegisterCardSelectClass(nullptr);
    EXPECT_TRUE(CreateCardSelectWindow(nullptr));
    SetFocus(ControlWindow(dialog, NewHandCommand));
    return dialog;
}

}  // namespace

TEST(Keyboard, TypedCardsFollowTheRulesOfAClick)
{
    for (const KeyCase& c : Cases) {
        SCOPED_TRACE(std::string(c.selection ? "selection window: " : "main dialog: ") + c.hole +
                     " | " + c.board + " + \"" + c.keys + "\"");
        Window dialog = StartWithSelectionWindow();
        if (c.variant == OmahaHoldem)
            HeadlessClickControl(dialog, VariantButton);
        appState.holeCards = Cards<4>(c.hole);
        appState.tableCards = Cards<5>(c.board);
        HeadlessFireTimer(dialog, EstimateTimer);
        const int finalHands = FinalHandTotal();
        const std::int64_t deals = appState.outcomeCounts.total();
        Window window = c.selection ? HeadlessTopLevelWindows().back() : dialog;
        HeadlessTypeKey(window, KeyOther);  // nothing typed before this case counts

        Type(window, c.keys);
        EXPECT_EQ(appState.holeCards, Cards<4>(c.holeAfter));
        EXPECT_EQ(appState.tableCards, Cards<5>(c.boardAfter));
        // As after a click: both estimates start over when a slot changed, and are kept when
        // none did; the hand's description is that of the slots.
        const bool changed =
            appState.holeCards != Cards<4>(c.hole) || appState.tableCards != Cards<5>(c.board);
        EXPECT_EQ(FinalHandTotal(), changed ? 0 : finalHands);
        EXPECT_EQ(appState.outcomeCounts.total(), changed ? 0 : deals);
        if (changed) {
            EXPECT_EQ(ControlText(dialog, HandTypeControl),
                      HandDescription(EvaluateHand(appState.holeCards.data(),
                                                   appState.tableCards.data(), NoThreshold)));
        }
    }
    // Codes no keyboard sends are refused alike.
    for (int code : {INT_MIN, -1, 0, 127, 0x10FFFF, INT_MAX}) {
        MessageParams params;
        params.id = code;
        EXPECT_EQ(SendWindowMessage(appState.mainDialog, Message::Char, params), 0);
        EXPECT_EQ(SendWindowMessage(appState.mainDialog, Message::KeyDown, params), 0);
    }
}

TEST(Keyboard, ControlCCopiesTheTextsOnTheScreen)
{
    Window dialog = StartWithSelectionWindow();
    Window selection = HeadlessTopLevelWindows().back();
    HeadlessTypeKey(selection, 'C', ModifierControl);  // nothing placed: what is shown
    const std::string empty = "Texas Hold'em\nHand:\nBoard:\nHand type: No Hand\n";
    EXPECT_EQ(HeadlessClipboard().substr(0, empty.size()), empty);

    Player player;
    appState.roster.append(player);

    Type(dialog, "As Kd Th Jd 4c");
    HeadlessClickControl(dialog, ModellingCheckBox);
    HeadlessFireTimer(dialog, EstimateTimer);
    appState.winEstimatePaused = true;
    HeadlessTypeKey(dialog, 'C', ModifierControl);
    const auto text = [&](int id) { return ControlText(dialog, id); };
    std::string bars;
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
