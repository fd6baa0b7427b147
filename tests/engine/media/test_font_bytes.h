#pragma once
// Bitmap font files built in memory for the font and text tests.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace font_test {

struct GlyphRec {
    uint16_t character;
    float left, top, right, bottom, advance;
};
struct OffsetRec {
    uint16_t character;
    float x, y;
};
struct PairRec {
    uint16_t first, second;
    float a, b;
};

inline void putU16(std::string& out, uint32_t v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}
inline void putF32(std::string& out, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    for (int i = 0; i < 4; ++i) out.push_back(char((bits >> (8 * i)) & 0xFF));
}

// A font file: head, glyphs, then (when withBlock) the reserved block, the offsets and the
// pairs. count overrides the glyph count of the head when not negative.
struct FontFile {
    std::vector<GlyphRec> glyphs;
    bool withBlock = false;
    std::vector<OffsetRec> offsets;
    std::vector<PairRec> pairs;
    int count = -1;
    std::string magic = "TFWR";

    std::string bytes() const {
        std::string out = magic;
        putU16(out, uint32_t(count >= 0 ? count : int(glyphs.size())));
        for (const GlyphRec& g : glyphs) {
            putU16(out, g.character);
            for (float v : {g.left, g.top, g.right, g.bottom, g.advance}) putF32(out, v);
        }
        if (!withBlock) return out;
        out.append(8, '\0');
        for (const OffsetRec& o : offsets) {
            putU16(out, o.character);
            putF32(out, o.x);
            putF32(out, o.y);
        }
        for (const PairRec& p : pairs) {
            putU16(out, p.first);
            putU16(out, p.second);
            putF32(out, p.a);
            putF32(out, p.b);
        }
        return out;
    }
};

// A font whose every glyph is 0.1 of the image wide (12 pixels on a 120-pixel image), the
// blank half of that; each glyph has its own cell of a 10 x 10 grid.
inline std::vector<GlyphRec> fixedGlyphs(const std::u16string& characters, float advance = 0.1f) {
    std::vector<GlyphRec> out;
    for (size_t i = 0; i < characters.size(); ++i) {
        float l = float(i % 10) * 0.1f, t = float(i / 10 % 10) * 0.1f;
        out.push_back({uint16_t(characters[i]), l, t, l + 0.1f, t + 0.1f, characters[i] == u' ' ? advance / 2 : advance});
    }
    return out;
}

}  // namespace font_test
