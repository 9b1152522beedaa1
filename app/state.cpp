#include "app/state.h"

AppState appState;

void ClearHandTypeCounts(AppState& state)
{
    state.handTypeCounts.fill(0);
}

void ClearOutcomeCounts(AppState& state)
{
    state.outcomeCounts = OutcomeCounts{};
}

void ResetForDealChange(AppState& state)
{
    ClearOutcomeCounts(state);
    ClearHandTypeCounts(state);
}

void ResetForNewHand(AppState& state)
{
    state.holeCards.fill(NoCard);
    state.tableCards.fill(NoCard);
    ClearHandTypeCounts(state);
    for (int i = 0; i < state.roster.count(); ++i)
        state.roster.at(i).playing = true;
    ClearOutcomeCounts(state);
}

void ResetForVariantToggle(AppState& state)
{
    state.gameVariant = state.gameVariant == OmahaHoldem ? TexasHoldem : OmahaHoldem;
    state.holeCards[2] = NoCard;
    state.holeCards[3] = NoCard;
    ClearOutcomeCounts(state);
    ClearHandTypeCounts(state);
}

void ResetForOpponentChange(AppState& state)
{
    ClearOutcomeCounts(state);
}

void ResetAppState(AppState& state)
{
    state = AppState{};
}
