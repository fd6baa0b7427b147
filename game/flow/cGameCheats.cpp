// The root object's debug aids: typed cheat words (setting Game/debug_cheats) acting on the
// running state, and five service keys (setting Game/service_debug_cheats) that change the
// speed of game time and interface time or freeze the game tree.
#include "engine/core/cTimer.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "game/flow/cGame.h"
#include "game/flow/cGameScreen.h"
#include "game/menus/cMainMenu.h"
#include "game/minigame/cMiniGameScene.h"
#include "game/shop/cShop.h"

namespace {

constexpr size_t kCheatBufferSize = 30;
const char* const kCheatSound = "sounds/game_interface/cheat.ogg";

cStringA& cheatBuffer() {
    static cStringA buffer(kCheatBufferSize, '0');
    return buffer;
}

// The toggles of Home, Insert, End and Delete.
bool g_slowGame = false, g_slowInterface = false, g_fastGame = false, g_fastInterface = false;

constexpr float kSlowSpeed = 0.05f;
constexpr float kFastSpeed = 20.0f;

struct CheatWord {
    const char* word;
    void (*act)(void* state);
};

template <class State>
bool tryWords(State* state, const CheatWord* words, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (matchCheat(words[i].word)) {
            words[i].act(state);
            return true;
        }
    return false;
}

#define RW_CHEAT(type, word, call) {word, [](void* s) { static_cast<type*>(s)->call; }}

const CheatWord kGameScreenWords[] = {
    RW_CHEAT(cGameScreen, "R", cheatRestart()),       RW_CHEAT(cGameScreen, "N", cheatNextLevel()),
    RW_CHEAT(cGameScreen, "M", cheatWin()),           RW_CHEAT(cGameScreen, "B", cheatPreviousLevel()),
    RW_CHEAT(cGameScreen, "T", cheatTimeOut()),       RW_CHEAT(cGameScreen, "E", cheatReachExpert()),
    RW_CHEAT(cGameScreen, "G", cheatReachGoal()),     RW_CHEAT(cGameScreen, "1", cheatMood(-1)),
    RW_CHEAT(cGameScreen, "2", cheatMood(1)),         RW_CHEAT(cGameScreen, "9", cheatDecor(-1)),
    RW_CHEAT(cGameScreen, "0", cheatDecor(1)),        RW_CHEAT(cGameScreen, "C", cheatFillCombo()),
    RW_CHEAT(cGameScreen, "3", cheatScore(-100)),     RW_CHEAT(cGameScreen, "4", cheatScore(100)),
    RW_CHEAT(cGameScreen, "Q", cheatThief()),
};
const CheatWord kShopWords[] = {
    RW_CHEAT(cShop, "R", cheatReload()),
    RW_CHEAT(cShop, "M", cheatAddMoney()),
};
const CheatWord kMiniGameWords[] = {
    RW_CHEAT(cMiniGameScene, "R", cheatRestart()),     RW_CHEAT(cMiniGameScene, "N", cheatNext()),
    RW_CHEAT(cMiniGameScene, "B", cheatPrevious()),    RW_CHEAT(cMiniGameScene, "T", cheatTimeOver()),
    RW_CHEAT(cMiniGameScene, "3", cheatAddScore(-100)), RW_CHEAT(cMiniGameScene, "4", cheatAddScore(100)),
    RW_CHEAT(cMiniGameScene, "H", cheatHint()),
};
const CheatWord kMainMenuWords[] = {
    RW_CHEAT(cMainMenu, "OP", cheatOpenAllLevels()),
    RW_CHEAT(cMainMenu, "R", cheatReload()),
};

#undef RW_CHEAT

template <size_t N>
constexpr size_t countOf(const CheatWord (&)[N]) { return N; }

// The five service keys: key, callback.
struct ServiceKey {
    uint8_t key;
    InputCallback callback;
};
const ServiceKey kServiceKeys[] = {
    {KEY_HOME, cGame::toggleSlowGame},       {KEY_END, cGame::toggleFastGame},
    {KEY_INSERT, cGame::toggleSlowInterface}, {KEY_DELETE, cGame::toggleFastInterface},
    {KEY_PAUSE, cGame::toggleFreeze},
};

void setGameSpeed(float speed) {
    if (cTimer* timer = getTimer()) timer->setGameSpeed(speed);
}

void setInterfaceSpeed(float speed) {
    if (cTimer* timer = getTimer()) timer->setRealSpeed(speed);
}

}  // namespace

const cStringA& getCheatBuffer() { return cheatBuffer(); }

void resetCheatBuffer() {
    cheatBuffer() = cStringA(kCheatBufferSize, '0');
    g_slowGame = g_slowInterface = g_fastGame = g_fastInterface = false;
}

bool matchCheat(const cStringA& word) {
    const cStringA& buffer = cheatBuffer();
    if (word.isEmpty() || word.size() > buffer.size()) return false;
    if (buffer.compare(buffer.size() - word.size(), word.size(), word) != 0) return false;
    cheatBuffer() = cStringA(kCheatBufferSize, '0');
    if (cSound* sound = getSound()) sound->playSample(kCheatSound, -1);
    return true;
}

void cGame::pushCheatKey(char key) {
    cStringA& buffer = cheatBuffer();
    buffer.erase(0, 1);
    buffer.push_back(key);
}

void cGame::checkCheats() {
    if (!m_debug_cheats) return;
    // A match clears the buffer, so one key fires at most one cheat.
    if (m_game_screen && tryWords(m_game_screen, kGameScreenWords, countOf(kGameScreenWords))) return;
    if (m_shop && tryWords(m_shop, kShopWords, countOf(kShopWords))) return;
    if (m_mini_game && tryWords(m_mini_game, kMiniGameWords, countOf(kMiniGameWords))) return;
    if (m_main_menu) tryWords(m_main_menu, kMainMenuWords, countOf(kMainMenuWords));
}

void cGame::bindServiceKeys() {
    if (m_service_debug_cheats)
        for (const ServiceKey& k : kServiceKeys) bindInput(keyPressedCode(k.key), k.callback, this);
    cSceneNode::onEnable();
}

void cGame::unbindServiceKeys() {
    if (m_service_debug_cheats)
        for (const ServiceKey& k : kServiceKeys) unbindInput(keyPressedCode(k.key), k.callback, this);
    cSceneNode::onDisable();
}

void cGame::toggleSlowGame(void*) {
    g_slowGame = !g_slowGame;
    setGameSpeed(g_slowGame ? kSlowSpeed : 1.0f);
}

void cGame::toggleFastGame(void*) {
    g_fastGame = !g_fastGame;
    setGameSpeed(g_fastGame ? kFastSpeed : 1.0f);
}

void cGame::toggleSlowInterface(void*) {
    g_slowInterface = !g_slowInterface;
    setInterfaceSpeed(g_slowInterface ? kSlowSpeed : 1.0f);
}

void cGame::toggleFastInterface(void*) {
    g_fastInterface = !g_fastInterface;
    setInterfaceSpeed(g_fastInterface ? kFastSpeed : 1.0f);
}

void cGame::toggleFreeze(void* game) {
    auto* self = static_cast<cGame*>(game);
    self->m_frozen = !self->m_frozen;
}
