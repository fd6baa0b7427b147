#pragma once
// The scene services over the engine's managers: timer, input, graphics and the resource
// manager, with textures, models and model instances. getSceneServices() answers with it
// whenever no other implementation is installed. Every operation tolerates a manager that does
// not exist (yet or any more).

#include "engine/scene/cSceneServices.h"

class cEngineSceneServices : public cSceneServices {
public:
    float getGameDelta() override;
    float getRealDelta() override;
    cVector2 getMousePosition() override;
    cVector2 getScreenSize() override;

    void setCharListener(CharCallback callback, void* userData) override;
    void clearCharListener() override;
    void addBinding(InputCode code, InputCallback callback, void* object) override;
    void removeBinding(InputCode code, InputCallback callback, void* object) override;
    void addMotionListener(MotionCallback callback, void* object) override;
    void removeMotionListener(MotionCallback callback, void* object) override;

    cTexture* getTexture(const cStringA& name) override;
    cVertexShader* getShader(const cStringA& name) override;
    cModel* getModel(const cStringA& name) override;
    cVector2 getTextureImageSize(cTexture* texture) override;
    cVector2 getTextureSize(cTexture* texture) override;

    cModelInstance* createModelInstance(cModel* model) override;
    void destroyModelInstance(cModelInstance* instance) override;
    void setModelInstancePosition(cModelInstance* instance, const cVector2& position) override;
    void setModelInstanceDeep(cModelInstance* instance, float deep) override;
    void setModelInstanceScale(cModelInstance* instance, const cVector2& scale) override;
    cVector2 getModelInstancePosition(cModelInstance* instance) override;
    cStringA getModelAnimationName(cModelInstance* instance) override;
    void setModelAnimation(cModelInstance* instance, const cStringA& name, float length, float position) override;
    void advanceModelAnimation(cModelInstance* instance, float dt) override;
    size_t getModelPartCount(cModelInstance* instance) override;
    cStringA getModelPartName(cModelInstance* instance, size_t part) override;
    size_t getModelPartBoneCount(cModelInstance* instance, size_t part) override;
    cStringA getModelPartBoneName(cModelInstance* instance, size_t part, size_t bone) override;
    bool getModelPartBoneMatrix(cModelInstance* instance, size_t part, size_t bone, cMatrix4x4* out) override;
    void setModelPartBoneMatrices(cModelInstance* instance, size_t part, const cMatrix4x4* matrices,
                                  size_t count) override;

    void drawSprite(const cDrawRecord& record) override;
};

// The program's one instance.
cSceneServices* getEngineSceneServices();
