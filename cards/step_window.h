// Draws of free cards many generator steps at a time, for the long runs of draws that a crowded
// deck costs: the same cards and the same generator states as DrawFreeCard one step after the
// other, only cheaper per step.
//
// A window holds the cards of the next 64 steps from one state, all worked out at once (step k
// is state * a^k + c_k, so no step waits for the one before it), and a bit per step whose card
// is free. Drawing is then a search for the next set bit; the steps in between are passed over
// as the one-at-a-time draw would pass over them, used card after used card.
#pragma once

#include "cards/card.h"

#include <array>
#include <bit>
#include <cstdint>

// On x86-64 the windows use SSE2, which every such processor has, and AVX2 or AVX-512 where this
// one has them (asked when the program runs).
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TABLEWISE_STEP_WINDOW_X86 1
#endif

struct StepWindow {
    static constexpr int Steps = 64;
    std::uint64_t freeSteps = 0;                        // bit k: the card of step k + 1 is free
    alignas(32) std::array<std::uint8_t, Steps> cards;  // cards[k]: the card of step k + 1
};

// The steps among the 64 cards at `cards` (16-byte aligned) whose card is `card`, as bits.
// SSE2, which every x86-64 processor has, compares 16 cards per instruction; elsewhere one card
// at a time.
inline std::uint64_t StepsOfCard(const std::uint8_t* cards, Card card)
{
#ifdef TABLEWISE_STEP_WINDOW_X86
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(card));
    std::uint64_t steps = 0;
    for (int k = 0; k < StepWindow::Steps; k += 16) {
        const __m128i group = _mm_load_si128(reinterpret_cast<const __m128i*>(cards + k));
        const unsigned bits =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(group, wanted)));
        steps |= static_cast<std::uint64_t>(bits) << k;
    }
    return steps;
#else
    std::uint64_t steps = 0;
    for (int k = 0; k < StepWindow::Steps; ++k)
        steps |= static_cast<std::uint64_t>(cards[k] == card) << k;
    return steps;
#endif
}

// The jumps of 0 to Steps + 7 steps: a window's states, and the few single steps taken past
// its end before the next window is made.
inline constexpr int WindowJumpCount = StepWindow::Steps + 8;
inline constexpr auto WindowJumps = MakeJumpTable<WindowJumpCount>();

// The window of the 64 steps after `base` for the free cards `freeMask` (bit c for card c),
// one step at a time. Any machine. Writes the cards of the steps to cards[0..63] and returns the
// free steps (bit k: the card of step k + 1 is free).
inline std::uint64_t FillStepWindowPortable(std::uint8_t* cards, std::uint32_t base,
                                            std::uint64_t freeMask)
{
    std::uint64_t freeSteps = 0;
    for (int k = 0; k < StepWindow::Steps; ++k) {
        const Card card = CardOfState(WindowJumps[static_cast<std::size_t>(k + 1)](base));
        cards[k] = static_cast<std::uint8_t>(card);
        freeSteps |= ((freeMask >> card) & 1u) << k;
    }
    return freeSteps;
}

// The free cards as a table of 16 bytes for a byte shuffle: bit h of entry l is set when card
// 16 * h + l is free.
struct FreeCardTable {
    alignas(16) std::array<std::uint8_t, 16> bits{};
};

// Byte i of the result is bit i of `eightBits` (0 or 1): the multiplication copies the bits to
// every byte, the mask keeps bit i in byte i, and adding 0x7F carries it into the byte's top.
constexpr std::uint64_t SpreadBitsToBytes(std::uint64_t eightBits)
{
    const std::uint64_t kept = (eightBits * 0x0101010101010101u) & 0x8040201008040201u;
    return ((kept + 0x7F7F7F7F7F7F7F7Fu) >> 7) & 0x0101010101010101u;
}

inline FreeCardTable MakeFreeCardTable(std::uint64_t freeMask)
{
    std::uint64_t low = 0;   // entries 0..7, entry l in byte l
    std::uint64_t high = 0;  // entries 8..15
    for (int h = 0; h < 4; ++h) {
        const std::uint64_t cards = freeMask >> (16 * h);
        low |= SpreadBitsToBytes(cards & 0xFF) << h;
        high |= SpreadBitsToBytes((cards >> 8) & 0xFF) << h;
    }
    FreeCardTable table;
    for (int l = 0; l < 8; ++l) {
        table.bits[static_cast<std::size_t>(l)] = static_cast<std::uint8_t>(low >> (8 * l));
        table.bits[static_cast<std::size_t>(l + 8)] = static_cast<std::uint8_t>(high >> (8 * l));
    }
    return table;
}

#ifdef TABLEWISE_STEP_WINDOW_X86
// The steps of a window as jumps from its base, step k + 1 in lane k: the vector windows work
// out a state per lane as base * multiplier + increment.
struct WindowLaneJumps {
    alignas(64) std::array<std::uint32_t, StepWindow::Steps> multipliers;
    alignas(64) std::array<std::uint32_t, StepWindow::Steps> increments;
};

inline constexpr WindowLaneJumps LaneJumps = [] {
    WindowLaneJumps jumps{};
    for (std::size_t k = 0; k < StepWindow::Steps; ++k) {
        jumps.multipliers[k] = WindowJumps[k + 1].multiplier;
        jumps.increments[k] = WindowJumps[k + 1].increment;
    }
    return jumps;
}();

// The same window eight steps per instruction, on processors with AVX2. The card of a state is
// ((state >> 16) & 0x7FFF) * 52 >> 15, worked out as the high half of 2 * value * 52 in a
// 16-bit lane (the doubling drops bit 31 of the state). The cards are packed into bytes, 32
// per register, and a card's free bit is looked up by its low four bits in the free-card table
// and picked by its high two. Writes cards[0..63] (32-byte aligned) and returns the free steps.
__attribute__((target("avx2"))) inline std::uint64_t
FillStepWindowAvx2(std::uint8_t* cards, std::uint32_t base, const FreeCardTable& table)
{
    const __m256i state = _mm256_set1_epi32(static_cast<int>(base));
    const __m256i fiftyTwo = _mm256_set1_epi32(52);
    const __m256i lowFour = _mm256_set1_epi8(0x0F);
    const __m256i freeBits = _mm256_broadcastsi128_si256(
        _mm_load_si128(reinterpret_cast<const __m128i*>(table.bits.data())));
    const __m256i highBit = _mm256_setr_epi8(1, 2, 4, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2,
                                             4, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    // Packing 32 cards of 32 bits into bytes interleaves groups of four across the two halves;
    // this puts the groups back in step order.
    const __m256i groupOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    std::uint64_t usedSteps = 0;
    for (int k = 0; k < StepWindow::Steps; k += 32) {
        __m256i lanes[4];
        for (int j = 0; j < 4; ++j) {
            const __m256i multiplier = _mm256_load_si256(
                reinterpret_cast<const __m256i*>(LaneJumps.multipliers.data() + k + 8 * j));
            const __m256i increment = _mm256_load_si256(
                reinterpret_cast<const __m256i*>(LaneJumps.increments.data() + k + 8 * j));
            const __m256i next = _mm256_add_epi32(_mm256_mullo_epi32(state, multiplier), increment);
            const __m256i high = _mm256_srli_epi32(next, 16);
            lanes[j] = _mm256_mulhi_epu16(_mm256_add_epi16(high, high), fiftyTwo);
        }
        const __m256i bytes = _mm256_permutevar8x32_epi32(
            _mm256_packus_epi16(_mm256_packus_epi32(lanes[0], lanes[1]),
                                _mm256_packus_epi32(lanes[2], lanes[3])),
            groupOrder);
        _mm256_store_si256(reinterpret_cast<__m256i*>(cards + k), bytes);
        const __m256i low = _mm256_and_si256(bytes, lowFour);
        const __m256i highTwo = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), lowFour);
        const __m256i bit = _mm256_and_si256(_mm256_shuffle_epi8(freeBits, low),
                                             _mm256_shuffle_epi8(highBit, highTwo));
        const unsigned used = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(bit, _mm256_setzero_si256())));
        usedSteps |= static_cast<std::uint64_t>(used) << k;
    }
    return ~usedSteps;
}

// The same window sixteen steps per instruction, on processors with AVX-512 (with byte
// permutations): the cards as in FillStepWindowAvx2, worked out 32 at a time on the states'
// high halves, which a word permutation gathers from two registers, and narrowed to bytes by a
// byte permutation; each card's free flag is picked by the card itself from the free cards
// spread to 64 bytes (0xFF where free). (GCC 12's AVX-512 headers start some results from an
// undefined register and then warn about it.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline std::uint64_t
FillStepWindowAvx512(std::uint8_t* cards, std::uint32_t base, std::uint64_t freeMask)
{
    alignas(64) static constexpr auto Picks = [] {
        // Row 0: the high halves (odd 16-bit words) of two registers of states; row 1: the low
        // bytes (even bytes) of two registers of 16-bit cards.
        std::array<std::array<std::uint8_t, 64>, 2> rows{};
        for (std::size_t i = 0; i < 32; ++i) {
            rows[0][2 * i] = static_cast<std::uint8_t>(2 * i + 1);
            rows[0][2 * i + 1] = 0;
        }
        for (std::size_t i = 0; i < 64; ++i)
            rows[1][i] = static_cast<std::uint8_t>(2 * i);
        return rows;
    }();
    const __m512i state = _mm512_set1_epi32(static_cast<int>(base));
    const __m512i fiftyTwo = _mm512_set1_epi16(52);
    const __m512i highHalves = _mm512_load_si512(Picks[0].data());
    __m512i halves[2];
    for (int h = 0; h < 2; ++h) {
        __m512i states[2];
        for (int j = 0; j < 2; ++j) {
            const std::size_t lane = 32 * static_cast<std::size_t>(h) + 16 * j;
            const __m512i multiplier = _mm512_load_si512(LaneJumps.multipliers.data() + lane);
            const __m512i increment = _mm512_load_si512(LaneJumps.increments.data() + lane);
            states[j] = _mm512_add_epi32(_mm512_mullo_epi32(state, multiplier), increment);
        }
        const __m512i high = _mm512_permutex2var_epi16(states[0], highHalves, states[1]);
        halves[h] = _mm512_mulhi_epu16(_mm512_add_epi16(high, high), fiftyTwo);
    }
    const __m512i bytes =
        _mm512_permutex2var_epi8(halves[0], _mm512_load_si512(Picks[1].data()), halves[1]);
    _mm512_storeu_si512(cards, bytes);
    const __m512i flags = _mm512_permutexvar_epi8(bytes, _mm512_movm_epi8(freeMask));
    return _mm512_movepi8_mask(flags);
}
#pragma GCC diagnostic pop
#endif

// The ways of making a window, from the one every machine has to the fastest.
enum class StepWindowKind { Portable, Avx2, Avx512 };

// Whether this processor can make windows the given way. AVX-512 asks for the byte compression
// too (VBMI2), which the lists of free steps use with the windows.
inline bool StepWindowKindSupported(StepWindowKind kind)
{
#ifdef TABLEWISE_STEP_WINDOW_X86
    static const bool avx2 = __builtin_cpu_supports("avx2");
    static const bool avx512 =
        __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2");
    return kind == StepWindowKind::Avx512 ? avx512 : kind == StepWindowKind::Avx2 ? avx2 : true;
#else
    return kind == StepWindowKind::Portable;
#endif
}

// The fastest way this processor has; asked once.
inline StepWindowKind FastestStepWindowKind()
{
    static const StepWindowKind fastest =
        StepWindowKindSupported(StepWindowKind::Avx512) ? StepWindowKind::Avx512
        : StepWindowKindSupported(StepWindowKind::Avx2) ? StepWindowKind::Avx2
                                                        : StepWindowKind::Portable;
    return fastest;
}

// Makes the windows of one set of free cards, the fastest way the processor has unless told
// which (the way must be supported).
class StepWindowMaker {
public:
    explicit StepWindowMaker(std::uint64_t freeMask, StepWindowKind kind = FastestStepWindowKind())
        : freeMask_(freeMask), kind_(kind)
    {
#ifdef TABLEWISE_STEP_WINDOW_X86
        if (kind_ == StepWindowKind::Avx2)
            table_ = MakeFreeCardTable(freeMask);
#endif
    }

    // Writes the cards of the 64 steps after `base` to cards[0..63] (32-byte aligned) and
    // returns the window's free steps.
    std::uint64_t operator()(std::uint8_t* cards, std::uint32_t base) const
    {
#ifdef TABLEWISE_STEP_WINDOW_X86
        if (kind_ == StepWindowKind::Avx512)
            return FillStepWindowAvx512(cards, base, freeMask_);
        if (kind_ == StepWindowKind::Avx2)
            return FillStepWindowAvx2(cards, base, table_);
#endif
        return FillStepWindowPortable(cards, base, freeMask_);
    }

    void operator()(StepWindow& window, std::uint32_t base) const
    {
        window.freeSteps = (*this)(window.cards.data(), base);
    }

    std::uint64_t FreeMask() const
    {
        return freeMask_;
    }
    StepWindowKind Kind() const
    {
        return kind_;
    }

private:
    std::uint64_t freeMask_;
    StepWindowKind kind_;
#ifdef TABLEWISE_STEP_WINDOW_X86
    FreeCardTable table_;
#endif
};

// Draws from a generator state through windows, for a set of free cards that stays the same
// while the draws go on; a card drawn meanwhile is passed over through `taken`. Each Draw is
// DrawFreeCard for the cards free and not taken; Value and Skip step the generator once or n
// times (n at most 7); State is the generator's state after everything drawn so far. The
// window's cards live in the caller's `window`, its other fields here, where the compiler can
// keep them in registers.
class WindowedDraws {
public:
    WindowedDraws(std::uint32_t state, std::uint64_t freeMask, StepWindow& window)
        : base_(state), fill_(freeMask), cards_(window.cards.data()), window_(window)
    {
    }

    Card Draw(std::uint64_t taken)
    {
        for (;;) {
            while (pending_ != 0) {
                const int k = std::countr_zero(pending_);
                pending_ &= pending_ - 1;
                const Card card = cards_[k];
                if (((taken >> card) & 1u) == 0) {
                    position_ = k + 1;
                    return card;
                }
            }
            // No free step left in this window: the next one starts where this one ends, or
            // further on when steps were skipped past its end.
            const int consumed =
                !started_ || position_ > StepWindow::Steps ? position_ : StepWindow::Steps;
            started_ = true;
            base_ = WindowJumps[static_cast<std::size_t>(consumed)](base_);
            position_ = 0;
            fill_(window_, base_);
            pending_ = window_.freeSteps;
        }
    }

    int Value()
    {
        Skip(1);
        return ValueOfState(State());
    }

    void Skip(int steps)
    {
        if (position_ + steps >= WindowJumpCount) {  // never after a Draw: only Skip after Skip
            base_ = State();
            position_ = 0;
            pending_ = 0;
        }
        position_ += steps;
        // Forget the free steps passed over; past the window's end there are none left.
        pending_ &= position_ < StepWindow::Steps ? ~std::uint64_t{0} << position_ : 0;
    }

    std::uint32_t State() const { return WindowJumps[static_cast<std::size_t>(position_)](base_); }

private:
    std::uint32_t base_;         // the state before the window's first step
    int position_ = 0;           // steps taken since base_
    std::uint64_t pending_ = 0;  // the window's free steps not yet passed
    bool started_ = false;       // whether a window has been made
    StepWindowMaker fill_;       // for the free cards the window marks
    const std::uint8_t* cards_;
    StepWindow& window_;
};
