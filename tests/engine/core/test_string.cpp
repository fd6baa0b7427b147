// Strings, number conversions and the configuration value parsers: what cannot be read leaves
// the target as it was.
#include <gtest/gtest.h>

#include <climits>

#include "engine/core/cString.h"

namespace {

TEST(StringTest, EqualsIsExactAndEmptyStringsAreEqual) {
    EXPECT_TRUE(cStringA("").equals(cStringA()));
    EXPECT_FALSE(cStringA("Data").equals(cStringA("data")));
    EXPECT_TRUE(cStringW(L"abc").equals(cStringW(L"abc")));
    EXPECT_TRUE(cStringA().isEmpty());
}

TEST(StringTest, MakeLowerChangesInPlaceAndReturnsTheString) {
    cStringA a("Config/Game/SCORES1.ini");
    EXPECT_EQ(&a.makeLower(), &a);
    EXPECT_EQ(a, "config/game/scores1.ini");
    cStringW w(L"Packs/PACK.QPK");
    EXPECT_EQ(w.makeLower(), L"packs/pack.qpk");
}

TEST(StringTest, NarrowAndWideConversionsKeepEveryCharacterOfLongTexts) {
    // Far beyond any fixed conversion buffer: the texts pass whole.
    std::string narrow;
    for (int i = 0; i < 5000; ++i) narrow += static_cast<char>(1 + i % 255);
    cStringW wide = cStringA(narrow).toWide();
    ASSERT_EQ(wide.size(), narrow.size());
    for (size_t i = 0; i < narrow.size(); ++i)
        ASSERT_EQ(static_cast<uint32_t>(wide[i]), static_cast<unsigned char>(narrow[i])) << i;
    EXPECT_EQ(wide.toNarrow(), narrow);
    // A wide character without a byte form becomes a question mark, not a truncated byte.
    EXPECT_EQ(cStringW(L"a\u20ACb").toNarrow(), "a?b");
    EXPECT_EQ(cStringW("caf\xE9"), L"caf\u00E9");
}

TEST(StringTest, WideToUtf8EncodesEachLengthAndJoinsSurrogatePairs) {
    struct Case { std::wstring wide; std::string utf8; };
    const Case cases[] = {
        {L"", ""},
        {L"a\x7F", "a\x7F"},
        {std::wstring{wchar_t(0x80), wchar_t(0x7FF)}, "\xC2\x80\xDF\xBF"},
        {std::wstring{wchar_t(0x800), wchar_t(0xFFFF)}, "\xE0\xA0\x80\xEF\xBF\xBF"},
        {std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}, "\xF0\x9F\x98\x80"},  // one pair, one character
        {std::wstring{wchar_t(0xD83D), L'x'}, "\xED\xA0\xBDx"},               // a lone high half stays one unit
    };
    for (const Case& c : cases) EXPECT_EQ(wideToUtf8(c.wide), c.utf8) << c.utf8.size();
}

TEST(StringTest, NumbersToText) {
    EXPECT_EQ(intToString(-42), L"-42");
    EXPECT_EQ(intToNarrowString(1000000), "1000000");
    EXPECT_EQ(int64ToNarrowString(INT64_C(-9000000000)), "-9000000000");
}

struct IntCase {
    const wchar_t* text;
    int32_t expected;  // 7 is the value the target held before
};

TEST(StringTest, StringToIntReadsTheLeadingNumberOrLeavesTheTarget) {
    const IntCase cases[] = {
        {L"  42abc", 42}, {L"-17", -17}, {L"+5", 5}, {L"abc", 7}, {L"", 7},
        {L"   ", 7},      {L"3.9", 3},   {L"99999999999", 7}, {L"- 3", 7},
    };
    for (const auto& c : cases) {
        int32_t value = 7;
        EXPECT_EQ(stringToInt(&value, c.text), &value);
        EXPECT_EQ(value, c.expected) << "text \"" << cStringW(c.text).toNarrow() << "\"";
        int32_t asLong = 7;
        stringToLong(&asLong, c.text);
        EXPECT_EQ(asLong, c.expected) << "long of \"" << cStringW(c.text).toNarrow() << "\"";
    }
}

TEST(StringTest, UnsignedAndWideIntegerParsers) {
    uint32_t u = 5;
    stringToUnsigned(&u, L"4000000000");
    EXPECT_EQ(u, 4000000000u);
    stringToUnsigned(&u, L"x1");
    EXPECT_EQ(u, 4000000000u);
    stringToUnsigned(&u, L"99999999999");
    EXPECT_EQ(u, 4000000000u);
    uint32_t ul = 9;
    stringToULong(&ul, L" 600 ");
    EXPECT_EQ(ul, 600u);
    int64_t big = 1;
    stringToInt64(&big, L"-9000000000");
    EXPECT_EQ(big, INT64_C(-9000000000));
    stringToInt64(&big, L"none");
    EXPECT_EQ(big, INT64_C(-9000000000));
}

TEST(StringTest, FloatParsers) {
    float f = 1.0f;
    stringToFloat(&f, L"0.25");
    EXPECT_FLOAT_EQ(f, 0.25f);
    stringToFloat(&f, L"1.5e2xyz");
    EXPECT_FLOAT_EQ(f, 150.0f);
    stringToFloat(&f, L"abc");
    EXPECT_FLOAT_EQ(f, 150.0f);
    stringToFloat(&f, L"-.5");
    EXPECT_FLOAT_EQ(f, -0.5f);
    double d = 2.0;
    stringToDouble(&d, L" 3.125");
    EXPECT_DOUBLE_EQ(d, 3.125);
    stringToDouble(&d, L"");
    EXPECT_DOUBLE_EQ(d, 3.125);
}

TEST(StringTest, StringToBoolAcceptsOnlyZeroAndOne) {
    struct Case {
        const wchar_t* text;
        bool before;
        bool expected;
    } cases[] = {
        {L"1", false, true}, {L"0", true, false}, {L" 1", false, true},  {L"2", false, false},
        {L"2", true, true},  {L"yes", false, false}, {L"true", false, false}, {L"", true, true},
        {L"-1", true, true},
    };
    for (const auto& c : cases) {
        bool value = c.before;
        stringToBool(&value, c.text);
        EXPECT_EQ(value, c.expected) << cStringW(c.text).toNarrow() << " over " << c.before;
    }
}

TEST(StringTest, FirstTokenOrUnchanged) {
    cStringW target(L"old");
    assignFirstToken(&target, L"   music1   music2");
    EXPECT_EQ(target, L"music1");
    assignFirstToken(&target, L"    ");
    EXPECT_EQ(target, L"music1");
    assignFirstToken(&target, L"");
    EXPECT_EQ(target, L"music1");

    cStringA narrow("keep");
    toNarrowWord(&narrow, L"\tTextures/a.dds b");
    EXPECT_EQ(narrow, "Textures/a.dds");
    toNarrowWord(&narrow, L"  ");
    EXPECT_EQ(narrow, "Textures/a.dds");
    EXPECT_EQ(toNarrowWord(cStringW(L"")), "");
}

TEST(StringTest, ReplaceAllNeverSearchesItsReplacements) {
    EXPECT_EQ(replaceAll(L"#A# and #A#", L"#A#", L"1"), L"1 and 1");
    EXPECT_EQ(replaceAll(L"#A#", L"#A#", L"x#A#x"), L"x#A#x");
    EXPECT_EQ(replaceAll(L"no marker", L"#A#", L"1"), L"no marker");
    EXPECT_EQ(replaceAll(L"#A##A#", L"#A#", L""), L"");
    EXPECT_EQ(replaceAll(L"text", L"", L"1"), L"text");  // an empty pattern changes nothing
}

TEST(StringTest, StartsWithBothForms) {
    struct Case {
        const char* text;
        const char* prefix;
        bool ignoreCase;
        bool expected;
    } cases[] = {
        {"Texture.dds", "texture", true, true}, {"Texture.dds", "texture", false, false},
        {"Texture.dds", "", false, true},       {"", "", false, true},
        {"", "a", false, false},                {"tex", "texture", true, false},
        {"texture", "texture", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(startsWith(c.text, c.prefix, c.ignoreCase), c.expected) << c.text << " / " << c.prefix;
        EXPECT_EQ(startsWith(std::string(c.text), std::string(c.prefix), c.ignoreCase), c.expected)
            << c.text << " / " << c.prefix;
    }
    EXPECT_TRUE(startsWith(static_cast<const char*>(nullptr), nullptr, false));
    EXPECT_FALSE(startsWith(static_cast<const char*>(nullptr), "a", false));
}

TEST(StringTest, ReplaceCharEverywhere) {
    cStringA path("Config\\Game\\\\a.ini");
    replaceChar(&path, '\\', '/');
    EXPECT_EQ(path, "Config/Game//a.ini");
}

TEST(StringTest, ParseColorKeepsDefaultsOfUnreadableComponents) {
    const uint32_t red = 0xFF0000;
    struct Case {
        const wchar_t* text;
        uint32_t defaultColour;
        uint32_t expected;
    } cases[] = {
        {L"0 255", red, 0x00FF00},            // blue keeps its default 0
        {L"", 0xFF112233, 0x112233},          // alpha is always 0
        {L"300 0 0", 0, 0x2C0000},            // 300 & 0xFF = 44
        {L"10,20,30", 0, 0x0A141E},
        {L"10 20 30", 0, 0x0A141E},
        {L"10, 20; 30", 0, 0x0A141E},         // separator then blanks
        {L"10 x 30", 0x010203, 0x0A0203},     // an unreadable component stops the rest
        {L"abc", 0x010203, 0x010203},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseColor(c.defaultColour, c.text), c.expected) << cStringW(c.text).toNarrow();
}

TEST(StringTest, ParseVectorAndRect) {
    float v[2] = {1.0f, 2.0f};
    parseVector2(v, L"12.5 -3");
    EXPECT_FLOAT_EQ(v[0], 12.5f);
    EXPECT_FLOAT_EQ(v[1], -3.0f);
    parseVector2(v, L"4");
    EXPECT_FLOAT_EQ(v[0], 4.0f);
    EXPECT_FLOAT_EQ(v[1], -3.0f);
    parseVector2(v, L"");
    EXPECT_FLOAT_EQ(v[0], 4.0f);

    float r[4] = {9, 9, 9, 9};
    parseRect(r, L"0,0,800,600");
    EXPECT_FLOAT_EQ(r[2], 800.0f);
    EXPECT_FLOAT_EQ(r[3], 600.0f);
    parseRect(r, L"1 2 x 4");
    EXPECT_FLOAT_EQ(r[0], 1.0f);
    EXPECT_FLOAT_EQ(r[1], 2.0f);
    EXPECT_FLOAT_EQ(r[2], 800.0f);
    EXPECT_FLOAT_EQ(r[3], 600.0f);
}

}  // namespace
