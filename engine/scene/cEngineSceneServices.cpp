#include "engine/scene/cEngineSceneServices.h"

#include <cstring>
#include <vector>

#include "engine/core/cResourceManager.h"
#include "engine/core/cTimer.h"
#include "engine/media/cBoneMatrixSet.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cModel.h"
#include "engine/media/cModelInstance.h"
#include "engine/media/cModelMesh.h"
#include "engine/media/cTexture.h"
#include "engine/media/cDrawRecord.h"

namespace {

cBoneMatrixSet* partOf(cModelInstance* instance, size_t part) {
    if (!instance) return nullptr;
    const std::vector<cBoneMatrixSet*>& sets = instance->getBoneMatrixSets();
    return part < sets.size() ? sets[part] : nullptr;
}

}  // namespace

float cEngineSceneServices::getGameDelta() {
    cTimer* timer = getTimer();
    return timer ? timer->getGameDelta() : 0.0f;
}

float cEngineSceneServices::getRealDelta() {
    cTimer* timer = getTimer();
    return timer ? timer->getRealDelta() : 0.0f;
}

cVector2 cEngineSceneServices::getMousePosition() {
    cVector2 p;
    if (cInput* input = getInput()) input->getMousePosition(&p.x, &p.y);
    return p;
}

cVector2 cEngineSceneServices::getScreenSize() {
    cGraphics* graphics = getGraphics();
    if (!graphics) return cVector2();
    return cVector2(static_cast<float>(graphics->getWidth()), static_cast<float>(graphics->getHeight()));
}

void cEngineSceneServices::setCharListener(CharCallback callback, void* userData) {
    if (cInput* input = getInput()) input->setCharListener(callback, userData);
}

void cEngineSceneServices::clearCharListener() {
    if (cInput* input = getInput()) input->clearCharListener();
}

void cEngineSceneServices::addBinding(InputCode code, InputCallback callback, void* object) {
    if (cInput* input = getInput()) input->addBinding(code, callback, object);
}

void cEngineSceneServices::removeBinding(InputCode code, InputCallback callback, void* object) {
    if (cInput* input = getInput()) input->removeBinding(code, callback, object);
}

void cEngineSceneServices::addMotionListener(MotionCallback callback, void* object) {
    if (cInput* input = getInput()) input->addMotionListener(callback, object);
}

void cEngineSceneServices::removeMotionListener(MotionCallback callback, void* object) {
    if (cInput* input = getInput()) input->removeMotionListener(callback, object);
}

cTexture* cEngineSceneServices::getTexture(const cStringA& name) {
    cResourceManager* resources = getResourceManager();
    return resources ? resources->getTexture(name) : nullptr;
}

cVertexShader* cEngineSceneServices::getShader(const cStringA& name) {
    cResourceManager* resources = getResourceManager();
    return resources ? resources->getShader(name) : nullptr;
}

cModel* cEngineSceneServices::getModel(const cStringA& name) {
    cResourceManager* resources = getResourceManager();
    return resources ? resources->getModel(name) : nullptr;
}

cVector2 cEngineSceneServices::getTextureImageSize(cTexture* texture) {
    if (!texture) return cVector2();
    const uint32_t* size = texture->getImageSize();
    return cVector2(static_cast<float>(size[0]), static_cast<float>(size[1]));
}

cVector2 cEngineSceneServices::getTextureSize(cTexture* texture) {
    if (!texture) return cVector2();
    const uint32_t* size = texture->getTextureSize();
    return cVector2(static_cast<float>(size[0]), static_cast<float>(size[1]));
}

cModelInstance* cEngineSceneServices::createModelInstance(cModel* model) {
    return model ? model->createInstance() : nullptr;
}

void cEngineSceneServices::destroyModelInstance(cModelInstance* instance) { delete instance; }

void cEngineSceneServices::setModelInstancePosition(cModelInstance* instance, const cVector2& position) {
    if (instance) instance->setPosition(position.x, position.y);
}

void cEngineSceneServices::setModelInstanceDeep(cModelInstance* instance, float deep) {
    if (instance) instance->setDepth(deep);
}

void cEngineSceneServices::setModelInstanceScale(cModelInstance* instance, const cVector2& scale) {
    if (instance) instance->setScale(scale.x, scale.y);
}

cVector2 cEngineSceneServices::getModelInstancePosition(cModelInstance* instance) {
    cVector2 p;
    if (instance) instance->getPosition(&p.x, &p.y);
    return p;
}

cStringA cEngineSceneServices::getModelAnimationName(cModelInstance* instance) {
    return instance ? instance->getAnimationName() : cStringA();
}

void cEngineSceneServices::setModelAnimation(cModelInstance* instance, const cStringA& name, float length,
                                             float position) {
    if (instance) instance->setAnimation(name, length, position);
}

void cEngineSceneServices::advanceModelAnimation(cModelInstance* instance, float dt) {
    if (instance) instance->update(dt);
}

size_t cEngineSceneServices::getModelPartCount(cModelInstance* instance) {
    return instance ? instance->getBoneMatrixSets().size() : 0;
}

cStringA cEngineSceneServices::getModelPartName(cModelInstance* instance, size_t part) {
    cBoneMatrixSet* set = partOf(instance, part);
    return set && set->getPart() ? set->getPart()->getName() : cStringA();
}

size_t cEngineSceneServices::getModelPartBoneCount(cModelInstance* instance, size_t part) {
    cBoneMatrixSet* set = partOf(instance, part);
    return set && set->getPart() ? set->getPart()->getBoneCount() : 0;
}

cStringA cEngineSceneServices::getModelPartBoneName(cModelInstance* instance, size_t part, size_t bone) {
    cBoneMatrixSet* set = partOf(instance, part);
    if (!set || !set->getPart() || bone >= set->getPart()->getBoneCount()) return cStringA();
    return set->getPart()->getBoneName(bone);
}

bool cEngineSceneServices::getModelPartBoneMatrix(cModelInstance* instance, size_t part, size_t bone,
                                                  cMatrix4x4* out) {
    cBoneMatrixSet* set = partOf(instance, part);
    if (!set || !set->getPart() || bone >= set->getPart()->getBoneCount()) return false;
    if (out) std::memcpy(out->m, set->getPart()->getBoneOffset(bone).data(), sizeof out->m);
    return true;
}

void cEngineSceneServices::setModelPartBoneMatrices(cModelInstance* instance, size_t part,
                                                    const cMatrix4x4* matrices, size_t count) {
    cBoneMatrixSet* set = partOf(instance, part);
    if (!set || !matrices) return;
    std::vector<cMatrix4> converted;
    converted.reserve(count);
    for (size_t i = 0; i < count; ++i) converted.push_back(cMatrix4::fromFloats(matrices[i].m));
    set->refresh(converted.data(), converted.size());
}

void cEngineSceneServices::drawSprite(const cDrawRecord& record) {
    if (cGraphics* graphics = getGraphics()) graphics->drawSprite(record);
}

cSceneServices* getEngineSceneServices() {
    static cEngineSceneServices services;
    return &services;
}
