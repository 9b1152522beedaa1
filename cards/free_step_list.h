// The free steps of the generator from one state on, as a list: for each step whose card is
// free, in order, its card and its number (the first step after the start state is step 1).
//
// For walks that read a few free steps among thousands of used ones, as the rejected hands of a
// crowded deal do: the list is made 64 steps at a time through step windows, ahead of the
// reader, and read 64 entries at a time as a block of links, so that the reader moves from hand
// to hand with one load and no branch on the cards.
#pragma once

#include "cards/step_window.h"

#include <cstdint>

class FreeStepList {
public:
    // Where a link leads past the block.
    static constexpr std::uint8_t Past = 0xFF;

    // Links between the 64 entries from `start` on, for a walk of hands that take an entry's
    // card, then the next entry of another card, then pass over `reach` steps. For a hand whose
    // first card is entry start + t: second[t] is its second card's entry and next[t] the next
    // hand's first entry, both counted from `start`; Past where the links would need an entry
    // past the block's `entries` (at most 66; the next hand's start may be the 66th). nextTwo[t]
    // is next[next[t]] where both lie in the first 64, else Past: a walk takes two hands at once.
    struct Block {
        int start;
        int entries;
        alignas(64) std::uint8_t second[64];
        alignas(64) std::uint8_t next[64];
        alignas(64) std::uint8_t nextTwo[64];
        alignas(64) std::uint8_t nextFour[64];  // nextTwo[nextTwo[t]], likewise
    };

    // The free cards `freeMask` (at least one) from generator state `state` on.
    FreeStepList(std::uint64_t freeMask, std::uint32_t state,
                 StepWindowKind kind = FastestStepWindowKind());

    // The block of the entries from `start` on (`start` at most the count of entries made; `reach`
    // 0 to 7), of at least `wanted` entries (3 to FullBlock), made first where needed; fewer
    // entries cost fewer windows when a walk is near its end. Making entries may move the list
    // down, which renumbers the entries: the block's start is where entry `start` is now, and
    // entries before it are gone.
    static constexpr int FullBlock = 66;
    void BlockAt(int start, int reach, Block& block, int wanted = FullBlock);

    Card CardAt(int entry) const { return cards_[entry]; }
    std::uint32_t StepAt(int entry) const;

    // The generator state after `steps` steps from the start state.
    std::uint32_t StateAfter(std::uint32_t steps) const;

private:
    static constexpr int Capacity = 1024;  // entries held, before the list moves down
    // Steps are kept modulo 2^16, which holds the steps between entries up to ChunkEntries
    // apart: between two free steps of any card lie at most 1077 steps, over the generator's
    // whole period (tools/longest_card_gap.cpp).
    static constexpr int MostStepsBetweenEntries = 1077;
    static constexpr int ChunkEntries = 65535 / MostStepsBetweenEntries;

    void AppendWindowsUpTo(int count);

    std::uint32_t start_;         // the state before step 1
    std::uint32_t nextBase_;      // the state before the next window to make
    std::uint32_t nextStep_ = 0;  // the steps before that window
    std::uint32_t lastStep_ = 0;  // the newest entry's step
    int count_ = 0;               // entries made
    StepWindowMaker fill_;
    alignas(64) std::uint8_t window_[StepWindow::Steps];
    // A window appends up to 64 entries at once, which may be written whole.
    alignas(64) std::uint8_t cards_[Capacity + 2 * StepWindow::Steps];
    alignas(64) std::uint16_t steps_[Capacity + 2 * StepWindow::Steps];  // modulo 2^16
};
