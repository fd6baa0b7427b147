#include "engine/media/cModelTrack.h"

#include <set>

#include "engine/media/cModel.h"
#include "engine/media/cModelFrame.h"

namespace {

// The two keys around t and the blend factor between them.
void findKeys(const std::vector<cModelKeyRecord>& keys, double t, size_t& c, size_t* prev, size_t* next, float* f) {
    const size_t count = keys.size();
    if (c >= count) c = 0;
    if (t >= keys[c].time) {
        while (c < count - 1 && t >= keys[c + 1].time) ++c;
        // One step more: c ends on the first key later than t, or on the last key.
        if (c < count - 1) ++c;
    }
    *prev = c > 0 ? c - 1 : 0;
    *next = c;
    const double pt = keys[*prev].time, nt = keys[*next].time;
    *f = pt < nt ? static_cast<float>((t - pt) / (nt - pt)) : 0.0f;
}

cModelVec3 vec3(const cModelKeyRecord& key) { return {key.values[0], key.values[1], key.values[2]}; }

cModelVec3 sampleVector(const std::vector<cModelKeyRecord>& keys, double t, size_t& search, cModelVec3 fallback) {
    if (keys.empty()) return fallback;
    if (keys.size() == 1) return vec3(keys[0]);
    size_t prev, next;
    float f;
    findKeys(keys, t, search, &prev, &next, &f);
    return lerp(vec3(keys[prev]), vec3(keys[next]), f);
}

}  // namespace

cQuaternion cModelTrack::sampleRotation(const std::vector<cModelKeyRecord>& keys, double t, size_t& search) {
    auto quat = [](const cModelKeyRecord& k) { return cQuaternion{k.values[0], k.values[1], k.values[2], k.values[3]}; };
    if (keys.empty()) return cQuaternion{};
    if (keys.size() == 1) return quat(keys[0]);
    size_t prev, next;
    float f;
    findKeys(keys, t, search, &prev, &next, &f);
    return slerp(quat(keys[prev]), quat(keys[next]), f);
}

cModelVec3 cModelTrack::sampleScale(const std::vector<cModelKeyRecord>& keys, double t, size_t& search) {
    return sampleVector(keys, t, search, {1.0f, 1.0f, 1.0f});
}

cModelVec3 cModelTrack::samplePosition(const std::vector<cModelKeyRecord>& keys, double t, size_t& search) {
    return sampleVector(keys, t, search, {0.0f, 0.0f, 0.0f});
}

cModelTrack::cModelTrack(const cModelAnimationRecord& record, cModel& model)
    : m_name(record.name), m_frame(model.findFrame(record.frameName)) {
    if (!record.matrixKeys.empty()) {
        m_samples.reserve(record.matrixKeys.size());
        for (const auto& key : record.matrixKeys)
            m_samples.push_back({static_cast<float>(key.time), cMatrix4::fromFloats(key.values)});
    } else {
        sampleKeys(record);
    }
    m_length = m_samples.empty() ? 0.0f : m_samples.back().time;
}

void cModelTrack::sampleKeys(const cModelAnimationRecord& record) {
    std::set<uint32_t> times;
    for (const auto* keys : {&record.rotationKeys, &record.scaleKeys, &record.positionKeys})
        for (const auto& key : *keys) times.insert(key.time);
    size_t rotationSearch = 0, scaleSearch = 0, positionSearch = 0;
    m_samples.reserve(times.size());
    for (uint32_t t : times) {
        const cQuaternion r = sampleRotation(record.rotationKeys, t, rotationSearch);
        const cModelVec3 s = sampleScale(record.scaleKeys, t, scaleSearch);
        const cModelVec3 p = samplePosition(record.positionKeys, t, positionSearch);
        m_samples.push_back({static_cast<float>(t), transformation(s, r, p)});
    }
}

void cModelTrack::apply(float phase) const {
    if (m_samples.empty() || !m_frame) return;
    const float t = phase * m_length;
    const size_t count = m_samples.size();
    size_t i = 0;
    if (t >= m_samples[0].time) {
        while (i < count - 1) {
            ++i;
            if (!(t >= m_samples[i].time)) break;
        }
    }
    const cModelSample& prev = m_samples[i > 0 ? i - 1 : 0];
    const cModelSample& next = m_samples[i];
    const float f = prev.time < next.time ? (t - prev.time) / (next.time - prev.time) : 0.0f;
    m_frame->setLocalMatrix(lerpMatrix(prev.matrix, next.matrix, f));
}
