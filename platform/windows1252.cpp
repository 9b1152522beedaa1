// The Windows-1252 code page: bytes to code points and back, and UTF-8 to Windows-1252.
#include "platform/windows1252.h"

namespace {

// Code points of 0x80..0x9F; 0 marks the five codes that Windows-1252 leaves undefined.
constexpr char32_t HighControlRange[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88..8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98..9F
};

}  // namespace

char32_t Windows1252ToUnicode(unsigned char code)
{
    if (code >= 0x80 && code < 0xA0)
        return HighControlRange[code - 0x80];
    return code;  // ASCII and 0xA0..0xFF agree with Latin-1
}

unsigned char UnicodeToWindows1252(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<unsigned char>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (HighControlRange[i] != 0 && HighControlRange[i] == codePoint)
            return static_cast<unsigned char>(0x80 + i);
    }
    return '?';
}

std::string Utf8ToWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        // The length of the sequence and the range of its second byte; the range excludes
        // overlong forms (E0, F0), surrogates (ED) and code points above U+10FFFF (F4).
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;
        char32_t codePoint = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0F;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        }
        ++i;
        if (length == 0) {  // a continuation byte out of place, or a byte UTF-8 never uses
            out.push_back('?');
            continue;
        }
        // Read the continuation bytes; a broken sequence becomes one '?' and reading resumes
        // at the byte that broke it.
        int read = 1;
        while (read < length && i < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[i]);
            if (next < low || next > high)
                break;
            codePoint = (codePoint << 6) | (next & 0x3F);
            low = 0x80;
            high = 0xBF;
            ++read;
            ++i;
        }
        out.push_back(read == length ? static_cast<char>(UnicodeToWindows1252(codePoint)) : '?');
    }
    return out;
}
