#pragma once
// The glow a clickable object shows while it is hovered: a copy of its parent picture, taken
// once when it is built (texture, animation state, position), drawn with the overlay blending
// just above the parent (deep + 0.1). It draws with the alpha-test reference 128; the renderer
// restores its standard states after the highlight's chunk, so nothing drawn later is
// affected. A new highlight is hidden.

#include <cstdint>

#include "engine/scene/cPicture.h"

class cDevice;

class cHighlight : public cPicture {
public:
    cHighlight(bool centred, cPicture* parent, uint8_t alpha);

    // Shows and enables, or hides and disables (only when the flag changes).
    void setVisible(bool visible);

    // The begin-draw callback: the alpha-test reference 128.
    static void beginDraw(cDevice* device);
};
