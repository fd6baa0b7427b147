#pragma once
// A background layer seen through the room's windows, and the run that moves it.
//
// The run (the train's two layers in world 1, the horses in world 2): each frame the speed
// step adds dt x direction x delta_speed; the ramp step counts the seconds spent speeding up,
// settles at `speed`, and starts braking once the level has no more time left than the run
// took to speed up; a braking run rests at 0.
//
// The layer scrolls its texture rectangle right by dt x current speed, wraps it back by
// size.x once its left edge reaches size.x, and hands the picture the rectangle with its left
// and right edges truncated to whole pixels; the stored rectangle keeps its fractions.

#include "engine/core/cRect.h"
#include "engine/core/cString.h"
#include "engine/core/cVector2.h"

class cIniFile;
class cPicture;

struct cRun {
    float speed = 0.0f;         // cruising speed, pixels per second
    float startSpeed = 0.0f;
    float currentSpeed = 0.0f;
    float deltaSpeed = 0.0f;    // pixels per second squared
    float rampTime = 0.0f;      // seconds spent speeding up
    float direction = 1.0f;     // +1 speeding up, 0 steady, -1 braking

    // "speed", "start_speed", "delta_speed" of the section; the run starts at its start speed.
    void load(const cIniFile& ini, const wchar_t* section);
    void speedStep(float dt);
    void rampStep(float dt, float timeLeft);
};

class cScrollLayer {
public:
    cPicture* picture = nullptr;   // not owned (a picture of the room)
    cRun run;
    cVector2 size;                 // x: the period of the texture
    cRect rect;                    // texture pixels, with fractions

    // The run keys, "size" and "texture_rect" of the section (absent: unchanged).
    void load(const cIniFile& ini, const wchar_t* section);
    // One step at the run's current speed; a speed of 0 leaves everything as it is.
    void scroll(float dt);
};
