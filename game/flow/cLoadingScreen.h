#pragma once
// Base of the two loading screens. A loading list runs inside one frame of the program, so
// the screen draws itself: every progress step runs one whole logic frame. A screen is a
// top-level node of its own (no parent), outside the game tree.

#include <cstdint>

#include "engine/core/cRect.h"
#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cSceneNode.h"

class cIniFile;
class cPicture;

class cLoadingScreen : public cSceneNode {
public:
    cLoadingScreen() : cSceneNode(nullptr) {}
    // Updates the bar to step of count and draws one frame.
    virtual void setProgress(uint32_t step, uint32_t count) = 0;

protected:
    // The bar shows the left step/count part of its rectangle (all of it when count is 0, a
    // step above count draws the full bar) and is hidden at step 0 of a non-zero count.
    static void showBarProgress(cPicture* bar, const cRect& rect, uint32_t step, uint32_t count);
    // One whole logic frame: timer, input, updates, drawing, presentation.
    static void runFrame();
    // A picture child with a texture loaded into the loading screens' group, at a depth.
    cPicture* makePicture(const cStringA& texture, const cVector2& position, float deep, bool centred, bool shown);
    // Unloads a loading-screen texture by name (nothing for an empty name).
    static void unloadTexture(const cStringA& texture);

    // Keys read with the value parsers; an absent key keeps the value.
    static void readTexture(const cIniFile& ini, const wchar_t* key, cStringA& out);
    static void readVector(const cIniFile& ini, const wchar_t* key, cVector2& out);
    static void readRect(const cIniFile& ini, const wchar_t* key, cRect& out);
    // The bar's top-left corner: the centre of its full size, moved to the rectangle's corner.
    static cVector2 barCorner(const cVector2& position, const cVector2& size, const cRect& rect);

    // Remembers the renderer's fade and shows the screen fully.
    void saveFade();
    void restoreFade();

private:
    float m_saved_fade = 0.0f;
};
