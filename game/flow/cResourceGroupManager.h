#pragma once
// Which resource files are in memory for each application state: lists of files (whole
// folders, or single files chosen by rules) loaded into numbered resource groups, behind a
// loading screen when the caller asks for progress; whole groups unloaded when a state ends.
// For the game state the current world's list is built from the level and its upgrades, and
// only what differs from the loaded world is loaded and unloaded. At start-up the sound
// declarations are read and every declared sound is loaded.

#include <cstdint>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"
#include "game/data/WorldTextures.h"

class cLoadingScreen;

// Resource groups of the game.
enum ResourceGroup : int32_t {
    GROUP_LOADING_SCREENS = 0,
    GROUP_STARTUP = 10,    // fonts, packs, cursor, common buttons; later the common game files
    GROUP_CONFIG = 11,     // every INI of the game
    GROUP_LOGO = 12,
    GROUP_COMICS = 13,
    GROUP_MENU = 14,
    GROUP_GAME = 15,       // never filled; unloaded with the game state
    GROUP_WORLD = 16,
    GROUP_SHOP = 17,
    GROUP_MINI_GAME = 18,
};

struct cFileRecord {
    cStringA name;  // a path under the data root, as loaded
    int32_t group = 0;
};
using cFileList = std::vector<cFileRecord>;

class cResourceGroupManager : public cSingleton<cResourceGroupManager> {
public:
    cResourceGroupManager();
    ~cResourceGroupManager() override;

    // Appends one record per file under the folder, in the file manager's order. A name that
    // the list already holds (in any letter case) is not appended again.
    void scanFolder(const cStringA& folder, cFileList& list, bool recursive, int32_t group);
    // Loads every record of the list into its group. steps 0: no loading screen; otherwise the
    // given screen (or a cLoader made for this call) shows one step per list.size()/steps files.
    void loadList(const cFileList& list, uint32_t steps, cLoadingScreen* screen);
    // Loads every sound of the SOUND_1, SOUND_2 ... sections of a loaded INI, up to the first
    // section without a sound.
    void loadSoundConfig(const cStringA& iniName);

    void loadStartup();
    void loadConfig();
    void loadLogo();
    void loadComics();
    void loadMenu();
    void loadGame();
    void loadShop();
    void loadMiniGame();
    // Appends the common game files (group 10) to the list; loads nothing itself.
    void loadGameCommon(cFileList& list);
    // The world list of the graphics set: loads what the loaded world lacks, unloads what it
    // no longer needs.
    void loadWorld(int32_t graphicsSet, bool withProgress);

    // The work lists: the new world list of the graphics set (from the game data's current
    // level and upgrades), its difference to the loaded world, appended to out.
    void buildWorldList(int32_t graphicsSet, cFileList& out);
    // The same for a given level and upgrades (tests, tools).
    void buildWorldList(int32_t graphicsSet, int32_t level, const world_textures::Upgrades& upgrades, cFileList& out);

    void unloadConfig();
    void unloadStartup();
    void unloadLogo();
    void unloadComics();
    void unloadMenu();
    void unloadGame();
    void unloadWorld();
    void unloadShop();
    void unloadMiniGame();

    const cFileList& getLoadedWorld() const { return m_loaded_world; }
    bool isFirstMenuEntry() const { return m_first_menu_entry; }
    bool areCommonFilesLoaded() const { return m_common_loaded; }

    // The names of the five sound declaration files, in loading order.
    static const char* const kSoundConfigs[5];

private:
    void listWorld(int32_t world, int32_t level, const world_textures::Upgrades& upgrades);
    void diffWorld();
    void scanAndLoad(const char* folder, int32_t group, bool withProgress);
    // Prepends the common game files to a list when no state has loaded them yet.
    void addCommonFilesOnce(cFileList& list);

    cFileList m_new_world;
    cFileList m_loaded_world;
    cFileList m_to_load;
    bool m_first_menu_entry = true;
    bool m_common_loaded = false;
};

cResourceGroupManager* getResourceGroupManager();
