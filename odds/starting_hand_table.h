// The starting-hand table: a value -100..100 for every two-card starting hand, by the two rank
// indexes (0 Ace .. 12 King) and whether the cards share a suit.
#pragma once

#include <cstdint>

inline constexpr int StartingHandCells = 91;  // the upper triangle of 13 x 13, diagonal included

struct StartingHandTable {
    float suited[13][13] = {};       // symmetric; zero diagonal (suited cards never pair)
    float offsuit[13][13] = {};      // symmetric; the diagonal holds the pairs
    std::int32_t cursorRow = -1;     // row of the cell computed last; -1 before the first
    std::int32_t cursorColumn = 12;  // column of the cell computed last
};
