#pragma once
// Headless frames of restaurant objects: the engine's scene services (drawing through the
// renderer) with textures made in memory, a test clock and mouse, a recording or a headless
// OpenGL device, and a draw step that keeps the order in which sprites reach the renderer.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/scene/cEngineSceneServices.h"
#include "engine/scene/cSprite.h"
#include "tests/engine/media/test_graphics_support.h"

namespace restaurant_test {

class FrameServices : public cEngineSceneServices {
public:
    std::map<std::string, cTexture*> textures;
    std::vector<cSprite*> order;   // filled by the draw step
    float gameDelta = 0.0f;
    cVector2 mouse;
    float getGameDelta() override { return gameDelta; }
    float getRealDelta() override { return gameDelta; }
    cVector2 getMousePosition() override { return mouse; }
    cTexture* getTexture(const cStringA& name) override {
        auto it = textures.find(name);
        return it == textures.end() ? nullptr : it->second;
    }
};

inline FrameServices*& currentFrame() {
    static FrameServices* frame = nullptr;
    return frame;
}

inline void drawAndRecord(cSprite* sprite) {
    currentFrame()->order.push_back(sprite);
    drawObject(sprite);
}

// The graphics, the textures and the services of one frame test: setUp before building,
// restoreServices before the scene's fixture ends, release after it.
struct FrameRig {
    std::unique_ptr<cGraphics> graphics;
    cRecordingDevice* rec = nullptr;
    FrameServices services;
    std::vector<std::unique_ptr<cTexture>> owned;
    cSceneServices* previous = nullptr;

    void setUp(bool recording) {
        cGraphics::setDesktopWidthOverride(1920);
        if (recording) {
            auto device = std::make_unique<cRecordingDevice>();
            rec = device.get();
            graphics = std::make_unique<cGraphics>(nullptr, std::move(device));
        } else {
            graphics = std::make_unique<cGraphics>(nullptr);
        }
        currentFrame() = &services;
        previous = setSceneServices(&services);
    }
    void restoreServices() {
        if (previous) setSceneServices(previous);
        previous = nullptr;
    }
    void release() {
        owned.clear();
        graphics.reset();
        cGraphics::setDesktopWidthOverride(0);
        currentFrame() = nullptr;
    }
    void addTexture(const std::string& name, const cImage& image) {
        owned.push_back(render_test::makeTexture(image, "t.png"));
        services.textures[name] = owned.back().get();
    }
    void step(float dt) {
        services.gameDelta = dt;
        updateTopLevelNodes(&updateNode);
    }
    void draw() {
        services.order.clear();
        graphics->beginFrame();
        if (rec) {
            rec->clearCalls();
            rec->clearDraws();
        }
        forEachInRenderSet(drawAndRecord);
        graphics->endFrame();
    }
};

}  // namespace restaurant_test
