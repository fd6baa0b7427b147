#pragma once
// The one store of play data: the player profiles and the save file, the highscore table,
// the volumes, the level packs with the description of the current level, the per-level
// values of the current player (reached through accessors that take a level offset: 0 the
// current level, -1 the one before), and the score and cash sums.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"
#include "game/flow/GameConstants.h"
#include "game/flow/cHighscore.h"
#include "game/flow/cProfile.h"

class cXmlNode;

// Getters of the per-level family: name, array.
#define RW_GAMEDATA_GETTERS(X)                                                                   \
    X(getBestScore, PA_BEST_SCORE)                                                               \
    X(getCountedBestScore, PA_COUNTED_BEST_SCORE)                                                \
    X(getMiniGameVariant, PA_MINIGAME_VARIANT)                                                   \
    X(getDrinkLevel, PA_DRINK) X(getCakeLevel, PA_CAKE) X(getSnackLevel, PA_SNACK)               \
    X(getCoffeeLevel, PA_COFFEE) X(getCreamLevel, PA_CREAM) X(getCotton1Level, PA_COTTON_1)      \
    X(getCotton2Level, PA_COTTON_2) X(getOven1Level, PA_OVEN_1) X(getOven2Level, PA_OVEN_2)      \
    X(getSauce1Level, PA_SAUCE_1) X(getSauce2Level, PA_SAUCE_2) X(getSauce3Level, PA_SAUCE_3)    \
    X(getSub1Level, PA_SUB_1) X(getSub2Level, PA_SUB_2) X(getSub3Level, PA_SUB_3)                \
    X(getSubPlace1Level, PA_SUB_PLACE_1) X(getSubPlace2Level, PA_SUB_PLACE_2)                    \
    X(getSubPlace3Level, PA_SUB_PLACE_3) X(getSandwichMakerLevel, PA_SANDWICH_MAKER)             \
    X(getWaitressLevel, PA_WAITRESS) X(getFloorLevel, PA_FLOOR) X(getWallLevel, PA_WALL)         \
    X(getTablesLevel, PA_TABLES) X(getCounterLevel, PA_COUNTER)                                  \
    X(getInterior1Level, PA_INTERIOR_1) X(getInterior2Level, PA_INTERIOR_2)

// Setters of the per-level family: name, array. Each takes (value, offset).
#define RW_GAMEDATA_SETTERS(X)                                                                   \
    X(setMoneySpent, PA_MONEY_SPENT) X(setMiniGameVariant, PA_MINIGAME_VARIANT)                  \
    X(setMiniGamePlayed, PA_MINIGAME_PLAYED) X(setMiniGameResult, PA_MINIGAME_RESULT)            \
    X(setDrinkLevel, PA_DRINK) X(setCakeLevel, PA_CAKE) X(setSnackLevel, PA_SNACK)               \
    X(setCoffeeLevel, PA_COFFEE) X(setCreamLevel, PA_CREAM) X(setCotton1Level, PA_COTTON_1)      \
    X(setCotton2Level, PA_COTTON_2) X(setOven1Level, PA_OVEN_1) X(setOven2Level, PA_OVEN_2)      \
    X(setSauce1Level, PA_SAUCE_1) X(setSauce2Level, PA_SAUCE_2) X(setSauce3Level, PA_SAUCE_3)    \
    X(setSubPlace2Level, PA_SUB_PLACE_2) X(setSubPlace3Level, PA_SUB_PLACE_3)                    \
    X(setSandwichMakerLevel, PA_SANDWICH_MAKER) X(setWaitressLevel, PA_WAITRESS)                 \
    X(setFloorLevel, PA_FLOOR) X(setWallLevel, PA_WALL) X(setTablesLevel, PA_TABLES)             \
    X(setCounterLevel, PA_COUNTER) X(setInterior1Level, PA_INTERIOR_1)                           \
    X(setInterior2Level, PA_INTERIOR_2)

class cGameData : public cSingleton<cGameData> {
public:
    // What the game data needs of the rest of the program. The defaults use the engine's
    // managers; tests replace them (set before constructing the game data).
    struct Services {
        // The real folder behind "$common$/", ending in "/".
        std::function<std::string()> commonFolder;
        // The level pack document of a resource name; throws when it is not loaded.
        std::function<const cXmlNode*(const cStringA& name)> getPack;
        // An integer setting (section, key); false when missing, leaving the value unchanged.
        std::function<bool(const char* section, const char* key, int32_t* value)> readSetting;
        // Hands the loaded volumes to the sound manager.
        std::function<void(int32_t sound, int32_t music)> applyVolumes;
        // Pauses between attempts to open the save file.
        std::function<void(int milliseconds)> sleep;
        // A line for the log channel "game".
        std::function<void(const std::string& line)> log;
    };
    static Services defaultServices();
    static Services& services();  // the services the next game data uses

    // normalMode true and an empty pack name for a normal start; false and the pack's
    // resource name when a single pack is played (no saving, no highscores, no tutorial).
    cGameData(bool normalMode, const cStringA& packName);
    ~cGameData() override;

    // ---- profiles, save file, highscores, volumes
    // Reads "$common$/data.ssp" (normal mode). A missing file is a first start. A file that is
    // there but cannot be read or is damaged is logged and kept beside it under a name of its
    // own (kSaveDamagedFileName, then numbered); until it is kept, save() writes nothing.
    void load();
    // Writes the save file through a temporary file (normal mode, at least one profile); the
    // old file stays whole when anything fails. Failures are logged, never thrown.
    void save();
    void saveNow() { save(); }
    int getProfileCount() const { return static_cast<int>(m_profiles.size()); }
    int32_t getCurrentProfileIndex() const { return m_currentIndex; }
    cStringW getProfileName() const;
    cStringW getProfileNameAt(int index) const;
    void selectProfile(int index);
    void addProfile(const cStringW& name);
    void deleteCurrentProfile();
    void recordLevelResult(bool counts);
    void addHighscore(int32_t total);
    void getHighscore(int index, cStringW& name, int32_t& score) const;
    void getHighscoreAt(int index, cHighscore& out) const;
    int getHighscoreCount() const { return static_cast<int>(m_highscores.size()); }
    int32_t getSoundVolume() const { return m_soundVolume; }
    void setSoundVolume(int32_t v) { m_soundVolume = v; }
    int32_t getMusicVolume() const { return m_musicVolume; }
    void setMusicVolume(int32_t v) { m_musicVolume = v; }
    // The text of the last save-file failure (empty when the last load or save went well).
    const std::string& getLastSaveError() const { return m_lastSaveError; }

    // ---- current level and its description
    int32_t getLevel() const { return m_profile.level; }
    void setLevel(int32_t level);
    int32_t getReachedLevel() const { return m_profile.reachedLevel; }
    int32_t getMarkedLevel() const { return m_profile.markedLevel; }
    void setMarkedLevel(int32_t level) { m_profile.markedLevel = level; }
    int32_t getDifficulty() const { return m_profile.difficulty; }
    void setDifficulty(int32_t difficulty);
    int32_t getWorld() const { return m_world; }
    uint32_t getLevelInWorld() const { return m_levelInWorld; }
    uint32_t getTotalLevels() const { return m_totalLevels; }
    bool isLastLevel() const { return m_lastLevel; }
    int32_t getGraphicsSet() const { return m_graphicsSet; }
    int32_t getMinGoal() const { return m_minGoal; }
    float getLevelTime() const { return m_levelTime; }
    int32_t getGoal() const { return m_goal; }
    void setGoal(int32_t v) { m_goal = v; }
    int32_t getExpertGoal() const { return m_expertGoal; }
    void setExpertGoal(int32_t v) { m_expertGoal = v; }
    const cXmlNode* getLevelNode() const { return m_levelNode; }
    const cStringA& getPathsFileName() const { return m_pathsFileName; }
    void makePathsFileName();
    void loadLevelInfo();
    void initLevelUpgrades();
    const std::vector<cStringA>& getPackList() const { return m_packs; }

    int32_t getScore() const { return m_score; }
    void setScore(int32_t v) { m_score = v < 0 ? 0 : v; }
    int32_t getMiniGameNumber() const { return m_miniGameNumber; }
    void setMiniGameNumber(int32_t v) { m_miniGameNumber = v; }
    int32_t getMiniGameScore() const { return m_miniGameScore; }
    void setMiniGameScore(int32_t v) { m_miniGameScore = v < 0 ? 0 : v; }
    int32_t getComicsNumber() const { return m_comicsNumber; }
    void setComicsNumber(int32_t v) { m_comicsNumber = v; }
    bool isNormalMode() const { return m_normalMode; }
    void setNormalMode(bool v) { m_normalMode = v; }

    // ---- per-level values of the current player (offset d: level getLevel() + d). A slot
    // outside levels 1..60 reads as 0 and is never written.
    bool isShopSoldOut(int32_t d) const { return value(PA_SHOP_SOLD_OUT, d) != 0; }
    void setShopSoldOut(bool soldOut, int32_t d) { setValue(PA_SHOP_SOLD_OUT, soldOut ? 1 : 0, d); }
    bool isExpertReached(int32_t level) const { return valueAt(PA_EXPERT_REACHED, level) != 0; }
    bool isMiniGamePlayed(int32_t d) const { return value(PA_MINIGAME_PLAYED, d) != 0; }
#define RW_GAMEDATA_DECLARE_GETTER(name, array) \
    int32_t name(int32_t d) const { return value(array, d); }
#define RW_GAMEDATA_DECLARE_SETTER(name, array) \
    void name(int32_t v, int32_t d) { setValue(array, v, d); }
    RW_GAMEDATA_GETTERS(RW_GAMEDATA_DECLARE_GETTER)
    RW_GAMEDATA_SETTERS(RW_GAMEDATA_DECLARE_SETTER)
#undef RW_GAMEDATA_DECLARE_GETTER
#undef RW_GAMEDATA_DECLARE_SETTER

    // ---- sums
    int32_t getCash(int32_t first, int32_t last) const;
    int32_t getTotalScore(int32_t n) const;
    int32_t getProfileTotal(int index) const;

    // The working copy of the current player (read-only; tests and tools).
    const cProfile& getCurrentProfile() const { return m_profile; }
    const cProfile& getProfileAt(int index) const { return m_profiles.at(static_cast<size_t>(index)); }

private:
    int32_t value(int array, int32_t d) const { return valueAt(array, m_profile.level + d); }
    void setValue(int array, int32_t v, int32_t d) { setValueAt(array, v, m_profile.level + d); }
    int32_t valueAt(int array, int32_t level) const;
    void setValueAt(int array, int32_t v, int32_t level);
    void fillPackList(bool hard);
    bool readSaveFile();
    void keepUnusableSave(const std::string& reason, const std::vector<uint8_t>* bytes);
    bool keepSaveAside();
    bool writeSaveFile();
    void log(const std::string& line) const;

    Services m_services;
    std::vector<cHighscore> m_highscores;
    cStringA m_savePath, m_tempPath;
    std::string m_realSavePath, m_realTempPath;
    cStringA m_pathsFileName;
    bool m_normalMode = true;
    const cXmlNode* m_levelNode = nullptr;
    std::vector<cStringA> m_packs;
    std::vector<cProfile> m_profiles;
    int32_t m_currentIndex = -1;
    cProfile m_profile;
    uint32_t m_levelInWorld = 1;
    int32_t m_world = 1;
    uint32_t m_totalLevels = 1;
    bool m_lastLevel = false;
    int32_t m_miniGameNumber = 1;
    int32_t m_minGoal = 0;
    int32_t m_goal = 0;
    int32_t m_expertGoal = 0;
    float m_levelTime = 0.0f;
    int32_t m_graphicsSet = 1;
    int32_t m_score = 0;
    int32_t m_miniGameScore = 0;
    int32_t m_comicsNumber = 1;
    int32_t m_soundVolume = -1;
    int32_t m_musicVolume = -1;
    std::string m_lastSaveError;
    // An unusable save file is on disk and not yet kept aside: nothing may be saved over it.
    bool m_saveBlocked = false;
    std::optional<std::vector<uint8_t>> m_unkeptSave;  // what was read of it, when anything was
};

inline cGameData* getGameData() { return cGameData::instance(); }
