// The roster of opponents at the table.
//
// Players are referred to only by index (0..count-1, -1 for none), never by pointer or
// reference across a roster operation: appending may move every record to new storage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The least distance in pixels between a marker's centre and each edge of the opponents view:
// the initial positions and every move keep to it.
inline constexpr int MarkerEdgeMargin = 12;

struct Player {
    std::string name;     // display name; Windows-1252 bytes, at most 31 when typed in the dialog
    int bluffing = 5;     // 0..10
    int aggression = 5;   // 0..10
    bool playing = true;  // takes part in the current hand
    int x = MarkerEdgeMargin;  // marker centre, pixels from the view's left edge
    int y = MarkerEdgeMargin;  // marker centre, pixels from the view's bottom edge, upwards
};

// A contiguous growable array of players in the order they were added. Capacity grows only
// when an append finds the storage full, to the old capacity plus half of it (or count + 1 if
// larger), and never shrinks except through clear.
class PlayerRoster {
public:
    // The most records a 32-bit process could address: 2^31 bytes over 24 bytes a record. Far
    // beyond any table; append refuses more rather than grow without end.
    static constexpr int MaxCount = 89478485;

    int count() const { return static_cast<int>(players_.size()); }
    int capacity() const { return static_cast<int>(players_.capacity()); }

    // The record at index, 0 <= index < count; callers check the index first.
    Player& at(int index) { return players_[static_cast<std::size_t>(index)]; }
    const Player& at(int index) const { return players_[static_cast<std::size_t>(index)]; }

    // Appends a copy of the record. Returns false, and changes nothing, when the roster
    // already holds MaxCount players.
    bool append(const Player& player);

    // Removes the record at index; later records move down one place in order. An index
    // outside 0..count-1 changes nothing and returns false.
    bool eraseAt(int index);

    // Destroys every record and releases the storage.
    void clear();

    // True when index names a player of the roster.
    bool contains(int index) const { return index >= 0 && index < count(); }

private:
    std::vector<Player> players_;
};

// Appends the five default players "Player 1".."Player 5", levels 5, playing, each at a random
// position whose centre lies at least MarkerEdgeMargin pixels inside the view of the given
// size. Random numbers are drawn in the order x1, y1, x2, y2, ...; a dimension of exactly twice
// the margin draws none for that coordinate.
void CreateInitialRoster(PlayerRoster& roster, int viewWidth, int viewHeight);
