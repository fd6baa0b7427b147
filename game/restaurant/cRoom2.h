#pragma once
// World 2's room: three horses trot past the windows along the curve "horse" of
// "Config/Game/world2_horse.crv", speeding up and slowing down with the level like the train
// of world 1 (their run reads "speed", "start_speed", "delta_speed" of "HORSE"). Each frame
// has three passes of the same step. A horse that reaches the curve's last x comes back at
// its first x, at the base height, and draws its rider anew: rand % 6 below 4 is rider
// picture r ("character0<r+1>.dds", offset "off_c<r+1>" of "HORSE"), 4 and 5 ride alone.
// Layer 1 scrolls at its start speed. Lights: four from "LIGHT_DAY_EVENINIG" by day and in the
// evening, eight from "LIGHT_NIGHT" at night, none for a level outside the world.

#include "game/restaurant/cRoom.h"

class cCurve;

class cRoom2 : public cRoom {
public:
    explicit cRoom2(cSceneNode* level);
    ~cRoom2() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;

    cPicture* getHorse(int k) const { return m_horses[k]; }
    cPicture* getRider(int k) const { return m_riders[k]; }
    int getRiderCharacter(int k) const { return m_rider_character[k]; }
    const std::vector<cPicture*>& getLights() const { return m_lights; }
    const cRun& getHorseRun() const { return m_run; }

private:
    cCurve* m_horse_curve = nullptr;
    cPicture* m_horses[3];
    cPicture* m_riders[3];
    int m_rider_character[3] = {0, 0, 0};
    cVector2 m_rider_offsets[4];
    cRun m_run;
    float m_base_y = 0.0f;
    std::vector<cPicture*> m_lights;
};

inline constexpr const char* kHorseCurves = "Config/Game/world2_horse.crv";
