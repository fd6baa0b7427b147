#pragma once
// The debug overlay's text: a bold sans-serif font (DejaVu Sans Bold, 16 pixels) rendered with
// FreeType into one texture of printable ASCII glyphs, drawn as textured quads from the top-left
// corner of the back buffer. Lines end at "\n"; characters without a glyph show as '?'.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class cDevice;
class cDeviceTexture;

class cDebugOverlay {
public:
    static constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    static constexpr unsigned kPixelHeight = 16;

    // Loads the font face (once); a missing font leaves the overlay without glyphs (it then
    // draws nothing) rather than failing the renderer.
    cDebugOverlay();
    ~cDebugOverlay();

    // Makes the glyph texture on the device; releaseDeviceObjects drops it (device reset).
    void createDeviceObjects(cDevice* device);
    void releaseDeviceObjects();
    bool hasGlyphs() const { return m_has_glyphs; }

    // Draws the text inside (0, 0, width, height) with the colour (0xAARRGGBB). Returns the
    // number of glyph quads drawn.
    unsigned draw(cDevice* device, const std::wstring& text, unsigned width, unsigned height, uint32_t color);

private:
    struct Glyph {
        float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
        int width = 0, height = 0, left = 0, top = 0, advance = 0;
    };
    bool m_has_glyphs = false;
    std::vector<Glyph> m_glyphs;   // characters 32..126
    std::vector<uint32_t> m_atlas;
    uint32_t m_atlas_width = 0, m_atlas_height = 0;
    int m_ascender = 0, m_line_height = 0;
    cDeviceTexture* m_texture = nullptr;
};
