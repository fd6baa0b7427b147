#pragma once
// The cotton candy stand: one per level, reached through getCottonStation, with a choice
// (cCottonCandy) per installed machine (machine 1 makes candy 4 at L1 >= 1, machine 2 candy 5
// at L2 >= 1). A choice reached by the waitress orders its kind (one order at a time); the
// stand works for that machine's time (phase 1: the "WORK" run and
// "sounds/game/cotton_candy.ogg", choices hidden and their marks removed) and then offers the
// portion: on the stand itself (phase 2 for kind 4, 3 for kind 5; the body is clicked to take
// it), or, in the item-part layout, on a separate cCottonItem while the stand is free again
// (phase 4). A running light circles the stand while a portion waits and full effects are on.
//
// The timer always runs down; a job starts from the full time of its machine. Bonus mode
// speeds the timer and the work run by "temp_multiplier". Nothing is hoverable while L1 is 0.

#include <deque>

#include "engine/core/cSingleton.h"
#include "engine/scene/cAnimation.h"
#include "game/data/StationTextures.h"
#include "game/restaurant/cStation.h"

class cCottonCandy;
class cCottonItem;
class cCottonLights;

class cCottonStation : public cStation, public cSingleton<cCottonStation> {
public:
    explicit cCottonStation(cSceneNode* parent);
    ~cCottonStation() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void loadFromNode(const cXmlNode& node) override;
    // The stand at d, choice i at d + 0.1 + 0.1 i.
    void setDeep(float deep) override;

    int32_t getKind() const override { return KIND_COTTON_STATION; }
    // Stores the value; 0 over a stored portion takes it (back to phase 0). Always true.
    bool setState(int32_t value) override;
    void updateHover(bool testMouse, bool value) override;

    // Queues an order of kind 4 or 5 when none waits or is being made.
    bool requestCotton(int kind);
    // The waitress took the ready portion of that kind from its item part. Always true.
    bool takeItem(int kind);
    void setPhase(int phase);
    int getPhase() const { return m_phase; }
    cClickTarget* getHoveredPart() const { return m_hovered_part; }
    int getMachineCount() const { return m_machine_count; }

    // For tests and the level.
    cCottonCandy* getCandy(int machine) const { return m_candies[machine]; }
    cCottonItem* getItemPart(int machine) const { return m_items[machine]; }
    cPicture* getLid() const { return m_lid; }
    cPicture* getItemPicture(int machine) const { return m_item_picture[machine]; }
    cCottonLights* getLight() const { return m_light; }
    bool hasItemParts() const { return m_with_item_parts; }
    bool isItemReady(int machine) const { return m_item_ready[machine]; }
    bool isBusy() const { return m_busy; }
    float getTimer() const { return m_timer; }
    float getGenerationTime(int machine) const { return m_generation_time[machine]; }
    const cStringA& getWorkPicture(int machine) const { return m_work_picture[machine]; }
    size_t queuedOrders() const { return m_requests.size(); }

private:
    void loadConfig();

    std::deque<int> m_requests;
    cStringA m_work_picture[2];
    cPicture* m_lid = nullptr;
    cPicture* m_item_picture[2] = {nullptr, nullptr};
    cCottonLights* m_light = nullptr;
    cCottonCandy* m_candies[2] = {nullptr, nullptr};
    cCottonItem* m_items[2] = {nullptr, nullptr};
    bool m_item_ready[2] = {false, false};
    cVector2 m_cotton_positions[2][2];
    cVector2 m_item_positions[2];
    int m_machine_kinds[2] = {0, 0};
    cAnimation m_phase_animations[5];
    int m_phase = 0;
    float m_generation_time[2] = {0.0f, 0.0f};
    float m_dec_generation_time = 0.0f;
    float m_temp_multiplier = 1.0f;
    float m_timer = 0.0f;
    bool m_busy = false;
    bool m_with_item_parts = false;
    int m_machine_count = 0;
    int m_cotton1_level = 0;
    float m_stand_highlight_alpha = 255.0f;
    cClickTarget* m_hovered_part = nullptr;
};

cCottonStation* getCottonStation();
// The stand's names for the current level.
station_textures::Cotton cottonTextures();

inline constexpr const char* kCottonStandIni = "Config/Game/o_cotton_st.ini";
inline constexpr const char* kCottonIni = "Config/Game/o_cotton.ini";
inline constexpr const char* kCottonItemIni = "Config/Game/o_cotton_item.ini";
