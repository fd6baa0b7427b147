// A text and a button drawn by the renderer on the headless OpenGL device with the demo font:
// every texel of each glyph's cell shows at the place the text's layout gives it, ink where
// the font image has ink, the background (black, or the button's blue) where it has none.

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/ImageDecoder.h"
#include "engine/media/cBitmapFont.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cTexture.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cEngineSceneServices.h"
#include "engine/scene/cText.h"
#include "tests/engine/core/test_file_env.h"

namespace {

constexpr uint32_t kBlue = 0xFF2040C0u;

// The engine's services with a few textures made in memory.
class MemoryTextureServices : public cEngineSceneServices {
public:
    std::map<std::string, cTexture*> textures;
    cTexture* getTexture(const cStringA& name) override {
        auto it = textures.find(name);
        return it == textures.end() ? cEngineSceneServices::getTexture(name) : it->second;
    }
};

class WidgetPixels : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"fonts/main.rwf", "fonts/main.dds"}) {
            std::string bytes = file_test::readDiskFile(std::string(RW_DIST_DIR) + "/Data/" + name);
            ASSERT_FALSE(bytes.empty()) << name;
            world.put(name, bytes);
        }
        const std::string dds = file_test::readDiskFile(world.data / "fonts/main.dds");
        image = decodeImage(dds.data(), dds.size());
        cGraphics::setDesktopWidthOverride(1920);
        try {
            graphics = std::make_unique<cGraphics>(nullptr);
        } catch (...) {
            FAIL() << "no headless OpenGL device could be made";
        }
        files = std::make_unique<cFileManager>(cStringA(world.dataArg()), cStringA("kbf"));
        cBitmapFont::registerResourceFactory();
        resources = std::make_unique<cResourceManager>();
        resources->load("fonts/main.rwf", 10);
        resources->load("fonts/main.dds", 10);
        font = resources->getFont("fonts/main.rwf");
        std::vector<uint8_t> png = encodePng([] {
            cImage blue;
            blue.width = 120;
            blue.height = 40;
            blue.pixels.assign(120 * 40, kBlue);
            return blue;
        }());
        buttonTexture = std::make_unique<cTexture>("b/blue.png", 0, png.data(), uint32_t(png.size()));
        services.textures["b/blue.png"] = buttonTexture.get();
        previous = setSceneServices(&services);
    }
    void TearDown() override {
        updateTopLevelNodes(nullptr);
        setSceneServices(previous);
        buttonTexture.reset();
        resources.reset();
        files.reset();
        graphics.reset();
        cGraphics::setDesktopWidthOverride(0);
    }
    void drawFrame() {
        updateTopLevelNodes(&updateNode);
        graphics->beginFrame();
        forEachInRenderSet(drawObject);
        graphics->endFrame();
        uint32_t w = 0, h = 0;
        ASSERT_EQ(graphics->readBackBuffer(&pixels, &w, &h), DEV_OK);
        ASSERT_EQ(w, 800u);
        ASSERT_EQ(h, 600u);
    }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * 800 + size_t(x)]; }
    // Pixel height of the font's line (every cell is one line high).
    float lineHeight() const { return (font->getGlyph(L'H').bottom - font->getGlyph(L'H').top) * float(image.height); }

    // Compares the frame with the glyphs' cells placed where the layout puts them (each
    // centre at its position minus its transform origin): pixels where a cell has full ink
    // are white, pixels where every cell covering them is clear show the background.
    void expectGlyphsDrawn(const cText& text, uint32_t background) {
        std::map<std::pair<int, int>, uint32_t> alphaAt;   // the most ink any cell has there
        for (const cPicture* g : text.getGlyphs()) {
            cRect r = g->getLayer0TextureRect();
            const int w = int(std::lround(r.right - r.left)), h = int(std::lround(r.bottom - r.top));
            const cVector2 centre = g->getPosition() - g->getTransformOrigin();
            const float left = centre.x - float(w) / 2.0f, top = centre.y - float(h) / 2.0f;
            ASSERT_FLOAT_EQ(left, std::round(left));
            ASSERT_FLOAT_EQ(top, std::round(top));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const uint32_t alpha = image.at(uint32_t(std::lround(r.left)) + uint32_t(x),
                                                    uint32_t(std::lround(r.top)) + uint32_t(y)) >> 24;
                    uint32_t& most = alphaAt[{int(left) + x, int(top) + y}];
                    most = std::max(most, alpha);
                }
        }
        int ink = 0, clear = 0;
        for (const auto& [p, alpha] : alphaAt) {
            const uint32_t px = at(p.first, p.second) & 0xFFFFFF;
            if (alpha == 255) {
                ++ink;
                ASSERT_EQ(px, 0xFFFFFFu) << "ink at " << p.first << "," << p.second;
            } else if (alpha == 0) {
                ++clear;
                ASSERT_EQ(px, background & 0xFFFFFF) << "clear at " << p.first << "," << p.second;
            }
        }
        EXPECT_GT(ink, 40);
        EXPECT_GT(clear, 100);
    }

    file_test::TempWorld world;
    cImage image;
    std::unique_ptr<cGraphics> graphics;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cTexture> buttonTexture;
    cBitmapFont* font = nullptr;
    MemoryTextureServices services;
    cSceneServices* previous = nullptr;
    std::vector<uint32_t> pixels;
};

}  // namespace

TEST_F(WidgetPixels, GlyphsOfATextAppearWhereTheLayoutPutsThem) {
    cText text;
    text.setFont("fonts/main.rwf");
    text.setLayerTexture(0, "fonts/main.dds");
    text.setString(L"Hg 7/nWx");
    text.setHorizontalAlign(TEXT_ALIGN_LEFT);
    text.setLineSpacing(uint32_t(lineHeight()));
    // The first line's cells start on whole pixels: their top at y 200.
    text.setPosition(cVector2(100, 200 + lineHeight() / 2.0f));
    text.show();
    text.enable();
    drawFrame();
    ASSERT_EQ(text.getGlyphs().size(), 6u);   // the blank has a transparent glyph too
    expectGlyphsDrawn(text, 0xFF000000u);
    // Nothing left of the text, nothing below its two lines.
    for (int y = 150; y < 300; ++y) EXPECT_EQ(at(90, y) & 0xFFFFFF, 0u);
    for (int x = 90; x < 300; ++x) EXPECT_EQ(at(x, 200 + 2 * int(lineHeight()) + 2) & 0xFFFFFF, 0u);
}

TEST_F(WidgetPixels, AButtonWithItsLabelDrawsTheLabelOverTheButton) {
    const float lh = lineHeight();
    cIniFile ini;
    const cStringW s(L"OK_BUTTON");
    auto put = [&](const wchar_t* key, const std::wstring& value) { ini.addEntry(s, key, value); };
    put(L"position", L"400,450");
    put(L"deep", L"5");
    put(L"size", L"120,40");
    put(L"texture_normal", L"b/blue.png");
    put(L"texture_hover", L"b/blue.png");
    put(L"texture_pressed", L"b/blue.png");
    put(L"text", L"OK");
    put(L"text_offset", L"-20," + std::to_wstring(lh / 2.0f - 10.0f));
    put(L"font", L"fonts/main.rwf");
    put(L"texture", L"fonts/main.dds");
    put(L"align", L"LEFT");
    put(L"font_normal", L"fonts/main.dds");
    cButton button;
    button.loadFromIni(ini, s);
    drawFrame();
    ASSERT_NE(button.getLabel(), nullptr);
    ASSERT_EQ(button.getLabel()->getGlyphs().size(), 2u);
    expectGlyphsDrawn(*button.getLabel(), kBlue);
    // The button's own pixels around the label, and nothing outside it.
    EXPECT_EQ(at(341, 431) & 0xFFFFFF, kBlue & 0xFFFFFF);
    EXPECT_EQ(at(458, 468) & 0xFFFFFF, kBlue & 0xFFFFFF);
    EXPECT_EQ(at(339, 450) & 0xFFFFFF, 0u);
    EXPECT_EQ(at(460, 450) & 0xFFFFFF, 0u);
}
