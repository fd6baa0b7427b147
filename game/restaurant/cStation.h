#pragma once
// What every station, the trash, the sauces and the ovens share: a picture that is also a
// click target, its hover highlight, the two pointer marks above it (deep + 10 and + 10.1),
// the use run of its layer-0 animation, the queue of its use sound and the flash of a bonus
// arrival (a click effect under the station's parent, just behind it).
//
// Runs are stepped by the station, not by the drawing: each step clamps the time to the run
// (0 .. length), so the station sees a run end whether or not it is drawn, looped or made of a
// single frame, and the frames drawn are those the clamped time names.

#include <cstdint>

#include "engine/scene/cPicture.h"
#include "game/restaurant/cClickTarget.h"

class cHighlight;
class cSprite;

// Layer-0 run helpers of the stations.
namespace station_run {
// Adds dt (may be negative) to the layer-0 time, held within 0 .. length.
void advance(cSprite* sprite, float dt);
// The forward run has reached its end (time at or past the length).
bool atEnd(const cSprite* sprite);
// The backward run has reached its start (time at or below 0).
bool atStart(const cSprite* sprite);
// Shows frame n (1-based) of layer 0, exactly: where the frame's start time reads back as the
// frame before (rounding of the frame arithmetic), the time is put inside the frame instead.
void showFrame(cSprite* sprite, uint32_t frame);
}  // namespace station_run

// One step of a steam's fade at 700 alpha a second: fade +1 shows a hidden steam from its
// layer-0 time startTime and raises it to 255, -1 lowers it to 0 and hides it; either ends the
// fade (0). A shown steam's run advances by dt; its alpha is written every step.
void stepSteam(cPicture* steam, int& fade, float& alpha, float dt, float startTime);

// The use sound: one play per use, each next one in the frame after the previous one's delay
// ran out (with delay 0, every second frame).
class cUseSound {
public:
    explicit cUseSound(const char* name = "") : m_name(name) {}
    void setName(const char* name) { m_name = name; }
    void setDelay(float delay) { m_delay = delay; }
    void add() { ++m_count; }
    void step(float dt);
    int pending() const { return m_count; }

private:
    const char* m_name;
    int m_count = 0;
    float m_delay = 0.0f;
    float m_timer = 0.0f;
    bool m_playing = false;
};

class cStation : public cPicture, public cClickTarget {
public:
    explicit cStation(cSceneNode* parent);
    // Hides and disables; the highlight and the marks are children, deleted with it.
    ~cStation() override;

    // The standard hover update; the highlight shows exactly while hovered and allowed.
    void updateHover(bool testMouse, bool value) override;
    // One click effect copied from the station, under its parent, 0.1 behind it.
    void showClickEffect() override;

    cHighlight* getHighlight() const { return m_highlight; }
    bool isUseRunning() const { return m_used; }

protected:
    // The highlight (centred, over the station, with the alpha) and the pointer marks.
    void finishBuild(int32_t highlightAlpha);
    // Whether the highlight may show while hovered (the coffee machine hides it while brewing).
    virtual bool highlightAllowed() const { return true; }
    // Starts the use run; a use during a run neither restarts nor prolongs it.
    void startUse() { m_used = true; }
    // One step of the use run: to its end, then rewound to the start.
    void stepUse(float dt);
    void playSound(const char* name) const;

    cHighlight* m_highlight = nullptr;
    int32_t m_highlight_alpha = 255;
    bool m_used = false;
};
