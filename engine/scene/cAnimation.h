#pragma once
// An animation description read from configuration: the texture, the frame count, the length
// of one run, looping and the frame size. Game objects read one and start it with
// setLayer0Animation(animation, ORIGIN_START, 0).

#include <cstdint>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"

class cIniFile;

struct cAnimation {
    cStringA picture;        // texture name
    uint32_t frameCount = 1; // a section without the key keeps the layer defaults
    float length = 0.0f;     // seconds
    bool looped = true;
    cVector2 frameSize;      // (0, 0): the whole image
};

// Origins of setAnimation: where the layer's time starts.
enum AnimationOrigin : unsigned {
    ORIGIN_START = 0,      // time 0
    ORIGIN_KEEP = 1,       // the layer's current time (wrapped when the layer loops)
    ORIGIN_END = 2,        // the animation's length
    ORIGIN_PERCENT = 3,    // value percent of the length
    ORIGIN_SECONDS = 4,    // value seconds
};

// Reads "picture" (always replaced; absent gives an empty name), "anim_looped",
// "anim_length", "anim_frame_count", "anim_frame_size" (absent or unreadable keep the field).
void loadAnimation(cAnimation* animation, const cIniFile& ini, const cStringW& section);
