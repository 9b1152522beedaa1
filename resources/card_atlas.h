// The card atlas bitmap, carried inside the program: resources/card_atlas.dib (made by
// tools/make_card_atlas.cpp) is turned into a constant array at build time.
//
// The bytes are a packed DIB: a 40-byte BITMAPINFOHEADER (128 wide, 256 high and positive, so
// the rows run bottom-up; 24 bits per pixel, uncompressed, no colour table) followed by 256 rows
// of 384 bytes, each pixel blue, green, red. The picture is a grid of 32 x 32 cells, 4 columns
// by 8 rows counted from the top: row 0 the club, diamond, heart and spade symbols; rows 1 to 4
// the rank glyphs A 2 3 4 / 5 6 7 8 / 9 10 J Q / K; in row 5, column 2 the face of a player who
// plays and column 3 the face of one who sits out. Every other cell is unused.
#pragma once

#include <cstdint>
#include <span>

inline constexpr int CardAtlasWidth = 128;   // pixels
inline constexpr int CardAtlasHeight = 256;  // pixels
inline constexpr int CardAtlasCell = 32;     // pixels, both ways
inline constexpr int CardAtlasHeaderSize = 40;
inline constexpr int CardAtlasSize = 98344;  // header and pixels

// The 98,344 bytes of the atlas; they live as long as the program.
std::span<const std::uint8_t> CardAtlasResource();
