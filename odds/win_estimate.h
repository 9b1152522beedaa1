// The win estimate against the field: how often the user's hand wins, ties or loses the
// showdown against the opponents of the roster, by Monte-Carlo deals.
//
// Opponents are dealt either uniformly random cards (only the players marked as playing) or,
// with "Opponent Modelling" checked, cards redrawn until they fit each player's traits: the
// aggression sets how strong a starting hand must be, the bluffing lets a weaker one through
// now and then, and a player who is not playing gets a hand that does not meet the bar. The
// strength of a starting hand is read from the starting-hand table.
#pragma once

#include "cards/card.h"
#include "odds/screen.h"
#include "opponents/roster.h"

inline constexpr int DealsPerEstimate = 1000;  // deals played by one EstimateWin call

// The most hands DealOpponentHand draws for one player in one deal. Over 10^5 deals each
// (level-1 table, fixed seeds) the most hands drawn before one fitted were 47 (Omaha, six
// players at aggression 0 and bluffing 0), 173 (Texas, ten such), 403 (Omaha, ten such) and
// 1050 (Texas, twenty such): the bound is about twenty times the worst of ordinary tables.
// Only a pathological deal comes near it (the tenth of ten Omaha players who are not playing
// at aggression 10, picking from the last seven cards, once needed 19865). Hitting it costs a
// few milliseconds, since the last cards of a nearly empty deck take many generator calls.
inline constexpr int MaxDealAttempts = 20000;

// After this many rejected hands DealOpponentHand checks whether the cards left can give the
// player a fitting hand at all, and stops at once, keeping the last hand, when they cannot.
inline constexpr int FitCheckAttempt = 100;

// The rating a playing player's hand must reach to be played without a bluff, and below which a
// player who is not playing is dealt: (8 - aggression) * 2. Every way of dealing asks this.
constexpr float HandBar(int aggression)
{
    return static_cast<float>((8 - aggression) * 2);
}

// The bluff draw that may let a playing player's hand below the bar through, on the next two
// generator values in order: b in 0..bluffing from the first, r in 0..19 from the second (each
// value * n / 32768, truncated: exact in integers as in doubles); the hand is played when b > r.
constexpr bool PassesBluffDraw(int bluffing, int firstValue, int secondValue)
{
    return ((firstValue * (bluffing + 1)) >> 15) > ((secondValue * 20) >> 15);
}

// Plays DealsPerEstimate deals against the roster with the user's hole cards (four slots, two
// used in Texas Hold'em) and board (five slots, NoCard where not chosen), and adds each deal's
// outcome to appState.outcomeCounts. Then writes the accumulated win, tie and loss shares as
// "%.2f%%" into controls 1012..1014 of the main dialog and redraws the gain display for the
// number of playing players. Does nothing at all when a hole slot of the variant is empty.
//
// A deal fills the missing board slots in order, then visits the players in roster order and
// stops at the first one who beats the user. A player is not dealt in when fewer than a hole's
// worth of cards remain in the deck (more than 22 opponents in Texas, 10 in Omaha).
void EstimateWin(const Card hole[4], const Card board[5]);

// Draws h cards into hand[0..h-1] (marking them in `used`) until they fit the player: a
// playing player takes a hand rated at least (8 - aggression) * 2, or a weaker one that wins
// the bluff draw; a player who is not playing takes a hand rated below that. Rejected cards
// are returned to the deck before the next try. Returns true when the hand was accepted,
// false when none could be: either the cards left hold no fitting hand (found out after
// FitCheckAttempt rejections) or MaxDealAttempts hands were drawn. The last hand drawn then
// stays dealt. The deck must hold at least h free cards.
bool DealOpponentHand(const Player& player, Card hand[4], UsedCards& used, int h);

// The strength of a starting hand from appState.startingHandTable. Texas Hold'em reads hand[0]
// and hand[1]; Omaha Hold'em reads the two highest cards of hand[0..3] (the earliest of equal
// ranks first), so a pair counts only when it is the highest rank held. Shows "Error in
// GuessHand!" and returns -100 (the weakest rating) when a chosen card is NoCard.
float GuessHand(const Card hand[4]);
