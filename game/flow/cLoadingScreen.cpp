#include "game/flow/cLoadingScreen.h"

#include <algorithm>

#include "engine/app/cLogic.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cGraphics.h"
#include "engine/scene/cPicture.h"
#include "game/flow/cResourceGroupManager.h"

void cLoadingScreen::showBarProgress(cPicture* bar, const cRect& rect, uint32_t step, uint32_t count) {
    if (!bar) return;
    cRect shown = rect;
    if (count != 0) {
        step = std::min(step, count);
        shown.right = rect.left + rect.width() * static_cast<float>(step) / static_cast<float>(count);
    }
    bar->setLayer0TextureRect(shown);
    if (step != 0 || count == 0)
        bar->show();
    else
        bar->hide();
}

void cLoadingScreen::runFrame() {
    if (cLogic* logic = getLogic()) logic->frame();
}

cPicture* cLoadingScreen::makePicture(const cStringA& texture, const cVector2& position, float deep, bool centred,
                                      bool shown) {
    if (!texture.isEmpty())
        if (cResourceManager* resources = getResourceManager()) resources->load(texture, GROUP_LOADING_SCREENS);
    cPicture* picture = new cPicture(this);
    picture->setPicture(texture);
    if (!centred) picture->setTransformFlags(4, false);
    picture->setPosition(position);
    picture->setDeep(deep);
    if (shown)
        picture->show();
    else
        picture->hide();
    return picture;
}

void cLoadingScreen::unloadTexture(const cStringA& texture) {
    if (texture.isEmpty()) return;
    if (cResourceManager* resources = getResourceManager()) resources->unload(texture);
}

void cLoadingScreen::readTexture(const cIniFile& ini, const wchar_t* key, cStringA& out) {
    cStringW value = ini.getValue(L"COMMON", key);
    if (!value.isEmpty()) out = value.toNarrow();
}

void cLoadingScreen::readVector(const cIniFile& ini, const wchar_t* key, cVector2& out) {
    float v[2] = {out.x, out.y};
    parseVector2(v, ini.getValue(L"COMMON", key));
    out = cVector2(v[0], v[1]);
}

void cLoadingScreen::readRect(const cIniFile& ini, const wchar_t* key, cRect& out) {
    float r[4] = {out.left, out.top, out.right, out.bottom};
    parseRect(r, ini.getValue(L"COMMON", key));
    out = cRect(r[0], r[1], r[2], r[3]);
}

cVector2 cLoadingScreen::barCorner(const cVector2& position, const cVector2& size, const cRect& rect) {
    return cVector2(position.x - size.x / 2 + rect.left, position.y - size.y / 2 + rect.top);
}

void cLoadingScreen::saveFade() {
    if (cGraphics* graphics = getGraphics()) {
        m_saved_fade = graphics->getFade();
        graphics->setFade(255.0f);
    }
}

void cLoadingScreen::restoreFade() {
    if (cGraphics* graphics = getGraphics()) graphics->setFade(m_saved_fade);
}
