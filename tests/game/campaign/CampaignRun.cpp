#include "tests/game/campaign/CampaignRun.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "engine/core/cSettingsManager.h"
#include "engine/core/cTimer.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cSceneNode.h"
#include "game/data/GameConstants.h"
#include "game/data/cGameData.h"
#include "game/flow/cGameScreen.h"
#include "game/interface/cPanelContinue.h"
#include "game/minigame/cHiddenObject.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameContinuePanel.h"
#include "game/minigame/cMiniGameNoticePanels.h"
#include "game/minigame/cMiniGameScene.h"
#include "game/shop/cShop.h"
#include "game/shop/cShopButton.h"
#include "game/shop/cShopObject.h"
#include "game/shop/cShopScreen.h"
#include "platform/Platform.h"
#include "platform/input/Input.h"
#include "platform/input/KeyCodes.h"
#include "tests/game/flow/GameScreenSupport.h"

namespace fs = std::filesystem;

namespace campaign_test {

namespace {

// Game time of every frame of the run: under the engine's clamp of 1/15 s, coarse enough that
// a level passes in a few thousand frames.
constexpr uint32_t kStepMs = 50;
void stepClock() { platform::advanceTestClock(kStepMs); }

// Frames a level may take beyond its own time: a tutorial's script, the bonus count, the
// results panel sliding in.
constexpr float kLevelSlack = 300.0f;

// The test clock when a program run starts (the seed of its random numbers);
// RW_CAMPAIGN_START_MS plays from another one.
uint32_t runStartMs() {
    const char* text = std::getenv("RW_CAMPAIGN_START_MS");
    return text ? uint32_t(std::strtoul(text, nullptr, 10)) : 1000u;
}

}  // namespace

void CampaignRun::SetUp() {
    // Each program run starts at the same clock: the random seed and the dates in the logs come
    // from it, so two runs of one play write the same bytes.
    newProgramRun();
}

void CampaignRun::prepareCore() {
    getLogic()->setFrameHook(stepClock);
    getSettingsManager()->setBool(L"Statistics", L"use", true);
}

void CampaignRun::newProgramRun() {
    dropGame();
    genv.reset();
    cMainMenu::setFirstVisit(true);
    genv.reset(new game_test::GameEnvironment);
    platform::setTestClock(runStartMs());
    genv->startCore();
    prepareCore();
    shopsVisited = itemsBought = miniGamesPlayed = 0;
    m_attempt = 1;
    m_attemptLevel = 0;
}

void CampaignRun::logicFrame() {
    if (cTimer* timer = getTimer()) timer->update();
    if (cInput* input = getInput()) input->update();
    updateTopLevelNodes(updateNode);
    stepClock();
    if (cSound* sound = getSound()) sound->update();
}

void CampaignRun::frames(int n) {
    for (int i = 0; i < n; ++i) logicFrame();
}

void CampaignRun::pressKey(uint8_t key) {
    platform::input::injectKey(key, true);
    logicFrame();
    platform::input::injectKey(key, false);
}

bool CampaignRun::reachState(AppState state) {
    try {
        return until([&] { return !game->isSwitching() && game->getCurrentState() == state && game->getStateNode(); }, 3000);
    } catch (...) {
        std::string text;
        failureText(std::current_exception(), &text);
        ADD_FAILURE() << "thrown: " << text;
        return false;
    }
}

void CampaignRun::startProfile(const RunOptions& options) {
    ASSERT_TRUE(tryMakeGame(""));
    ASSERT_TRUE(reachState(APP_STATE_LOGO));
    cGameData* data = getGameData();
    data->addProfile(L"Player");
    data->selectProfile(data->getProfileCount() - 1);
    data->setDifficulty(options.difficulty);
    // Levels before the first one of the run won, as a player who came this far did.
    for (int level = 1; level < options.firstLevel; ++level) {
        data->setLevel(level);
        data->setScore(2000);
        data->recordLevelResult(true);
    }
    data->setLevel(options.firstLevel);
    data->saveNow();
    finishState(0);
    ASSERT_TRUE(reachState(APP_STATE_MAIN_MENU));
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(until([&] { return game->isSwitching() || game->getCurrentState() != APP_STATE_MAIN_MENU; }))
        << "Play in the main menu led nowhere";
}

std::vector<LevelRecord> CampaignRun::play(const RunOptions& options) {
    std::vector<LevelRecord> records;
    startProfile(options);
    if (HasFatalFailure()) return records;
    bool started = false;
    for (int guard = 0; guard < 1000; ++guard) {
        if (!until([&] { return !game->isSwitching() && game->getStateNode(); }, 3000)) {
            ADD_FAILURE() << "the game never settled in a state after level " << getGameData()->getLevel();
            return records;
        }
        const int level = getGameData()->getLevel();
        bool going = true;
        switch (game->getCurrentState()) {
        case APP_STATE_GAME:
            if (level > options.lastLevel || level < options.firstLevel) return records;
            started = true;
            going = playLevel(&records, options);
            break;
        case APP_STATE_SHOP: going = playShop(); break;
        case APP_STATE_MINI_GAME: going = playMiniGame(); break;
        case APP_STATE_COMICS: going = turnComics(); break;
        case APP_STATE_MAIN_MENU:
            if (!started) ADD_FAILURE() << "back at the main menu before any level";
            return records;
        default:
            ADD_FAILURE() << "an unexpected state " << game->getCurrentState() << " at level " << level;
            return records;
        }
        if (!going) return records;
    }
    ADD_FAILURE() << "the run never ended";
    return records;
}

bool CampaignRun::playLevel(std::vector<LevelRecord>* records, const RunOptions& options) {
    cGameData* data = getGameData();
    cGameScreen* screen = game->getGameScreen();
    LevelRecord r;
    r.level = data->getLevel();
    m_attempt = r.level == m_attemptLevel ? m_attempt + 1 : 1;
    m_attemptLevel = r.level;
    r.attempt = m_attempt;
    // The level-start panel, closed with Enter once it has come in.
    const bool started = screen && until([&] { return screen->getLevelObject() && screen->isComplete(); }, 3000) &&
                         until([&] { return game_test::panelAtRest(screen->getLevelStartPanel()); }, 3000) &&
                         (pressKey(KEY_ENTER), until([&] { return !screen->getLevelStartPanel()->isVisible(); }, 3000));
    if (!started) {
        ADD_FAILURE() << "level " << r.level << ": the level-start panel never came or never went";
        return false;
    }
    r.goal = data->getGoal();
    r.expert = data->getExpertGoal();
    const std::string label = (data->getDifficulty() ? "hard level " : "level ") + std::to_string(r.level);
    const int limit = static_cast<int>((data->getLevelTime() + kLevelSlack) * 1000.0f / kStepMs);
    r.ended = m_player.playUntil([&] { return game_test::panelAtRest(screen->getResultPanel()); }, limit, label);
    r.failure = m_player.failure();
    r.served = m_player.tally().served;
    r.lost = m_player.tally().lost;
    r.score = data->getScore();
    r.won = r.ended && r.score >= r.goal;
    records->push_back(r);
    if (!r.ended) return false;
    pressKey(KEY_ENTER);
    // Won or lost, the level ends: the state finishes, or the level is taken down and the
    // next (or the same again) starts in this state.
    if (!until(
            [&] { return game->isSwitching() || game->getGameScreen() != screen || !screen->getLevelObject(); }, 600)) {
        ADD_FAILURE() << label << ": Enter on the results led nowhere";
        return false;
    }
    return r.won || r.attempt < options.attempts;
}

bool CampaignRun::clickAt(const cVector2& point) {
    platform::input::injectCursor(point.x, point.y);
    frames(2);
    platform::input::injectButton(MOUSE_LEFT, true);
    logicFrame();
    platform::input::injectButton(MOUSE_LEFT, false);
    frames(2);
    return true;
}

bool CampaignRun::clickButton(cButton* button) {
    if (!button || !button->isVisible() || !button->isEnabled()) return false;
    // A point of the button's hit shape, from its middle outwards.
    const cVector2 size = button->getSize();
    cVector2 corner = button->getPosition();
    if (button->testTransformFlags(TF_CENTERED)) corner = corner - size / 2.0f;
    constexpr int kSteps = 8;
    for (int ring = 0; ring <= kSteps / 2; ++ring)
        for (int i = kSteps / 2 - ring; i <= kSteps / 2 + ring; ++i)
            for (int k = kSteps / 2 - ring; k <= kSteps / 2 + ring; ++k) {
                const cVector2 p = corner + cVector2(size.x * (0.5f + i) / (kSteps + 1), size.y * (0.5f + k) / (kSteps + 1));
                if (widget_shape::contains(*button, size, button->getHitPoints(), p)) return clickAt(p);
            }
    return false;
}

bool CampaignRun::playShop() {
    cShop* shop = game->getShop();
    cShopScreen* screen = shop ? shop->getScreen() : nullptr;
    if (!screen) {
        ADD_FAILURE() << "a shop state without a shop screen";
        return false;
    }
    ++shopsVisited;
    auto settle = [&] { return until([&] { return shop->isIdle() && !screen->isScrolling(); }, 600); };
    settle();
    // Everything the cash affords, in the list's order, scrolling on where the list goes on.
    for (int guard = 0; guard < 40; ++guard) {
        cShopButton* affordable = nullptr;
        bool laterAffordable = false;
        const std::vector<cShopButton*>& buttons = screen->getButtons();
        for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
            cShopButton* b = buttons[i];
            if (b->isBought() || !b->getItem() || b->getItem()->getCost() > screen->getCash()) continue;
            if (i >= screen->getFirstVisible() && i <= screen->getLastVisible()) {
                affordable = b;
                break;
            }
            laterAffordable = laterAffordable || i > screen->getLastVisible();
        }
        if (affordable) {
            const cRect& r = affordable->getHitRect();
            clickAt(cVector2((r.left + r.right) / 2.0f, (r.top + r.bottom) / 2.0f));
            if (!affordable->isSelected()) {
                ADD_FAILURE() << "the shop entry " << affordable->getItem()->getName() << " was not selected by its click";
                break;
            }
            const int32_t cash = screen->getCash();
            clickButton(screen->getBuyButton());
            settle();
            if (!affordable->isBought() || screen->getCash() >= cash) {
                ADD_FAILURE() << "Buy did not buy " << affordable->getItem()->getName();
                break;
            }
            ++itemsBought;
            frames(20);
            continue;
        }
        if (!laterAffordable || !clickButton(screen->getForwardButton())) break;
        settle();
    }
    frames(20);
    if (!clickButton(screen->getFinishButton()) ||
        !until([&] { return game->isSwitching() || game->getCurrentState() != APP_STATE_SHOP; }, 600)) {
        ADD_FAILURE() << "Finish did not leave the shop";
        return false;
    }
    return true;
}

bool CampaignRun::playMiniGame() {
    cMiniGameScene* scene = game->getMiniGame();
    cMiniGame* mini = scene ? scene->getMiniGameObject() : nullptr;
    if (!mini) {
        ADD_FAILURE() << "a mini-game state without a mini game";
        return false;
    }
    ++miniGamesPlayed;
    if (!until([&] { return scene->getStartPanel()->isVisible() && scene->getStartPanel()->isComplete(); }, 600)) {
        ADD_FAILURE() << "the mini game's start panel never came";
        return false;
    }
    pressKey(KEY_ENTER);
    if (!until([&] { return !scene->getStartPanel()->isVisible() && !getLogic()->isPaused(); }, 600)) {
        ADD_FAILURE() << "Enter on the mini game's start panel started nothing";
        return false;
    }
    // Each object the list names, found where the game hovers it.
    for (int guard = 0; guard < 200 && !mini->isOver() && !mini->getObjectsToFind().empty(); ++guard) {
        until([&] { return mini->getClickTimer() <= 0.0f; }, 200);
        const cHiddenObject* next = mini->getObjectsToFind().front();
        cVector2 origin = next->getPosition();
        if (next->testTransformFlags(TF_CENTERED)) origin = origin - next->getLayerFrameSize(0) / 2.0f;
        const size_t before = mini->getObjectsToFind().size();
        for (const cTriangle& t : next->getTriangles()) {
            platform::input::injectCursor(origin.x + (t.a.x + t.b.x + t.c.x) / 3.0f, origin.y + (t.a.y + t.b.y + t.c.y) / 3.0f);
            logicFrame();
            if (mini->getHovered() != next) continue;
            platform::input::injectButton(MOUSE_LEFT, true);
            logicFrame();
            platform::input::injectButton(MOUSE_LEFT, false);
            logicFrame();
            break;
        }
        if (mini->getObjectsToFind().size() == before) {
            ADD_FAILURE() << "mini game at level " << getGameData()->getLevel() << ": the object "
                          << next->getName().toNarrow()
                          << " could not be clicked";
            return false;
        }
    }
    if (!until([&] { return scene->getContinuePanel()->isVisible() && scene->getContinuePanel()->isComplete(); },
                           3000)) {
        ADD_FAILURE() << "the mini game's continue panel never came";
        return false;
    }
    pressKey(KEY_ENTER);
    return until([&] { return game->isSwitching() || game->getCurrentState() != APP_STATE_MINI_GAME; }, 600);
}

bool CampaignRun::turnComics() {
    for (int page = 0; page < 40; ++page) {
        frames(10);
        if (game->isSwitching() || game->getCurrentState() != APP_STATE_COMICS) return true;
        pressKey(KEY_ENTER);
    }
    ADD_FAILURE() << "the comics never ended";
    return false;
}

std::vector<std::pair<std::string, std::string>> CampaignRun::writtenFiles() const {
    std::vector<std::pair<std::string, std::string>> files;
    const fs::path root = genv->env.root();
    const std::string statistics = game_test::lower(game::kStatisticsFolder);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        const std::string rel = entry.path().lexically_relative(root).generic_string();
        const bool save = entry.path().filename() == game::kSaveFileName;
        const bool log = game_test::lower(rel).find("/" + statistics + "/") != std::string::npos ||
                         game_test::lower(rel).rfind(statistics + "/", 0) == 0;
        if (!save && !log) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(rel, std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string levelTable(const std::vector<LevelRecord>& records) {
    std::ostringstream out;
    out << "| Level | Score | Goal | Expert | Served | Lost | Result |\n|---:|---:|---:|---:|---:|---:|---|\n";
    for (const LevelRecord& r : records)
        out << "| " << r.level << (r.attempt > 1 ? " (again)" : "") << " | " << r.score << " | " << r.goal << " | "
            << r.expert << " | " << r.served << " | " << r.lost << " | "
            << (!r.ended ? "stuck" : r.score >= r.expert ? "expert" : r.won ? "won" : "lost") << " |\n";
    return out.str();
}

void writeLevelTable(const std::string& name, const std::vector<LevelRecord>& records) {
    const fs::path dir = fs::path(RW_TEST_OUTPUT_DIR) / "campaign";
    fs::create_directories(dir);
    std::ofstream(dir / (name + ".md")) << levelTable(records);
    std::cout << levelTable(records);
}

void expectEveryLevelWon(const std::vector<LevelRecord>& records) {
    for (size_t i = 0; i < records.size(); ++i) {
        const LevelRecord& r = records[i];
        EXPECT_TRUE(r.ended) << "level " << r.level << " never ended: " << r.failure;
        // A lost level is played again, as a player does; its goal must be reached then.
        const bool playedAgain = i + 1 < records.size() && records[i + 1].level == r.level;
        if (!playedAgain) {
            EXPECT_GE(r.score, r.goal) << "level " << r.level << " missed its goal (served " << r.served << ", lost "
                                       << r.lost << ", play " << r.attempt << ")";
        }
    }
}

void CampaignRun::expectSaveCarriesOn() {
    cGameData* data = getGameData();
    const int32_t reached = data->getReachedLevel();
    const int32_t level = data->getLevel();
    const int32_t cash = data->getCash(1, game::kLevelCount);
    const int32_t total = data->getTotalScore(game::kLevelCount);
    dropGame();
    ASSERT_TRUE(tryMakeGame(""));
    data = getGameData();
    EXPECT_EQ(data->getReachedLevel(), reached);
    EXPECT_EQ(data->getLevel(), level);
    EXPECT_EQ(data->getCash(1, game::kLevelCount), cash);
    EXPECT_EQ(data->getTotalScore(game::kLevelCount), total);
}

}  // namespace campaign_test
