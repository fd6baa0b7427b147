// The level on the real demo data in a running headless core: what it builds for a world,
// its upgrades, its graphics set and the game mode; the clock, the goal messages, the end test
// and the bonus count; clicks while the logic is paused; the fireworks; the fader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "engine/app/cLogic.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cSound.h"
#include "engine/scene/cPicture.h"
#include "game/characters/cCustomer.h"
#include "game/characters/cCustomerGenerator.h"
#include "game/characters/cWaitress.h"
#include "game/effects/EffectRegistry.h"
#include "game/effects/cFirework.h"
#include "game/effects/cFxMessage.h"
#include "game/effects/cFxScoreStar.h"
#include "game/data/cGameData.h"
#include "game/flow/cLevel.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/scoring/cScoreTable.h"
#include "game/data/cStatistics.h"
#include "game/scoring/cTempBonuses.h"
#include "game/data/WorldTextures.h"
#include "game/restaurant/cOrderCloud.h"
#include "game/restaurant/cRoom.h"
#include "game/restaurant/cSouseStation.h"
#include "game/restaurant/cSub.h"
#include "game/restaurant/cSubPlace.h"
#include "game/restaurant/cSubStation.h"
#include "game/restaurant/cTable.h"
#include "game/restaurant/cTrash.h"
#include "tests/game/flow/LevelFixture.h"
#include "tests/game/flow/RestaurantDriver.h"
#include "tests/game/flow/TestPack.h"
#include "tests/game/flow/test_game_env.h"
#include "platform/audio/Audio.h"

namespace {

using game_test::GameEnvironment;

// The campaign's levels built with chosen upgrades.
class Level : public game_test::LevelFixture {
protected:
    // The level of the campaign's level number with the given upgrades (set after the level,
    // which resets them when it is the newest).
    struct Setup {
        int number = 5;
        int sauce1 = 1, sauce2 = 0, sauce3 = 0;
        int coffee = 0, cake = 0, snack = 0, cream = 0, drink = 1, oven1 = 0, oven2 = 0;
        bool normal = true;
    };
    cLevel* build(const Setup& s) {
        delete level;
        level = nullptr;
        data->setNormalMode(s.normal);
        data->setLevel(s.number);
        data->setSauce1Level(s.sauce1, 0);
        data->setSauce2Level(s.sauce2, 0);
        data->setSauce3Level(s.sauce3, 0);
        data->setCoffeeLevel(s.coffee, 0);
        data->setCakeLevel(s.cake, 0);
        data->setSnackLevel(s.snack, 0);
        data->setCreamLevel(s.cream, 0);
        data->setDrinkLevel(s.drink, 0);
        data->setOven1Level(s.oven1, 0);
        data->setOven2Level(s.oven2, 0);
        return buildCurrent();
    }
    void frames(int n) { genv->frames(n); }
    void fadeCorners();
    // Frames with the level's time up and its tables cleared, until the test holds.
    template <class Cond>
    bool framesUntil(Cond&& cond, int limit = 400) { return genv->framesUntil(cond, limit); }
};

TEST_F(Level, BuildsWhatWorldUpgradesAndModeCallFor) {
    struct Case {
        const char* name;
        Setup setup;
        std::vector<int32_t> sauces;   // the sauce of each built slot, in slot order
        bool coffee, oven2, tutorial, countDone, spawningOff;
    } cases[] = {
        {"world 1, all sauces bought: only the first", {5, 1, 1, 1}, {8}, false, false, false, false, false},
        {"world 2, sauce 2 only: slot 1, place 1", {25, 0, 1, 1}, {9}, false, false, false, false, false},
        {"world 3, all three", {45, 1, 1, 1, 1, 0, 0, 0, 1, 0, 1}, {8, 9, 10}, true, true, false, false, false},
        {"tutorial level 1", {1, 1}, {8}, false, false, true, true, true},
        {"tutorial level 3", {3, 1}, {8}, false, false, true, true, false},
        {"tutorial level 4 keeps its bonus count", {4, 1}, {8}, false, false, true, false, false},
        {"level 1 from a single pack: no tutorial", {1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, false}, {8}, false, false, false,
         false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(build(c.setup), nullptr);
        for (int slot = 0; slot < 3; ++slot) {
            cSouseStation* station = level->getSauceStation(slot);
            if (slot < static_cast<int>(c.sauces.size())) {
                ASSERT_NE(station, nullptr) << "slot " << slot;
                EXPECT_EQ(station->getState(), c.sauces[slot]);
                EXPECT_EQ(station->getPositionIndex(), slot + 1);
            } else {
                EXPECT_EQ(station, nullptr) << "slot " << slot;
            }
        }
        EXPECT_EQ(level->getCoffeeStation() != nullptr, c.coffee);
        EXPECT_EQ(level->getOven(2) != nullptr, c.oven2);
        EXPECT_NE(level->getDrinkStation(), nullptr);
        EXPECT_NE(level->getCottonStation(), nullptr);
        EXPECT_NE(level->getTrash(), nullptr);
        for (cTable* table : level->getTables()) EXPECT_NE(table, nullptr);
        EXPECT_EQ(level->hasTutorialScript(), c.tutorial);
        EXPECT_EQ(level->isBonusCountDone(), c.countDone);
        EXPECT_EQ(level->getTutorialCountdown(), c.spawningOff ? 1.0f : 0.0f);
        for (cClickTarget* target : level->getBlockableTargets()) EXPECT_EQ(target->isBlocked(), c.tutorial);
        // A tutorial holds the counter too, and the waitress drops repeated clicks.
        ASSERT_NE(level->getSubStation(), nullptr);
        EXPECT_EQ(level->getSubStation()->getPlace(0)->isBlocked(), c.tutorial);
        EXPECT_EQ(level->getSubStation()->getSub(0)->isBlocked(), c.tutorial);
        ASSERT_NE(level->getWaitress(), nullptr);
        EXPECT_EQ(level->getWaitress()->isTutorialMode(), c.tutorial);
        EXPECT_EQ(getTempBonuses()->getPending(), 0);
        EXPECT_FLOAT_EQ(level->getTimeLeft(), data->getLevelTime());
        EXPECT_GT(data->getGoal(), 0) << "goals computed from the level's customers";
        EXPECT_EQ(data->getScore(), 0);
        // Dimmed under the first panel, the fader over everything of the restaurant.
        EXPECT_TRUE(level->isDimmed());
        ASSERT_NE(level->getFader(), nullptr);
        EXPECT_EQ(level->getFader()->getDeep(), 8400.0f);
        EXPECT_EQ(level->getFader()->getVertexAlpha(0), 150u);
    }
}

// Every campaign level builds its room, the counter on the trash and the waitress at table 1,
// and takes them down again (the sanitizers watch the order of destruction).
TEST_F(Level, EveryLevelBuildsRoomCounterAndWaitress) {
    std::set<int32_t> worlds;
    for (int number = 1; number == 1 || number <= static_cast<int>(data->getTotalLevels()); ++number) {
        SCOPED_TRACE(number);
        Setup s;
        s.number = number;
        ASSERT_NE(build(s), nullptr);
        ASSERT_EQ(data->getLevel(), number);
        worlds.insert(data->getWorld());
        ASSERT_NE(level->getRoom(), nullptr);
        EXPECT_EQ(level->getRoom()->getParent(), level);
        EXPECT_EQ(level->getRoom()->getWorld(), world_textures::worldOfGraphicsSet(data->getGraphicsSet()));
        cSubStation* counter = level->getSubStation();
        ASSERT_NE(counter, nullptr);
        EXPECT_EQ(counter, getSubStation());
        EXPECT_GE(counter->getPlaceCount(), 1);
        EXPECT_GE(counter->getSubCount(), 1);
        EXPECT_EQ(counter->getDiscardPlace()->getPosition(), level->getTrash()->getPosition())
            << "the discard plate stands on the trash";
        cWaitress* waitress = level->getWaitress();
        ASSERT_NE(waitress, nullptr);
        EXPECT_EQ(waitress, cSingleton<cWaitress>::instance());
        EXPECT_EQ(waitress->getPosition(), level->getTables()[0]->getControlPoint());
    }
    EXPECT_EQ(worlds, (std::set<int32_t>{1, 2, 3}));
    delete level;
    level = nullptr;
    EXPECT_EQ(getSubStation(), nullptr);
    EXPECT_EQ(cSingleton<cWaitress>::instance(), nullptr);
}

// Plate 1 under the mouse: it is the hovered target, the counter hears of it only while a sub
// lies on it, and a click queues it for the waitress unless the logic is paused.
TEST_F(Level, HoveredPlateFlagsTheCounterAndClicksReachTheWaitress) {
    ASSERT_NE(build({}), nullptr);
    level->setDimmed(false);
    level->getGenerator()->setSpawning(false);
    frames(1);
    cSubStation* counter = level->getSubStation();
    cSubPlace* plate = counter->getPlace(0);
    plate->setPosition(level->getMousePosition());
    struct Case {
        int32_t item;
        bool flagged;
    } cases[] = {{ITEM_FIRST_SUB, true}, {ITEM_NONE, false}, {ITEM_FIRST_SUB + 14, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        plate->setState(c.item);
        frames(1);
        EXPECT_EQ(level->getHovered(), plate);
        EXPECT_EQ(counter->isPlaceHovered(), c.flagged);
    }

    cWaitress* waitress = level->getWaitress();
    ASSERT_TRUE(waitress->getQueue().empty());
    getLogic()->setPaused(true);
    cLevel::onClick(level);
    EXPECT_TRUE(waitress->getQueue().empty()) << "a click while paused reaches nobody";
    EXPECT_EQ(level->getClicks(), 0);
    getLogic()->setPaused(false);
    cLevel::onClick(level);
    ASSERT_EQ(waitress->getQueue().size(), 1u);
    EXPECT_EQ(waitress->getQueue().back(), plate);
    EXPECT_EQ(level->getClicks(), 1);
    EXPECT_TRUE(counter->isWaitressComing());
}

// What the waitress earns lands on the level's score table as the right kind of action.
TEST_F(Level, WaitressWorkIsScored) {
    struct Case {
        const char* name;
        int32_t tableState;
        ItemId hand;
        int32_t kind;
    } cases[] = {{"money collected", ITEM_MONEY, ITEM_NONE, ACTION_PAY},
                 {"drink delivered", ITEM_DRINK, ITEM_DRINK, ACTION_DELIVER}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(build({}), nullptr);
        level->setDimmed(false);
        level->getGenerator()->setSpawning(false);
        frames(1);
        ASSERT_EQ(getScores()->getLastKind(), ACTION_NONE);
        cWaitress* waitress = level->getWaitress();
        if (c.hand) waitress->giveHand(0, c.hand);
        cTable* table = level->getTables()[1];
        table->setState(c.tableState);
        waitress->addTarget(table);
        EXPECT_TRUE(framesUntil([&] { return getScores()->getLastKind() == c.kind; }, 600));
        EXPECT_EQ(table->getState(), 0);
    }
}

TEST_F(Level, ClockStopsAtZeroAndReleaseStops) {
    ASSERT_NE(build({}), nullptr);
    level->setDimmed(false);
    frames(1);
    const float start = level->getTimeLeft();
    float passed = 0.0f;
    for (int i = 0; i < 10; ++i) {
        frames(1);
        passed += level->getDeltaTime();
    }
    EXPECT_GT(passed, 0.1f);
    EXPECT_NEAR(level->getTimeLeft(), start - passed, 1e-3f);
    level->clearTime();
    frames(2);
    EXPECT_EQ(level->getTimeLeft(), 0.0f);

    // The logic paused (a panel, a fade): the clock stands, nothing is hovered, clicks are lost.
    data->setLevel(5);
    ASSERT_NE(build({}), nullptr);
    const float before = level->getTimeLeft();
    getLogic()->setPaused(true);
    frames(5);
    cLevel::onClick(level);
    EXPECT_EQ(level->getTimeLeft(), before);
    EXPECT_EQ(level->getHovered(), nullptr);
    EXPECT_EQ(level->getClicks(), 0);
    getLogic()->setPaused(false);
}

TEST_F(Level, BothGoalsInOneFrameShowTheExpertMessageOnly) {
    ASSERT_NE(build({}), nullptr);
    EXPECT_FALSE(level->wasGoalReached());
    level->raiseScoreToExpert();
    frames(1);
    EXPECT_EQ(cEffectRegistry<cFxMessage>::count(), 1u);
    EXPECT_TRUE(level->wasGoalReached());
    frames(1);
    EXPECT_EQ(cEffectRegistry<cFxMessage>::count(), 1u) << "the goal message is gone with the expert one";
}

TEST_F(Level, EndsAfterASecondOfEmptyTablesThenPaysTheBarOut) {
    Setup s;
    ASSERT_NE(build(s), nullptr);
    level->setDimmed(false);
    cTempBonuses* bar = getTempBonuses();
    ASSERT_GT(bar->getCapacity(), 0);
    bar->setBar(bar->payStep() * 8 + 1);   // nine steps to empty
    level->clearTime();
    // Customers arriving at the start would keep tables busy: none seated yet, none released.
    level->getGenerator()->setSpawning(false);
    frames(1);

    // A table in a state other than 0 (money on it) keeps the level running.
    cTable* table = level->getTables()[2];
    table->setState(53);
    EXPECT_FALSE(framesUntil([&] { return level->isOver(); }, 80));
    table->setState(0);
    // A message showing keeps it running too; the end delay counts down only while all holds.
    int overAt = -1;
    for (int i = 0; i < 200 && overAt < 0; ++i) {
        frames(1);
        level->isOver();
        if (cEffectRegistry<cFxScoreStar>::count() > 0 || level->getScoreStarsShown() > 0) overAt = i;
    }
    ASSERT_GE(overAt, 0) << "the bonus count never started";
    EXPECT_NEAR(overAt * 0.016f, 1.0f + 0.2f, 0.1f) << "1.0 s of end delay, then the first 0.2 s step";
    const int32_t before = data->getScore();
    EXPECT_TRUE(framesUntil([&] { return level->isOver(); }, 600));
    EXPECT_EQ(level->getScoreStarsShown(), 9);
    EXPECT_EQ(data->getScore(), before - getScores()->getEntry(SCORE_STAR) + 9 * getScores()->getEntry(SCORE_STAR));
    EXPECT_EQ(cEffectRegistry<cFxScoreStar>::count(), 0u);
}

// A back buffer of another size than 800 x 600 is dimmed to its corners: a white picture under
// the fader covers the whole back buffer, and no corner of the frame stays white.
TEST_F(Level, TheFaderDimsEveryCornerOfALargerBackBuffer) {
    try {
        fadeCorners();
    } catch (...) {
        std::string text;
        failureText(std::current_exception(), &text);
        FAIL() << text;
    }
}

void Level::fadeCorners() {
    genv->data.writeTexture("game/test/white.dds", 2, 2, 0xFFFFFFFFu);
    getFileManager()->rescan();
    getResourceManager()->load("game/test/white.dds", 0);
    getSettingsManager()->setUnsigned(L"Graphics", L"width", 1024);
    getSettingsManager()->setUnsigned(L"Graphics", L"height", 768);
    getGraphics()->requestReset(true);
    frames(1);
    ASSERT_EQ(getGraphics()->getWidth(), 1024u);
    ASSERT_NE(build(Setup{}), nullptr);
    auto* white = new cPicture(root);
    white->setPicture("game/test/white.dds");
    white->setDeep(8300.0f);
    white->setPosition(cVector2(512.0f, 384.0f));
    white->setScale(cVector2(512.0f, 384.0f));
    white->show();
    white->enable();
    frames(3);
    ASSERT_TRUE(level->isDimmed());
    genv->saveFrame("level_fader_1024x768.png");
    std::vector<uint32_t> pixels;
    uint32_t w = 0, h = 0;
    ASSERT_EQ(getGraphics()->readBackBuffer(&pixels, &w, &h), 0);
    ASSERT_EQ(w, 1024u);
    ASSERT_EQ(h, 768u);
    const std::pair<uint32_t, uint32_t> corners[] = {{1, 1}, {1022, 1}, {1, 766}, {1022, 766}, {900, 700}};
    for (const auto& [x, y] : corners) {
        const uint32_t green = (pixels[size_t(y) * w + x] >> 8) & 0xFF;
        EXPECT_GT(green, 80u) << x << "," << y << ": the white picture shows";
        EXPECT_LT(green, 130u) << x << "," << y << ": dimmed (alpha 150 of black)";
    }
    delete white;
}

TEST_F(Level, FireworksOnlyInTheirLevelsWithFullEffects) {
    struct Case {
        int number;
        bool full;
        bool shells;
    } cases[] = {{42, true, true}, {41, true, false}, {42, false, false}, {60, true, true}};
    for (const Case& c : cases) {
        getSettingsManager()->setBool(L"Performance", L"enable_full_effects", c.full);
        Setup s;
        s.number = c.number;
        ASSERT_NE(build(s), nullptr);
        level->setDimmed(false);
        // Frames of 50 ms; the first shells 5.8 s into the first cycle, which starts 5 s in.
        float passed = 0.0f;
        size_t shells = 0;
        for (int frame = 0; frame < 300 && shells == 0; ++frame) {
            platform::advanceTestClock(34);
            frames(1);
            passed += level->getDeltaTime();
            for (cSceneNode* child : level->getChildren()) shells += dynamic_cast<cFirework*>(child) != nullptr;
        }
        EXPECT_EQ(shells > 0, c.shells) << "level " << c.number;
        if (c.shells) EXPECT_NEAR(passed, 5.0f + 5.8f, 0.06f) << "level " << c.number;
        if (c.shells) EXPECT_EQ(shells, 3u) << "three shells a group";
    }
}

// The loudest stretch of ordinary play at full music and sound volume: a fireworks level through
// its first fireworks cycle, in bonus mode with its tempo, and a combo of the waitress's top
// sounds every quarter second over the world's music. The demo sounds leave the mixer headroom:
// no output sample reaches full scale, where the mixer's saturation would cut it.
TEST_F(Level, AFireworksLevelInBonusModeMixesBelowFullScale) {
    namespace au = platform::audio;
    ASSERT_EQ(au::deviceKind(), au::DeviceKind::Memory);
    getSettingsManager()->setBool(L"Performance", L"enable_full_effects", true);
    cSound* sound = getSound();
    sound->setSoundVolume(100);
    sound->setMusicVolume(100);
    Setup s;
    s.number = 60;
    ASSERT_NE(build(s), nullptr);
    level->setDimmed(false);
    sound->playMusic("music/world3.ogg", true, true, false, 0.0f);
    getTempBonuses()->fillBar();
    getTempBonuses()->setFrozen(true);   // bonus mode lasts the whole run
    const char* const combo[] = {"sounds/game/waiter_takes6.ogg", "sounds/game/waiter_brings6.ogg",
                                 "sounds/game/waiter_money_take6.ogg"};
    au::clearMemoryOutput();
    float loudest = 0.0f, sinceCombo = 0.0f;
    size_t atFullScale = 0, shells = 0;
    bool bonus = false;
    // Frames of 50 ms for 20 s: the fireworks start 5 s in and their first cycle ends by 16 s.
    for (int frame = 0; frame < 400; ++frame) {
        platform::advanceTestClock(34);
        frames(1);
        sinceCombo += 0.05f;
        if (sinceCombo >= 0.25f) {
            sinceCombo = 0.0f;
            sound->playSample(combo[frame % 3]);
        }
        bonus = bonus || getTempBonuses()->isBonusMode();
        for (cSceneNode* child : level->getChildren()) shells += dynamic_cast<cFirework*>(child) != nullptr;
        au::render(au::kOutputRate / 20);
        for (float v : au::memoryOutput()) {
            loudest = std::max(loudest, std::fabs(v));
            atFullScale += std::fabs(v) >= 1.0f;
        }
        au::clearMemoryOutput();
    }
    EXPECT_TRUE(bonus);
    EXPECT_GT(shells, 0u);
    EXPECT_EQ(atFullScale, 0u) << "loudest " << loudest;
    RecordProperty("loudest", std::to_string(loudest));
    sound->stopMusic(false);
}

// Targets stacked under the pointer: the first in the level's pick order is hovered and every
// later one is told it is not, even when it still thinks so; a blocked target is passed over.
TEST_F(Level, OverlappingTargetsHoverTheFirstInPickOrder) {
    Setup s;
    s.snack = 1;
    ASSERT_NE(build(s), nullptr);
    level->setDimmed(false);
    level->getGenerator()->setSpawning(false);
    frames(1);
    // In pick order: the snack station, the drink station, table 4.
    cClickTarget* stack[] = {level->getSnackStation(), level->getDrinkStation(), level->getTables()[3]};
    const cVector2 pointer = level->getMousePosition();
    for (cClickTarget* target : stack) {
        ASSERT_NE(target, nullptr);
        const std::vector<cVector2> inside = restaurant_test::pointsInside(*target);
        ASSERT_FALSE(inside.empty()) << "kind " << target->getKind();
        auto* owner = dynamic_cast<cSprite*>(target);
        owner->setPosition(owner->getPosition().plus(pointer.minus(inside.front())));
    }
    struct Case {
        const char* name;
        bool blocked[3];
        int hovered;   // index into the stack, -1 none
    } cases[] = {
        {"all free: the snack station", {false, false, false}, 0},
        {"snack blocked: the drink station", {true, false, false}, 1},
        {"both stations blocked: the table", {true, true, false}, 2},
        {"the first free, the later blocked", {false, true, true}, 0},
        {"all blocked: nothing", {true, true, true}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 3; ++i) {
            stack[i]->setBlocked(c.blocked[i]);
            stack[i]->updateHover(false, true);   // a stale hover from an earlier frame
        }
        frames(1);
        EXPECT_EQ(level->getHovered(), c.hovered < 0 ? nullptr : stack[c.hovered]);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(stack[i]->isHovered(), i == c.hovered) << "target " << i;
    }
}

// The test pack's level, built as the game screen builds it, played by the restaurant driver
// with the injected pointer and left button.
TEST_F(Level, TestPackServedByClicksThenTheBarPaysOut) {
    data.reset();
    try {
        data = std::make_unique<cGameData>(false, cStringA(restaurant_test::kTestPack));
        data->makePathsFileName();
        groups->loadWorld(data->getGraphicsSet(), false);
        level = new cLevel(root, cLevel::Build::Play);
    } catch (...) {
        std::string text;
        failureText(std::current_exception(), &text);
        FAIL() << text;
    }
    level->setDimmed(false);   // the level-start panel has gone
    // Frames of 50 ms of game time (the clock's step stays under its 1/15 s clamp).
    restaurant_test::RestaurantDriver driver([this] {
        platform::advanceTestClock(34);
        genv->frame();
    });
    cTempBonuses* bar = getTempBonuses();
    ASSERT_EQ(bar->getCapacity(), restaurant_test::kTestPackCombo);
    ASSERT_GE(data->getGoal(), 10);
    ASSERT_FALSE(level->hasTutorialScript()) << "a pack from the command line has no tutorial";

    std::vector<cTable*> tables = driver.seatedTables(restaurant_test::kTestPackCustomers);
    ASSERT_EQ(tables.size(), 2u) << driver.failure();

    // Two takes in a row: a run of 2, whose combo star fills the bar and starts the bonus mode.
    ASSERT_TRUE(driver.takeOrder(tables[0])) << driver.failure();
    ASSERT_TRUE(driver.takeOrder(tables[1])) << driver.failure();
    EXPECT_EQ(getScores()->getRun(), 2);
    EXPECT_TRUE(driver.waitFor([&] { return bar->isBonusMode(); }, 400)) << "bar " << bar->getBar();

    // Two drinks fetched, one in each hand, then delivered and paid for.
    ASSERT_TRUE(driver.fetchDrink()) << driver.failure();
    ASSERT_TRUE(driver.fetchDrink()) << driver.failure();
    ASSERT_TRUE(driver.deliverDrink(tables[0])) << driver.failure();
    ASSERT_TRUE(driver.deliverDrink(tables[1])) << driver.failure();
    ASSERT_TRUE(driver.collectMoney(tables[0])) << driver.failure();
    ASSERT_TRUE(driver.collectMoney(tables[1])) << driver.failure();
    EXPECT_EQ(level->getClicks(), 8);
    EXPECT_GE(data->getScore(), data->getGoal());
    EXPECT_TRUE(level->wasGoalReached());

    // The time is cut short while the bonus mode still runs: once the tables have stayed empty
    // for a second the mode's remaining time goes back into the bar, which pays out star by star.
    const int32_t served = data->getScore();
    ASSERT_TRUE(bar->isBonusMode());
    level->clearTime();
    ASSERT_TRUE(driver.waitFor([&] { return level->isOver(); }, 400));
    EXPECT_EQ(level->getTimeLeft(), 0.0f);
    EXPECT_FALSE(bar->isBonusMode());
    EXPECT_EQ(bar->getBar(), 0);
    EXPECT_GE(level->getScoreStarsShown(), 1);
    EXPECT_EQ(data->getScore(), served + level->getScoreStarsShown() * getScores()->getEntry(SCORE_STAR));
}

}  // namespace
