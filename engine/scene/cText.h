#pragma once
// A wide-character string drawn with a bitmap font: one child picture (a glyph) per character
// the font can draw, textured with the font's image and placed by the text's layout. The text's
// own quad is never drawn. The two characters "/n" break a line; any other slash is a
// character. Lines are aligned left, right or centred (optionally justified to the widest
// line) and the block is anchored vertically in one of four ways.
//
// Alignment codes, one numbering for both axes: 0 centre, 1 left, 2 right, 3 top, 4 bottom;
// any other vertical code puts line 0 centred on the anchor and further lines below it.
//
// Nothing is measured or built until it is needed: setters mark the layout (line widths) and
// the glyphs dirty; the glyphs are rebuilt in update, the layout when a size getter asks.
// A text without a font or without a font image measures its lines as empty and draws nothing.

#include <vector>

#include "engine/core/cString.h"
#include "engine/scene/cPicture.h"
#include "engine/scene/cSprite.h"

class cBitmapFont;

enum TextAlign : int {
    TEXT_ALIGN_CENTER = 0,
    TEXT_ALIGN_LEFT = 1,
    TEXT_ALIGN_RIGHT = 2,
    TEXT_ALIGN_TOP = 3,
    TEXT_ALIGN_BOTTOM = 4,
    TEXT_ALIGN_FIRST_LINE = 5,
};

class cText : public cSprite {
public:
    explicit cText(cSceneNode* parent = nullptr);
    ~cText() override;

    int getTypeId() const override { return SCENE_TEXT; }
    // Rebuilds the glyphs when they are dirty, then the plain node update.
    void update() override;
    void loadFromNode(const cXmlNode& node) override;
    // Sprite keys, then "string", "texture", "shader", "line_spacing", "justify", "font",
    // "align" (LEFT, RIGHT, JUSTIFY, else centre), "align_ver" (CENTER, TOP, BOTTOM, else
    // first-line mode).
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;

    void setTransformOrigin(const cVector2& origin) override;
    void setUniformScale(float scale) override;
    void setScale(const cVector2& scale) override;
    void setAngle(float degrees) override;
    cStringA getShaderName() const override { return m_shader_name; }
    bool setShaderName(const cStringA& name) override;
    cStringA getModelName() const override { return m_model_name; }
    bool setModelName(const cStringA& name) override;
    cStringA getLayerTexture(unsigned layer) const override;
    bool setLayerTexture(unsigned layer, const cStringA& name) override;
    void setDeep(float deep) override;
    void setAlpha(uint32_t alpha) override;
    void setColor(uint32_t rgb) override;
    void setBeginDrawCallback(DrawCallback cb) override;
    void setRenderFlags(uint32_t bits, bool on) override;

    // True when the string changed.
    bool setString(const cStringW& text);
    const cStringW& getString() const { return m_string; }
    // Looks the font up in the resource manager (an unloaded name throws its text and changes
    // nothing); an empty name means no font.
    void setFont(const cStringA& name);
    const cStringA& getFontName() const { return m_font_name; }
    cBitmapFont* getFont() const { return m_font; }
    void setHorizontalAlign(int code);
    void setVerticalAlign(int code);
    void setJustify(bool justify);
    // Changes the height at once; glyphs take the spacing at their next rebuild.
    void setLineSpacing(uint32_t pixels);
    int setHorizontalAlignByName(const cStringW& word);
    int setVerticalAlignByName(const cStringW& word);
    int getHorizontalAlign() const { return m_align; }
    int getVerticalAlign() const { return m_align_ver; }
    bool getJustify() const { return m_justify; }
    uint32_t getLineSpacing() const { return m_line_spacing; }

    // Measure first when needed.
    float getWidth();
    float getHeight();
    cVector2 getSize();
    // Measured widths and space counts of the lines (measured first when needed).
    const std::vector<float>& getLineWidths();
    const std::vector<float>& getLineSpaces();

    // Copies the sprite's look, names, string, spacing, alignment codes and font (not the
    // justify flag).
    void assign(const cText& other);

    // The glyph pictures in string order (after the last rebuild).
    const std::vector<cPicture*>& getGlyphs() const { return m_glyphs; }
    bool isLayoutDirty() const { return m_layout_dirty; }
    bool isGlyphsDirty() const { return m_glyphs_dirty; }
    // Builds the glyphs now when they are dirty (what update does first).
    void rebuildIfDirty();

    static int horizontalCodeOf(const cStringW& word, bool* justify);
    static int verticalCodeOf(const cStringW& word);

private:
    void measure();
    void buildGlyphs();
    void destroyGlyphs();
    // Image size of the font texture in pixels, (0, 0) without one.
    cVector2 fontImageSize();
    float lineOriginX(size_t line) const;
    float lineOriginY(size_t line) const;
    float halfSpace(size_t line, float width) const;
    template <class Get> void loadTextKeys(const Get& get);

    cStringW m_string;
    uint32_t m_line_spacing = 0;
    bool m_justify = false;
    int m_align = TEXT_ALIGN_CENTER;
    int m_align_ver = TEXT_ALIGN_FIRST_LINE;
    bool m_layout_dirty = false;
    bool m_glyphs_dirty = false;
    float m_width = 0.0f;
    float m_height = 0.0f;
    std::vector<float> m_line_widths;
    std::vector<float> m_line_spaces;
    std::vector<cPicture*> m_glyphs;
    cBitmapFont* m_font = nullptr;
    cStringA m_font_name;
    cStringA m_texture_names[2];
    cStringA m_model_name;
    cStringA m_shader_name;
};
