// Offline search for the evaluator's additive rank keys (not part of the build).
//
// Finds, rank index by rank index (Ace first), the smallest key such that the key sums of all
// rank multisets with at most four cards of a rank and at most seven cards in all stay
// distinct, and prints the keys (RankKeys in cards/evaluator_tables.h) and the largest sum. The
// table that the sums index is not built here: cards/evaluator_tables.cpp builds it before main.
// Build and run by hand:
//   g++ -std=c++20 -O2 -o /tmp/find_rank_keys tools/find_rank_keys.cpp && /tmp/find_rank_keys
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Partial {
    std::uint32_t sum;
    int size;
};

// Every multiset over the ranks seen so far, as (key sum, card count).
std::vector<Partial> Extend(const std::vector<Partial>& from, std::uint32_t key)
{
    std::vector<Partial> out;
    for (const Partial& p : from)
        for (int c = 0; c <= 4 && p.size + c <= 7; ++c)
            out.push_back({p.sum + key * static_cast<std::uint32_t>(c), p.size + c});
    return out;
}

// True when adding `key` to the multisets in `from` keeps every sum distinct. `taken` flags the
// sums of `from`; `mark` stamps the new sums of this candidate. Most candidates fail quickly.
bool StaysDistinct(const std::vector<Partial>& from, std::uint32_t key,
                   const std::vector<char>& taken, std::vector<std::uint32_t>& mark,
                   std::uint32_t stamp)
{
    for (const Partial& p : from)
        for (int c = 1; c <= 4 && p.size + c <= 7; ++c) {
            const std::uint32_t sum = p.sum + key * static_cast<std::uint32_t>(c);
            if (sum < taken.size() && taken[sum])
                return false;
            if (sum >= mark.size())
                mark.resize(sum * 2 + 1, 0);
            if (mark[sum] == stamp)
                return false;
            mark[sum] = stamp;
        }
    return true;
}

}  // namespace

int main()
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::vector<Partial> sets = {{0, 0}};
    std::uint32_t keys[13];
    std::uint32_t key = 1;
    std::vector<std::uint32_t> mark(1 << 20, 0);
    std::uint32_t stamp = 0;
    for (int rank = 0; rank < 13; ++rank) {
        std::vector<char> taken;
        for (const Partial& p : sets) {
            if (p.sum >= taken.size())
                taken.resize(p.sum * 2 + 1, 0);
            taken[p.sum] = 1;
        }
        while (!StaysDistinct(sets, key, taken, mark, ++stamp))
            ++key;
        keys[rank] = key;
        sets = Extend(sets, key);
        std::printf("rank %2d key %u (%zu multisets)\n", rank, key, sets.size());
        ++key;
    }
    std::vector<std::uint32_t> sums;
    for (const Partial& p : sets)
        sums.push_back(p.sum);
    const std::uint32_t maxKey = *std::max_element(sums.begin(), sums.end());
    std::printf("keys:");
    for (std::uint32_t k : keys)
        std::printf(" %u,", k);
    std::printf("\nlargest sum %u\n", maxKey);
}
