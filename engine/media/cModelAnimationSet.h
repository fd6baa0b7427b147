#pragma once
// A named animation set of a model: one track per animation of the set, applied together.

#include <vector>

#include "engine/core/cString.h"

class cModelTrack;

class cModelAnimationSet {
public:
    // Takes the name as given (the model passes it lower-cased).
    explicit cModelAnimationSet(const cStringA& name) : m_name(name) {}
    virtual ~cModelAnimationSet();
    cModelAnimationSet(const cModelAnimationSet&) = delete;
    cModelAnimationSet& operator=(const cModelAnimationSet&) = delete;

    const cStringA& getName() const { return m_name; }
    const std::vector<cModelTrack*>& getTracks() const { return m_tracks; }
    // Takes ownership.
    void addTrack(cModelTrack* track) { m_tracks.push_back(track); }

    // Every track at the phase (0 <= phase < 1), in order.
    void apply(float phase) const;

private:
    cStringA m_name;
    std::vector<cModelTrack*> m_tracks;
};
