#pragma once
// Bitmap fonts (resource type 4, files "*.rwf"): metrics only. Each character has the rectangle
// of its image inside a separate font texture, its advance, optionally an offset, and the font
// has a table of per-pair adjustments. Horizontal values are fractions of the font image's
// width, vertical values fractions of its height, so one font file serves any size of image.
//
// File layout (little-endian):
//   0        4      magic "TFWR"
//   4        2      glyph count G
//   6        22*G   glyphs: character (UTF-16 unit), left, top, right, bottom, advance (floats)
//   6+22G    8      reserved block (must be present for what follows)
//   14+22G   10*G   offsets (optional): character, x offset, y offset
//   14+32G   12*n   pairs to the end (optional): first, second, value A, value B
// The file may end after any complete record; what was read completely is kept.

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "engine/core/cResource.h"
#include "engine/core/cString.h"

struct cGlyph {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float advance = 0.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
};

struct cGlyphPair {
    uint16_t first = 0;
    uint16_t second = 0;
    float valueA = 0.0f;   // horizontal adjustment
    float valueB = 0.0f;   // vertical adjustment
};

class cBitmapFont : public cResource {
public:
    static constexpr uint32_t kMagic = 0x52574654u;   // "TFWR"
    static constexpr size_t kHeadSize = 6, kGlyphSize = 22, kBlockSize = 8, kOffsetSize = 10, kPairSize = 12;

    // Reads the file through the file manager. Throws "Error reading head of font.",
    // "Invalid font format." or "Error reading symbol." (plain texts).
    cBitmapFont(const cStringA& name, int group);
    // The same from bytes in memory.
    cBitmapFont(const cStringA& name, int group, const void* data, size_t size);
    ~cBitmapFont() override = default;

    cBitmapFont* asFont() override { return this; }

    // The glyph of a character; a character the font lacks gets an all-zero glyph (advance 0:
    // measured and drawn as nothing). Looking it up does not add it to the font.
    const cGlyph& getGlyph(wchar_t character) const;
    bool hasGlyph(wchar_t character) const;
    // Value A / B of the first pair record (file order) of exactly (first, second); 0 when none.
    float getPairValueA(wchar_t first, wchar_t second) const;
    float getPairValueB(wchar_t first, wchar_t second) const;
    // True once a complete offset record was read: texts then use their offset layout.
    bool hasGlyphOffsets() const { return m_has_offsets; }

    size_t getGlyphCount() const { return m_glyphs.size(); }
    const std::vector<cGlyphPair>& getPairs() const { return m_pairs; }

    // Registers the factory of type 4 with the resource manager (repeating it does no harm).
    static void registerResourceFactory();

private:
    void parse(const uint8_t* data, size_t size);
    const cGlyphPair* findPair(wchar_t first, wchar_t second) const;

    std::map<uint16_t, cGlyph> m_glyphs;
    std::vector<cGlyphPair> m_pairs;
    bool m_has_offsets = false;
};
