#pragma once
// The small indicator of an oven: frame 1 idle, one frame further per baking step. The oven
// drives its hover (hovering it counts as hovering the oven); its highlight shows only on
// frame 1.

#include "game/restaurant/cStation.h"

class cOvenProgress : public cStation {
public:
    cOvenProgress(cSceneNode* oven, int index);
    ~cOvenProgress() override;
    int32_t getKind() const override { return KIND_OVEN_PROGRESS; }
    void updateHover(bool testMouse, bool value) override;
    void showClickEffect() override {}
    // The next frame, back to 1 after the last.
    void step();
    int getFrame() const { return m_frame; }

private:
    int m_index;
    int m_frame = 1;
};

inline constexpr const char* kOvenProgressIni = "Config/game/o_oven_progress.ini";
