#include "game/flow/cResourceGroupManager.h"

#include <memory>
#include <unordered_set>

#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/flow/cLoader.h"
#include "game/flow/cStartLoader.h"

cResourceGroupManager* getResourceGroupManager() { return cResourceGroupManager::instance(); }

const char* const cResourceGroupManager::kSoundConfigs[5] = {
    "Config/Game/sounds_game_interface.ini", "Config/Game/sounds_game.ini", "Config/Menu/sounds_menu.ini",
    "Config/Shop/sounds_shop.ini", "Config/Minigame1/sounds_minigame1.ini",
};

namespace {

cStringA lowered(const cStringA& name) {
    cStringA s(name);
    s.makeLower();
    return s;
}

// The common game files: folders loaded whole at the first need, then one single file.
const char* const kCommonFolders[] = {
    "Game/Interface/Buttons", "Game/Interface/Surfaces", "Game/Effects",       "Game/Worlds/Common",
    "Game/Characters/01",     "Game/Characters/02",      "Game/Characters/03", "Game/Characters/04",
    "Game/Characters/05",     "Game/Characters/06",      "Game/Characters/Mood", "Game/Characters/Lucinda",
    "Game/Characters/Harold", "Game/Characters/Thief",   "Game/Characters/Think",
};
const char* const kCommonSingle = "Game/Interface/Hints/hint_sub.dds";

int32_t currentGraphicsSet() { return getGameData() ? getGameData()->getGraphicsSet() : 1; }

}  // namespace

cResourceGroupManager::cResourceGroupManager() = default;

// The groups themselves are unloaded by unloadStartup and the state unload operations.
cResourceGroupManager::~cResourceGroupManager() = default;

void cResourceGroupManager::scanFolder(const cStringA& folder, cFileList& list, bool recursive, int32_t group) {
    cFileManager* files = getFileManager();
    if (!files) return;
    std::vector<cStringA> names;
    files->findFiles(names, folder, recursive);
    // The file manager may name one file twice (a loose file and an archive entry, or two
    // spellings of one name); a list holds each name once, so that the difference of two world
    // lists never unloads a file the new list still uses.
    std::unordered_set<std::string> seen;
    for (const cFileRecord& r : list) seen.insert(lowered(r.name));
    for (const cStringA& name : names)
        if (seen.insert(lowered(name)).second) list.push_back(cFileRecord{name, group});
}

void cResourceGroupManager::loadList(const cFileList& list, uint32_t steps, cLoadingScreen* screen) {
    std::unique_ptr<cLoadingScreen> own;
    const size_t n = list.size();
    if (steps > n) steps = static_cast<uint32_t>(n);
    cLoadingScreen* shown = nullptr;
    if (steps != 0) {
        if (!screen) {
            own.reset(new cLoader);
            screen = own.get();
        }
        shown = screen;
        shown->show();
    }
    const size_t batch = steps != 0 ? n / steps : 0;
    size_t counted = 0;
    uint32_t step = 0;
    cResourceManager* resources = getResourceManager();
    for (const cFileRecord& r : list) {
        if (resources) resources->load(r.name, r.group);
        if (!shown) continue;
        if (++counted == batch) {
            counted = 0;
            shown->setProgress(++step, steps);
        }
    }
    // A screen made here is deleted here (restoring the fade and unloading its textures).
}

void cResourceGroupManager::loadSoundConfig(const cStringA& iniName) {
    cResourceManager* resources = getResourceManager();
    if (!resources) return;
    const cIniFile* ini = resources->getIni(iniName);
    cSound* sound = getSound();
    for (int n = 1;; ++n) {
        const cStringW section = cStringW(L"SOUND_") + intToString(n);
        const cStringA name = ini->getValue(section, cStringW(L"sound")).toNarrow();
        if (name.isEmpty()) break;
        int32_t streaming = 0, channels = 4, volume = 100;
        stringToInt(&streaming, ini->getValue(section, cStringW(L"streaming")));
        stringToInt(&channels, ini->getValue(section, cStringW(L"chanells")));
        stringToInt(&volume, ini->getValue(section, cStringW(L"volume")));
        if (!sound) continue;
        if (streaming != 0)
            sound->loadStream(name, volume);
        else
            sound->loadSample(name, static_cast<uint32_t>(channels < 0 ? 0 : channels), static_cast<uint32_t>(volume < 0 ? 0 : volume));
    }
}

void cResourceGroupManager::loadConfig() {
    cFileList list;
    scanFolder("Config", list, true, GROUP_CONFIG);
    loadList(list, 0, nullptr);
}

void cResourceGroupManager::loadStartup() {
    cFileList list;
    for (const char* folder : {"Fonts", "Packs", "Menu/Cursor", "Menu/Buttons"}) scanFolder(folder, list, true, GROUP_STARTUP);
    loadConfig();
    loadList(list, 0, nullptr);
    for (const char* ini : kSoundConfigs) loadSoundConfig(ini);
}

void cResourceGroupManager::loadGameCommon(cFileList& list) {
    for (const char* folder : kCommonFolders) scanFolder(folder, list, true, GROUP_STARTUP);
    list.push_back(cFileRecord{kCommonSingle, GROUP_STARTUP});
}

void cResourceGroupManager::addCommonFilesOnce(cFileList& list) {
    if (m_common_loaded) return;
    m_common_loaded = true;
    loadGameCommon(list);
}

void cResourceGroupManager::scanAndLoad(const char* folder, int32_t group, bool withProgress) {
    cFileList list;
    scanFolder(folder, list, true, group);
    loadList(list, withProgress ? static_cast<uint32_t>(list.size()) : 0, nullptr);
}

void cResourceGroupManager::loadLogo() { scanAndLoad("Menu/Custom", GROUP_LOGO, false); }
void cResourceGroupManager::loadComics() { scanAndLoad("Comics", GROUP_COMICS, false); }

void cResourceGroupManager::loadMenu() {
    std::unique_ptr<cStartLoader> startLoader;
    cFileList list;
    if (m_first_menu_entry) {
        startLoader.reset(new cStartLoader);
        m_first_menu_entry = false;
        addCommonFilesOnce(list);
    }
    scanFolder("Menu/Surfaces", list, true, GROUP_MENU);
    loadList(list, static_cast<uint32_t>(list.size()), startLoader.get());
    // Deleting the start loader runs its slide-out.
}

void cResourceGroupManager::loadGame() {
    // A start straight into the game state (a level pack on the command line) has not been
    // through the main menu: the common game files come with the first world.
    cFileList list;
    addCommonFilesOnce(list);
    buildWorldList(currentGraphicsSet(), list);
    loadList(list, static_cast<uint32_t>(list.size()), nullptr);
}

void cResourceGroupManager::loadWorld(int32_t graphicsSet, bool withProgress) {
    cFileList list;
    buildWorldList(graphicsSet, list);
    loadList(list, withProgress ? static_cast<uint32_t>(list.size()) : 0, nullptr);
}

void cResourceGroupManager::loadShop() {
    cFileList list;
    scanFolder("Shop/Interface", list, true, GROUP_SHOP);
    const cStringA set = intToNarrowString(world_textures::worldOfGraphicsSet(currentGraphicsSet()));
    scanFolder("Shop/Icons/" + set, list, true, GROUP_SHOP);
    scanFolder("Shop/Preview/" + set, list, true, GROUP_SHOP);
    loadList(list, static_cast<uint32_t>(list.size()), nullptr);
}

void cResourceGroupManager::loadMiniGame() {
    cFileList list;
    addCommonFilesOnce(list);  // the mini game may be the first state (command line)
    scanFolder("MiniGame1", list, true, GROUP_MINI_GAME);
    loadList(list, static_cast<uint32_t>(list.size()), nullptr);
}

void cResourceGroupManager::buildWorldList(int32_t graphicsSet, cFileList& out) {
    const cGameData* data = getGameData();
    buildWorldList(graphicsSet, data ? data->getLevel() : 1, world_textures::currentUpgrades(), out);
}

void cResourceGroupManager::buildWorldList(int32_t graphicsSet, int32_t level, const world_textures::Upgrades& upgrades,
                                           cFileList& out) {
    m_to_load.clear();
    m_new_world.clear();
    listWorld(world_textures::worldOfGraphicsSet(graphicsSet), level, upgrades);
    diffWorld();
    out.insert(out.end(), m_to_load.begin(), m_to_load.end());
}

void cResourceGroupManager::listWorld(int32_t world, int32_t level, const world_textures::Upgrades& upgrades) {
    for (const std::string& folder : world_textures::scannedFolders(world)) scanFolder(folder, m_new_world, true, GROUP_WORLD);
    std::unordered_set<std::string> seen;
    for (const cFileRecord& r : m_new_world) seen.insert(lowered(r.name));
    // The stations' names also follow the level's world (the demo packs keep it equal to the set).
    const cGameData* data = getGameData();
    const int32_t stationWorld = data ? data->getWorld() : world;
    for (const std::string& name : world_textures::singleFiles(world, stationWorld, level, upgrades))
        if (seen.insert(lowered(name)).second) m_new_world.push_back(cFileRecord{name, GROUP_WORLD});
}

void cResourceGroupManager::diffWorld() {
    std::unordered_set<std::string> loaded, kept;
    for (const cFileRecord& r : m_loaded_world) loaded.insert(lowered(r.name));
    for (const cFileRecord& r : m_new_world) {
        std::string key = lowered(r.name);
        if (loaded.count(key))
            kept.insert(std::move(key));  // stays loaded
        else
            m_to_load.push_back(r);
    }
    // What only the old world used is unloaded; a name the new world also holds stays, however
    // often the old list named it.
    if (cResourceManager* resources = getResourceManager())
        for (const cFileRecord& old : m_loaded_world)
            if (!kept.count(lowered(old.name))) resources->unload(old.name);
    m_loaded_world = m_new_world;
}

namespace {

void unloadGroup(int32_t group) {
    if (cResourceManager* resources = getResourceManager()) resources->unloadGroup(group);
}

}  // namespace

void cResourceGroupManager::unloadConfig() { unloadGroup(GROUP_CONFIG); }

void cResourceGroupManager::unloadStartup() {
    unloadGroup(GROUP_CONFIG);
    unloadGroup(GROUP_STARTUP);
    m_common_loaded = false;
}

void cResourceGroupManager::unloadLogo() { unloadGroup(GROUP_LOGO); }
void cResourceGroupManager::unloadComics() { unloadGroup(GROUP_COMICS); }
void cResourceGroupManager::unloadMenu() { unloadGroup(GROUP_MENU); }
void cResourceGroupManager::unloadShop() { unloadGroup(GROUP_SHOP); }
void cResourceGroupManager::unloadMiniGame() { unloadGroup(GROUP_MINI_GAME); }

void cResourceGroupManager::unloadWorld() {
    unloadGroup(GROUP_WORLD);
    m_loaded_world.clear();
    m_new_world.clear();
    m_to_load.clear();
}

void cResourceGroupManager::unloadGame() {
    unloadWorld();
    unloadGroup(GROUP_GAME);
}
