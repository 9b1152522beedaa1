#include "platform/font.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

TEST(Windows1252, EveryDefinedCodeRoundTripsThroughUnicode)
{
    int undefined = 0;
    for (int code = 1; code < 256; ++code) {
        const char32_t u = Windows1252ToUnicode(static_cast<unsigned char>(code));
        if (u == 0) {
            ++undefined;
            EXPECT_TRUE(code >= 0x80 && code < 0xA0) << code;
            continue;
        }
        EXPECT_EQ(UnicodeToWindows1252(u), code) << code;
    }
    EXPECT_EQ(undefined, 5);  // 81, 8D, 8F, 90, 9D

    EXPECT_EQ(Windows1252ToUnicode(0x80), U'€');
    EXPECT_EQ(Windows1252ToUnicode(0x82), U'‚');
    EXPECT_EQ(Windows1252ToUnicode(0x8A), U'Š');
    EXPECT_EQ(Windows1252ToUnicode(0x99), U'™');
    EXPECT_EQ(Windows1252ToUnicode(0x9F), U'Ÿ');
    EXPECT_EQ(Windows1252ToUnicode(0xA0), 0xA0u);
    EXPECT_EQ(Windows1252ToUnicode(0xE9), U'é');
    EXPECT_EQ(Windows1252ToUnicode(0xFF), U'ÿ');
}

TEST(Windows1252, CodePointsOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(UnicodeToWindows1252(0x81), '?');  // C1 controls have no code of their own
    EXPECT_EQ(UnicodeToWindows1252(0x9F), '?');
    EXPECT_EQ(UnicodeToWindows1252(U'Ā'), '?');
    EXPECT_EQ(UnicodeToWindows1252(U'Ω'), '?');
    EXPECT_EQ(UnicodeToWindows1252(0x1F600), '?');
    EXPECT_EQ(UnicodeToWindows1252(0x110000), '?');
}

TEST(Utf8ToWindows1252, CharactersWithACodeBecomeThatByte)
{
    EXPECT_EQ(Utf8ToWindows1252(""), "");
    EXPECT_EQ(Utf8ToWindows1252("Player 3"), "Player 3");
    EXPECT_EQ(Utf8ToWindows1252("Zoë Ångström"), "Zo\xEB \xC5ngstr\xF6m");
    EXPECT_EQ(Utf8ToWindows1252("é€‚…Ÿ"), "\xE9\x80\x82\x85\x9F");
    EXPECT_EQ(Utf8ToWindows1252("a\0b"s), "a\0b"s);  // a NUL byte is kept, not an end
}

TEST(Utf8ToWindows1252, CharactersWithoutACodeBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(Utf8ToWindows1252("日本"), "??");
    EXPECT_EQ(Utf8ToWindows1252("x😀y"), "x?y");
    EXPECT_EQ(Utf8ToWindows1252("Ā"), "?");
    EXPECT_EQ(Utf8ToWindows1252("\xC2\x81"), "?");  // U+0081, a C1 control
}

TEST(Utf8ToWindows1252, MalformedSequencesBecomeQuestionMarksWithoutSwallowingText)
{
    EXPECT_EQ(Utf8ToWindows1252("\x80"), "?");                  // a continuation byte alone
    EXPECT_EQ(Utf8ToWindows1252("\xFF\xFE"), "??");             // bytes UTF-8 never uses
    EXPECT_EQ(Utf8ToWindows1252("ab\xC3"), "ab?");              // cut off at the end
    EXPECT_EQ(Utf8ToWindows1252("\xC3(x"), "?(x");              // broken by an ASCII byte
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x82x"), "?x");            // two bytes of three
    EXPECT_EQ(Utf8ToWindows1252("\xF0\x9F\x98"), "?");          // three bytes of four
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x82\xC3\xA9"), "?\xE9");  // next character intact
    // Overlong forms, surrogates and code points above U+10FFFF are not characters.
    EXPECT_EQ(Utf8ToWindows1252("\xC0\xAF"), "??");
    EXPECT_EQ(Utf8ToWindows1252("\xC1\xA9"), "??");
    EXPECT_EQ(Utf8ToWindows1252("\xE0\x80\xAF"), "???");
    EXPECT_EQ(Utf8ToWindows1252("\xF0\x82\x82\xAC"), "????");
    EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), "???");
    EXPECT_EQ(Utf8ToWindows1252("\xF4\x90\x80\x80"), "????");
    EXPECT_EQ(Utf8ToWindows1252("\xF5\x80\x80\x80"), "????");
    // Values at the edges of those checks are characters: one '?' each, not one per byte.
    EXPECT_EQ(Utf8ToWindows1252("\xE0\xA0\x80|\xED\x9F\xBF|\xF0\x90\x80\x80|\xF4\x8F\xBF\xBF"),
              "?|?|?|?");
}
