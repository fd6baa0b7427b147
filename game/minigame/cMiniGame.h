#pragma once
// The hidden-object search: the objects of one level file (Config/MiniGame1/level<M>0<v>.ini,
// or the file named on the command line), the names to find on the status panel, a clock,
// hints, a time penalty for clicking at random and a bonus for finding everything. The score
// runs in the game data; the state polls completion and stores it.
//
// The objects fall into three lists, each sorted top-most first (greater deep first; for equal
// deep the later-created object first, as the render set draws it last): objects to find,
// hint objects (a find earns a hint button) and decor (never found, but covering what lies at
// or below its depth). Only the first count_lines objects to find can be found.
//
// The game stops with the logic's pause; isPaused only makes the blur picture fade in (the
// panels set it while they are up). Effects it starts end by themselves on game time.

#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"
#include "engine/scene/cSceneNode.h"
#include "game/interface/cCompletion.h"

class cHiddenObject;
class cIniFile;
class cMiniGameOwner;
class cPicture;

class cMiniGame : public cSceneNode, public cCompletion, public cSingleton<cMiniGame> {
public:
    static constexpr float kPenaltySeconds = 3.0f;   // a penalty drains over this much game time

    // An idle mini game without a level: nothing to find, nothing runs (the game-wide dialogs'
    // tests pause it).
    explicit cMiniGame(cSceneNode* parent = nullptr);
    // levelPath: the command-line level file, or empty to play the game data's mini game,
    // alternating its two variants. The status panel must exist already.
    cMiniGame(cSceneNode* parent, cMiniGameOwner* owner, const cStringA& levelPath);
    ~cMiniGame() override;

    void update() override;
    // Reads the level file (the section is not used).
    void load(const cIniFile& ini, const cStringW& section);
    void onEnable() override;
    void onDisable() override;

    // The left button: the click rules.
    static void onClickCallback(void* game);
    void onClick();
    // Chooses the object under the cursor (none first).
    void pickHovered();
    // The first object still to find starts blinking; null when nothing is left.
    cHiddenObject* hint();
    // Another time penalty to drain (the alert closed).
    void addPenalty() { m_penalty_left += m_time_penalty; }

    bool isPaused() const { return m_paused; }
    void setPaused(bool paused) { m_paused = paused; }
    float getTime() const { return m_time; }
    void clearTime() { m_time = 0.0f; }
    uint32_t getObjectCost() const { return m_object_cost; }
    bool isComplete() override;
    static bool compareDepth(const cHiddenObject* a, const cHiddenObject* b);

    // The level file read, and its document (null for an idle mini game).
    const cStringA& getLevelFile() const { return m_level_file; }
    const cIniFile* getLevelIni() const { return m_level_ini; }
    const std::vector<cHiddenObject*>& getObjectsToFind() const { return m_to_find; }
    const std::vector<cHiddenObject*>& getHintObjects() const { return m_hint_objects; }
    const std::vector<cHiddenObject*>& getDecor() const { return m_decor; }
    cHiddenObject* getHovered() const { return m_hovered; }
    cPicture* getBlur() const { return m_blur; }
    int32_t getMisses() const { return m_misses; }
    float getPenaltyLeft() const { return m_penalty_left; }
    bool isOver() const { return m_over; }
    bool isBonusPending() const { return m_bonus_pending; }
    float getClickTimer() const { return m_click_timer; }
    uint32_t getCountLines() const { return m_count_lines; }
    int32_t getCountHints() const { return m_count_hints; }

private:
    static cStringA chooseLevelFile(const cStringA& levelPath);
    void layoutNameLines(float t);
    void findObject(cHiddenObject* object);

    cMiniGameOwner* m_owner = nullptr;
    cStringA m_level_file;
    const cIniFile* m_level_ini = nullptr;
    cHiddenObject* m_hovered = nullptr;
    cPicture* m_blur = nullptr;
    std::vector<cHiddenObject*> m_decor;
    std::vector<cHiddenObject*> m_hint_objects;
    std::vector<cHiddenObject*> m_to_find;
    float m_name_position_y = 0.0f;
    float m_time = 0.0f;
    uint32_t m_bonus = 0;
    uint32_t m_object_cost = 0;
    float m_click_delay = 0.0f;
    float m_click_timer = 0.0f;
    uint32_t m_count_lines = 0;
    float m_blur_alpha = 255.0f;
    bool m_paused = true;
    float m_time_penalty = 0.0f;
    float m_penalty_left = 0.0f;
    int32_t m_clicks_for_penalty = 0;
    int32_t m_misses = 0;
    float m_miss_reset_delay = 0.0f;
    float m_miss_timer = 0.0f;
    bool m_penalty_sound_played = false;
    bool m_over = false;
    bool m_bonus_pending = false;
    float m_bonus_delay = 1.0f;
    int32_t m_count_hints = 0;
};

// The mini game while the mini-game state exists, else null.
cMiniGame* getMiniGame();
