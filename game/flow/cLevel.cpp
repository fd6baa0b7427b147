#include "game/flow/cLevel.h"

#include <sstream>

#include "engine/app/cLogic.h"
#include "engine/core/Ownership.h"
#include "engine/core/Random.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cPicture.h"
#include "game/characters/cWaitress.h"
#include "game/characters/cCustomer.h"
#include "game/characters/cCustomerGenerator.h"
#include "game/effects/EffectRegistry.h"
#include "game/effects/cFirework.h"
#include "game/effects/cFireworks.h"
#include "game/effects/cFxMessage.h"
#include "game/effects/cFxScoreStar.h"
#include "game/data/GameConstants.h"
#include "game/flow/cCursor.h"
#include "game/data/cGameData.h"
#include "game/scoring/cScoreTable.h"
#include "game/data/cStatistics.h"
#include "game/scoring/cTempBonuses.h"
#include "game/interface/cHints.h"
#include "game/interface/cPanelStatus.h"
#include "game/restaurant/cCoffeeStation.h"
#include "game/restaurant/cCottonStation.h"
#include "game/restaurant/cOrderCloud.h"
#include "game/restaurant/cOven.h"
#include "game/restaurant/cRoom.h"
#include "game/restaurant/cServingStation.h"
#include "game/restaurant/cSouseStation.h"
#include "game/restaurant/cSubStation.h"
#include "game/restaurant/cTable.h"
#include "game/restaurant/cTrash.h"

namespace {

void play(const char* name) {
    if (cSound* sound = getSound()) sound->playSample(cStringA(name));
}

template <class T>
bool contains(const T& list, int value) {
    for (int v : list)
        if (v == value) return true;
    return false;
}

cStringW decimal(float value) {
    std::wostringstream out;
    out << value;
    return cStringW(out.str());
}

const cVector2 kScreenCentre(400.0f, 300.0f);

}  // namespace

// The restaurant as the tutorial scripts read it and act on it. Anything the level did not
// build is skipped (an absent oven reads as phase -1, an absent coffee machine never brews).
class cLevel::TutorialHost : public cTutorialHost {
public:
    explicit TutorialHost(cLevel& level) : m_level(level) {}

    bool hasCustomer(int n) const override { return customer(n) != nullptr; }
    int32_t getCustomerStage(int n) const override {
        const cCustomer* c = customer(n);
        return c ? c->getStage() : STAGE_GONE;
    }
    int32_t getTableState(int n) const override {
        const cTable* t = table(n);
        return t ? t->getState() : ITEM_NONE;
    }
    bool isTableFree(int n) const override {
        const cTable* t = table(n);
        return t && t->isFree();
    }
    int32_t getHandItem(int hand) const override {
        return m_level.m_waitress ? m_level.m_waitress->getHandItem(hand) : ITEM_NONE;
    }
    bool isMakerWorking() const override { return m_level.m_counter && m_level.m_counter->isMakerWorking(); }
    int32_t getPlaceItem(int place) const override {
        return m_level.m_counter ? m_level.m_counter->getPlaceState(place) : ITEM_NONE;
    }
    bool isCoffeeBrewing() const override { return m_level.m_coffee && m_level.m_coffee->isWorking() != 0; }
    int getOvenPhase(int n) const override {
        const cOven* oven = m_level.getOven(n);
        return oven ? oven->getPhase() : -1;
    }

    void setTableBlocked(int n, bool blocked) override {
        if (cTable* t = table(n)) t->setBlocked(blocked);
    }
    void setStationBlocked(TutorialStation station, bool blocked) override {
        if (cClickTarget* target = stationTarget(station)) target->setBlocked(blocked);
    }
    void setAllTargetsBlocked(bool blocked) override { m_level.block(blocked); }
    void setSubsBlocked(bool blocked, int index) override {
        if (m_level.m_counter) m_level.m_counter->setSubsBlocked(blocked, index);
    }
    void setPlacesBlocked(bool blocked, int index) override {
        if (m_level.m_counter) m_level.m_counter->setPlacesBlocked(blocked, index);
    }
    void setSpawning(bool on) override {
        if (m_level.m_generator) m_level.m_generator->setSpawning(on);
    }
    void setPatientCustomers(bool on) override {
        if (m_level.m_generator) m_level.m_generator->setPatientCustomers(on);
    }
    void setWaitressTutorialMode(bool on) override {
        if (m_level.m_waitress) m_level.m_waitress->setTutorialMode(on);
    }
    void setCustomerWaitTime(int n, float seconds) override {
        if (cCustomer* c = customer(n)) c->setWaitTime(seconds);
    }
    void setFastFill(bool on) override {
        if (m_level.m_bonuses) m_level.m_bonuses->setFastFill(on);
    }
    void setBonusFrozen(bool frozen) override {
        if (m_level.m_bonuses) m_level.m_bonuses->setFrozen(frozen);
    }

    int getHintStep() const override { return m_level.m_hints ? m_level.m_hints->getStep() : -1; }
    void nextHint() override {
        if (m_level.m_hints) m_level.m_hints->nextStepAndShow();
    }
    void silentHintStep() override {
        if (m_level.m_hints) m_level.m_hints->nextStep();
    }
    void showHint() override {
        if (m_level.m_hints) m_level.m_hints->showCurrent();
    }
    void hideHint() override {
        if (m_level.m_hints) m_level.m_hints->hideCurrent();
    }

private:
    cTable* table(int n) const { return n >= 1 && n <= 6 ? m_level.m_tables[size_t(n - 1)] : nullptr; }
    cCustomer* customer(int n) const {
        const cTable* t = table(n);
        return t ? t->getCustomer() : nullptr;
    }
    cClickTarget* stationTarget(TutorialStation station) const {
        switch (station) {
        case TutorialStation::Cake: return m_level.m_cake;
        case TutorialStation::Drink: return m_level.m_drink;
        case TutorialStation::Coffee: return m_level.m_coffee;
        case TutorialStation::Cream: return m_level.m_cream;
        case TutorialStation::Oven1: return m_level.m_oven1;
        case TutorialStation::Trash: return m_level.m_trash;
        }
        return nullptr;
    }

    cLevel& m_level;
};

cLevel::cLevel(cSceneNode* parent) : cSceneNode(parent) {}

cLevel::cLevel(cSceneNode* parent, Build) : cSceneNode(parent) {
    m_dimmed = true;
    m_built = true;
    try {
        build();
    } catch (...) {
        // The scene children die with the node base; the rest goes here.
        clearEffectsAtLevelDestruction();
        destroyFireworks();
        deleteAndNull(m_waitress);
        deleteAndNull(m_scores);
        throw;
    }
}

void cLevel::build() {
    cGameData* data = getGameData();
    const int32_t world = data ? data->getWorld() : 1;
    const int32_t number = data ? data->getLevel() : 1;
    createFireworks(this);

    // The tutorial of world 1's first levels, in the campaign only.
    if (data) m_tutorial = cTutorial::forLevel(world, number, data->isNormalMode());
    if (m_tutorial.isInstalled()) {
        m_hints = new cHints(this, m_tutorial.getLevel());
        if (m_tutorial.skipsBonusCount()) m_bonus_count_done = true;
    }

    if (cStatistics* stats = getStatistics()) {
        stats->reset();
        stats->setLevel(number);
        stats->startRecord(data ? data->getProfileName().toNarrow() : cStringA());
    }
    m_time_left = data ? data->getLevelTime() : 0.0f;
    if (data) data->setScore(0);

    m_scores = new cScoreTable(this);
    m_bonuses = new cTempBonuses(this);
    m_generator = new cCustomerGenerator(this);

    for (int n = 1; n <= 6; ++n) {
        cTable* table = new cTable(this, n);
        m_tables[n - 1] = table;
        m_generator->addTable(table);
        m_blockable.push_back(table);
    }

    // Sauce stations fill the first slots, at places 1, 2, 3 in order, whatever their sauce.
    const std::vector<cSouseStation*> sauces = cSouseStation::buildAll(this);
    for (size_t slot = 0; slot < sauces.size() && slot < m_sauces.size(); ++slot) {
        m_sauces[slot] = sauces[slot];
        m_blockable.push_back(sauces[slot]);
    }

    auto built = [&](int32_t upgrade, auto make) {
        if (upgrade < 1) return decltype(make())(nullptr);
        auto* station = make();
        m_blockable.push_back(station);
        return station;
    };
    m_coffee = built(data ? data->getCoffeeLevel(0) : 0, [&] { return new cCoffeeStation(this); });
    m_cake = built(data ? data->getCakeLevel(0) : 0, [&] { return new cCakeStation(this); });
    m_snack = built(data ? data->getSnackLevel(0) : 0, [&] { return new cSnackStation(this); });
    m_cream = built(data ? data->getCreamLevel(0) : 0, [&] { return new cCreamStation(this); });
    m_drink = built(data ? data->getDrinkLevel(0) : 0, [&] { return new cDrinkStation(this); });
    m_oven1 = built(data ? data->getOven1Level(0) : 0, [&] { return new cOven(this, 1); });
    m_oven2 = built(data ? data->getOven2Level(0) : 0, [&] { return new cOven(this, 2); });

    m_room = buildRoom(this);

    m_cotton = new cCottonStation(this);
    m_blockable.push_back(m_cotton);
    m_trash = new cTrash(this);
    m_blockable.push_back(m_trash);
    // The counter's plates and subs block on their own (not in the blockable list).
    m_counter = new cSubStation(this);
    m_waitress = new cWaitress(this, m_tables[0]->getControlPoint());
    m_waitress->setScoring(m_scores);

    m_generator->load();
    m_generator->computeGoals();

    // Everything held back until the script lets it go.
    m_tutorial_host = std::make_unique<TutorialHost>(*this);
    m_tutorial.setUp(*m_tutorial_host);

    m_fader = new cPicture(this);
    m_fader->setPicture("Game/Interface/Surfaces/black_pixel.dds");
    m_fader->setDeep(8400.0f);
    m_fader->setAlpha(150);
    coverBackBufferWithFader();
    m_fader->show();
    m_fader->enable();
    show();
    enable();
}

cLevel::~cLevel() {
    hide();
    disable();
    if (m_built) {
        for (cTable*& table : m_tables) deleteAndNull(table);
        for (cSouseStation*& station : m_sauces) deleteAndNull(station);
        clearEffectsAtLevelDestruction();
        destroyFireworks();
        deleteAndNull(m_room);
        deleteAndNull(m_coffee);
        deleteAndNull(m_trash);
        deleteAndNull(m_cake);
        deleteAndNull(m_snack);
        deleteAndNull(m_cream);
        deleteAndNull(m_drink);
        deleteAndNull(m_oven1);
        deleteAndNull(m_oven2);
        deleteAndNull(m_counter);
        deleteAndNull(m_cotton);
        deleteAndNull(m_generator);
        deleteAndNull(m_waitress);
        deleteAndNull(m_scores);
        deleteAndNull(m_bonuses);
        deleteAndNull(m_fader);
        deleteAndNull(m_hints);
        if (cSound* sound = getSound()) sound->stopAll();
    }
}

void cLevel::onEnable() {
    if (m_built) bindInput(INPUT_LEFT_PRESSED, &cLevel::onClick, this);
    cSceneNode::onEnable();
}

void cLevel::onDisable() {
    if (m_built) unbindInput(INPUT_LEFT_PRESSED, &cLevel::onClick, this);
    cSceneNode::onDisable();
}

int32_t cLevel::countWaitingCustomers() const { return m_generator ? m_generator->countWaitingCustomers() : 0; }

void cLevel::block(bool blocked) {
    for (cClickTarget* target : m_blockable) target->setBlocked(blocked);
}

void cLevel::update() {
    if (!m_built) {
        cSceneNode::update();
        return;
    }
    updateClickStats();
    updateFader();
    if (isLogicPaused()) {
        // While the game stands nothing is under the pointer.
        m_hovered = nullptr;
        if (cCursor* cursor = getCursor()) cursor->setOverObject(false);
        return;
    }
    if (m_tutorial_host) m_tutorial.update(*m_tutorial_host, isLogicPaused(), getDeltaTime());
    updateClickRate();
    updateFireworks();
    pickHovered();
    if (cCursor* cursor = getCursor()) cursor->setOverObject(m_hovered != nullptr);
    if (m_counter) {
        m_counter->setPlaceHovered(false);
        if (m_hovered && m_hovered->getKind() == KIND_SUB_PLACE && m_hovered->getState() != 0)
            m_counter->setPlaceHovered(true);
    }

    const float dt = getDeltaTime();
    if (!m_tutorial.isInstalled()) m_time_left -= dt;
    if (m_time_left <= 0.0f) {
        m_time_left = 0.0f;
        if (m_generator) m_generator->setSpawning(false);
    }

    if (cGameData* data = getGameData()) {
        if (m_expert_message_pending && data->getScore() >= data->getExpertGoal()) {
            new cFxMessage(this, 1, kScreenCentre);
            m_expert_message_pending = false;
            m_goal_message_pending = false;
            play("sounds/game_interface/expert.ogg");
        }
        if (m_goal_message_pending && data->getScore() >= data->getGoal()) {
            new cFxMessage(this, 0, kScreenCentre);
            m_goal_message_pending = false;
            play("sounds/game_interface/goal.ogg");
        }
    }
    if (m_over && !m_bonus_count_done) stepBonusCount(dt);
    cSceneNode::update();
}

void cLevel::stepBonusCount(float dt) {
    m_bonus_tick_timer -= dt;
    if (m_bonus_tick_timer > 0.0f) return;
    m_bonus_tick_timer = m_bonus_tick_interval;
    int32_t points = 0;
    if (m_bonuses) {
        m_bonuses->endBonusMode();
        points = m_bonuses->tickEndBonus();
    }
    if (points <= 0) {
        m_bonus_count_done = true;
        return;
    }
    if (cGameData* data = getGameData()) data->setScore(data->getScore() + points);
    new cFxScoreStar(this, m_status ? m_status->getScorePicturePosition() : cVector2(400.0f, 30.0f));
    ++m_score_stars_shown;
    static const char* const kSounds[7] = {
        "sounds/game_interface/score_star.ogg",  "sounds/game_interface/score_star2.ogg",
        "sounds/game_interface/score_star3.ogg", "sounds/game_interface/score_star4.ogg",
        "sounds/game_interface/score_star5.ogg", "sounds/game_interface/score_star6.ogg",
        "sounds/game_interface/score_star7.ogg"};
    play(kSounds[std::min(m_score_stars_shown, 7) - 1]);
}

bool cLevel::isOver() {
    if (!m_built) return false;
    bool result = true;
    m_over = true;
    if (m_time_left > 0.0f) m_over = result = false;
    if (!getMessageRegistry().empty()) m_over = result = false;
    if (!getScoreStarRegistry().empty()) result = false;
    for (cTable* table : m_tables) {
        if (!table) continue;
        const cOrderCloud* cloud = table->getCloud();
        if (table->getCustomer() || table->getState() != 0 || (cloud && cloud->isVisible())) m_over = result = false;
    }
    if (result) {
        m_end_delay -= getDeltaTime();
        if (m_end_delay > 0.0f) {
            m_over = result = false;
        } else {
            clearEffectsAtLevelEnd();
        }
    }
    return result && m_bonus_count_done;
}

void cLevel::pickHovered() {
    m_hovered = nullptr;
    if (isLogicPaused()) return;
    cClickTarget* candidates[] = {m_snack,     m_cake,      m_drink,     m_tables[0], m_tables[1], m_tables[2],
                                  m_tables[3], m_tables[4], m_tables[5], m_sauces[0], m_sauces[1], m_sauces[2],
                                  m_coffee,    m_cream,     m_oven2,     m_oven1,     m_counter,   m_cotton,    m_trash};
    for (cClickTarget* candidate : candidates) {
        if (!candidate) continue;
        if (m_hovered) {
            candidate->updateHover(false, false);
            continue;
        }
        candidate->updateHover(true, false);
        if (!candidate->isHovered()) continue;
        if (candidate == m_cotton)
            m_hovered = m_cotton->getHoveredPart();
        else if (candidate == m_counter)
            m_hovered = m_counter->getHoveredPlace();
        else
            m_hovered = candidate;
        if (!m_hovered) m_hovered = candidate;
    }
}

void cLevel::onClick(void* object) {
    cLevel* level = static_cast<cLevel*>(object);
    if (isLogicPaused() || !level->m_hovered) return;
    ++level->m_clicks;
    if (level->m_waitress) level->m_waitress->addTarget(level->m_hovered);
}

void cLevel::coverBackBufferWithFader() {
    // The scale (400, 300) covers the 800 x 600 back buffer; any other size gets it in proportion,
    // also after a mode change while the level runs.
    float width = 800.0f, height = 600.0f;
    if (cGraphics* graphics = getGraphics()) {
        width = float(graphics->getWidth());
        height = float(graphics->getHeight());
    }
    m_fader->setPosition(cVector2(width / 2.0f, height / 2.0f));
    m_fader->setScale(cVector2(400.0f * width / 800.0f, 300.0f * height / 600.0f));
}

void cLevel::updateFader() {
    const float dt = getDeltaTime2();
    coverBackBufferWithFader();
    if (m_dimmed && m_fader_alpha < 150.0f) {
        m_fader->show();
        m_fader->enable();
        m_fader_alpha = std::min(150.0f, m_fader_alpha + 800.0f * dt);
    } else if (!m_dimmed && m_fader_alpha > 0.0f) {
        m_fader_alpha -= 800.0f * dt;
        if (m_fader_alpha <= 0.0f) {
            m_fader->hide();
            m_fader->disable();
            m_fader_alpha = 0.0f;
        }
    }
    m_fader->setAlpha(static_cast<uint32_t>(m_fader_alpha));
}

void cLevel::updateClickRate() {
    m_elapsed += getDeltaTime2();
    const float rate = m_elapsed > 0.0f ? static_cast<float>(m_clicks) / m_elapsed : 0.0f;
    if (rate > m_best_click_rate) m_best_click_rate = rate;
}

void cLevel::updateClickStats() {
    // No time counted yet (the fade-in): the rate is 0.
    const float rate = m_elapsed > 0.0f ? static_cast<float>(m_clicks) / m_elapsed : 0.0f;
    const float best = m_best_click_rate;
    const float average = (rate + best) / 2.0f;
    if (cGraphics* graphics = getGraphics()) {
        graphics->addCustomInfo(cStringW(L"\nclicks: ") + decimal(rate));
        graphics->addCustomInfo(cStringW(L"\nmax clicks: ") + decimal(best));
        graphics->addCustomInfo(cStringW(L"\naverage clicks: ") + decimal(average));
    }
    if (cStatistics* stats = getStatistics()) {
        stats->setMaxClickCoef(best);
        stats->setAverageClickCoef(average);
    }
}

void cLevel::updateFireworks() {
    cGameData* data = getGameData();
    if (!data || !contains(game::kFireworkLevels, data->getLevel())) return;
    bool full = true;
    if (cSettingsManager* settings = getSettingsManager()) settings->getBool(L"Performance", L"enable_full_effects", full);
    if (!full) return;
    const float dt = getDeltaTime();
    m_fireworks_start_delay -= dt;
    if (m_fireworks_start_delay > 0.0f) return;
    m_fireworks_start_delay = 0.0f;
    m_fireworks_cycle_timer -= dt;
    struct Group {
        float at;
        cVector2 positions[3];
        const char* sound;
    };
    static const Group kGroups[4] = {
        {0.0f, {{250, 130}, {400, 120}, {680, 100}}, "sounds/game/firework01.ogg"},
        {0.3f, {{240, 120}, {440, 120}, {650, 120}}, "sounds/game/firework02.ogg"},
        {0.8f, {{220, 120}, {390, 140}, {630, 140}}, "sounds/game/firework02.ogg"},
        {2.2f, {{250, 130}, {450, 130}, {660, 140}}, "sounds/game/firework03.ogg"},
    };
    for (int g = 0; g < 4; ++g) {
        if (m_fireworks_cycle_timer > kGroups[g].at || m_fireworks_fired[g]) continue;
        if (g == 0) {
            m_fireworks_fired = {};
            m_fireworks_cycle_timer = m_fireworks_cycle_length;
        } else {
            m_fireworks_fired[g] = true;
        }
        for (const cVector2& p : kGroups[g].positions) launchFirework(p);
        play(kGroups[g].sound);
        break;
    }
}

void cLevel::launchFirework(const cVector2& position) {
    static const uint32_t kColours[5] = {0xFFFFF000u, 0xFF0FFF00u, 0xFF0F00FFu, 0xFFFFFF00u, 0xFF0FFFFFu};
    new cFirework(this, position, kColours[rwRand() % 5]);
}

void cLevel::raiseScoreToGoal() {
    if (cGameData* data = getGameData())
        if (data->getScore() < data->getGoal()) data->setScore(data->getGoal());
}

void cLevel::raiseScoreToExpert() {
    if (cGameData* data = getGameData())
        if (data->getScore() < data->getExpertGoal()) data->setScore(data->getExpertGoal());
}

void cLevel::changeMoods(int32_t delta) {
    for (cTable* table : m_tables)
        if (table && table->getCustomer()) table->getCustomer()->setMood(table->getCustomer()->getMood() + delta);
}

void cLevel::fillComboBar() {
    if (m_bonuses) m_bonuses->fillBar();
}

void cLevel::sendThief() {
    if (m_generator) m_generator->sendThief();
}

cLevel* getLevel() { return cLevel::instance(); }

cRestaurantHost* getRestaurantHost() { return getLevel(); }
