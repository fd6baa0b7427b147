#include "engine/scene/cText.h"

#include <cmath>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "engine/media/cBitmapFont.h"

namespace {

// Keeps one decimal, cut toward zero. A value whose tenths no 32-bit integer holds (only a
// broken font's metrics give one) is kept as it is rather than converted out of range.
float cutTenth(float v) {
    const float tenths = v * 10.0f;
    if (!(std::fabs(tenths) < 2147483648.0f)) return v;
    return float(int32_t(tenths)) * 0.1f;
}

// Moves v away from zero by 0.001 and keeps one decimal (cut toward zero).
float roundTenth(float v) { return cutTenth(v >= 0.0f ? v + 0.001f : v - 0.001f); }

bool isBreakAt(const cStringW& s, size_t i) { return s[i] == L'/' && i + 1 < s.size() && s[i + 1] == L'n'; }

}  // namespace

cText::cText(cSceneNode* parent) : cSprite(parent) {}

cText::~cText() {
    destroyGlyphs();
    hide();
    disable();
}

// ---- Notifications and loaders ----

void cText::update() {
    rebuildIfDirty();
    cSceneNode::update();
}

void cText::rebuildIfDirty() {
    if (m_glyphs_dirty) buildGlyphs();
}

int cText::horizontalCodeOf(const cStringW& word, bool* justify) {
    if (word == L"LEFT") return TEXT_ALIGN_LEFT;
    if (word == L"RIGHT") return TEXT_ALIGN_RIGHT;
    if (word == L"JUSTIFY" && justify) *justify = true;
    return TEXT_ALIGN_CENTER;
}

int cText::verticalCodeOf(const cStringW& word) {
    if (word == L"CENTER") return TEXT_ALIGN_CENTER;
    if (word == L"TOP") return TEXT_ALIGN_TOP;
    if (word == L"BOTTOM") return TEXT_ALIGN_BOTTOM;
    return TEXT_ALIGN_FIRST_LINE;
}

template <class Get>
void cText::loadTextKeys(const Get& get) {
    m_string = get(L"string");
    m_texture_names[0] = get(L"texture").toNarrow();
    m_shader_name = get(L"shader").toNarrow();
    stringToUnsigned(&m_line_spacing, get(L"line_spacing"));
    stringToBool(&m_justify, get(L"justify"));
    setFont(get(L"font").toNarrow());
    m_align = horizontalCodeOf(get(L"align"), &m_justify);
    m_align_ver = verticalCodeOf(get(L"align_ver"));
    m_layout_dirty = m_glyphs_dirty = true;
}

void cText::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cSprite::loadFromIni(ini, section);
    loadTextKeys([&](const wchar_t* key) { return ini.getValue(section.c_str(), key); });
}

void cText::loadFromNode(const cXmlNode& node) {
    cSprite::loadFromNode(node);
    loadTextKeys([&](const wchar_t* key) { return node.getAttribute(key); });
}

// ---- Sprite operations passed on to the glyphs ----

void cText::setTransformOrigin(const cVector2& origin) {
    cSprite::setTransformOrigin(origin);
    m_glyphs_dirty = true;
}

void cText::setUniformScale(float scale) {
    cSprite::setUniformScale(scale);
    for (cPicture* g : m_glyphs) g->setUniformScale(scale);
}

void cText::setScale(const cVector2& scale) {
    cSprite::setScale(scale);
    for (cPicture* g : m_glyphs) g->setScale(scale);
}

void cText::setAngle(float degrees) {
    cSprite::setAngle(degrees);
    for (cPicture* g : m_glyphs) g->setAngle(degrees);
}

bool cText::setShaderName(const cStringA& name) {
    if (name.equals(m_shader_name)) return false;
    for (cPicture* g : m_glyphs) g->setShaderName(name);
    m_shader_name = name;
    markShaderStale();
    return true;
}

bool cText::setModelName(const cStringA& name) {
    if (name.equals(m_model_name)) return false;
    m_model_name = name;
    markModelStale();
    return true;
}

cStringA cText::getLayerTexture(unsigned layer) const { return layer < 2 ? m_texture_names[layer] : cStringA(); }

bool cText::setLayerTexture(unsigned layer, const cStringA& name) {
    if (layer > 1 || name.equals(m_texture_names[layer])) return false;
    // The text's own quad never shows a texture: only the names are kept.
    m_texture_names[layer] = name;
    m_layout_dirty = m_glyphs_dirty = true;
    return true;
}

void cText::setDeep(float deep) {
    cSprite::setDeep(deep);
    for (cPicture* g : m_glyphs) g->setDeep(deep);
}

void cText::setAlpha(uint32_t alpha) {
    cSprite::setAlpha(alpha);
    for (cPicture* g : m_glyphs) g->setAlpha(alpha);
}

void cText::setColor(uint32_t rgb) {
    cSprite::setColor(rgb);
    for (cPicture* g : m_glyphs) g->setColor(rgb);
}

void cText::setBeginDrawCallback(DrawCallback cb) {
    cSprite::setBeginDrawCallback(cb);
    for (cPicture* g : m_glyphs) g->setBeginDrawCallback(cb);
}

void cText::setRenderFlags(uint32_t bits, bool on) {
    cSprite::setRenderFlags(bits, on);
    for (cPicture* g : m_glyphs) g->setRenderFlags(bits, on);
}

// ---- Text setters ----

bool cText::setString(const cStringW& text) {
    if (text.equals(m_string)) return false;
    m_string = text;
    m_layout_dirty = m_glyphs_dirty = true;
    return true;
}

void cText::setFont(const cStringA& name) {
    if (name.equals(m_font_name)) return;
    cBitmapFont* font = nullptr;
    if (!name.isEmpty()) {
        cResourceManager* resources = getResourceManager();
        if (!resources) throw cStringA("Font \"") + name + "\": there is no resource manager.";
        font = resources->getFont(name);   // throws for a name that is not loaded
    }
    m_font = font;
    m_font_name = name;
    m_layout_dirty = m_glyphs_dirty = true;
}

void cText::setHorizontalAlign(int code) {
    if (code == m_align) return;
    m_align = code;
    m_glyphs_dirty = true;
}

void cText::setVerticalAlign(int code) {
    if (code == m_align_ver) return;
    m_align_ver = code;
    m_glyphs_dirty = true;
}

void cText::setJustify(bool justify) {
    if (justify == m_justify) return;
    m_justify = justify;
    m_glyphs_dirty = true;
}

void cText::setLineSpacing(uint32_t pixels) {
    if (pixels == m_line_spacing) return;
    m_line_spacing = pixels;
    m_height = float(uint32_t(m_line_widths.size())) * float(m_line_spacing);
}

int cText::setHorizontalAlignByName(const cStringW& word) {
    int code = horizontalCodeOf(word, &m_justify);
    setHorizontalAlign(code);
    return code;
}

int cText::setVerticalAlignByName(const cStringW& word) {
    int code = verticalCodeOf(word);
    setVerticalAlign(code);
    return code;
}

void cText::assign(const cText& other) {
    if (&other == this) return;
    cSprite::assign(other);
    setLayerTexture(0, other.m_texture_names[0]);
    setLayerTexture(1, other.m_texture_names[1]);
    setModelName(other.m_model_name);
    setShaderName(other.m_shader_name);
    setString(other.m_string);
    setLineSpacing(other.m_line_spacing);
    setHorizontalAlign(other.m_align);
    setVerticalAlign(other.m_align_ver);
    setFont(other.m_font_name);
}

// ---- Measuring ----

float cText::getWidth() {
    if (m_layout_dirty) measure();
    return m_width;
}

float cText::getHeight() {
    if (m_layout_dirty) measure();
    return m_height;
}

cVector2 cText::getSize() {
    if (m_layout_dirty) measure();
    return cVector2(m_width, m_height);
}

const std::vector<float>& cText::getLineWidths() {
    if (m_layout_dirty) measure();
    return m_line_widths;
}

const std::vector<float>& cText::getLineSpaces() {
    if (m_layout_dirty) measure();
    return m_line_spaces;
}

cVector2 cText::fontImageSize() {
    if (m_texture_names[0].isEmpty()) return cVector2();
    cSceneServices* services = getSceneServices();
    cTexture* texture = services->getTexture(m_texture_names[0]);
    return texture ? services->getTextureImageSize(texture) : cVector2();
}

void cText::measure() {
    m_layout_dirty = false;
    const float w = fontImageSize().x;
    m_line_widths.clear();
    m_line_spaces.clear();
    float lineWidth = 0.0f, spaces = 0.0f, widest = 0.0f;
    wchar_t previous = 0;
    for (size_t i = 0; i < m_string.size(); ++i) {
        wchar_t c = m_string[i];
        if (c == L' ') spaces += 1.0f;
        if (isBreakAt(m_string, i)) {
            if (lineWidth > widest) widest = lineWidth;
            m_line_widths.push_back(lineWidth);
            m_line_spaces.push_back(spaces);
            lineWidth = spaces = 0.0f;
            ++i;
            continue;
        }
        if (m_font) {
            lineWidth += w * m_font->getGlyph(c).advance;
            if (previous != 0) lineWidth += w * m_font->getPairValueA(previous, c);
        }
        previous = c;
    }
    if (lineWidth > widest) widest = lineWidth;
    m_line_widths.push_back(lineWidth);
    m_line_spaces.push_back(spaces);
    m_width = widest;
    m_height = float(uint32_t(m_line_widths.size())) * float(m_line_spacing);
}

// ---- Layout ----

float cText::lineOriginX(size_t line) const {
    float width = m_justify ? m_width : m_line_widths[line];
    switch (m_align) {
        case TEXT_ALIGN_LEFT: return 0.0f;
        case TEXT_ALIGN_RIGHT: return width;
        default: return width / 2.0f;
    }
}

float cText::lineOriginY(size_t line) const {
    const float s = float(m_line_spacing);
    const uint32_t n = uint32_t(m_line_widths.size());
    const float i = float(line);
    switch (m_align_ver) {
        case TEXT_ALIGN_CENTER: return float(uint32_t((n - 1) * m_line_spacing)) / 2.0f - s * i;
        case TEXT_ALIGN_TOP: return -(s * (i + 0.5f));
        case TEXT_ALIGN_BOTTOM: return s * float(n) - s * (i + 0.5f);
        default: return -(s * i);
    }
}

float cText::halfSpace(size_t line, float width) const {
    float base = width * m_font->getGlyph(L' ').advance * 0.5f;
    float spaces = m_line_spaces[line];
    float extra = m_width - m_line_widths[line];
    if (m_justify && spaces > 0.0f && extra > 0.0f) return base + extra / (2.0f * spaces);
    return base;
}

void cText::destroyGlyphs() {
    std::vector<cPicture*> glyphs;
    glyphs.swap(m_glyphs);
    for (cPicture* g : glyphs) delete g;
}

void cText::buildGlyphs() {
    m_glyphs_dirty = false;
    if (m_layout_dirty) measure();
    destroyGlyphs();
    // Without a font or a font image there is nothing to draw.
    const cVector2 image = fontImageSize();
    if (!m_font || !(image.x > 0.0f) || !(image.y > 0.0f)) return;
    const float w = image.x, h = image.y;
    const bool offsetMode = m_font->hasGlyphOffsets();
    const cVector2 position = getPosition();
    const cVector2 origin = getTransformOrigin();
    const cVector2 scale = getScale();
    const float angle = getAngle();
    const uint32_t color = getVertexColor(0);
    const uint32_t alpha = getVertexAlpha(0);
    float deep = getDeep();

    const float firstHalfHeight = m_string.empty() ? 0.0f : [&] {
        const cGlyph& g = m_font->getGlyph(m_string[0]);
        return (g.bottom - g.top) * h * 0.5f;
    }();
    auto lineStart = [&](size_t line) {
        cVector2 pen(lineOriginX(line), lineOriginY(line));
        if (offsetMode) {
            pen = cVector2(-pen.x, -pen.y);
            pen.y -= firstHalfHeight;
        }
        return pen;
    };

    size_t line = 0;
    cVector2 pen = lineStart(0);
    float half = halfSpace(0, w);
    float previousHalf = 0.0f;
    wchar_t previous = 0;
    m_glyphs.reserve(m_string.size());
    for (size_t i = 0; i < m_string.size(); ++i) {
        const wchar_t c = m_string[i];
        if (isBreakAt(m_string, i)) {
            ++line;
            if (line >= m_line_widths.size()) break;
            pen = lineStart(line);
            half = halfSpace(line, w);
            previousHalf = 0.0f;
            ++i;
            continue;
        }
        const cGlyph& g = m_font->getGlyph(c);
        const float hw = roundTenth(c == L' ' ? half : w * g.advance * 0.5f);
        if (!offsetMode) pen.x -= hw + previousHalf;
        previousHalf = hw;
        if (g.advance > 0.0f) {
            cPicture* glyph = new cPicture(this);
            glyph->setPosition(position);
            if (!offsetMode) {
                glyph->setTransformOrigin(cVector2(pen.x + origin.x, pen.y + origin.y));
            } else {
                if (previous != 0) {
                    pen.x += w * m_font->getPairValueA(previous, c);
                    pen.y += h * m_font->getPairValueB(previous, c);
                }
                glyph->setTransformFlags(TF_CENTERED, false);
                const float ox = std::round(w * g.offsetX);
                pen.x = cutTenth(pen.x);
                glyph->setTransformOrigin(cVector2(origin.x - pen.x - ox, origin.y - pen.y - h * g.offsetY));
                pen.x += 2.0f * hw;
            }
            glyph->setLayerTexture(0, m_texture_names[0]);
            glyph->setLayer0TextureRect(cRect(w * g.left, h * g.top, w * g.right, h * g.bottom));
            glyph->setShaderName(m_shader_name);
            glyph->setColor(color);
            glyph->setAngle(angle);
            glyph->setAlpha(alpha);
            glyph->setScale(scale);
            glyph->setDeep(deep);
            deep += 0.01f;
            glyph->setAutoFiltering(true);
            glyph->applyAutoFiltering();
            glyph->show();
            m_glyphs.push_back(glyph);
        }
        previous = c;
    }
}
