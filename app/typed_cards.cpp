#include "app/typed_cards.h"

#include "app/state.h"
#include "app/summary.h"
#include "render/card_views.h"

namespace {

// What typing has reached, and in which context; a key in another context starts afresh.
struct TypingState {
    Window window = nullptr;  // the window typed into last
    Window focus = nullptr;   // the keyboard focus after that key
    CardBlock slots;          // the nine slots after that key
    int rank = -1;            // rank index waiting for its suit, -1 for none
    bool one = false;         // a '1' waiting for its '0'
    bool separates = false;   // a space or comma now is a separator
};

TypingState typing;

bool SameSlots(const CardBlock& a, const CardBlock& b)
{
    return a.tableCards == b.tableCards && a.holeCards == b.holeCards;
}

// The index of a character in a list of letters (either case), or -1; any code at all.
int IndexIn(std::string_view letters, int code)
{
    if (code >= 'a' && code <= 'z')
        code -= 'a' - 'A';
    if (code <= 0 || code > 127)
        return -1;
    const auto at = letters.find(static_cast<char>(code));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int OnChar(int code)
{
    if (code == ' ' || code == ',') {
        typing.rank = -1;  // a rank followed by anything but a suit is dropped
        typing.one = false;
        return typing.separates ? 1 : 0;  // else a space presses the focused button
    }
    const int rank = IndexIn(RankLetters, code);
    const int suit = IndexIn("CDHS", code);
    const int waiting = typing.rank;
    const bool one = typing.one;
    typing.rank = -1;
    typing.one = false;
    // Whatever was typed, a typo too, the next space only separates: a slip among cards must not
    // press the focused button ("New Hand" empties every slot).
    typing.separates = true;
    if (one && code == '0') {
        typing.rank = IndexIn(RankLetters, 'T');
    } else if (code == '1') {
        typing.one = true;
    } else if (rank >= 0) {
        typing.rank = rank;
    } else if (suit >= 0 && waiting >= 0) {
        ChangeCardAndRedraw(suit * 13 + waiting, true);  // refused when placed or all full
    } else {
        return 0;  // a key the cards do not use keeps its usual meaning
    }
    return 1;
}

int OnKeyDown(int key, int modifiers)
{
    typing.rank = -1;
    typing.one = false;
    typing.separates = false;
    if (key == KeyBackspace || key == KeyDelete) {
        if (const Card last = LastPlacedCard(); last != NoCard)
            ChangeCardAndRedraw(last, false);
        return 1;
    }
    if (key == 'C' && (modifiers & ~ModifierShift) == ModifierControl) {
        CopyTextToClipboard(ResultSummary(appState.mainDialog));
        return 1;
    }
    return 0;
}

}  // namespace

int OnTypedKey(Window window, Message message, const MessageParams& params)
{
    if (window != typing.window || FocusedWindow() != typing.focus ||
        !SameSlots(appState, typing.slots))
        typing = TypingState{};
    int taken = 0;
    if (message == Message::Char)
        taken = OnChar(params.id);
    else if (message == Message::KeyDown)
        taken = OnKeyDown(params.id, params.modifiers);
    typing.window = window;
    typing.focus = FocusedWindow();
    typing.slots = appState;
    return taken;
}
