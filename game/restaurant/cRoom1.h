#pragma once
// World 1's room rides on a train. Its two background layers run up to speed as the level
// begins and brake to a stop as the level's time runs out ("sounds/game/train_start.ogg" once
// layer 1 has sped up for 0.5 s, "sounds/game/train_stop.ogg" once it brakes with 10 s or less
// left); while more than 40 s are left the rails rattle ("sounds/game/train_move.ogg") in
// series: a pause drawn from "delay_min_max" (in steps of 0.0001 s), then a number of rattles
// drawn from "cycles_min_max", "between_cycles_delay" apart. The broken door shakes along the
// curve "door" of "Config/Game/broken_door.crv" (also while hidden, from Interior1 2 on).
// Lights: "LIGHT_DOOR" and three "LIGHT_WINDOW" by time of day, none at night.

#include "game/restaurant/cRoom.h"

class cCurve;

class cRoom1 : public cRoom {
public:
    explicit cRoom1(cSceneNode* level);
    ~cRoom1() override;

    void update() override;
    // Loads the whole room from its own file; both arguments are ignored.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;

    void rollTrainSound();
    void stepTrainSound(float dt);

    cPicture* getBrokenDoor() const { return m_broken_door; }
    cPicture* getDoorLight() const { return m_light_door; }
    cPicture* getWindowLight(int i) const { return m_light_windows[i]; }
    float getTrainDelay() const { return m_train_delay; }
    int getTrainCyclesLeft() const { return m_train_cycles_left; }

protected:
    void loadAfterDoors(const cIniFile& ini) override;

private:
    cCurve* m_door_curve = nullptr;
    cPicture* m_broken_door;
    cPicture* m_light_door;
    cPicture* m_light_windows[3];
    cVector2 m_door_base;
    float m_door_time = 0.0f;
    cVector2 m_train_delay_range;
    cVector2 m_train_cycles_range;
    float m_train_cycle_gap = 0.0f;
    float m_train_delay = 0.0f;
    int m_train_cycles_left = 0;
    float m_train_cycle_timer = 0.0f;
    bool m_start_sound_played = false;
    bool m_stop_sound_played = false;
};

inline constexpr const char* kBrokenDoorCurves = "Config/Game/broken_door.crv";
