#pragma once
// The shop's speech bubble: one texture cut into nine slices stretched around an inner area of
// any size, an optional pointer (the bubble's tail) on one side at a place along that side,
// and a block of text inside. Numbered layouts (LAYOUT_0, LAYOUT_1, ... of the cloud's INI)
// say how the texture is cut, where each pointer's tip lies and how the text looks; a short
// layout spec ("0B0.5": layout 0, pointer at the bottom, in the middle) picks one at run time.
//
// The cloud's position is the tip of its pointer (without a pointer: the bubble's top-left
// corner). A caller describing something sets the position, the text, the layout spec, then
// the size or fitToText.
//
// Loading a file without LAYOUT_0 throws a text naming the file. The inner size never falls
// below the pointer's length along its side, and a slice whose texture rectangle is empty is
// hidden rather than scaled.

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/cRect.h"
#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cPicture.h"

class cIniFile;
class cText;

// One LAYOUT_<n> section; lengths in texture pixels of the layout's picture.
struct cCloudLayout {
    cStringA picture;
    cVector2 textureSize;
    cRect centerRect;        // Cl, Ct, Cr, Cb
    cVector2 slicePointer;   // Px, Py
    float pointerPosition = 0.0f;  // off_pointer, clamped into [0, 1]
    cVector2 tipLeft, tipRight, tipTop, tipBottom;
    cVector2 textPosition;
    cStringA font;
    cStringA fontTexture;
    uint32_t lineSpacing = 0;
    bool justify = false;
    cStringA alignHorizontal;
    cStringA alignVertical;

    void load(const cIniFile& ini, const cStringW& section);
};

enum CloudPointerSide : int {
    CLOUD_POINTER_NONE = 0,
    CLOUD_POINTER_LEFT = 1,
    CLOUD_POINTER_RIGHT = 2,
    CLOUD_POINTER_TOP = 3,
    CLOUD_POINTER_BOTTOM = 4,
};

class cTextCloud : public cPicture {
public:
    // The pieces in their order.
    enum Piece : int {
        PIECE_CENTER = 0,
        PIECE_LEFT,
        PIECE_TOP_LEFT,
        PIECE_TOP,
        PIECE_TOP_RIGHT,
        PIECE_RIGHT,
        PIECE_BOTTOM_RIGHT,
        PIECE_BOTTOM,
        PIECE_BOTTOM_LEFT,
        PIECE_EDGE,     // the near part of the pointer's side
        PIECE_POINTER,
        PIECE_COUNT
    };

    explicit cTextCloud(cSceneNode* parent);
    ~cTextCloud() override;

    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // The sprite's move, then the pieces follow.
    void setPosition(const cVector2& position) override;
    // The cloud, its pieces and its text.
    void setAlpha(uint32_t alpha) override;
    // Own deep d, slices and edge piece d + 1, pointer d + 2, text d + 3.
    virtual void setDeepAll(float deep);
    virtual void setPictureAll(const cCloudLayout& layout);

    // Index, side letter (B, L, R, T; anything else: none), position 0..1; see the header.
    void setLayout(const cStringA& spec);
    void setText(const cStringW& text);
    void setSize(const cVector2& size);
    void fitToText();

    cText* getText() const { return m_text; }
    cPicture* getPiece(int piece) const { return piece >= 0 && piece < PIECE_COUNT ? m_pieces[piece] : nullptr; }
    int getSide() const { return m_side; }
    float getPointerPosition() const { return m_pointer_position; }
    cVector2 getInnerSize() const { return m_size; }
    // The bubble's top-left corner after the last arrange.
    cVector2 getOrigin() const { return m_origin; }
    size_t getLayoutCount() const { return m_layouts.size(); }
    const cCloudLayout* getLayout(size_t i) const { return i < m_layouts.size() ? m_layouts[i].get() : nullptr; }
    int getLayoutIndex() const { return m_layout_index; }
    // The rectangle a piece covers, relative to the origin (empty for a hidden piece).
    const cRect& getPieceRect(int piece) const { return m_piece_rects[piece]; }

private:
    void applyTextureRects();
    void arrange();
    void placePiece(int piece, const cRect& r);
    float pointerLength() const;

    cText* m_text;
    cPicture* m_pieces[PIECE_COUNT];
    cRect m_texture_rects[PIECE_COUNT];
    cRect m_piece_rects[PIECE_COUNT];
    int m_side = CLOUD_POINTER_NONE;
    cVector2 m_texture_size;
    cVector2 m_size;
    cRect m_center;
    cVector2 m_slice_pointer;
    cVector2 m_tips[4];   // left, right, top, bottom
    float m_pointer_position = 0.0f;
    cVector2 m_text_position;
    cVector2 m_origin;
    int m_layout_index = -1;
    std::vector<std::unique_ptr<cCloudLayout>> m_layouts;
};
