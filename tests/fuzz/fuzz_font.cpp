// The bitmap-font reader on arbitrary bytes: it either loads a font or throws a text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/media/cBitmapFont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        cBitmapFont font("fuzz.rwf", 0, data, size);
        if (font.getGlyphCount() > 0xFFFF) __builtin_trap();
        float sum = 0.0f;
        for (const cGlyphPair& p : font.getPairs()) sum += font.getPairValueA(p.first, p.second);
        (void)sum;
        (void)font.getGlyph(L'A');
        // Looking a character up never adds it.
        const bool had = font.hasGlyph(L'\x7F');
        (void)font.getGlyph(L'\x7F');
        if (font.hasGlyph(L'\x7F') != had) __builtin_trap();
    } catch (const char*) {
    }
    return 0;
}
