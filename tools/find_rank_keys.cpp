// Offline search for the evaluator's additive rank keys (not part of the build).
//
// Finds, rank index by rank index (Ace first), the smallest key such that the key sums of all
// rank multisets with at most four cards of a rank and at most seven cards in all stay
// distinct. It then tries the row-displacement compression of the resulting keys for several
// column widths and prints the table sizes, so the width in cards/evaluator_tables.cpp can be
// chosen. Build and run by hand:
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

// Places rows (key >> columnBits) at the first offset where none of their columns collide;
// returns the compressed length.
std::size_t RowDisplace(const std::vector<std::uint32_t>& keys, int columnBits)
{
    const std::uint32_t maxKey = *std::max_element(keys.begin(), keys.end());
    const std::size_t rowCount = (maxKey >> columnBits) + 1;
    std::vector<std::vector<std::uint32_t>> rows(rowCount);
    for (std::uint32_t k : keys)
        rows[k >> columnBits].push_back(k & ((1u << columnBits) - 1));
    std::vector<std::size_t> order(rowCount);
    for (std::size_t i = 0; i < rowCount; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rows[a].size() > rows[b].size(); });
    std::vector<char> used(keys.size() * 4 + (1u << columnBits), 0);
    std::size_t length = 0;
    for (std::size_t r : order) {
        if (rows[r].empty())
            continue;
        for (std::size_t offset = 0;; ++offset) {
            bool fits = true;
            for (std::uint32_t c : rows[r])
                if (used[offset + c]) {
                    fits = false;
                    break;
                }
            if (!fits)
                continue;
            for (std::uint32_t c : rows[r]) {
                used[offset + c] = 1;
                length = std::max(length, offset + c + 1);
            }
            break;
        }
    }
    return length;
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
    for (int bits = 6; bits <= 14; ++bits) {
        const std::size_t length = RowDisplace(sums, bits);
        std::printf("column bits %2d: %zu rows, compressed length %zu\n", bits,
                    static_cast<std::size_t>((maxKey >> bits) + 1), length);
    }
}
