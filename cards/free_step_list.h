// The free steps of the generator from one state on, as a list: for each step whose card is
// free, in order, its card and its number (the first step after the start state is step 1).
//
// For walks that read a few free steps among thousands of used ones, as the rejected hands of a
// crowded deal do: the list is made 64 steps at a time through step windows, ahead of the
// reader, and read 64 entries at a time as bit masks, so that the reader moves from entry to
// entry with a few bit operations and no branch on the cards.
#pragma once

#include "cards/step_window.h"

#include <cstdint>

class FreeStepList {
public:
    // 64 entries from `start` as bits. Bit t of `differs`: entry start + t + 1 holds another card
    // than entry start + t. Bit t of `within1` (`within2`): entry start + t + 1 (+ 2) is at most
    // `reach` steps after entry start + t.
    struct Block {
        int start;
        std::uint64_t differs;
        std::uint64_t within1;
        std::uint64_t within2;
    };

    // The free cards `freeMask` (at least one) from generator state `state` on.
    FreeStepList(std::uint64_t freeMask, std::uint32_t state,
                 StepWindowKind kind = FastestStepWindowKind());

    // The block of the entries from `start` on (`reach` 0 to 7), made first where needed. Making
    // entries may move the list down, which renumbers the entries: the block's start is where
    // entry `start` is now, and entries before it are gone.
    Block BlockAt(int start, int reach);

    Card CardAt(int entry) const { return cards_[entry]; }
    std::uint32_t StepAt(int entry) const { return steps_[entry]; }

    // The generator state after `steps` steps from the start state.
    std::uint32_t StateAfter(std::uint32_t steps) const;

private:
    static constexpr int Capacity = 1024;  // entries held, before the list moves down
    static constexpr int BlockReach = 66;  // entries a block reads from its start
    static constexpr int Ahead = 16;       // entries made past a block's end, for the next

    void AppendWindowsUpTo(int count);

    std::uint32_t start_;         // the state before step 1
    std::uint32_t nextBase_;      // the state before the next window to make
    std::uint32_t nextStep_ = 0;  // the steps before that window
    int count_ = 0;               // entries made
    std::uint64_t freeMask_;
    StepWindowKind kind_;
    StepWindowMaker fill_;
    alignas(64) std::uint8_t window_[StepWindow::Steps];
    // A window appends up to 64 entries at once, which may be written whole.
    alignas(64) std::uint8_t cards_[Capacity + 2 * StepWindow::Steps];
    alignas(64) std::uint32_t steps_[Capacity + 2 * StepWindow::Steps];
};
