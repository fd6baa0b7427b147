#pragma once
// The hints of one tutorial level, read from "Config/Game/hints_<n>.ini", shown one at a time.
// The level's tutorial script decides when the next hint comes; this only carries the change
// out: the previous hint fades out, then the next one fades in. A hint that is still fading in
// is first allowed to finish, so two hints never fade at the same time.
//
// The file: sections "HINT_1", "HINT_2", ... each a picture (the bubble) with its `position`;
// the list ends at the first section whose position is absent or exactly -100 -100, whatever
// follows. "HINT_<k>_ARROW_1" and "HINT_<k>_ARROW_2" are the arrows, each only when it gives a
// position; they run the animation of section "ARROW" and turn by their `direction` (UP 180
// degrees, LEFT 90, RIGHT 270, anything else 0). Hint k (from 1) lies at depth 8200 + 5(k-1)
// + 1 (bubble), + 2 and + 3 (arrows): above the restaurant, under the level's dimming layer.

#include <string>
#include <vector>

#include "engine/scene/cSceneNode.h"

class cHint;
class cIniFile;

class cHints : public cSceneNode {
public:
    static constexpr float kFirstDeep = 8200.0f;
    static constexpr float kDeepPerHint = 5.0f;

    // Loads "Config/Game/hints_<n>.ini" (which must be loaded), then shows and enables itself.
    cHints(cSceneNode* parent, int n);
    ~cHints() override;

    // The change of hint under way (if any), then the hints' own steps.
    void update() override;
    // Builds the hints of the file of this object's number (ini and section are not used).
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void load();

    // Step + 1; nothing is shown or hidden.
    void nextStep();
    // Step + 1 with a change of hint: the previous hint fades out, then the new one fades in.
    void nextStepAndShow();
    // The current hint (when there is one) starts to fade in / out; a change under way ends.
    void showCurrent();
    void hideCurrent();

    // -1 before the first hint, then 0, 1, ...; it may pass the number of hints.
    int getStep() const { return m_step; }
    bool isPending() const { return m_pending; }
    int getNumber() const { return m_number; }
    size_t getHintCount() const { return m_hints.size(); }
    cHint* getHint(size_t index) const { return index < m_hints.size() ? m_hints[index] : nullptr; }

    // The resource name of the file of tutorial level n.
    static std::string fileName(int n);
    // The angle of an arrow's `direction`.
    static float directionAngle(const cStringW& direction);

private:
    void stepChange();

    std::vector<cHint*> m_hints;
    bool m_pending = false;
    int m_step = -1;
    int m_number = 0;
};
