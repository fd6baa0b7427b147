#include "engine/media/cModelAnimationSet.h"

#include "engine/media/cModelTrack.h"

cModelAnimationSet::~cModelAnimationSet() {
    for (cModelTrack* track : m_tracks) delete track;
}

void cModelAnimationSet::apply(float phase) const {
    for (const cModelTrack* track : m_tracks) track->apply(phase);
}
