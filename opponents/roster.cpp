#include "opponents/roster.h"

#include "cards/card.h"

#include <algorithm>

bool PlayerRoster::append(const Player& player)
{
    if (count() >= MaxCount)
        return false;
    const std::size_t size = players_.size();
    const std::size_t capacity = players_.capacity();
    if (size == capacity)
        players_.reserve(std::max(capacity + capacity / 2, size + 1));
    players_.push_back(player);
    return true;
}

bool PlayerRoster::eraseAt(int index)
{
    if (!contains(index))
        return false;
    players_.erase(players_.begin() + index);
    return true;
}

void PlayerRoster::clear()
{
    std::vector<Player>().swap(players_);
}

namespace {

// Position along one dimension of the view: margin + r * (extent - 2 margin) / 32768, truncated.
int RandomMarkerCoordinate(int extent)
{
    const int span = extent - 2 * MarkerEdgeMargin;
    if (span == 0)
        return MarkerEdgeMargin;
    const int r = NextRandom();
    return MarkerEdgeMargin + static_cast<int>(r * static_cast<double>(span) * 3.0517578125e-5);
}

}  // namespace

void CreateInitialRoster(PlayerRoster& roster, int viewWidth, int viewHeight)
{
    for (int n = 1; n <= 5; ++n) {
        Player player;
        player.name = std::string("Player ").append(std::to_string(n));
        player.bluffing = 5;
        player.aggression = 5;
        player.playing = true;
        player.x = RandomMarkerCoordinate(viewWidth);
        player.y = RandomMarkerCoordinate(viewHeight);
        roster.append(player);
    }
}
