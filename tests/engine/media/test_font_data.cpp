// The demo fonts of the built Data folder: every font listed in data/fonts/fonts.txt exists
// with its image, holds a blank with a positive advance and the digits, and each glyph's
// rectangle lies inside its image on whole pixels, with ink where a visible character is; a
// font whose line gives a glyph colour "#rrggbb" has its glyphs in that colour.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/media/ImageDecoder.h"
#include "engine/media/cBitmapFont.h"
#include "tests/engine/core/test_file_env.h"

namespace {

std::vector<std::string> listedFonts() {
    std::ifstream in(std::string(RW_SOURCE_DIR) + "/data/fonts/fonts.txt");
    std::vector<std::string> names;
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string name;
        if (words >> name) names.push_back(name);
    }
    return names;
}

// The glyph colour "#rrggbb" on the font's line of fonts.txt, or -1 without one.
long listedColour(const std::string& name) {
    std::ifstream in(std::string(RW_SOURCE_DIR) + "/data/fonts/fonts.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word != name) continue;
        while (words >> word)
            if (word.size() == 7 && word[0] == '#' && word.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos)
                return std::stol(word.substr(1), nullptr, 16);
        return -1;
    }
    return -1;
}

}  // namespace

// The shop's prices: green while the player can pay, red when the cash is short. Every texel
// with ink carries the colour of the font's line (the alpha is the glyph's coverage).
TEST(DemoFonts, ColouredFontsHaveTheirGlyphsInTheColourOfTheirLine) {
    struct Case {
        const char* name;
        int strongChannel;   // 16 red, 8 green: the channel that must lead
    } cases[] = {{"price_low", 16}, {"price", 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const long colour = listedColour(c.name);
        ASSERT_GE(colour, 0) << "the line of " << c.name << " gives no colour";
        const int strong = int(colour >> c.strongChannel) & 0xFF;
        for (int channel : {0, 8, 16})
            if (channel != c.strongChannel) EXPECT_GT(strong, int(colour >> channel) & 0xFF) << std::hex << colour;
        const std::string dds = file_test::readDiskFile(std::string(RW_DIST_DIR) + "/Data/fonts/" + c.name + ".dds");
        ASSERT_FALSE(dds.empty());
        cImage image = decodeImage(dds.data(), dds.size());
        int ink = 0, wrong = 0;
        for (uint32_t y = 0; y < image.height; ++y)
            for (uint32_t x = 0; x < image.width; ++x) {
                const uint32_t texel = image.at(x, y);
                if ((texel >> 24) < 16) continue;
                ++ink;
                if ((texel & 0xFFFFFFu) != uint32_t(colour)) ++wrong;
            }
        EXPECT_GT(ink, 100);
        EXPECT_EQ(wrong, 0) << "texel colour " << std::hex << (image.at(0, 0) & 0xFFFFFFu) << " instead of " << colour;
    }
}

TEST(DemoFonts, EveryListedFontIsBuiltWithAnImageThatMatchesItsGlyphs) {
    const std::vector<std::string> names = listedFonts();
    ASSERT_GE(names.size(), 3u);
    for (const char* needed : {"main", "small", "bold", "numbers"})
        EXPECT_NE(std::find(names.begin(), names.end(), needed), names.end()) << needed;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string base = std::string(RW_DIST_DIR) + "/Data/fonts/" + name;
        const std::string rwf = file_test::readDiskFile(base + ".rwf");
        const std::string dds = file_test::readDiskFile(base + ".dds");
        ASSERT_FALSE(rwf.empty());
        ASSERT_FALSE(dds.empty());
        cBitmapFont font(cStringA("fonts/" + name + ".rwf"), 10, rwf.data(), rwf.size());
        cImage image = decodeImage(dds.data(), dds.size());
        const float w = float(image.width), h = float(image.height);

        ASSERT_TRUE(font.hasGlyph(L' '));
        EXPECT_GT(font.getGlyph(L' ').advance, 0.0f);
        EXPECT_FALSE(font.hasGlyphOffsets());
        for (wchar_t digit = L'0'; digit <= L'9'; ++digit) {
            ASSERT_TRUE(font.hasGlyph(digit)) << char(digit);
            const cGlyph& g = font.getGlyph(digit);
            ASSERT_GT(g.advance, 0.0f);
            ASSERT_GT(g.right, g.left);
            ASSERT_GT(g.bottom, g.top);
            ASSERT_GE(g.left, 0.0f);
            ASSERT_LE(g.right, 1.0f);
            ASSERT_LE(g.bottom, 1.0f);
            // Whole pixels, so that unscaled glyphs map texels onto pixels.
            const float px[4] = {g.left * w, g.top * h, g.right * w, g.bottom * h};
            for (float v : px) ASSERT_NEAR(v, std::round(v), 0.01f);
            // The digit leaves ink in its cell; the blank's cell has none.
            int ink = 0;
            for (uint32_t y = uint32_t(std::lround(px[1])); y < uint32_t(std::lround(px[3])); ++y)
                for (uint32_t x = uint32_t(std::lround(px[0])); x < uint32_t(std::lround(px[2])); ++x)
                    if ((image.at(x, y) >> 24) > 200) ++ink;
            EXPECT_GT(ink, 5);
        }
        const cGlyph& blank = font.getGlyph(L' ');
        for (uint32_t y = uint32_t(std::lround(blank.top * h)); y < uint32_t(std::lround(blank.bottom * h)); ++y)
            for (uint32_t x = uint32_t(std::lround(blank.left * w)); x < uint32_t(std::lround(blank.right * w)); ++x)
                ASSERT_EQ(image.at(x, y) >> 24, 0u);
    }
}
