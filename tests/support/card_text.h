// Cards written as text in tests: "Ac Kd --", a rank (A23456789TJQK) and a suit (c d h s, the
// order of the card encoding) per card, separated by spaces; "--" (or the end of the text) is
// no card.
#pragma once

#include "cards/card.h"

#include <array>
#include <cstddef>
#include <string_view>

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
