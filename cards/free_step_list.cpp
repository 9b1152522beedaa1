#include "cards/free_step_list.h"

#include <algorithm>
#include <array>

namespace {

// Jump k takes 2^k windows of steps at once.
constexpr auto WindowPowerJumps = [] {
    std::array<GeneratorJump, 26> jumps{};
    jumps[0] = WindowJumps[StepWindow::Steps];
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
// before the next window, counts its steps into `step` and leaves the newest entry's step in
// `lastStep`.
__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt,lzcnt"))) std::uint32_t
AppendWindowsAvx512(std::uint8_t* window, std::uint8_t* cards, std::uint16_t* steps, int& count,
                    int target, std::uint32_t base, std::uint32_t& step, std::uint32_t& lastStep,
                    std::uint64_t freeMask)
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
    std::uint32_t newest = lastStep;
    do {
        const std::uint64_t free = FillStepWindowAvx512(window, base, freeMask);
        _mm512_storeu_si512(cards + n, _mm512_maskz_compress_epi8(free, _mm512_load_si512(window)));
        const __m512i lanes = _mm512_maskz_compress_epi8(free, laneSteps);
        const __m512i offset = _mm512_set1_epi16(static_cast<short>(windowStep));
        const __m512i lower = _mm512_cvtepu8_epi16(_mm512_castsi512_si256(lanes));
        const __m512i upper = _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(lanes, 1));
        _mm512_storeu_si512(steps + n, _mm512_add_epi16(lower, offset));
        _mm512_storeu_si512(steps + n + 32, _mm512_add_epi16(upper, offset));
        n += static_cast<int>(_mm_popcnt_u64(free));
        const std::uint32_t top = windowStep + 64 - static_cast<std::uint32_t>(_lzcnt_u64(free));
        newest = free != 0 ? top : newest;
        base = WindowJumps[StepWindow::Steps](base);
        windowStep += StepWindow::Steps;
    } while (n < target);
    count = n;
    step = windowStep;
    lastStep = newest;
    return base;
}

// The block's links 64 entries per instruction, an entry per byte lane: each entry's next entry
// of another card by a suffix minimum over the lanes (six shifts), the passed-over entries by
// comparing step numbers, the next hand's start picked at its second card's lane, and the
// links two and four hands on by permuting the links with themselves.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void
LinkBlockAvx512(const std::uint8_t* cards, const std::uint16_t* steps, int reach, int lastSecond,
                FreeStepList::Block& block)
{
    alignas(64) static constexpr auto Lanes = [] {
        // Row 0: each lane's own index; row k: lane t + 2^(k-1), at most lane 63.
        std::array<std::array<std::uint8_t, 64>, 7> rows{};
        for (std::size_t t = 0; t < 64; ++t) {
            rows[0][t] = static_cast<std::uint8_t>(t);
            for (std::size_t k = 1; k < rows.size(); ++k)
                rows[k][t] =
                    static_cast<std::uint8_t>(std::min<std::size_t>(t + (1u << (k - 1)), 63));
        }
        return rows;
    }();
    const __m512i lanes = _mm512_load_si512(Lanes[0].data());
    const __m512i one = _mm512_set1_epi8(1);
    const __mmask64 differs =
        _mm512_cmpneq_epi8_mask(_mm512_loadu_si512(cards + 1), _mm512_loadu_si512(cards));
    // The first lane from each one on whose next entry holds another card; 127 for none.
    __m512i end = _mm512_mask_mov_epi8(_mm512_set1_epi8(127), differs, lanes);
    for (std::size_t k = 1; k < Lanes.size(); ++k)
        end =
            _mm512_min_epu8(end, _mm512_permutexvar_epi8(_mm512_load_si512(Lanes[k].data()), end));
    const __m512i second = _mm512_add_epi8(end, one);
    // The entries passed over after each entry: 0, 1 or 2.
    const __m512i limit = _mm512_set1_epi16(static_cast<short>(reach));
    std::uint64_t within1 = 0;
    std::uint64_t within2 = 0;
    for (int h = 0; h < 2; ++h) {
        const std::uint16_t* from = steps + 32 * h;
        const __m512i here = _mm512_loadu_si512(from);
        const __m512i gap1 = _mm512_sub_epi16(_mm512_loadu_si512(from + 1), here);
        const __m512i gap2 = _mm512_sub_epi16(_mm512_loadu_si512(from + 2), here);
        within1 |= std::uint64_t{_mm512_cmple_epu16_mask(gap1, limit)} << (32 * h);
        within2 |= std::uint64_t{_mm512_cmple_epu16_mask(gap2, limit)} << (32 * h);
    }
    const __m512i passed =
        _mm512_add_epi8(_mm512_maskz_mov_epi8(within1, one), _mm512_maskz_mov_epi8(within2, one));
    const __m512i next =
        _mm512_add_epi8(_mm512_add_epi8(second, one), _mm512_permutexvar_epi8(second, passed));
    const __mmask64 inside =
        _mm512_cmple_epu8_mask(second, _mm512_set1_epi8(static_cast<char>(lastSecond)));
    const __m512i past = _mm512_set1_epi8(static_cast<char>(FreeStepList::Past));
    const __m512i nextKept = _mm512_mask_mov_epi8(past, inside, next);
    _mm512_store_si512(block.second, _mm512_mask_mov_epi8(past, inside, second));
    _mm512_store_si512(block.next, nextKept);
    const __m512i lastLane = _mm512_set1_epi8(63);
    const __m512i nextTwo = _mm512_permutexvar_epi8(nextKept, nextKept);
    const __mmask64 twoInside =
        _mm512_cmple_epu8_mask(nextKept, lastLane) & _mm512_cmple_epu8_mask(nextTwo, lastLane);
    const __m512i twoKept = _mm512_mask_mov_epi8(past, twoInside, nextTwo);
    _mm512_store_si512(block.nextTwo, twoKept);
    // The links to two hands on are in the block or Past, so are their links.
    const __m512i nextFour = _mm512_permutexvar_epi8(twoKept, twoKept);
    _mm512_store_si512(block.nextFour, _mm512_mask_mov_epi8(past, twoInside, nextFour));
}
#pragma GCC diagnostic pop
#endif

}  // namespace

FreeStepList::FreeStepList(std::uint64_t freeMask, std::uint32_t state, StepWindowKind kind)
    : start_(state), nextBase_(state), fill_(freeMask, kind)
{
}

void FreeStepList::AppendWindowsUpTo(int target)
{
#ifdef TABLEWISE_STEP_WINDOW_X86
    if (fill_.Kind() == StepWindowKind::Avx512) {
        nextBase_ = AppendWindowsAvx512(window_, cards_, steps_, count_, target, nextBase_,
                                        nextStep_, lastStep_, fill_.FreeMask());
        return;
    }
#endif
    do {
        for (std::uint64_t free = fill_(window_, nextBase_); free != 0; free &= free - 1) {
            const int k = std::countr_zero(free);
            lastStep_ = nextStep_ + static_cast<std::uint32_t>(k) + 1;
            cards_[count_] = window_[k];
            steps_[count_] = static_cast<std::uint16_t>(lastStep_);
            ++count_;
        }
        nextBase_ = WindowJumps[StepWindow::Steps](nextBase_);
        nextStep_ += StepWindow::Steps;
    } while (count_ < target);
}

void FreeStepList::BlockAt(int start, int reach, Block& block, int wanted)
{
    if (count_ < start + wanted) {
        if (start + FullBlock + StepWindow::Steps > Capacity) {
            std::copy(cards_ + start, cards_ + count_, cards_);
            std::copy(steps_ + start, steps_ + count_, steps_);
            count_ -= start;
            start = 0;
        }
        AppendWindowsUpTo(start + wanted);
    }
    block.start = start;
    block.entries = std::min(count_ - start, FullBlock);
    // The last entry that can be a second card: the two after it are in the block.
    const int lastSecond = std::min(63, block.entries - 3);
    const std::uint8_t* cards = cards_ + start;
    const std::uint16_t* steps = steps_ + start;
#ifdef TABLEWISE_STEP_WINDOW_X86
    if (fill_.Kind() == StepWindowKind::Avx512) {
        LinkBlockAvx512(cards, steps, reach, lastSecond, block);
        return;
    }
#endif
    int end = Past;  // the first entry from t on whose next entry holds another card
    for (int t = 63; t >= 0; --t) {
        if (t + 1 < block.entries && cards[t + 1] != cards[t])
            end = t;
        const int second = end + 1;
        if (second > lastSecond) {
            block.second[t] = block.next[t] = Past;
            continue;
        }
        const auto within = [&](int ahead) {
            return static_cast<std::uint16_t>(steps[second + ahead] - steps[second]) <= reach;
        };
        block.second[t] = static_cast<std::uint8_t>(second);
        block.next[t] = static_cast<std::uint8_t>(second + 1 + within(1) + within(2));
    }
    for (int t = 0; t < 64; ++t) {
        const int next = block.next[t];
        block.nextTwo[t] = next <= 63 && block.next[next] <= 63 ? block.next[next] : Past;
    }
    for (int t = 0; t < 64; ++t) {
        const int two = block.nextTwo[t];
        block.nextFour[t] = two <= 63 ? block.nextTwo[two] : Past;
    }
}

std::uint32_t FreeStepList::StepAt(int entry) const
{
    // Back from the newest entry, at most ChunkEntries entries at a time.
    std::uint32_t step = lastStep_;
    for (int later = count_ - 1; later > entry;) {
        const int earlier = std::max(entry, later - ChunkEntries);
        step -= static_cast<std::uint16_t>(steps_[later] - steps_[earlier]);
        later = earlier;
    }
    return step;
}

std::uint32_t FreeStepList::StateAfter(std::uint32_t steps) const
{
    // Whole windows by powers of two, then the rest at once.
    std::uint32_t state = start_;
    for (std::uint32_t windows = steps / StepWindow::Steps; windows != 0; windows &= windows - 1)
        state = WindowPowerJumps[static_cast<std::size_t>(std::countr_zero(windows))](state);
    return WindowJumps[steps % StepWindow::Steps](state);
}
