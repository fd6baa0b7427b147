#pragma once
// What a player can read of a headless frame. A look draws the frame as the logic did and once
// more without the glyphs of any text (nothing else changes in between), so the pixels behind
// every text are known. For each text on show it finds the glyph colour as drawn (the glyph
// quad's colour times the colour of the font image's ink), the screen box of every glyph cell
// and the lines; it judges the WCAG contrast of the glyph colour against what lies behind the
// cells, and whether the lines of one text overlap. The frames go onto one contact sheet.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/cRect.h"
#include "engine/media/ImageDecoder.h"
#include "engine/media/cDrawRecord.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cRenderQuad.h"
#include "engine/scene/cSceneNode.h"
#include "engine/scene/cSprite.h"
#include "engine/scene/cText.h"
#include "tests/engine/core/test_file_env.h"
#include "tests/engine/media/test_graphics_support.h"

namespace readability_test {

// WCAG relative luminance of an sRGB colour 0xRRGGBB.
inline double luminance(uint32_t rgb) {
    auto linear = [](uint32_t c) {
        const double v = double(c & 0xFF) / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(rgb >> 16) + 0.7152 * linear(rgb >> 8) + 0.0722 * linear(rgb);
}

inline double contrast(uint32_t a, uint32_t b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Whole screen pixels [left, right) x [top, bottom).
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool intersects(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

inline std::string describe(const Box& b) {
    std::ostringstream s;
    s << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
    return s.str();
}

// Where the sprite's quad lands on the screen this frame.
inline Box screenBox(cSprite* sprite) {
    const cDrawRecord record = sprite->makeDrawRecord();
    if (!record.quad) return Box{};
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (int k = 0; k < 4; ++k) {
        const cVector2 c = record.quad->transformedCorner(k);
        x0 = std::min(x0, c.x), y0 = std::min(y0, c.y), x1 = std::max(x1, c.x), y1 = std::max(y1, c.y);
    }
    return Box{int(std::floor(x0 + 0.01f)), int(std::floor(y0 + 0.01f)), int(std::ceil(x1 - 0.01f)), int(std::ceil(y1 - 0.01f))};
}

inline bool isGlyph(const cSprite* sprite) {
    const cSceneNode* parent = sprite ? sprite->getParent() : nullptr;
    return parent && parent->getTypeId() == SCENE_TEXT;
}

// The sprites of the render set in drawing order.
inline std::vector<cSprite*> drawnSprites() { return getRenderSetSnapshot(); }

struct Frame {
    std::vector<uint32_t> pixels;   // 0xAARRGGBB
    uint32_t width = 0, height = 0;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + size_t(x)] & 0xFFFFFFu; }
};

inline Frame readFrame() {
    Frame f;
    EXPECT_EQ(getGraphics()->readBackBuffer(&f.pixels, &f.width, &f.height), 0);
    return f;
}

// The frame once more, every sprite but the glyphs of texts.
inline Frame drawWithoutTexts() {
    cGraphics* graphics = getGraphics();
    graphics->beginFrame();
    forEachInRenderSet([](cSprite* s) {
        if (!isGlyph(s)) drawObject(s);
    });
    graphics->endFrame();
    return readFrame();
}

struct TextOnShow {
    cText* text = nullptr;
    std::wstring string;
    uint32_t rgb = 0;            // the glyph colour as drawn
    std::vector<Box> cells;      // on the screen, clipped
    Box box;                     // around the cells
    float cellHeight = 0.0f;
};

class ScreenReader {
public:
    explicit ScreenReader(std::filesystem::path data) : m_data(std::move(data)) {}

    // The colour of the ink in the font image (fonts are one colour; white without ink).
    uint32_t inkOf(const cStringA& textureName) {
        std::string name = textureName.str();
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        auto found = m_ink.find(name);
        if (found != m_ink.end()) return found->second;
        uint32_t ink = 0xFFFFFFu;
        const std::string bytes = file_test::readDiskFile((m_data / name).string());
        if (!bytes.empty()) {
            const cImage image = decodeImage(bytes.data(), bytes.size());
            uint32_t best = 0;
            for (uint32_t p : image.pixels)
                if ((p >> 24) > best) best = p >> 24, ink = p & 0xFFFFFFu;
        }
        return m_ink[name] = ink;
    }

    // The texts whose glyphs are drawn this frame at nearly full alpha, on the screen.
    std::vector<TextOnShow> textsOnShow(const std::vector<cSprite*>& drawn, uint32_t width, uint32_t height) {
        std::map<cText*, TextOnShow> byText;
        std::vector<cText*> order;
        for (cSprite* s : drawn) {
            if (!isGlyph(s)) continue;
            const cDrawRecord record = s->makeDrawRecord();
            if (!record.quad || (record.quad->vertices[0].color >> 24) < 200) continue;
            Box b = screenBox(s);
            const float fullHeight = float(b.height());
            b.left = std::max(b.left, 0), b.top = std::max(b.top, 0);
            b.right = std::min(b.right, int(width)), b.bottom = std::min(b.bottom, int(height));
            if (b.empty()) continue;
            auto* text = static_cast<cText*>(s->getParent());
            auto [it, added] = byText.try_emplace(text);
            TextOnShow& t = it->second;
            if (added) {
                order.push_back(text);
                t.text = text;
                t.string = text->getString().str();
                const uint32_t vertex = record.quad->vertices[0].color, ink = inkOf(s->getLayerTexture(0));
                for (int shift = 0; shift < 24; shift += 8)
                    t.rgb |= (((vertex >> shift) & 0xFF) * ((ink >> shift) & 0xFF) / 255) << shift;
                t.box = b;
            }
            t.cells.push_back(b);
            t.cellHeight = std::max(t.cellHeight, fullHeight);
            t.box = Box{std::min(t.box.left, b.left), std::min(t.box.top, b.top), std::max(t.box.right, b.right),
                        std::max(t.box.bottom, b.bottom)};
        }
        std::vector<TextOnShow> out;
        for (cText* t : order) out.push_back(byText[t]);
        return out;
    }

    // The share of the pixels behind the text's cells that stand 3:1 or more from its colour.
    static double legibleShare(const TextOnShow& t, const Frame& behind, double* worst = nullptr) {
        std::vector<bool> seen(size_t(behind.width) * behind.height, false);
        size_t total = 0, good = 0;
        double low = 1e9;
        for (const Box& c : t.cells)
            for (int y = c.top; y < c.bottom; ++y)
                for (int x = c.left; x < c.right; ++x) {
                    const size_t i = size_t(y) * behind.width + size_t(x);
                    if (seen[i]) continue;
                    seen[i] = true;
                    const double r = contrast(t.rgb, behind.at(x, y));
                    low = std::min(low, r);
                    ++total;
                    good += r >= 3.0;
                }
        if (worst) *worst = low;
        return total ? double(good) / double(total) : 1.0;
    }

private:
    std::filesystem::path m_data;
    std::map<std::string, uint32_t> m_ink;
};

// Frames in rows of four at half size, on dark grey.
class ContactSheet {
public:
    void add(const Frame& f) { m_frames.push_back(f); }
    bool save(const std::string& name) const {
        constexpr uint32_t kColumns = 4, kGap = 8;
        if (m_frames.empty()) return false;
        const uint32_t cw = m_frames[0].width / 2, ch = m_frames[0].height / 2;
        const uint32_t rows = uint32_t(m_frames.size() + kColumns - 1) / kColumns;
        const uint32_t w = kColumns * cw + (kColumns + 1) * kGap, h = rows * ch + (rows + 1) * kGap;
        std::vector<uint32_t> sheet(size_t(w) * h, 0xFF303030u);
        for (size_t n = 0; n < m_frames.size(); ++n) {
            const Frame& f = m_frames[n];
            const uint32_t ox = kGap + uint32_t(n % kColumns) * (cw + kGap), oy = kGap + uint32_t(n / kColumns) * (ch + kGap);
            for (uint32_t y = 0; y < ch && 2 * y + 1 < f.height; ++y)
                for (uint32_t x = 0; x < cw && 2 * x + 1 < f.width; ++x) {
                    uint32_t sum[3] = {0, 0, 0};
                    for (uint32_t dy = 0; dy < 2; ++dy)
                        for (uint32_t dx = 0; dx < 2; ++dx) {
                            const uint32_t p = f.pixels[size_t(2 * y + dy) * f.width + 2 * x + dx];
                            for (int c = 0; c < 3; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
                        }
                    sheet[size_t(oy + y) * w + ox + x] = 0xFF000000u | (sum[2] / 4) << 16 | (sum[1] / 4) << 8 | (sum[0] / 4);
                }
        }
        return render_test::saveTestFrame(sheet, w, h, name);
    }

private:
    std::vector<Frame> m_frames;
};

}  // namespace readability_test
