// The program's icon (the Ace of spades), carried inside it: the PNG files
// resources/icons/tablewise-<size>.png, drawn by tools/make_icons.cpp, are turned into constant
// arrays at build time, so the program reads no file at run time.
#pragma once

#include <array>
#include <cstdint>
#include <span>

std::span<const std::uint8_t> ProgramIcon16();
std::span<const std::uint8_t> ProgramIcon22();
std::span<const std::uint8_t> ProgramIcon24();
std::span<const std::uint8_t> ProgramIcon32();
std::span<const std::uint8_t> ProgramIcon48();
std::span<const std::uint8_t> ProgramIcon64();
std::span<const std::uint8_t> ProgramIcon128();

// The PNG bytes of every embedded size, smallest first (the 256-pixel file is for the desktop
// entry only; a window's icon property carries every size it names).
inline const std::array<std::span<const std::uint8_t> (*)(), 7> ProgramIconFiles{
    ProgramIcon16, ProgramIcon22, ProgramIcon24, ProgramIcon32,
    ProgramIcon48, ProgramIcon64, ProgramIcon128};
