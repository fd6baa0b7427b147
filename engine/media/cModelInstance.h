#pragma once
// The per-sprite state of a model: the selected animation set, its length and time, the
// placement on the screen (position, depth, scale and the world matrix made of them) and the
// instance's bone-matrix sets with their posed meshes.

#include <vector>

#include "engine/core/cString.h"
#include "engine/media/cModelMath.h"

class cModel;
class cModelAnimationSet;
class cBoneMatrixSet;

class cModelInstance {
public:
    // Made by cModel::createInstance; takes ownership of the sets (null entries allowed).
    cModelInstance(cModel* model, std::vector<cBoneMatrixSet*> sets);
    // Deletes the sets (each leaves its mesh part).
    virtual ~cModelInstance();
    cModelInstance(const cModelInstance&) = delete;
    cModelInstance& operator=(const cModelInstance&) = delete;

    // The selected set's name, or an empty name.
    virtual cStringA getAnimationName() const;
    // Selects the set of that name (none when the model has no such set), stores the length
    // and time in seconds and poses the model at once.
    virtual void setAnimation(const cStringA& name, float length, float time);
    // Advances the time by dt seconds, wrapping it into 0 <= time < length (a length of 0
    // keeps phase 0), poses the shared frames and reads the pose into this instance's sets.
    virtual void update(float dt);

    virtual void getPosition(float* x, float* y) const;
    virtual void setPosition(float x, float y);
    virtual float getDepth() const { return m_depth; }
    virtual void setDepth(float depth);
    virtual void getScale(float* x, float* y) const;
    virtual void setScale(float x, float y);
    // Scaling (scale x, scale y, 1), then translation (x, y, depth); recomputed when stale.
    virtual const cMatrix4* getWorldMatrix();

    cModel* getModel() const { return m_model; }
    cModelAnimationSet* getAnimationSet() const { return m_set; }
    float getTime() const { return m_time; }
    float getLength() const { return m_length; }
    // The phase of the last update (time / length, 0 when the length is 0).
    float getPhase() const { return m_phase; }
    // One per mesh part of the model, in order; null where the part has no mesh.
    const std::vector<cBoneMatrixSet*>& getBoneMatrixSets() const { return m_sets; }

    // The model is being deleted: forget it and its animation set.
    void detachModel() {
        m_model = nullptr;
        m_set = nullptr;
    }

private:
    cModel* m_model;
    cModelAnimationSet* m_set = nullptr;
    float m_time = 0.0f;
    float m_length = 0.0f;
    float m_phase = 0.0f;
    std::vector<cBoneMatrixSet*> m_sets;
    float m_x = 0.0f, m_y = 0.0f;
    float m_depth = 0.0f;
    float m_scaleX = 1.0f, m_scaleY = 1.0f;
    cMatrix4 m_world;
    bool m_worldStale = true;
};
