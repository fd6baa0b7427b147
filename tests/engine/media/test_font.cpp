// Bitmap font files: the layout with its optional parts, files that end after any complete
// record, the three failures, look-ups of pairs and of characters the font lacks, and loading
// through the resource manager.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cBitmapFont.h"
#include "tests/engine/core/test_file_env.h"
#include "tests/engine/media/test_font_bytes.h"

using namespace font_test;

namespace {

std::unique_ptr<cBitmapFont> fontOf(const std::string& bytes) {
    return std::make_unique<cBitmapFont>("fonts/t.rwf", 0, bytes.data(), bytes.size());
}

using file_test::thrownText;

const GlyphRec kA{u'A', 0.0f, 0.0f, 0.25f, 0.5f, 0.25f};
const GlyphRec kB{u'B', 0.25f, 0.0f, 0.5f, 0.5f, 0.3f};
const GlyphRec kC{u'C', 0.5f, 0.5f, 0.75f, 1.0f, 0.2f};

}  // namespace

TEST(BitmapFont, GlyphsOnlyFileOfExactSizeHasNoOffsetsNorPairs) {
    FontFile f;
    f.glyphs = {kA, kB, kC};
    std::string bytes = f.bytes();
    ASSERT_EQ(bytes.size(), 6u + 22u * 3);
    auto font = fontOf(bytes);
    EXPECT_EQ(font->getType(), RESOURCE_FONT);
    EXPECT_EQ(font->asFont(), font.get());
    EXPECT_EQ(font->getGlyphCount(), 3u);
    EXPECT_FALSE(font->hasGlyphOffsets());
    EXPECT_TRUE(font->getPairs().empty());
    const cGlyph& b = font->getGlyph(L'B');
    EXPECT_EQ(b.left, 0.25f);
    EXPECT_EQ(b.top, 0.0f);
    EXPECT_EQ(b.right, 0.5f);
    EXPECT_EQ(b.bottom, 0.5f);
    EXPECT_EQ(b.advance, 0.3f);
    EXPECT_EQ(b.offsetX, 0.0f);
}

TEST(BitmapFont, OffsetRecordsUpToTheFirstIncompleteOneAreKept) {
    FontFile f;
    f.glyphs = {kA, kB, kC};
    f.withBlock = true;
    f.offsets = {{u'B', 0.125f, -0.25f}, {u'C', 0.5f, 0.5f}};
    std::string bytes = f.bytes();
    bytes.resize(6 + 22 * 3 + 8 + 10 + 4);   // the second offset record is cut
    auto font = fontOf(bytes);
    EXPECT_TRUE(font->hasGlyphOffsets());
    EXPECT_EQ(font->getGlyph(L'B').offsetX, 0.125f);
    EXPECT_EQ(font->getGlyph(L'B').offsetY, -0.25f);
    EXPECT_EQ(font->getGlyph(L'C').offsetX, 0.0f);
    EXPECT_EQ(font->getGlyph(L'A').offsetY, 0.0f);
    EXPECT_TRUE(font->getPairs().empty());
}

TEST(BitmapFont, FilesEndingInsideAnOptionalPartKeepWhatIsComplete) {
    FontFile f;
    f.glyphs = {kA, kB};
    f.withBlock = true;
    f.offsets = {{u'A', 0.1f, 0.2f}, {u'B', 0.3f, 0.4f}};
    f.pairs = {{u'A', u'B', -0.05f, 0.01f}, {u'B', u'A', 0.5f, 0.5f}};
    const std::string whole = f.bytes();
    const size_t glyphsEnd = 6 + 22 * 2, offsetsEnd = glyphsEnd + 8 + 20;
    struct Case {
        size_t size;
        bool offsets;
        size_t pairs;
    } cases[] = {
        {glyphsEnd + 3, false, 0},         // inside the reserved block
        {glyphsEnd + 8, false, 0},         // the block and nothing more
        {offsetsEnd, true, 0},             // every offset, no pair
        {offsetsEnd + 12 + 11, true, 1},   // inside the second pair
        {whole.size(), true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        auto font = fontOf(whole.substr(0, c.size));
        EXPECT_EQ(font->getGlyphCount(), 2u);
        EXPECT_EQ(font->hasGlyphOffsets(), c.offsets);
        EXPECT_EQ(font->getPairs().size(), c.pairs);
    }
}

TEST(BitmapFont, PairsMatchInFileOrderAndOnlyInTheirOwnOrder) {
    FontFile f;
    f.glyphs = {kA, kB};
    f.withBlock = true;
    f.offsets = {{u'A', 0, 0}, {u'B', 0, 0}};
    f.pairs = {{u'A', u'B', -0.05f, 0.01f}, {u'A', u'B', 0.7f, 0.7f}, {u'B', u'B', 0.2f, -0.3f}};
    auto font = fontOf(f.bytes());
    EXPECT_EQ(font->getPairValueA(L'A', L'B'), -0.05f);   // the first of the two wins
    EXPECT_EQ(font->getPairValueB(L'A', L'B'), 0.01f);
    EXPECT_EQ(font->getPairValueA(L'B', L'A'), 0.0f);     // order matters
    EXPECT_EQ(font->getPairValueB(L'B', L'A'), 0.0f);
    EXPECT_EQ(font->getPairValueA(L'B', L'B'), 0.2f);
    EXPECT_EQ(font->getPairValueB(L'B', L'B'), -0.3f);
    EXPECT_EQ(font->getPairValueA(wchar_t(0x10041), L'B'), 0.0f);   // beyond one UTF-16 unit
}

TEST(BitmapFont, NoGlyphsWithTheBlockStillReadsThePairs) {
    FontFile f;
    f.withBlock = true;
    f.pairs = {{u'x', u'y', 0.5f, 0.25f}};
    auto font = fontOf(f.bytes());
    EXPECT_EQ(font->getGlyphCount(), 0u);
    EXPECT_FALSE(font->hasGlyphOffsets());
    EXPECT_EQ(font->getPairValueA(L'x', L'y'), 0.5f);
}

TEST(BitmapFont, ARepeatedCharacterKeepsItsLaterRecord) {
    FontFile f;
    f.glyphs = {kA, {u'A', 0.5f, 0.5f, 1.0f, 1.0f, 0.4f}};
    auto font = fontOf(f.bytes());
    EXPECT_EQ(font->getGlyphCount(), 1u);
    EXPECT_EQ(font->getGlyph(L'A').advance, 0.4f);
    EXPECT_EQ(font->getGlyph(L'A').left, 0.5f);
}

TEST(BitmapFont, LookingUpAMissingCharacterDoesNotAddIt) {
    FontFile f;
    f.glyphs = {kA};
    auto font = fontOf(f.bytes());
    const cGlyph& tab = font->getGlyph(L'\t');
    EXPECT_EQ(tab.advance, 0.0f);
    EXPECT_EQ(tab.right, 0.0f);
    EXPECT_FALSE(font->hasGlyph(L'\t'));
    EXPECT_EQ(font->getGlyphCount(), 1u);
    EXPECT_TRUE(font->hasGlyph(L'A'));
    EXPECT_FALSE(font->hasGlyph(wchar_t(0x10041)));   // 'A' + 0x10000 is no unit of the font
}

TEST(BitmapFont, BrokenFilesFailWithTheirTexts) {
    FontFile two;
    two.glyphs = {kA, kB};
    FontFile wrongMagic = two;
    wrongMagic.magic = "RWFT";
    struct Case {
        const char* what;
        std::string bytes;
        const char* text;
    } cases[] = {
        {"empty", "", "Error reading head of font."},
        {"five bytes", two.bytes().substr(0, 5), "Error reading head of font."},
        {"wrong magic", wrongMagic.bytes(), "Invalid font format."},
        {"head only", two.bytes().substr(0, 6), "Error reading symbol."},
        {"second glyph cut", two.bytes().substr(0, 6 + 22 + 21), "Error reading symbol."},
        {"count above the records", [] { FontFile f; f.glyphs = {kA}; f.count = 65535; return f.bytes(); }(),
         "Error reading symbol."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(thrownText([&] { fontOf(c.bytes); }), c.text);
    }
}

TEST(BitmapFont, LoadsThroughTheResourceManagerAndABrokenFileLeavesTheOthersLoaded) {
    file_test::TempWorld world;
    FontFile f;
    f.glyphs = {kA};
    world.put("Fonts/Good.rwf", f.bytes());
    world.put("fonts/broken.rwf", "TFWR\x02");
    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
    cBitmapFont::registerResourceFactory();
    cResourceManager resources;
    resources.load("Fonts/Good.rwf", 10);
    cBitmapFont* good = resources.getFont("fonts/good.rwf");
    ASSERT_NE(good, nullptr);
    EXPECT_TRUE(good->hasGlyph(L'A'));
    EXPECT_EQ(good->getGroup(), 10);
    EXPECT_EQ(thrownText([&] { resources.load("fonts/broken.rwf", 10); }),
              "Error reading head of font.\ncBitmapFont::cBitmapFont(\"fonts/broken.rwf\")");
    EXPECT_FALSE(resources.isLoaded("fonts/broken.rwf"));
    EXPECT_EQ(resources.getFont("fonts/good.rwf"), good);
    EXPECT_EQ(thrownText([&] { resources.getFont("fonts/missing.rwf"); }), "Resource 'fonts/missing.rwf' is not loaded.");
}
