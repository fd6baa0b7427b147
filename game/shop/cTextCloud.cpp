#include "game/shop/cTextCloud.h"

#include <algorithm>
#include <sstream>

#include "engine/core/cIniFile.h"
#include "engine/media/cDrawRecord.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"

void cCloudLayout::load(const cIniFile& ini, const cStringW& section) {
    auto str = [&](const wchar_t* key) { return ini.getValue(section, key).toNarrow(); };
    picture = str(L"picture");
    readVector(ini, section.c_str(), L"texture_size", &textureSize);
    float r[4] = {centerRect.left, centerRect.top, centerRect.right, centerRect.bottom};
    parseRect(r, ini.getValue(section, L"rect_center"));
    centerRect = cRect(r[0], r[1], r[2], r[3]);
    readVector(ini, section.c_str(), L"slice_pointer", &slicePointer);
    readFloat(ini, section.c_str(), L"off_pointer", &pointerPosition);
    pointerPosition = std::clamp(pointerPosition, 0.0f, 1.0f);
    readVector(ini, section.c_str(), L"off_pointer_point_left", &tipLeft);
    readVector(ini, section.c_str(), L"off_pointer_point_right", &tipRight);
    readVector(ini, section.c_str(), L"off_pointer_point_top", &tipTop);
    readVector(ini, section.c_str(), L"off_pointer_point_bottom", &tipBottom);
    readVector(ini, section.c_str(), L"text_position", &textPosition);
    font = str(L"font");
    fontTexture = str(L"font_texture");
    stringToUnsigned(&lineSpacing, ini.getValue(section, L"line_spacing"));
    stringToBool(&justify, ini.getValue(section, L"justify"));
    alignHorizontal = str(L"text_align_hor");
    alignVertical = str(L"text_align_ver");
}

cTextCloud::cTextCloud(cSceneNode* parent) : cPicture(parent), m_text(new cText(this)) {
    for (cPicture*& piece : m_pieces) piece = new cPicture(this);
}

cTextCloud::~cTextCloud() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_text;
    for (cPicture*& piece : m_pieces) {
        delete piece;
        piece = nullptr;
    }
    m_layouts.clear();
}

void cTextCloud::loadFromIni(const cIniFile& ini, const cStringW& section) {
    // 1. The cloud's own picture.
    cPicture::loadFromIni(ini, section);
    // 2. The layouts, LAYOUT_0 up to the first missing number.
    m_layouts.clear();
    m_layout_index = -1;
    for (int n = 0;; ++n) {
        const cStringW name = cStringW(L"LAYOUT_") + intToString(n);
        if (!ini.hasSection(name)) break;
        auto layout = std::make_unique<cCloudLayout>();
        layout->load(ini, name);
        m_layouts.push_back(std::move(layout));
    }
    // Without a layout the bubble has no texture to cut.
    if (m_layouts.empty()) throw cStringA("The cloud file '" + ini.getName() + "' has no section LAYOUT_0.");
    // 3. The text's own keys.
    m_text->loadFromIni(ini, section);
    // 4. Positions are top-left corners.
    setTransformFlags(TF_CENTERED, false);
    for (cPicture* piece : m_pieces) piece->setTransformFlags(TF_CENTERED, false);
    // 5. Slices and text shown; edge piece and pointer follow the layout.
    for (int i = PIECE_CENTER; i <= PIECE_BOTTOM_LEFT; ++i) m_pieces[i]->show();
    m_text->show();
    // 6. Depths, 7. the default layout.
    setDeepAll(getDeep());
    setLayout("0L");
}

void cTextCloud::setLayout(const cStringA& spec) {
    if (m_layouts.empty()) return;
    unsigned index = 0;
    char sideChar = 'M';
    float position = -1.0f;
    // 1. An empty spec: layout 0 without pointer.
    if (spec.isEmpty()) {
        sideChar = 'M';
    } else {
        // 2. Index, side character, position; a part that cannot be read keeps its default.
        std::istringstream in(spec);
        unsigned i = 0;
        if (in >> i) index = i;
        else in.clear();
        char c = 0;
        if (in >> c) {
            sideChar = c;
            float p = 0.0f;
            if (in >> p) position = p;
        }
    }
    // 3. An index out of range selects layout 0.
    if (index >= m_layouts.size()) index = 0;
    const cCloudLayout& l = *m_layouts[index];
    m_layout_index = static_cast<int>(index);
    // 4. The side.
    switch (sideChar) {
    case 'B': m_side = CLOUD_POINTER_BOTTOM; break;
    case 'L': m_side = CLOUD_POINTER_LEFT; break;
    case 'R': m_side = CLOUD_POINTER_RIGHT; break;
    case 'T': m_side = CLOUD_POINTER_TOP; break;
    default: m_side = CLOUD_POINTER_NONE; break;
    }
    // 5. A position outside [0, 1] (NaN included) falls back to the layout's.
    if (!(position >= 0.0f && position <= 1.0f)) position = l.pointerPosition;
    m_pointer_position = position;
    // 6. The geometry of the layout.
    m_texture_size = l.textureSize;
    m_center = l.centerRect;
    m_slice_pointer = l.slicePointer;
    m_tips[0] = l.tipLeft;
    m_tips[1] = l.tipRight;
    m_tips[2] = l.tipTop;
    m_tips[3] = l.tipBottom;
    m_text_position = l.textPosition;
    // 7. The text's look.
    m_text->setFont(l.font);
    m_text->setLayerTexture(0, l.fontTexture);
    m_text->setHorizontalAlignByName(l.alignHorizontal.toWide());
    m_text->setVerticalAlignByName(l.alignVertical.toWide());
    m_text->setLineSpacing(l.lineSpacing);
    m_text->setJustify(l.justify);
    // 8. Textures, texture rectangles, geometry.
    setPictureAll(l);
    applyTextureRects();
    arrange();
}

void cTextCloud::setText(const cStringW& text) { m_text->setString(text); }

void cTextCloud::setSize(const cVector2& size) {
    m_size = size;
    arrange();
}

void cTextCloud::fitToText() {
    m_size = m_text->getSize();
    arrange();
}

void cTextCloud::setPosition(const cVector2& position) {
    cPicture::setPosition(position);
    arrange();
}

void cTextCloud::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    for (cPicture* piece : m_pieces) piece->setAlpha(alpha);
    m_text->setAlpha(alpha);
}

void cTextCloud::setDeepAll(float deep) {
    // The sprite's depth change moves the children along; each is then set where it belongs.
    cPicture::setDeep(deep);
    for (int i = PIECE_CENTER; i <= PIECE_EDGE; ++i) m_pieces[i]->setDeep(deep + 1.0f);
    m_pieces[PIECE_POINTER]->setDeep(deep + 2.0f);
    m_text->setDeep(deep + 3.0f);
}

void cTextCloud::setPictureAll(const cCloudLayout& layout) {
    setPicture(layout.picture);
    for (cPicture* piece : m_pieces) piece->setPicture(layout.picture);
}

void cTextCloud::applyTextureRects() {
    const float Tw = m_texture_size.x, Th = m_texture_size.y;
    const float Cl = m_center.left, Ct = m_center.top, Cr = m_center.right, Cb = m_center.bottom;
    const float Px = m_slice_pointer.x, Py = m_slice_pointer.y;
    setLayer0TextureRect(cRect(0, 0, 1, 1));
    cRect* t = m_texture_rects;
    t[PIECE_CENTER] = cRect(Cl, Ct, Cr, Cb);
    t[PIECE_TOP_LEFT] = cRect(0, 0, Cl, Ct);
    t[PIECE_TOP] = cRect(Px, 0, Cr, Ct);
    t[PIECE_TOP_RIGHT] = cRect(Cr, 0, Tw, Ct);
    t[PIECE_LEFT] = cRect(0, Py, Cl, Cb);
    t[PIECE_RIGHT] = cRect(Cr, Py, Tw, Cb);
    t[PIECE_BOTTOM_LEFT] = cRect(0, Cb, Cl, Th);
    t[PIECE_BOTTOM] = cRect(Px, Cb, Cr, Th);
    t[PIECE_BOTTOM_RIGHT] = cRect(Cr, Cb, Tw, Th);
    switch (m_side) {
    case CLOUD_POINTER_LEFT:
        t[PIECE_POINTER] = cRect(0, Ct, Cl, Py);
        t[PIECE_EDGE] = t[PIECE_LEFT];
        break;
    case CLOUD_POINTER_RIGHT:
        t[PIECE_POINTER] = cRect(Cr, Ct, Tw, Py);
        t[PIECE_EDGE] = t[PIECE_RIGHT];
        break;
    case CLOUD_POINTER_TOP:
        t[PIECE_POINTER] = cRect(Cl, 0, Px, Ct);
        t[PIECE_EDGE] = t[PIECE_TOP];
        break;
    case CLOUD_POINTER_BOTTOM:
        t[PIECE_POINTER] = cRect(Cl, Cb, Px, Th);
        t[PIECE_EDGE] = t[PIECE_BOTTOM];
        break;
    default:
        t[PIECE_POINTER] = cRect();
        t[PIECE_EDGE] = cRect();
        break;
    }
    for (int i = 0; i < PIECE_COUNT; ++i) m_pieces[i]->setLayer0TextureRect(t[i]);
}

float cTextCloud::pointerLength() const {
    switch (m_side) {
    case CLOUD_POINTER_LEFT:
    case CLOUD_POINTER_RIGHT: return m_slice_pointer.y - m_center.top;
    case CLOUD_POINTER_TOP:
    case CLOUD_POINTER_BOTTOM: return m_slice_pointer.x - m_center.left;
    default: return 0.0f;
    }
}

void cTextCloud::placePiece(int piece, const cRect& r) {
    cPicture* p = m_pieces[piece];
    m_piece_rects[piece] = r;
    const cRect& t = m_texture_rects[piece];
    const float sw = t.width(), sh = t.height();
    // A slice with nothing of the texture in it has no size to scale from: it is not drawn.
    if (!(sw > 0.0f) || !(sh > 0.0f)) {
        p->hide();
        m_piece_rects[piece] = cRect();
        return;
    }
    p->show();
    const cVector2 at(m_origin.x + r.left + r.width() / 2.0f - sw / 2.0f, m_origin.y + r.top + r.height() / 2.0f - sh / 2.0f);
    p->setPosition(at);
    p->setScale(cVector2(r.width() / sw, r.height() / sh));
}

void cTextCloud::arrange() {
    if (m_layout_index < 0) return;
    const float Tw = m_texture_size.x, Th = m_texture_size.y;
    const float Cl = m_center.left, Ct = m_center.top, Cr = m_center.right, Cb = m_center.bottom;
    const float Rw = Tw - Cr, Bh = Th - Cb;
    // The bubble is never smaller than its pointer along the pointer's side, nor negative.
    const float I = std::max(0.0f, pointerLength());
    m_size.x = std::max(0.0f, m_size.x);
    m_size.y = std::max(0.0f, m_size.y);
    if ((m_side == CLOUD_POINTER_LEFT || m_side == CLOUD_POINTER_RIGHT) && m_size.y < I) m_size.y = I;
    if ((m_side == CLOUD_POINTER_TOP || m_side == CLOUD_POINTER_BOTTOM) && m_size.x < I) m_size.x = I;
    const float W = m_size.x, H = m_size.y;
    const float p = m_pointer_position;
    const bool vertical = m_side == CLOUD_POINTER_LEFT || m_side == CLOUD_POINTER_RIGHT;
    const float D = vertical ? (H - I) * p : (W - I) * p;

    // 1. The origin, from the position (the tip) and the side's tip in the texture.
    const cVector2 pos = getPosition();
    switch (m_side) {
    case CLOUD_POINTER_LEFT: m_origin = cVector2(pos.x - m_tips[0].x, pos.y - D - m_tips[0].y); break;
    case CLOUD_POINTER_RIGHT:
        m_origin = cVector2(pos.x - m_tips[1].x + (Cr - Cl) - W, pos.y - D - m_tips[1].y);
        break;
    case CLOUD_POINTER_TOP: m_origin = cVector2(pos.x - D - m_tips[2].x, pos.y - m_tips[2].y); break;
    case CLOUD_POINTER_BOTTOM:
        m_origin = cVector2(pos.x - D - m_tips[3].x, pos.y - m_tips[3].y + (Cb - Ct) - H);
        break;
    default: m_origin = pos; break;
    }

    // 2. The text block's top-left corner at origin + text position + (Cl, Ct), whatever its
    //    alignment anchors.
    cVector2 text = m_origin + m_text_position + cVector2(Cl, Ct);
    const int h = m_text->getHorizontalAlign(), v = m_text->getVerticalAlign();
    if (h == TEXT_ALIGN_CENTER) text.x += m_text->getWidth() / 2.0f;
    if (h == TEXT_ALIGN_RIGHT) text.x += m_text->getWidth();
    if (v == TEXT_ALIGN_CENTER) text.y += m_text->getHeight() / 2.0f;
    if (v == TEXT_ALIGN_BOTTOM) text.y += m_text->getHeight();
    m_text->setPosition(text);

    // 3. The nine slices.
    placePiece(PIECE_TOP_LEFT, cRect(0, 0, Cl, Ct));
    placePiece(PIECE_TOP, cRect(Cl, 0, Cl + W, Ct));
    placePiece(PIECE_TOP_RIGHT, cRect(Cl + W, 0, Cl + W + Rw, Ct));
    placePiece(PIECE_LEFT, cRect(0, Ct, Cl, Ct + H));
    placePiece(PIECE_CENTER, cRect(Cl, Ct, Cl + W, Ct + H));
    placePiece(PIECE_RIGHT, cRect(Cl + W, Ct, Cl + W + Rw, Ct + H));
    placePiece(PIECE_BOTTOM_LEFT, cRect(0, Ct + H, Cl, Ct + H + Bh));
    placePiece(PIECE_BOTTOM, cRect(Cl, Ct + H, Cl + W, Ct + H + Bh));
    placePiece(PIECE_BOTTOM_RIGHT, cRect(Cl + W, Ct + H, Cl + W + Rw, Ct + H + Bh));

    // 4. The pointer's side in three: edge piece, pointer, the edge itself.
    switch (m_side) {
    case CLOUD_POINTER_LEFT:
        placePiece(PIECE_EDGE, cRect(0, Ct, Cl, Ct + D));
        placePiece(PIECE_POINTER, cRect(0, Ct + D, Cl, Ct + D + I));
        placePiece(PIECE_LEFT, cRect(0, Ct + D + I, Cl, Ct + H));
        break;
    case CLOUD_POINTER_RIGHT:
        placePiece(PIECE_EDGE, cRect(Cl + W, Ct, Cl + W + Rw, Ct + D));
        placePiece(PIECE_POINTER, cRect(Cl + W, Ct + D, Cl + W + Rw, Ct + D + I));
        placePiece(PIECE_RIGHT, cRect(Cl + W, Ct + D + I, Cl + W + Rw, Ct + H));
        break;
    case CLOUD_POINTER_TOP:
        placePiece(PIECE_EDGE, cRect(Cl, 0, Cl + D, Ct));
        placePiece(PIECE_POINTER, cRect(Cl + D, 0, Cl + D + I, Ct));
        placePiece(PIECE_TOP, cRect(Cl + D + I, 0, Cl + W, Ct));
        break;
    case CLOUD_POINTER_BOTTOM:
        placePiece(PIECE_EDGE, cRect(Cl, Ct + H, Cl + D, Ct + H + Bh));
        placePiece(PIECE_POINTER, cRect(Cl + D, Ct + H, Cl + D + I, Ct + H + Bh));
        placePiece(PIECE_BOTTOM, cRect(Cl + D + I, Ct + H, Cl + W, Ct + H + Bh));
        break;
    default:
        m_pieces[PIECE_EDGE]->hide();
        m_pieces[PIECE_POINTER]->hide();
        m_piece_rects[PIECE_EDGE] = cRect();
        m_piece_rects[PIECE_POINTER] = cRect();
        break;
    }
}
