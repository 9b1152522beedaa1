// The gain display: the expected gain in percent of the user's stake, for a pot of equal stakes
// from the user and every opponent in play, from the win estimate's counts.
#pragma once

#include <cstdint>
#include <string>

// The last computed expected gain in percent and the opponents it was computed for; kept
// between calls.
extern float gainPercent;
extern int gainOpponents;

// ((wins + ties / 2) / (total + 0.001) * (opponents + 1) - 1) * 100, as a 32-bit float.
float ComputeGainPercent(std::int64_t wins, std::int64_t ties, std::int64_t losses, int opponents);

// The text of a gain: a sign and more decimals the nearer it is to zero ("+20.0%", "-0.00%").
std::string FormatGain(float gain);

struct GainColour {
    float red, green, blue;
};
// The colour ramp: dark red for heavy losses, through blue at break-even, to dark green.
GainColour GainColourFor(float gain);

// Recomputes gainPercent for that many opponents when opponents >= 0 (keeps both when negative),
// then draws one frame of the gain view: the text centred on black, or on white while the win
// estimate is paused; only the background while no deal has been estimated.
void DrawGain(int opponents);

// The redraw timer's frame: DrawGain(-1) only when the picture would differ from the last
// frame drawn (the gain, whether a deal was estimated, the pause, the surface, the font).
void DrawGainIfChanged();
