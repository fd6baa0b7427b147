// The text object against fonts with fixed advances: measuring, alignment on both axes,
// justification, the offset layout with pairs, the glyphs' properties, the dirty rules, the
// loader's keys, and texts without a font or an image.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cXmlNode.h"
#include "engine/scene/cText.h"
#include "tests/engine/scene/test_widget_support.h"

using namespace widget_test;

namespace {

class TextTest : public WidgetTest {
protected:
    // A shown text in the fixed font at (100, 50).
    std::unique_ptr<cText> makeText(const std::wstring& s, int align = TEXT_ALIGN_LEFT, int alignVer = TEXT_ALIGN_FIRST_LINE,
                                    uint32_t spacing = 20, const char* font = "fonts/fixed.rwf") {
        auto t = std::make_unique<cText>();
        t->setFont(font);
        t->setLayerTexture(0, "fonts/fixed.png");
        t->setString(s);
        t->setHorizontalAlign(align);
        t->setVerticalAlign(alignVer);
        t->setLineSpacing(spacing);
        t->setPosition(cVector2(100, 50));
        t->show();
        t->update();
        return t;
    }
    static std::vector<cVector2> centres(const cText& t) {
        std::vector<cVector2> out;
        for (cPicture* g : t.getGlyphs()) out.push_back(glyphCentre(g));
        return out;
    }
};

void expectPoints(const std::vector<cVector2>& got, const std::vector<cVector2>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].x, want[i].x, 0.001f) << "glyph " << i;
        EXPECT_NEAR(got[i].y, want[i].y, 0.001f) << "glyph " << i;
    }
}

}  // namespace

TEST_F(TextTest, MeasuresLinesBrokenBySlashN) {
    struct Case {
        const wchar_t* s;
        std::vector<float> widths;
        std::vector<float> spaces;
    } cases[] = {
        {L"", {0}, {0}},
        {L"AB", {24}, {0}},
        {L"A/nB/n", {12, 12, 0}, {0, 0, 0}},
        {L"a/b", {36}, {0}},              // a slash before anything but n is a character
        {L"A B", {30}, {1}},              // the blank is measured like any character
        {L"A\tB", {24}, {0}},             // a character the font lacks measures 0
        {L"AB C/nA  B", {42, 36}, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(cStringW(c.s).toNarrow());
        auto t = makeText(c.s);
        EXPECT_EQ(t->getLineWidths(), c.widths);
        EXPECT_EQ(t->getLineSpaces(), c.spaces);
        float widest = 0;
        for (float w : c.widths) widest = std::max(widest, w);
        EXPECT_EQ(t->getWidth(), widest);
        EXPECT_EQ(t->getHeight(), 20.0f * float(c.widths.size()));
        EXPECT_EQ(t->getSize(), cVector2(widest, 20.0f * float(c.widths.size())));
    }
}

TEST_F(TextTest, HorizontalAlignmentPlacesEachLine) {
    struct Case {
        int align;
        std::vector<cVector2> centres;   // "AB/nA" at (100, 50), spacing 20, first-line mode
    } cases[] = {
        {TEXT_ALIGN_LEFT, {{106, 50}, {118, 50}, {106, 70}}},
        {TEXT_ALIGN_CENTER, {{94, 50}, {106, 50}, {100, 70}}},
        {TEXT_ALIGN_RIGHT, {{82, 50}, {94, 50}, {94, 70}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        auto t = makeText(L"AB/nA", c.align);
        expectPoints(centres(*t), c.centres);
    }
}

TEST_F(TextTest, VerticalAlignmentAnchorsTheBlock) {
    struct Case {
        int code;
        float y0;   // centre of line 0 of three, spacing 20, anchor y 50; lines 20 apart
    } cases[] = {
        {TEXT_ALIGN_FIRST_LINE, 50}, {7, 50}, {TEXT_ALIGN_TOP, 60}, {TEXT_ALIGN_CENTER, 30}, {TEXT_ALIGN_BOTTOM, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        auto t = makeText(L"A/nA/nA", TEXT_ALIGN_LEFT, c.code);
        expectPoints(centres(*t), {{106, c.y0}, {106, c.y0 + 20}, {106, c.y0 + 40}});
    }
}

TEST_F(TextTest, JustificationWidensBlanksUpToTheWidestLine) {
    // Widths 30 (one blank), 60 (no blank, the widest), 54 (one blank).
    auto t = makeText(L"A B/nABCDE/nAB CD");
    t->setJustify(true);
    t->update();
    expectPoints(centres(*t), {
                                  {106, 50}, {130, 50}, {154, 50},                           // blank 36 wide
                                  {106, 70}, {118, 70}, {130, 70}, {142, 70}, {154, 70},     // natural
                                  {106, 90}, {118, 90}, {130, 90}, {142, 90}, {154, 90},     // blank 12 wide
                              });
    EXPECT_EQ(t->getWidth(), 60.0f);
    // Centred and justified: every line starts at half the widest line left of the anchor.
    t->setHorizontalAlign(TEXT_ALIGN_CENTER);
    t->update();
    EXPECT_NEAR(glyphCentre(t->getGlyphs()[0]).x, 76.0f, 0.001f);
    EXPECT_NEAR(glyphCentre(t->getGlyphs()[3]).x, 76.0f, 0.001f);
    EXPECT_NEAR(glyphCentre(t->getGlyphs()[12]).x, 124.0f, 0.001f);
}

TEST_F(TextTest, OffsetFontsPlaceGlyphBoxesWithOffsetsAndPairs) {
    struct Case {
        int align;
        std::vector<cVector2> corners;   // top-left corners of "AV" at (100, 50)
    } cases[] = {
        // A at the pen; V after 12 - 3 (pair) pixels, 1 to the right and 10 down by its
        // offset, 2 down by the pair; the pen starts half a glyph (10) above the line centre.
        {TEXT_ALIGN_LEFT, {{100, 40}, {110, 52}}},
        {TEXT_ALIGN_RIGHT, {{79, 40}, {89, 52}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        auto t = makeText(L"AV", c.align, TEXT_ALIGN_FIRST_LINE, 20, "fonts/offset.rwf");
        EXPECT_EQ(t->getWidth(), 21.0f);   // pairs count when measuring
        ASSERT_EQ(t->getGlyphs().size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            const cPicture* g = t->getGlyphs()[i];
            EXPECT_FALSE(g->testTransformFlags(TF_CENTERED));
            EXPECT_NEAR(glyphCentre(g).x, c.corners[i].x, 0.001f) << i;
            EXPECT_NEAR(glyphCentre(g).y, c.corners[i].y, 0.001f) << i;
        }
    }
}

TEST_F(TextTest, GlyphsCarryTheTextsLookAndOneDepthStepEach) {
    auto t = std::make_unique<cText>();
    t->setFont("fonts/fixed.rwf");
    t->setLayerTexture(0, "fonts/fixed.png");
    t->setShaderName("shaders/glow.sh");
    t->setString(L"BA\tC");
    t->setColor(0x123456);
    t->setAlpha(0x80);
    t->setScale(cVector2(2, 3));
    t->setAngle(30);
    t->setDeep(5);
    t->show();
    t->update();
    ASSERT_EQ(t->getGlyphs().size(), 3u);   // the tab has no glyph
    EXPECT_EQ(t->getChildCount(), 3u);
    const float deeps[] = {5.0f, 5.01f, 5.02f};
    for (size_t i = 0; i < 3; ++i) {
        cPicture* g = t->getGlyphs()[i];
        EXPECT_EQ(g->getParent(), t.get());
        EXPECT_FLOAT_EQ(g->getDeep(), deeps[i]);
        EXPECT_EQ(g->getVertexColor(0), 0x123456u);
        EXPECT_EQ(g->getVertexAlpha(3), 0x80u);
        EXPECT_EQ(g->getScale(), cVector2(2, 3));
        EXPECT_EQ(g->getAngle(), 30.0f);
        EXPECT_EQ(g->getLayerTexture(0), "fonts/fixed.png");
        EXPECT_EQ(g->getShaderName(), "shaders/glow.sh");
        EXPECT_TRUE(g->isVisible());
        EXPECT_TRUE(g->getAutoFiltering());
        EXPECT_TRUE(g->testRenderFlags(RF_USE_FILTERING));   // scaled and turned
    }
    // B is the second cell of the grid's first row: 12 x 20 pixels from (12, 0).
    cRect r = t->getGlyphs()[0]->getLayer0TextureRect();
    EXPECT_NEAR(r.left, 12.0f, 1e-4f);
    EXPECT_NEAR(r.top, 0.0f, 1e-4f);
    EXPECT_NEAR(r.right, 24.0f, 1e-4f);
    EXPECT_NEAR(r.bottom, 20.0f, 1e-4f);
    // Later changes reach the glyphs; moving and hiding the text takes them along.
    t->setRenderFlags(RF_OVERLAY, true);
    EXPECT_TRUE(t->getGlyphs()[1]->testRenderFlags(RF_OVERLAY));
    t->setString(L"BAC");
    t->update();
    EXPECT_FALSE(t->getGlyphs()[1]->testRenderFlags(RF_OVERLAY));   // new glyphs do not take them
    t->setAlpha(0x20);
    t->setColor(0x00FF00);
    EXPECT_EQ(t->getGlyphs()[2]->getVertexAlpha(0), 0x20u);
    EXPECT_EQ(t->getGlyphs()[2]->getVertexColor(0), 0x00FF00u);
    cVector2 before = glyphCentre(t->getGlyphs()[1]);
    t->setPosition(t->getPosition() + cVector2(10, -5));
    EXPECT_EQ(glyphCentre(t->getGlyphs()[1]), before + cVector2(10, -5));
    EXPECT_EQ(getRenderSetCount(), 4u);   // the text's own empty quad and three glyphs
    t->hide();
    EXPECT_EQ(getRenderSetCount(), 0u);
}

TEST_F(TextTest, OnlyChangesMarkTheTextAndSpacingWaitsForTheNextRebuild) {
    auto t = makeText(L"AB/nA");
    const std::vector<cPicture*> glyphs = t->getGlyphs();
    EXPECT_FALSE(t->setString(L"AB/nA"));
    EXPECT_FALSE(t->isGlyphsDirty());
    t->setHorizontalAlign(TEXT_ALIGN_LEFT);
    t->update();
    EXPECT_EQ(t->getGlyphs(), glyphs);   // nothing rebuilt

    t->setLineSpacing(30);
    EXPECT_EQ(t->getHeight(), 60.0f);    // at once
    t->update();
    EXPECT_EQ(glyphCentre(t->getGlyphs()[2]).y, 70.0f);   // still the old spacing
    t->setVerticalAlign(TEXT_ALIGN_TOP);
    t->update();
    EXPECT_EQ(glyphCentre(t->getGlyphs()[2]).y, 95.0f);   // 30 * 1.5 below the anchor

    EXPECT_TRUE(t->setString(L"B"));
    EXPECT_TRUE(t->isLayoutDirty());
    EXPECT_EQ(t->getWidth(), 12.0f);
    t->update();
    EXPECT_EQ(t->getGlyphs().size(), 1u);
    EXPECT_EQ(t->getChildCount(), 1u);
}

TEST_F(TextTest, AssignCopiesEverythingButJustify) {
    auto a = makeText(L"AB", TEXT_ALIGN_RIGHT, TEXT_ALIGN_BOTTOM, 17);
    a->setJustify(true);
    cText b;
    b.assign(*a);
    EXPECT_EQ(b.getString(), L"AB");
    EXPECT_EQ(b.getFontName(), "fonts/fixed.rwf");
    EXPECT_EQ(b.getFont(), a->getFont());
    EXPECT_EQ(b.getLayerTexture(0), "fonts/fixed.png");
    EXPECT_EQ(b.getHorizontalAlign(), TEXT_ALIGN_RIGHT);
    EXPECT_EQ(b.getVerticalAlign(), TEXT_ALIGN_BOTTOM);
    EXPECT_EQ(b.getLineSpacing(), 17u);
    EXPECT_EQ(b.getPosition(), cVector2(100, 50));
    EXPECT_FALSE(b.getJustify());
}

TEST_F(TextTest, LoaderReadsEveryKeyAndTranslatesTheAlignmentWords) {
    addIni("config/text.ini",
           "[T]\nstring=\"Hi/nthere\"\ntexture=\"fonts/fixed.png\"\nshader=\"s.sh\"\nline_spacing=\"24\"\n"
           "font=\"fonts/fixed.rwf\"\nalign=\"RIGHT\"\nalign_ver=\"TOP\"\nposition=\"10,20\"\ndeep=\"3\"\n"
           "[J]\nalign=\"JUSTIFY\"\nalign_ver=\"BOTTOM\"\n[N]\nalign=\"left\"\nalign_ver=\"middle\"\njustify=\"1\"\n");
    cText t;
    t.loadFromIni(ini("config/text.ini"), L"T");
    EXPECT_EQ(t.getString(), L"Hi/nthere");
    EXPECT_EQ(t.getLayerTexture(0), "fonts/fixed.png");
    EXPECT_EQ(t.getShaderName(), "s.sh");
    EXPECT_EQ(t.getLineSpacing(), 24u);
    EXPECT_EQ(t.getFontName(), "fonts/fixed.rwf");
    EXPECT_NE(t.getFont(), nullptr);
    EXPECT_EQ(t.getHorizontalAlign(), TEXT_ALIGN_RIGHT);
    EXPECT_EQ(t.getVerticalAlign(), TEXT_ALIGN_TOP);
    EXPECT_FALSE(t.getJustify());
    EXPECT_TRUE(t.isVisible());
    EXPECT_EQ(t.getPosition(), cVector2(10, 20));
    EXPECT_EQ(t.getHeight(), 48.0f);
    t.update();
    EXPECT_EQ(t.getGlyphs().size(), 7u);

    cText j;
    j.loadFromIni(ini("config/text.ini"), L"J");
    EXPECT_EQ(j.getHorizontalAlign(), TEXT_ALIGN_CENTER);
    EXPECT_TRUE(j.getJustify());
    EXPECT_EQ(j.getVerticalAlign(), TEXT_ALIGN_BOTTOM);
    cText n;
    n.loadFromIni(ini("config/text.ini"), L"N");
    EXPECT_EQ(n.getHorizontalAlign(), TEXT_ALIGN_CENTER);   // the words are case-sensitive
    EXPECT_EQ(n.getVerticalAlign(), TEXT_ALIGN_FIRST_LINE);
    EXPECT_TRUE(n.getJustify());
    EXPECT_EQ(n.setVerticalAlignByName(L"CENTER"), TEXT_ALIGN_CENTER);
    EXPECT_EQ(n.setHorizontalAlignByName(L"LEFT"), TEXT_ALIGN_LEFT);
    EXPECT_EQ(n.getHorizontalAlign(), TEXT_ALIGN_LEFT);
}

TEST_F(TextTest, XmlAttributesAreTheSameKeys) {
    std::string xml = "<Text string=\"A/nBC\" font=\"fonts/fixed.rwf\" texture=\"fonts/fixed.png\" align=\"RIGHT\" "
                      "align_ver=\"BOTTOM\" line_spacing=\"10\" justify=\"1\"/>";
    std::string utf16("\xFF\xFE", 2);
    for (char c : xml) utf16 += std::string{c, '\0'};
    std::unique_ptr<cXmlNode> node = cXmlNode::fromBytes(utf16.data(), utf16.size());
    cText t;
    t.loadFromNode(*node);
    EXPECT_EQ(t.getString(), L"A/nBC");
    EXPECT_EQ(t.getFontName(), "fonts/fixed.rwf");
    EXPECT_EQ(t.getLayerTexture(0), "fonts/fixed.png");
    EXPECT_EQ(t.getHorizontalAlign(), TEXT_ALIGN_RIGHT);
    EXPECT_EQ(t.getVerticalAlign(), TEXT_ALIGN_BOTTOM);
    EXPECT_TRUE(t.getJustify());
    EXPECT_EQ(t.getSize(), cVector2(24, 20));
}

TEST_F(TextTest, WithoutAFontOrAnImageNothingIsDrawn) {
    cText noFont;
    noFont.setLayerTexture(0, "fonts/fixed.png");
    noFont.setString(L"AB/nC");
    noFont.show();
    noFont.update();
    EXPECT_TRUE(noFont.getGlyphs().empty());
    EXPECT_EQ(noFont.getWidth(), 0.0f);
    EXPECT_EQ(noFont.getLineWidths().size(), 2u);

    cText noImage;
    noImage.setFont("fonts/fixed.rwf");
    noImage.setString(L"AB");
    noImage.show();
    noImage.update();
    EXPECT_TRUE(noImage.getGlyphs().empty());

    cText missingImage;
    missingImage.setFont("fonts/fixed.rwf");
    missingImage.setLayerTexture(0, "fonts/none.png");
    missingImage.setString(L"AB");
    missingImage.show();
    missingImage.update();
    EXPECT_TRUE(missingImage.getGlyphs().empty());

    // A font that is not loaded is reported, and the text keeps the font it had.
    EXPECT_THROW(
        try { missingImage.setFont("fonts/none.rwf"); } catch (const std::string& text) {
            EXPECT_EQ(text, "Resource 'fonts/none.rwf' is not loaded.");
            throw;
        },
        std::string);
    EXPECT_EQ(missingImage.getFontName(), "fonts/fixed.rwf");
    EXPECT_NE(missingImage.getFont(), nullptr);
    missingImage.setFont("");
    EXPECT_EQ(missingImage.getFont(), nullptr);
}

TEST_F(TextTest, TheTextsOriginDisplacesEveryGlyphAtTheNextRebuild) {
    struct Case {
        const char* font;
        const wchar_t* s;
        std::vector<cVector2> before;   // centres (plain) or top-left corners (offset mode)
    } cases[] = {
        {"fonts/fixed.rwf", L"AB", {{106, 50}, {118, 50}}},
        {"fonts/offset.rwf", L"AV", {{100, 40}, {110, 52}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font);
        auto t = makeText(c.s, TEXT_ALIGN_LEFT, TEXT_ALIGN_FIRST_LINE, 20, c.font);
        expectPoints(centres(*t), c.before);
        t->setTransformOrigin(cVector2(10, -5));
        EXPECT_TRUE(t->isGlyphsDirty());
        expectPoints(centres(*t), c.before);   // nothing moves before the rebuild
        t->update();
        std::vector<cVector2> after;
        for (cVector2 p : c.before) after.push_back(p - cVector2(10, -5));
        expectPoints(centres(*t), after);
    }
}

TEST_F(TextTest, AFontWithOutlandishMetricsLaysOutWithoutWrappingItsNumbers) {
    // A glyph 4e7 image widths wide: its half width in tenths of a pixel is beyond 32 bits.
    font_test::FontFile f;
    f.glyphs = {{u'W', 0.0f, 0.0f, 0.1f, 0.1f, 4.0e7f}, {u'N', 0.1f, 0.0f, 0.2f, 0.1f, std::nanf("")},
                {u'A', 0.2f, 0.0f, 0.3f, 0.1f, 0.1f}};
    addFile("fonts/wild.rwf", f.bytes());
    auto t = makeText(L"W", TEXT_ALIGN_LEFT, TEXT_ALIGN_FIRST_LINE, 20, "fonts/wild.rwf");
    ASSERT_EQ(t->getGlyphs().size(), 1u);
    EXPECT_GT(glyphCentre(t->getGlyphs()[0]).x, 1.0e9f);   // to the right of the anchor, as drawn
    // A glyph whose advance is not a number draws nothing.
    EXPECT_TRUE(t->setString(L"NA"));
    t->update();
    EXPECT_EQ(t->getGlyphs().size(), 1u);
}
