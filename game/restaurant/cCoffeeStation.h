#pragma once
// The coffee machine: a use while it is empty starts a brew (the "WORK" run and
// "sounds/game/coffee_mashine.ogg"); a use while it brews is refused; when the brew time is
// reached the batch (1 or 2 cups) stands ready under rising steam and a pulsing glow, the
// state is 6, and each use hands out one cup (a queued "sounds/game/waiter_takes.ogg") until
// none is left. Bonus mode brews temp_multiplier times faster. No highlight while brewing.
//
// Graphics set 1 brews one cup below upgrade 2 (one steam at the absolute deep 1015) and two
// from 2 on, never with a shorter time; the other sets brew two, dec_generation_time shorter
// from upgrade 2 on.

#include "game/restaurant/cStation.h"
#include "engine/scene/cAnimation.h"

class cCoffeeStation : public cStation {
public:
    explicit cCoffeeStation(cSceneNode* parent);
    ~cCoffeeStation() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void loadFromNode(const cXmlNode& node) override;
    int32_t getKind() const override { return KIND_COFFEE_STATION; }
    // 0: take a cup, or start a brew when none waits (refused while brewing). Any other value
    // is stored.
    bool setState(int32_t value) override;

    // 1 from the start of a brew to its end, else 0.
    int isWorking() const { return m_animation; }
    // Cups ready to be taken.
    int getCups() const { return m_cups; }
    int getBatch() const { return m_batch; }
    float getGenerationTime() const { return m_generation_time; }
    cPicture* getSteam(int i) const { return m_steam[i]; }
    cPicture* getGlow() const { return m_glow; }
    int pendingSounds() const { return m_sound.pending(); }

protected:
    bool highlightAllowed() const override { return !m_brewing; }

private:
    void loadConfig();
    void setAnimation(int index);
    void stepSteam(float dt);
    void stepGlow(float dt);
    void stepBrew(float dt);

    cAnimation m_animations[2];
    bool m_brewing = false;
    float m_generation_time = 0.0f;
    float m_dec_generation_time = 0.0f;
    float m_temp_multiplier = 1.0f;
    float m_elapsed = 0.0f;
    cPicture* m_steam[2] = {nullptr, nullptr};
    cPicture* m_glow = nullptr;
    int m_cups = 0;
    int m_batch = 0;
    float m_glow_alpha = 0.0f;
    float m_glow_pause = 0.0f;
    int m_glow_direction = 1;
    int m_steam_fade[2] = {0, 0};
    float m_steam_alpha[2] = {0.0f, 0.0f};
    int m_animation = 0;
    cUseSound m_sound{"sounds/game/waiter_takes.ogg"};
};

inline constexpr const char* kCoffeeIni = "Config/Game/o_coffee_station.ini";
// The key of a graphics set's value: "<stem>_world_2" for set 2, "_world_3" for 3, else "_world_1".
cStringW worldKey(const wchar_t* stem, int graphicsSet);
