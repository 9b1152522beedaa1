// The Windows-1252 code page, in which player names are kept and the outline font is indexed.
#pragma once

#include <string>
#include <string_view>

// The Unicode code point of a Windows-1252 byte (0 for the five undefined codes).
char32_t Windows1252ToUnicode(unsigned char code);

// The Windows-1252 byte of a code point, or '?' when it has none.
unsigned char UnicodeToWindows1252(char32_t codePoint);

// Converts UTF-8 text to Windows-1252 bytes: characters without a code, and bytes that are not
// valid UTF-8, become '?'.
std::string Utf8ToWindows1252(std::string_view utf8);
