#pragma once
// The running light of the cotton candy stand: it travels the stand's outline (a closed path
// of the "v<n>" points of its section, given in pixels of a stand frame centred on the
// section's "position") at "speed_move" pixels per second, carrying the overshoot through
// corners, and drops a fading trail every 0.02 s. Every showing restarts it at the first point.
// A path of fewer than two points keeps it still; segments of no length are skipped.

#include <vector>

#include "engine/scene/cPicture.h"

class cCottonLights : public cPicture {
public:
    // Variant 1 reads section "LIGHT", any other "LIGHT2".
    cCottonLights(cSceneNode* stand, int variant);
    ~cCottonLights() override;
    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onShow() override;

    const std::vector<cVector2>& getPath() const { return m_path; }
    size_t getNextPoint() const { return m_next_point; }
    float getSpeed() const { return m_speed_move; }

private:
    // The next point after index whose segment from the point before has a length; index when
    // every point is the same.
    size_t nextDistinct(size_t from) const;
    void move(float dt);

    std::vector<cVector2> m_path;
    size_t m_next_point = 1;
    float m_trail_period = 0.02f;
    float m_trail_timer = 0.02f;
    float m_speed_move = 0.0f;
};
