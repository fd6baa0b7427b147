#include "game/restaurant/cHighlight.h"

#include "platform/device/Device.h"

cHighlight::cHighlight(bool centred, cPicture* parent, uint8_t alpha) : cPicture(parent) {
    setRenderFlags(RF_OVERLAY, true);
    setTransformFlags(TF_CENTERED, centred);
    setPosition(parent->getPosition());
    setDeep(parent->getDeep() + 0.1f);
    setAlpha(alpha);
    setPicture(parent->getPicture());
    const cAnimLayer& from = parent->getAnimLayer(0);
    setLayer0Looped(from.looped);
    setLayer0Length(from.length);
    setLayer0FrameCount(from.frameCount);
    setLayer0FrameSize(from.frameSize);
    setLayer0Time(from.time);
    setBeginDrawCallback(&cHighlight::beginDraw);
    hide();
    disable();
}

void cHighlight::setVisible(bool visible) {
    if (visible == isOwnVisible()) return;
    if (visible) {
        show();
        enable();
    } else {
        hide();
        disable();
    }
}

void cHighlight::beginDraw(cDevice* device) { device->setRenderState(RenderState::AlphaRef, 128); }
