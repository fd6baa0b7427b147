#pragma once
// The level being played. Built for play, it owns the whole restaurant of the game data's
// current level: the score table, the bonus bar, the customer generator, the six tables, the
// stations its upgrades call for, the cotton-candy stand and the trash. Every frame it runs
// the level clock on game time, picks the click target under the mouse and hands clicks on,
// shows the goal and expert messages, dims the scene under a pausing panel, and answers
// whether the level is over; at the end it pays the bonus bar out as stars (the bonus count).
// It hosts the tutorial scripts of the first four levels (the level is the restaurant they
// read and act on, their hints its child) and the fireworks of four late levels.
//
// The plain construction builds nothing: a host node for restaurant objects under test, with
// no clock (no time is left).

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cSceneNode.h"
#include "game/interface/cCompletion.h"
#include "game/interface/cTutorial.h"
#include "game/restaurant/cRestaurantHost.h"

class cTable;
class cClickTarget;
class cSouseStation;
class cCoffeeStation;
class cCakeStation;
class cSnackStation;
class cCreamStation;
class cDrinkStation;
class cOven;
class cTrash;
class cCottonStation;
class cCustomerGenerator;
class cScoreTable;
class cTempBonuses;
class cPicture;
class cPanelStatus;
class cRoom;
class cSubStation;
class cWaitress;
class cHints;

class cLevel : public cSceneNode, public cCompletion, public cRestaurantHost, public cSingleton<cLevel> {
public:
    enum class Build { Play };

    explicit cLevel(cSceneNode* parent = nullptr);
    // Builds the restaurant of the game data's current level under the parent.
    cLevel(cSceneNode* parent, Build);
    ~cLevel() override;

    void update() override;
    void loadFromNode(const cXmlNode&) override {}
    void loadFromIni(const cIniFile&, const cStringW&) override {}
    void onEnable() override;
    void onDisable() override;

    // Over: the time is up, no message shows and the six tables have stayed empty for 1.0 s
    // of game time; complete once the bonus count is done and its last star has gone.
    bool isOver();
    bool isComplete() override { return isOver(); }
    bool isBuilt() const { return m_built; }

    // The level as its restaurant objects and characters see it (cRestaurantHost).
    cSceneNode* getHostNode() override { return this; }

    // Seconds of level time left, 0 when the time is up.
    float getTimeLeft() const override { return m_time_left; }

    // The six tables in order, table 1 first; null where a table is absent. The level fills
    // them as it builds its tables (tests install their own).
    const std::array<cTable*, 6>& getTables() const override { return m_tables; }
    void setTables(const std::array<cTable*, 6>& tables) { m_tables = tables; }

    // The dim over the level while a pausing panel covers it (the panels set it as they start
    // to show and to hide). It pauses nothing: the logic pause does.
    void setDimmed(bool dimmed) { m_dimmed = dimmed; }
    bool isDimmed() const { return m_dimmed; }
    float getFaderAlpha() const { return m_fader_alpha; }
    cPicture* getFader() const { return m_fader; }

    // The status panel whose score picture the bonus-count stars fly to.
    void setStatusPanel(cPanelStatus* panel) { m_status = panel; }

    // A tutorial script is installed (world 1, levels 1 to 4, normal mode) until its last step:
    // the level clock stands still meanwhile, and the game screen freezes the status clock.
    bool hasTutorialScript() const { return m_tutorial.isInstalled(); }
    bool wasGoalReached() const { return !m_goal_message_pending; }
    int32_t countWaitingCustomers() const;
    cClickTarget* getHovered() const { return m_hovered; }
    bool isBonusCountDone() const { return m_bonus_count_done; }
    int32_t getScoreStarsShown() const { return m_score_stars_shown; }
    int32_t getClicks() const { return m_clicks; }
    float getBestClickRate() const { return m_best_click_rate; }
    float getTutorialCountdown() const { return m_tutorial.getCountdown(); }
    // The hints of a tutorial level (a child of the level), null in other levels.
    cHints* getHints() const { return m_hints; }

    // What the level built (null where absent), for the waitress's actions and the tests.
    cSouseStation* getSauceStation(int slot) const { return slot >= 0 && slot < 3 ? m_sauces[slot] : nullptr; }
    cCoffeeStation* getCoffeeStation() const { return m_coffee; }
    cCakeStation* getCakeStation() const { return m_cake; }
    cSnackStation* getSnackStation() const { return m_snack; }
    cCreamStation* getCreamStation() const { return m_cream; }
    cDrinkStation* getDrinkStation() const { return m_drink; }
    cOven* getOven(int index) const { return index == 1 ? m_oven1 : index == 2 ? m_oven2 : nullptr; }
    cTrash* getTrash() const { return m_trash; }
    cCottonStation* getCottonStation() const { return m_cotton; }
    cCustomerGenerator* getGenerator() const { return m_generator; }
    cRoom* getRoom() const { return m_room; }
    cSubStation* getSubStation() const { return m_counter; }
    cWaitress* getWaitress() const { return m_waitress; }
    const std::vector<cClickTarget*>& getBlockableTargets() const { return m_blockable; }

    // The steps of the frame.
    void updateClickStats();
    void updateFader();
    // Centres the fader on the back buffer and stretches it over all of it.
    void coverBackBufferWithFader();
    void updateClickRate();
    void updateFireworks();
    void launchFirework(const cVector2& position);
    void pickHovered();
    static void onClick(void* level);

    // Debug operations of the game screen's cheats.
    void clearTime() { m_time_left = 0.0f; }
    void raiseScoreToGoal();
    void raiseScoreToExpert();
    void changeMoods(int32_t delta);
    void fillComboBar();
    void sendThief();

private:
    void build();
    void block(bool blocked);
    void stepBonusCount(float dt);

    bool m_built = false;
    float m_time_left = 0.0f;
    cClickTarget* m_hovered = nullptr;
    bool m_goal_message_pending = true;
    bool m_expert_message_pending = true;
    std::array<cTable*, 6> m_tables{};
    std::array<cSouseStation*, 3> m_sauces{};
    cRoom* m_room = nullptr;
    cSubStation* m_counter = nullptr;
    cWaitress* m_waitress = nullptr;
    cCoffeeStation* m_coffee = nullptr;
    cTrash* m_trash = nullptr;
    cCakeStation* m_cake = nullptr;
    cSnackStation* m_snack = nullptr;
    cCreamStation* m_cream = nullptr;
    cDrinkStation* m_drink = nullptr;
    cOven* m_oven1 = nullptr;
    cOven* m_oven2 = nullptr;
    cCottonStation* m_cotton = nullptr;
    cCustomerGenerator* m_generator = nullptr;
    cScoreTable* m_scores = nullptr;
    cTempBonuses* m_bonuses = nullptr;
    cPicture* m_fader = nullptr;
    float m_fader_alpha = 150.0f;
    bool m_dimmed = false;
    bool m_over = false;
    bool m_bonus_count_done = false;
    float m_bonus_tick_interval = 0.2f;
    float m_bonus_tick_timer = 0.2f;
    float m_end_delay = 1.0f;
    // The tutorial script and the restaurant as it sees it (the adapter lives in cLevel.cpp).
    class TutorialHost;
    cTutorial m_tutorial;
    std::unique_ptr<TutorialHost> m_tutorial_host;
    cHints* m_hints = nullptr;
    std::vector<cClickTarget*> m_blockable;
    float m_fireworks_start_delay = 5.0f;
    float m_fireworks_cycle_length = 8.0f;
    float m_fireworks_cycle_timer = 8.0f;
    std::array<bool, 4> m_fireworks_fired{};
    int32_t m_score_stars_shown = 0;
    int32_t m_clicks = 0;
    float m_best_click_rate = 0.0f;
    float m_elapsed = 0.0f;
    cPanelStatus* m_status = nullptr;
};

// The level, or null when none exists.
cLevel* getLevel();
