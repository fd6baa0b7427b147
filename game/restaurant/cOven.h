#pragma once
// An oven (1 or 2): the waitress puts a raw sub in (an odd sub id), the door opens (phase 1),
// the sub slides in as the door closes (4, "sounds/game/oven_cooking.ogg"), it bakes (5, the
// progress indicator stepping), the door opens and the baked sub (id + 1) slides out (2,
// "sounds/game/oven_ready.ogg") and is offered as the state when that run ends; taking it
// (setState(0)) closes the door (3) and the oven is idle again (0). A raw sub given during 3
// goes straight to 4, so a take and a put can share one visit.
//
// The oven's phase is getPhase; getState is the offered item (0 or the baked id).
//
// Door runs are stepped by the oven and end at or past their end (at or below 0 backwards),
// so a door that is hidden, looped or of a single frame still lets its sub through.

#include "engine/scene/cAnimation.h"
#include "game/restaurant/cStation.h"

class cItemHolder;
class cOvenProgress;

class cOven : public cStation {
public:
    cOven(cSceneNode* parent, int index);
    ~cOven() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void loadFromNode(const cXmlNode& node) override;
    int32_t getKind() const override { return KIND_OVEN; }
    // Heard only in phase 0, in 3, and in 2 once its run ended: 0 takes the baked sub (refused
    // when none is out), a raw sub while nothing is offered goes in; any other id is stored.
    bool setState(int32_t id) override;
    void updateHover(bool testMouse, bool value) override;

    int getPhase() const { return m_phase; }
    bool isBusy() const { return m_busy; }
    bool isReady() const { return m_ready; }
    int32_t getProduct() const { return m_product; }
    float getGenerationTime() const { return m_generation_time; }
    cItemHolder* getItem() const { return m_item; }
    cOvenProgress* getProgress() const { return m_progress; }
    cPicture* getSteam() const { return m_steam; }
    cPicture* getBase() const { return m_base; }
    const cVector2& getItemVelocity() const { return m_item_velocity; }

protected:
    bool highlightAllowed() const override { return m_phase != 5; }

private:
    void loadConfig();
    void setPhase(int phase);
    void stepSteam(float dt);
    void stepPhase(float dt);
    void stepProgress();
    void advanceDoor(float dt);
    // Baking time per progress step; 0 when the indicator has fewer than two frames.
    float stepTime() const;

    int m_index;
    cAnimation m_animations[6];
    int m_phase = 0;
    bool m_busy = false;
    bool m_ready = false;
    int32_t m_product = 0;
    cVector2 m_item_velocity;
    float m_item_speed = 0.0f;
    float m_item_alpha_rate = 0.0f;   // 0: the fade is done at once
    float m_item_alpha = 0.0f;
    cVector2 m_item_position;
    float m_generation_time = 0.0f;
    float m_dec_generation_time = 0.0f;
    float m_temp_multiplier = 1.0f;
    float m_elapsed = 0.0f;
    float m_step_timer = 0.0f;
    cItemHolder* m_item = nullptr;
    cOvenProgress* m_progress = nullptr;
    cPicture* m_steam = nullptr;
    int m_steam_fade = 0;
    float m_steam_alpha = 0.0f;
    cPicture* m_base = nullptr;
};

inline constexpr const char* kOvenIni = "Config/Game/o_oven.ini";
