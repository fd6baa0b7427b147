#include "engine/media/cBitmapFont.h"

#include <cstring>
#include <memory>

#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cStream.h"

namespace {

// Sequential little-endian reader over the file's bytes.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    // True when count more bytes are there; they are then consumed by the getters.
    bool has(size_t count) const { return m_size - m_pos >= count; }
    uint16_t u16() {
        uint16_t v = readLE16(m_data + m_pos);
        m_pos += 2;
        return v;
    }
    uint32_t u32() {
        uint32_t v = readLE32(m_data + m_pos);
        m_pos += 4;
        return v;
    }
    float f32() {
        uint32_t bits = u32();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    void skip(size_t count) { m_pos += count; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

const cGlyph kNoGlyph{};

bool isUnit(wchar_t c) { return uint32_t(c) <= 0xFFFFu; }

}  // namespace

cBitmapFont::cBitmapFont(const cStringA& name, int group) : cResource(RESOURCE_FONT, name, group) {
    if (!getFileManager()) throw cStringA("Font \"") + name + "\": there is no file manager.";
    std::unique_ptr<cStream> stream(getFileManager()->openRead(name));
    std::vector<uint8_t> bytes = readWholeStream(*stream);
    stream.reset();
    parse(bytes.data(), bytes.size());
}

cBitmapFont::cBitmapFont(const cStringA& name, int group, const void* data, size_t size)
    : cResource(RESOURCE_FONT, name, group) {
    parse(static_cast<const uint8_t*>(data), data ? size : 0);
}

void cBitmapFont::parse(const uint8_t* data, size_t size) {
    Reader in(data, size);
    if (!in.has(kHeadSize)) throw "Error reading head of font.";
    if (in.u32() != kMagic) throw "Invalid font format.";
    uint16_t count = in.u16();
    for (uint16_t i = 0; i < count; ++i) {
        if (!in.has(kGlyphSize)) throw "Error reading symbol.";
        cGlyph& g = m_glyphs[in.u16()];
        g.left = in.f32();
        g.top = in.f32();
        g.right = in.f32();
        g.bottom = in.f32();
        g.advance = in.f32();
        g.offsetX = g.offsetY = 0.0f;
    }
    if (!in.has(kBlockSize)) return;
    in.skip(kBlockSize);
    for (uint16_t i = 0; i < count; ++i) {
        if (!in.has(kOffsetSize)) return;
        cGlyph& g = m_glyphs[in.u16()];
        g.offsetX = in.f32();
        g.offsetY = in.f32();
        m_has_offsets = true;
    }
    while (in.has(kPairSize)) {
        cGlyphPair p;
        p.first = in.u16();
        p.second = in.u16();
        p.valueA = in.f32();
        p.valueB = in.f32();
        m_pairs.push_back(p);
    }
}

const cGlyph& cBitmapFont::getGlyph(wchar_t character) const {
    if (!isUnit(character)) return kNoGlyph;
    auto it = m_glyphs.find(uint16_t(character));
    return it == m_glyphs.end() ? kNoGlyph : it->second;
}

bool cBitmapFont::hasGlyph(wchar_t character) const {
    return isUnit(character) && m_glyphs.count(uint16_t(character)) != 0;
}

const cGlyphPair* cBitmapFont::findPair(wchar_t first, wchar_t second) const {
    if (!isUnit(first) || !isUnit(second)) return nullptr;
    for (const cGlyphPair& p : m_pairs)
        if (p.first == uint16_t(first) && p.second == uint16_t(second)) return &p;
    return nullptr;
}

float cBitmapFont::getPairValueA(wchar_t first, wchar_t second) const {
    const cGlyphPair* p = findPair(first, second);
    return p ? p->valueA : 0.0f;
}

float cBitmapFont::getPairValueB(wchar_t first, wchar_t second) const {
    const cGlyphPair* p = findPair(first, second);
    return p ? p->valueB : 0.0f;
}

void cBitmapFont::registerResourceFactory() {
    cResourceManager::registerFactory(RESOURCE_FONT, [](const cStringA& name, int group) -> cResource* {
        return new cBitmapFont(name, group);
    });
}
