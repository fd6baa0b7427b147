#include "engine/media/cDebugOverlay.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "platform/device/Device.h"

namespace {
constexpr uint32_t kFirst = 32, kLast = 126;

struct OverlayVertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(OverlayVertex) == 24);
}  // namespace

cDebugOverlay::cDebugOverlay() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return;
    FT_Face face = nullptr;
    if (FT_New_Face(library, kFontPath, 0, &face) != 0 || FT_Set_Pixel_Sizes(face, 0, kPixelHeight) != 0) {
        if (face) FT_Done_Face(face);
        FT_Done_FreeType(library);
        return;
    }
    m_ascender = int(face->size->metrics.ascender >> 6);
    m_line_height = int(face->size->metrics.height >> 6);
    // Glyphs side by side in one row-packed atlas of 256 pixels width.
    const uint32_t atlasWidth = 256;
    struct Bitmap {
        std::vector<uint8_t> alpha;
        int w = 0, h = 0;
    };
    std::vector<Bitmap> bitmaps(kLast - kFirst + 1);
    m_glyphs.assign(kLast - kFirst + 1, Glyph());
    uint32_t x = 1, y = 1, rowHeight = 0;
    std::vector<std::pair<uint32_t, uint32_t>> places(bitmaps.size());
    for (uint32_t c = kFirst; c <= kLast; ++c) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) continue;
        FT_GlyphSlot g = face->glyph;
        Bitmap& b = bitmaps[c - kFirst];
        b.w = int(g->bitmap.width);
        b.h = int(g->bitmap.rows);
        b.alpha.resize(size_t(b.w) * b.h);
        for (int r = 0; r < b.h; ++r)
            for (int i = 0; i < b.w; ++i) b.alpha[size_t(r) * b.w + i] = g->bitmap.buffer[r * g->bitmap.pitch + i];
        Glyph& glyph = m_glyphs[c - kFirst];
        glyph.width = b.w;
        glyph.height = b.h;
        glyph.left = g->bitmap_left;
        glyph.top = g->bitmap_top;
        glyph.advance = int(g->advance.x >> 6);
        if (x + b.w + 1 > atlasWidth) {
            x = 1;
            y += rowHeight + 1;
            rowHeight = 0;
        }
        places[c - kFirst] = {x, y};
        x += b.w + 1;
        rowHeight = std::max(rowHeight, uint32_t(b.h));
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    m_atlas_width = atlasWidth;
    m_atlas_height = 1;
    while (m_atlas_height < y + rowHeight + 1) m_atlas_height *= 2;
    m_atlas.assign(size_t(m_atlas_width) * m_atlas_height, 0x00FFFFFFu);
    for (uint32_t c = kFirst; c <= kLast; ++c) {
        const Bitmap& b = bitmaps[c - kFirst];
        auto [px, py] = places[c - kFirst];
        for (int r = 0; r < b.h; ++r)
            for (int i = 0; i < b.w; ++i)
                m_atlas[size_t(py + r) * m_atlas_width + px + i] = uint32_t(b.alpha[size_t(r) * b.w + i]) << 24 | 0x00FFFFFFu;
        Glyph& glyph = m_glyphs[c - kFirst];
        glyph.u0 = float(px) / float(m_atlas_width);
        glyph.v0 = float(py) / float(m_atlas_height);
        glyph.u1 = float(px + b.w) / float(m_atlas_width);
        glyph.v1 = float(py + b.h) / float(m_atlas_height);
    }
    m_has_glyphs = true;
}

cDebugOverlay::~cDebugOverlay() { releaseDeviceObjects(); }

void cDebugOverlay::createDeviceObjects(cDevice* device) {
    if (!m_has_glyphs || m_texture || !device) return;
    if (devFailed(device->createTexture(m_atlas_width, m_atlas_height, MemoryPool::Managed, &m_texture))) {
        m_texture = nullptr;
        return;
    }
    m_texture->upload(m_atlas.data());
}

void cDebugOverlay::releaseDeviceObjects() {
    if (m_texture) m_texture->release();
    m_texture = nullptr;
}

unsigned cDebugOverlay::draw(cDevice* device, const std::wstring& text, unsigned width, unsigned height, uint32_t color) {
    if (!m_texture || !device || text.empty()) return 0;
    std::vector<OverlayVertex> vertices;
    int penX = 0, baseline = m_ascender;
    for (wchar_t ch : text) {
        if (ch == L'\n') {
            penX = 0;
            baseline += m_line_height;
            continue;
        }
        uint32_t c = uint32_t(ch);
        if (c < kFirst || c > kLast) c = '?';
        const Glyph& g = m_glyphs[c - kFirst];
        if (g.width > 0 && g.height > 0 && penX < int(width) && baseline - g.top < int(height)) {
            float x0 = float(penX + g.left) - 0.5f, y0 = float(baseline - g.top) - 0.5f;
            float x1 = x0 + float(g.width), y1 = y0 + float(g.height);
            OverlayVertex a{x0, y0, 0, color, g.u0, g.v0}, b{x1, y0, 0, color, g.u1, g.v0};
            OverlayVertex c2{x0, y1, 0, color, g.u0, g.v1}, d{x1, y1, 0, color, g.u1, g.v1};
            vertices.insert(vertices.end(), {a, c2, b, b, c2, d});
        }
        penX += g.advance;
    }
    if (vertices.empty()) return 0;
    device->setRenderState(RenderState::AlphaBlendEnable, 1);
    device->setRenderState(RenderState::AlphaTestEnable, 0);
    device->setRenderState(RenderState::SrcBlend, BLEND_SRCALPHA);
    device->setRenderState(RenderState::DestBlend, BLEND_INVSRCALPHA);
    device->setRenderState(RenderState::ZEnable, 0);
    device->setRenderState(RenderState::ZWriteEnable, 0);
    device->setTexture(0, m_texture);
    device->setTexture(1, nullptr);
    device->setStageState(0, StageState::MagFilter, TEXF_POINT);
    device->setStageState(0, StageState::MinFilter, TEXF_POINT);
    device->setStageState(1, StageState::ColorOp, TOP_DISABLE);
    device->setVertexFormat(VF_POSITION | VF_DIFFUSE | VF_TEX1);
    device->drawPrimitiveUp(PrimitiveType::TriangleList, uint32_t(vertices.size() / 3), vertices.data(),
                            sizeof(OverlayVertex));
    device->setTexture(0, nullptr);
    return unsigned(vertices.size() / 6);
}
