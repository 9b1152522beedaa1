#include "odds/hand_description.h"

#include "odds/screen.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 14> SingularNames = {
    "<unknown>", "Ace",   "Two",  "Three", "Four", "Five",  "Six",
    "Seven",     "Eight", "Nine", "Ten",   "Jack", "Queen", "King",
};
constexpr std::array<std::string_view, 14> PluralNames = {
    "<unknown>", "Aces",   "Twos",  "Threes", "Fours", "Fives",  "Sixes",
    "Sevens",    "Eights", "Nines", "Tens",   "Jacks", "Queens", "Kings",
};

}  // namespace

void AppendRankName(std::string& text, unsigned rankValue, bool plural)
{
    if (rankValue >= 15) {
        ShowConsistencyMessage("ERROR CARD TYPE SCORE " + std::to_string(rankValue), "Error!");
        return;
    }
    const unsigned index = rankValue == 14 ? 1 : rankValue;  // the Ace reads as 1 or 14
    text += plural ? PluralNames[index] : SingularNames[index];
}

std::string HandDescription(HandScore score)
{
    const unsigned top = (static_cast<unsigned>(score) >> 16) & 0xF;
    const unsigned next = (static_cast<unsigned>(score) >> 12) & 0xF;
    std::string text;
    if (score >= CategoryScore(RoyalFlush)) {
        text = "Royal Flush";
    } else if (score >= CategoryScore(StraightFlush)) {
        text = "Straight Flush on ";
        AppendRankName(text, top, false);
    } else if (score >= CategoryScore(FourOfAKind)) {
        text = "Four of a kind (";
        AppendRankName(text, top, true);
        text += ") plus ";
        AppendRankName(text, next, false);
    } else if (score >= CategoryScore(FullHouse)) {
        text = "Full House, ";
        AppendRankName(text, top, true);
        text += " and ";
        AppendRankName(text, next, true);
    } else if (score >= CategoryScore(Flush)) {
        text = "Simple flush";
    } else if (score >= CategoryScore(Straight)) {
        text = "Straight, ";
        AppendRankName(text, top, false);
        text += " high";
    } else if (score >= CategoryScore(ThreeOfAKind)) {
        text = "Three of a kind (";
        AppendRankName(text, top, true);
        text += ")";
    } else if (score >= CategoryScore(TwoPairs)) {
        text = "Two pairs, ";
        AppendRankName(text, top, true);
        text += " and ";
        AppendRankName(text, next, true);
    } else if (score >= CategoryScore(OnePair)) {
        text = "Pair of ";
        AppendRankName(text, top, true);
    } else if (score <= 0) {
        text = "No Hand";
    } else {
        text = "High Card (";
        AppendRankName(text, top, false);
        text += ")";
    }
    return text;
}
