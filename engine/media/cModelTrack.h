#pragma once
// One animation of an animation set, turned into a track of sampled matrices when the model is
// built: one (time, matrix) sample per key time. Playing it blends the two samples around the
// time element by element into the target frame's local matrix.

#include <cstddef>
#include <vector>

#include "engine/core/cString.h"
#include "engine/media/XFileReader.h"
#include "engine/media/cModelMath.h"

class cModel;
class cModelFrame;

struct cModelSample {
    float time = 0.0f;
    cMatrix4 matrix;
};

class cModelTrack {
public:
    cModelTrack(const cModelAnimationRecord& record, cModel& model);
    virtual ~cModelTrack() = default;

    const cStringA& getName() const { return m_name; }
    // The time of the last sample, 0 without samples.
    float getLength() const { return m_length; }
    cModelFrame* getTargetFrame() const { return m_frame; }
    const std::vector<cModelSample>& getSamples() const { return m_samples; }

    // Poses the target frame at phase p (0 <= p < 1) of the track's length; nothing without
    // samples or without a frame.
    void apply(float phase) const;

    // Key sampling at time t; search is the kind's running search position. Without keys the
    // defaults (no rotation, unit scale, no move); with one key its value; otherwise the blend
    // of the keys around t (slerp for rotations), extrapolated beyond the last key.
    static cQuaternion sampleRotation(const std::vector<cModelKeyRecord>& keys, double t, size_t& search);
    static cModelVec3 sampleScale(const std::vector<cModelKeyRecord>& keys, double t, size_t& search);
    static cModelVec3 samplePosition(const std::vector<cModelKeyRecord>& keys, double t, size_t& search);

private:
    void sampleKeys(const cModelAnimationRecord& record);

    cStringA m_name;
    float m_length = 0.0f;
    cModelFrame* m_frame = nullptr;
    std::vector<cModelSample> m_samples;
};
