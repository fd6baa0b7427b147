// The default services of the game data and the statistics logger: the engine's managers.
#include <ctime>

#include "engine/core/LogHooks.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/data/cStatistics.h"
#include "platform/Platform.h"

namespace {

std::string commonFolder() {
    cFileManager* files = getFileManager();
    return files ? std::string(files->getCommonPath()) : std::string();
}

void logLine(const std::string& line) { logGameQuietly(cStringA(line)); }

}  // namespace

cGameData::Services cGameData::defaultServices() {
    Services s;
    s.commonFolder = commonFolder;
    s.getPack = [](const cStringA& name) -> const cXmlNode* {
        cResourceManager* resources = getResourceManager();
        if (!resources) throw cStringA("Level pack '" + name + "' cannot be loaded: no resource manager.");
        return resources->getXml(name);
    };
    s.readSetting = [](const char* section, const char* key, int32_t* value) {
        cSettingsManager* settings = getSettingsManager();
        if (!settings) return false;
        int v = *value;
        settings->getInt(cStringW(section), cStringW(key), v);
        bool changed = v != *value;
        *value = v;
        return changed;
    };
    s.applyVolumes = [](int32_t sound, int32_t music) {
        if (cSound* device = getSound()) {
            device->setSoundVolume(sound);
            device->setMusicVolume(music);
        }
    };
    s.sleep = [](int ms) { platform::sleepMs(static_cast<uint32_t>(ms)); };
    s.log = logLine;
    return s;
}

cStatistics::Services cStatistics::defaultServices() {
    Services s;
    s.commonFolder = commonFolder;
    s.enabled = [] {
        bool use = false;
        if (cSettingsManager* settings = getSettingsManager()) settings->getBool(cStringW(L"Statistics"), cStringW(L"use"), use);
        return use;
    };
    s.now = [] { return platform::localTime(); };
    s.gameTotal = [] { return getGameData() ? getGameData()->getTotalScore(game::kLevelCount) : 0; };
    s.log = logLine;
    return s;
}
