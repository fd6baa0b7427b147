#pragma once
// What the clickable parts of the cotton candy stand share (cCottonCandy, cCottonItem): their
// file, texture, place, highlight and marks, the hover rule (a blocked or unseen part is never
// hovered) and the flash, which is the stand's.

#include "game/restaurant/cStation.h"

class cCottonStation;

class cCottonPart : public cStation {
public:
    ~cCottonPart() override;
    void updateHover(bool testMouse, bool value) override;
    void showClickEffect() override;
    int getCottonKind() const { return m_cotton_kind; }

protected:
    // Reads the part's file ("COMMON" and the polygon section), takes the texture, the
    // position and the control point, and adds the highlight and the marks.
    cCottonPart(cCottonStation* stand, const char* ini, const cStringW& polygonSection, const std::string& texture,
                const cVector2& position, const cVector2& controlPoint, int kind);
    cCottonStation* m_stand;
    int m_cotton_kind;
};

