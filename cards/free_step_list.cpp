#include "cards/free_step_list.h"

#include <algorithm>
#include <array>

namespace {

// Jump k takes 2^k steps at once.
constexpr auto PowerOfTwoJumps = [] {
    std::array<GeneratorJump, 32> jumps{};
    jumps[0] = WindowJumps[1];
    for (std::size_t k = 1; k < jumps.size(); ++k) {
        const GeneratorJump& half = jumps[k - 1];
        jumps[k].multiplier = half.multiplier * half.multiplier;
        jumps[k].increment = half.increment * half.multiplier + half.increment;
    }
    return jumps;
}();

#ifdef TABLEWISE_STEP_WINDOW_X86
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
// The windows from `base` on, appended until `count` reaches `target`: each window's free steps
// are packed together with a byte compression, cards and step numbers alike. Returns the state
// before the next window and counts its steps into `step`.
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt"))) std::uint32_t
AppendWindowsAvx512(std::uint8_t* window, std::uint8_t* cards, std::uint32_t* steps, int& count,
                    int target, std::uint32_t base, std::uint32_t& step, std::uint64_t freeMask)
{
    alignas(64) static constexpr auto LaneSteps = [] {
        std::array<std::uint8_t, StepWindow::Steps> lanes{};
        for (std::size_t k = 0; k < lanes.size(); ++k)
            lanes[k] = static_cast<std::uint8_t>(k + 1);
        return lanes;
    }();
    const __m512i laneSteps = _mm512_load_si512(LaneSteps.data());
    int n = count;
    std::uint32_t windowStep = step;
    do {
        const std::uint64_t free = FillStepWindowAvx512(window, base, freeMask);
        _mm512_storeu_si512(cards + n, _mm512_maskz_compress_epi8(free, _mm512_load_si512(window)));
        const __m512i lanes = _mm512_maskz_compress_epi8(free, laneSteps);
        const __m512i offset = _mm512_set1_epi32(static_cast<int>(windowStep));
        for (int q = 0; q < 4; ++q) {
            const __m512i quarter = _mm512_cvtepu8_epi32(_mm512_extracti32x4_epi32(lanes, q));
            _mm512_storeu_si512(steps + n + 16 * q, _mm512_add_epi32(quarter, offset));
        }
        n += static_cast<int>(_mm_popcnt_u64(free));
        base = WindowJumps[StepWindow::Steps](base);
        windowStep += StepWindow::Steps;
    } while (n < target);
    count = n;
    step = windowStep;
    return base;
}

__attribute__((target("avx512f,avx512bw"))) FreeStepList::Block
BlockAvx512(const std::uint8_t* cards, const std::uint32_t* steps, int start, int reach)
{
    FreeStepList::Block block{start, 0, 0, 0};
    block.differs = _mm512_cmpneq_epi8_mask(_mm512_loadu_si512(cards + start + 1),
                                            _mm512_loadu_si512(cards + start));
    const __m512i limit = _mm512_set1_epi32(reach);
    for (int q = 0; q < 4; ++q) {
        const std::uint32_t* from = steps + start + 16 * q;
        const __m512i here = _mm512_loadu_si512(from);
        const __m512i gap1 = _mm512_sub_epi32(_mm512_loadu_si512(from + 1), here);
        const __m512i gap2 = _mm512_sub_epi32(_mm512_loadu_si512(from + 2), here);
        block.within1 |= std::uint64_t{_mm512_cmple_epu32_mask(gap1, limit)} << (16 * q);
        block.within2 |= std::uint64_t{_mm512_cmple_epu32_mask(gap2, limit)} << (16 * q);
    }
    return block;
}
#pragma GCC diagnostic pop
#endif

}  // namespace

FreeStepList::FreeStepList(std::uint64_t freeMask, std::uint32_t state, StepWindowKind kind)
    : start_(state), nextBase_(state), freeMask_(freeMask), kind_(kind), fill_(freeMask, kind)
{
}

void FreeStepList::AppendWindowsUpTo(int target)
{
#ifdef TABLEWISE_STEP_WINDOW_X86
    if (kind_ == StepWindowKind::Avx512) {
        nextBase_ = AppendWindowsAvx512(window_, cards_, steps_, count_, target, nextBase_,
                                        nextStep_, freeMask_);
        return;
    }
#endif
    do {
        for (std::uint64_t free = fill_(window_, nextBase_); free != 0; free &= free - 1) {
            const int k = std::countr_zero(free);
            cards_[count_] = window_[k];
            steps_[count_] = nextStep_ + static_cast<std::uint32_t>(k) + 1;
            ++count_;
        }
        nextBase_ = WindowJumps[StepWindow::Steps](nextBase_);
        nextStep_ += StepWindow::Steps;
    } while (count_ < target);
}

FreeStepList::Block FreeStepList::BlockAt(int start, int reach)
{
    if (count_ < start + BlockReach) {
        if (start + BlockReach + Ahead + StepWindow::Steps > Capacity) {
            std::copy(cards_ + start, cards_ + count_, cards_);
            std::copy(steps_ + start, steps_ + count_, steps_);
            count_ -= start;
            start = 0;
        }
        AppendWindowsUpTo(start + BlockReach + Ahead);
    }
#ifdef TABLEWISE_STEP_WINDOW_X86
    if (kind_ == StepWindowKind::Avx512)
        return BlockAvx512(cards_, steps_, start, reach);
#endif
    Block block{start, 0, 0, 0};
    const auto within = [&](int t, int ahead) {
        return static_cast<std::uint64_t>(steps_[start + t + ahead] - steps_[start + t] <=
                                          static_cast<std::uint32_t>(reach))
               << t;
    };
    for (int t = 0; t < 64; ++t) {
        block.differs |= static_cast<std::uint64_t>(cards_[start + t + 1] != cards_[start + t])
                         << t;
        block.within1 |= within(t, 1);
        block.within2 |= within(t, 2);
    }
    return block;
}

std::uint32_t FreeStepList::StateAfter(std::uint32_t steps) const
{
    std::uint32_t state = start_;
    for (; steps != 0; steps &= steps - 1)
        state = PowerOfTwoJumps[static_cast<std::size_t>(std::countr_zero(steps))](state);
    return state;
}
