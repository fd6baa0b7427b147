#include "engine/media/cModelInstance.h"

#include <cmath>

#include "engine/media/cBoneMatrixSet.h"
#include "engine/media/cModel.h"
#include "engine/media/cModelAnimationSet.h"

cModelInstance::cModelInstance(cModel* model, std::vector<cBoneMatrixSet*> sets)
    : m_model(model), m_sets(std::move(sets)) {
    update(0.0f);
}

cModelInstance::~cModelInstance() {
    if (m_model) m_model->removeInstance(this);
    for (cBoneMatrixSet* set : m_sets) delete set;
}

cStringA cModelInstance::getAnimationName() const { return m_set ? m_set->getName() : cStringA(); }

void cModelInstance::setAnimation(const cStringA& name, float length, float time) {
    m_set = m_model ? m_model->findAnimationSet(name) : nullptr;
    m_length = length;
    m_time = time;
    update(0.0f);
}

void cModelInstance::update(float dt) {
    if (!(m_length > 0.0f) || !std::isfinite(m_length)) {
        // No length (or a nonsensical one): the first pose, time standing still.
        m_phase = 0.0f;
    } else {
        m_time += dt;
        m_time = m_time - std::floor(m_time / m_length) * m_length;
        // Rounding can land exactly on the length, or a bad step on a non-number.
        if (!(m_time >= 0.0f && m_time < m_length)) m_time = 0.0f;
        m_phase = m_time / m_length;
    }
    if (!m_model) return;
    m_model->resetPose();
    if (m_set) m_set->apply(m_phase);
    m_model->updateCombined();
    for (cBoneMatrixSet* set : m_sets)
        if (set) set->update();
}

void cModelInstance::getPosition(float* x, float* y) const {
    if (x) *x = m_x;
    if (y) *y = m_y;
}

void cModelInstance::setPosition(float x, float y) {
    m_x = x;
    m_y = y;
    m_worldStale = true;
}

void cModelInstance::setDepth(float depth) {
    m_depth = depth;
    m_worldStale = true;
}

void cModelInstance::getScale(float* x, float* y) const {
    if (x) *x = m_scaleX;
    if (y) *y = m_scaleY;
}

void cModelInstance::setScale(float x, float y) {
    m_scaleX = x;
    m_scaleY = y;
    m_worldStale = true;
}

const cMatrix4* cModelInstance::getWorldMatrix() {
    if (m_worldStale) {
        m_world = transformation({m_scaleX, m_scaleY, 1.0f}, cQuaternion{}, {m_x, m_y, m_depth});
        m_worldStale = false;
    }
    return &m_world;
}
