#include "platform/windows1252.h"

#include <gtest/gtest.h>

#include <string>

TEST(Windows1252, DefinedCodesRoundTripAndOthersBecomeQuestionMarks)
{
    int undefined = 0;
    for (int code = 1; code < 256; ++code) {
        const char32_t u = Windows1252ToUnicode(static_cast<unsigned char>(code));
        if (u == 0)
            ++undefined;
        else
            EXPECT_EQ(UnicodeToWindows1252(u), code) << code;
    }
    EXPECT_EQ(undefined, 5);  // 81, 8D, 8F, 90, 9D
    EXPECT_EQ(Windows1252ToUnicode(0x80), U'€');
    EXPECT_EQ(Windows1252ToUnicode(0x9F), U'Ÿ');
    EXPECT_EQ(Windows1252ToUnicode(0xE9), U'é');
    for (char32_t u : {char32_t{0x81}, char32_t{0x9F}, U'Ω', char32_t{0x1F600}, char32_t{0x110000}})
        EXPECT_EQ(UnicodeToWindows1252(u), '?') << static_cast<unsigned>(u);
}

TEST(Utf8ToWindows1252, ConvertsCharactersAndReplacesMalformedBytesOneByOne)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Zoë Ångström", "Zo\xEB \xC5ngstr\xF6m"},
        {"é€‚…Ÿ", "\xE9\x80\x82\x85\x9F"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},  // a NUL byte is kept, not an end
        {"日本", "??"},                                    // no code: one '?' per character
        {"x😀y", "x?y"},
        {"\xC2\x81", "?"},              // U+0081, a C1 control
        {"\x80", "?"},                  // a continuation byte alone
        {"\xFF\xFE", "??"},             // bytes UTF-8 never uses
        {"ab\xC3", "ab?"},              // truncated at the end
        {"\xC3(x", "?(x"},              // broken by an ASCII byte
        {"\xE2\x82\xC3\xA9", "?\xE9"},  // next character intact
        {"\xF0\x9F\x98", "?"},          // three bytes of four
        {"\xC0\xAF", "??"},             // overlong
        {"\xE0\x80\xAF", "???"},        // overlong
        {"\xF0\x82\x82\xAC", "????"},   // overlong
        {"\xED\xA0\x80", "???"},        // surrogate
        {"\xF4\x90\x80\x80", "????"},   // above U+10FFFF
        {"\xE0\xA0\x80|\xED\x9F\xBF|\xF0\x90\x80\x80|\xF4\x8F\xBF\xBF", "?|?|?|?"},  // edges
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Utf8ToWindows1252(in), out) << testing::PrintToString(in);
}
