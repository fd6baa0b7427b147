#pragma once
// The tutorial of world 1, levels 1 to 4 (normal game mode only): one script per level that
// shows the level's hints one after another, lets the player click only what the current hint
// talks about, holds customers back or lets them come, and waits for an exact restaurant state
// before the next hint. The level owns one cTutorial and implements cTutorialHost.
//
// What the level does with it:
// - when it is built: tutorial = cTutorial::forLevel(world, level, normal mode); when that is
//   installed, it creates cHints(level, level number) as its child and, where
//   skipsBonusCount(), ends without the bonus count;
// - once every restaurant object exists: tutorial.setUp(level) (fast bar filling, waitress in
//   tutorial mode, patient customers, every target, sub and plate blocked; in level 1 release
//   stopped and a 1-second countdown);
// - every frame, before the restaurant updates: tutorial.update(level, logic paused, game dt);
// - while isInstalled() the level clock stands still (and the status clock is frozen).
//
// The script removes itself in its last step: from then on the level plays as any other.

#include "game/interface/cTutorialHost.h"

class cTutorial {
public:
    // A countdown step of the scripts; the countdown never goes below 0.
    cTutorial() = default;
    // The tutorial of a level being built: installed only in world 1, in normal mode, for the
    // tutorial levels; otherwise none.
    static cTutorial forLevel(int world, int level, bool normalMode);

    bool isInstalled() const { return m_script != nullptr; }
    // 1..4, 0 when none was installed.
    int getLevel() const { return m_level; }
    // Levels 1 to 3 end without the bonus count; level 4 keeps it.
    bool skipsBonusCount() const { return m_level >= 1 && m_level <= 3; }
    float getCountdown() const { return m_countdown; }

    // Once every restaurant object exists (nothing when none is installed).
    void setUp(cTutorialHost& host);
    // One frame: nothing while the logic is paused or once the script has ended; otherwise the
    // countdown runs down by dt (not below 0), then the step of the script is tested once.
    void update(cTutorialHost& host, bool logicPaused, float dt);

private:
    using Script = void (cTutorial::*)(cTutorialHost& host);
    explicit cTutorial(int level);

    void runTutorialLevel1(cTutorialHost& host);
    void runTutorialLevel2(cTutorialHost& host);
    void runTutorialLevel3(cTutorialHost& host);
    void runTutorialLevel4(cTutorialHost& host);
    // The last step of levels 2 to 4: everything unblocked, customers released and impatient,
    // the waitress out of tutorial mode, the last hint fades out, the script ends.
    void finale(cTutorialHost& host);
    bool countdownOut() const { return m_countdown <= 0.0f; }

    Script m_script = nullptr;
    int m_level = 0;
    float m_countdown = 0.0f;
};
