#pragma once
// The one door through which scene objects reach the engine: frame time, the cursor, the
// screen size, input bindings, resources looked up by name, model instances and the renderer.
//
// Without an installed implementation the engine's own (cEngineSceneServices, over the timer,
// input, graphics and resource managers) is used; tests install fakes with setSceneServices.
// Every operation here has a harmless default (zero, null, nothing), so a fake overrides only
// what it needs.

#include <cstddef>
#include <cstdint>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"

class cTexture;
class cModel;
class cModelInstance;
class cVertexShader;
struct cDrawRecord;

// Input codes and callbacks exactly as the input manager (engine/media/cInput.h) declares
// them, so that both headers can be included together.
using InputCode = uint32_t;
using InputCallback = void (*)(void* object);                                   // a bound code
using MotionCallback = void (*)(InputCode code, int32_t motion, void* object);  // mouse motion
using CharCallback = void (*)(wchar_t character, void* user);                   // typed text

// A 4 x 4 matrix, row-major (bone offset matrices of model parts).
struct cMatrix4x4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

class cSceneServices {
public:
    virtual ~cSceneServices() = default;

    // Time steps in seconds: game time (0 while the logic is paused) and interface time.
    virtual float getGameDelta() { return 0.0f; }
    virtual float getRealDelta() { return 0.0f; }

    // Cursor in client pixels; back-buffer size in pixels.
    virtual cVector2 getMousePosition() { return cVector2(); }
    virtual cVector2 getScreenSize() { return cVector2(); }

    // Input manager pass-throughs.
    virtual void setCharListener(CharCallback callback, void* userData) {}
    virtual void clearCharListener() {}
    virtual void addBinding(InputCode code, InputCallback callback, void* object) {}
    virtual void removeBinding(InputCode code, InputCallback callback, void* object) {}
    virtual void addMotionListener(MotionCallback callback, void* object) {}
    virtual void removeMotionListener(MotionCallback callback, void* object) {}

    // Resources by name (borrowed from the resource manager, never released by the scene).
    virtual cTexture* getTexture(const cStringA& name) { return nullptr; }
    virtual cVertexShader* getShader(const cStringA& name) { return nullptr; }
    virtual cModel* getModel(const cStringA& name) { return nullptr; }
    // Size in pixels of the image a texture was made from, and of the texture itself.
    virtual cVector2 getTextureImageSize(cTexture* texture) { return cVector2(); }
    virtual cVector2 getTextureSize(cTexture* texture) { return cVector2(); }

    // Model instances: owned by the sprite that asked for them.
    virtual cModelInstance* createModelInstance(cModel* model) { return nullptr; }
    virtual void destroyModelInstance(cModelInstance* instance) {}
    virtual void setModelInstancePosition(cModelInstance* instance, const cVector2& position) {}
    virtual void setModelInstanceDeep(cModelInstance* instance, float deep) {}
    virtual void setModelInstanceScale(cModelInstance* instance, const cVector2& scale) {}
    virtual cVector2 getModelInstancePosition(cModelInstance* instance) { return cVector2(); }
    virtual cStringA getModelAnimationName(cModelInstance* instance) { return cStringA(); }
    // Selects the animation set and applies it at the position (seconds).
    virtual void setModelAnimation(cModelInstance* instance, const cStringA& name, float length,
                                   float position) {}
    virtual void advanceModelAnimation(cModelInstance* instance, float dt) {}
    // Model parts (bone-matrix sets of the instance).
    virtual size_t getModelPartCount(cModelInstance* instance) { return 0; }
    virtual cStringA getModelPartName(cModelInstance* instance, size_t part) { return cStringA(); }
    virtual size_t getModelPartBoneCount(cModelInstance* instance, size_t part) { return 0; }
    virtual cStringA getModelPartBoneName(cModelInstance* instance, size_t part, size_t bone) {
        return cStringA();
    }
    // False when either index is out of range.
    virtual bool getModelPartBoneMatrix(cModelInstance* instance, size_t part, size_t bone,
                                        cMatrix4x4* out) { return false; }
    virtual void setModelPartBoneMatrices(cModelInstance* instance, size_t part,
                                          const cMatrix4x4* matrices, size_t count) {}

    // Hands one shown sprite to the renderer's batch (cGraphics::drawSprite).
    virtual void drawSprite(const cDrawRecord& record) {}
};

// The installed services, or the engine's; never null.
cSceneServices* getSceneServices();
// Installs services (not owned); null restores the engine's. Returns the previous.
cSceneServices* setSceneServices(cSceneServices* services);
