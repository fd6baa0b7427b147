#include "game/data/cGameData.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "engine/core/FileSystem.h"
#include "game/data/LevelPack.h"

namespace {

bool inLevelRange(int32_t level) { return level >= 1 && level <= game::kLevelCount; }

// A save file is small; reading stops far beyond any size it could have.
constexpr size_t kSaveReadLimit = size_t(64) << 20;

// The name of the n-th kept copy of an unusable save file: "data_damaged.ssp",
// "data_damaged_2.ssp", ...
std::string damagedCopyName(int n) {
    std::string name = game::kSaveDamagedFileName;
    if (n <= 1) return name;
    size_t dot = name.rfind('.');
    return name.substr(0, dot) + "_" + std::to_string(n) + name.substr(dot);
}

constexpr int kOpenAttempts = 11;
constexpr int kRetryPauseMs = 100;

}  // namespace

cGameData::Services& cGameData::services() {
    static Services s = defaultServices();
    return s;
}

cGameData::cGameData(bool normalMode, const cStringA& packName) : m_services(services()) {
    m_savePath = game::kSaveFile;
    m_tempPath = game::kSaveTempFile;
    std::string common = m_services.commonFolder ? m_services.commonFolder() : std::string();
    if (!common.empty() && common.back() != '/') common += '/';
    if (!common.empty()) {
        m_realSavePath = common + game::kSaveFileName;
        m_realTempPath = common + game::kSaveTempFileName;
    }
    m_normalMode = normalMode;
    if (packName.empty()) {
        fillPackList(false);
    } else {
        m_packs.push_back(packName);
        m_normalMode = false;
        setLevel(1);
    }
    load();
}

cGameData::~cGameData() = default;

void cGameData::log(const std::string& line) const {
    if (m_services.log) m_services.log(line);
}

void cGameData::fillPackList(bool hard) {
    m_packs.clear();
    for (const char* name : hard ? game::kPacksHard : game::kPacksEasy) m_packs.emplace_back(name);
}

// ---------------------------------------------------------------- per-level values

int32_t cGameData::valueAt(int array, int32_t level) const {
    if (array < 0 || array >= PA_COUNT || !inLevelRange(level)) return 0;
    return m_profile.values[array][level - 1];
}

void cGameData::setValueAt(int array, int32_t v, int32_t level) {
    if (array < 0 || array >= PA_COUNT || !inLevelRange(level)) return;
    m_profile.values[array][level - 1] = v;
}

// ---------------------------------------------------------------- level and description

void cGameData::setLevel(int32_t level) {
    if (m_packs.empty()) return;
    const int32_t previous = m_profile.level;
    m_profile.level = level;
    try {
        loadLevelInfo();
    } catch (...) {
        m_profile.level = previous;  // a refused pack leaves the level described as it was
        throw;
    }
    if (m_profile.level == m_profile.reachedLevel) initLevelUpgrades();
}

void cGameData::setDifficulty(int32_t difficulty) {
    m_profile.difficulty = difficulty > 1 ? 1 : difficulty;
    fillPackList(m_profile.difficulty == 1);
    setLevel(getLevel());
}

void cGameData::loadLevelInfo() {
    int32_t level = m_profile.level < 1 ? 1 : m_profile.level;

    // Count the levels of every pack; a pack without levels is refused.
    std::vector<const cXmlNode*> docs;
    std::vector<uint32_t> counts;
    // Sums in 64 bits: a pack may claim up to 2^32 - 1 levels, and a wrapped sum would put a
    // level into the wrong pack or into none.
    uint64_t total = 0;
    for (const cStringA& name : m_packs) {
        if (!m_services.getPack) throw cStringA("Level pack '" + name + "' cannot be loaded.");
        const cXmlNode* doc = m_services.getPack(name);
        if (!doc) throw cStringA("Level pack '" + name + "' is not loaded.");
        uint32_t count = levelpack::countLevels(doc);
        if (count == 0) throw cStringA("Level pack '" + name + "' holds no levels.");
        docs.push_back(doc);
        counts.push_back(count);
        total += count;
    }

    // A level beyond the packs becomes the last level, and that level is described.
    bool last = static_cast<uint64_t>(level) >= total;
    if (last) level = static_cast<int32_t>(total);

    uint64_t first = 1;
    for (size_t i = 0; i < docs.size(); ++i) {
        uint64_t count = counts[i];
        uint64_t l = static_cast<uint64_t>(level);
        if (first <= l && l < first + count) {
            uint32_t inWorld = static_cast<uint32_t>(l - first + 1);
            const cXmlNode* node = levelpack::requireLevel(docs[i], inWorld, m_packs[i]);
            uint32_t graphics = 1, minGoal = 0, goal = 0, expert = 0;
            float time = 0.0f;
            levelpack::readUnsigned(node, L"num_graphics_set", &graphics);
            levelpack::readUnsigned(node, L"min_goal", &minGoal);
            levelpack::readUnsigned(node, L"goal", &goal);
            levelpack::readUnsigned(node, L"expert", &expert);
            levelpack::readFloat(node, L"level_time", &time);
            m_world = static_cast<int32_t>(i + 1);
            m_levelInWorld = inWorld;
            m_levelNode = node;
            m_graphicsSet = static_cast<int32_t>(graphics);
            m_minGoal = static_cast<int32_t>(minGoal);
            m_goal = static_cast<int32_t>(goal);
            m_expertGoal = static_cast<int32_t>(expert);
            m_levelTime = time;
            break;
        }
        first += count;
    }
    m_totalLevels = static_cast<uint32_t>(std::min<uint64_t>(total, UINT32_MAX));
    m_lastLevel = last;
    m_profile.level = level;
}

void cGameData::initLevelUpgrades() {
    int32_t level = m_profile.level;
    if (!inLevelRange(level)) return;
    int k = level - 1;
    auto& v = m_profile.values;

    v[PA_SHOP_SOLD_OUT][k] = 0;
    for (int a = PA_DRINK; a <= PA_SUB_PLACE_3; ++a) {
        uint32_t value = static_cast<uint32_t>(v[a][k]);
        levelpack::readUnsigned(m_levelNode, kUpgradeAttributes[a - PA_DRINK], &value);
        v[a][k] = static_cast<int32_t>(value);
    }
    for (int a = PA_SANDWICH_MAKER; a <= PA_INTERIOR_2; ++a) v[a][k] = 1;
    if (level >= game::kCottonUpgradeFromLevel) {
        v[PA_COTTON_1][k] = 2;
        v[PA_COTTON_2][k] = 2;
    }

    if (m_levelInWorld > 1 && k >= 1) {
        auto below = [&](int a) { return static_cast<uint32_t>(v[a][k]) < static_cast<uint32_t>(v[a][k - 1]); };
        v[PA_SHOP_SOLD_OUT][k] = v[PA_SHOP_SOLD_OUT][k - 1];
        static constexpr int primaries[] = {PA_DRINK,  PA_CAKE,     PA_SNACK,         PA_COFFEE, PA_CREAM,
                                            PA_COTTON_1, PA_OVEN_1, PA_SAUCE_1,       PA_SUB_1,  PA_SUB_PLACE_1,
                                            PA_SANDWICH_MAKER, PA_WAITRESS, PA_FLOOR, PA_WALL,   PA_TABLES,
                                            PA_COUNTER, PA_INTERIOR_1, PA_INTERIOR_2};
        for (int a : primaries)
            if (below(a)) v[a][k] = v[a][k - 1];
        static constexpr int dependents[][2] = {{PA_COTTON_2, PA_COTTON_1}, {PA_OVEN_2, PA_OVEN_1},
                                                {PA_SAUCE_2, PA_SAUCE_1},   {PA_SAUCE_3, PA_SAUCE_1},
                                                {PA_SUB_2, PA_SUB_1},       {PA_SUB_3, PA_SUB_1},
                                                {PA_SUB_PLACE_2, PA_SUB_PLACE_1}, {PA_SUB_PLACE_3, PA_SUB_PLACE_1}};
        for (const auto& [a, primary] : dependents) {
            if (!below(a)) continue;
            v[a][k] = v[a][k - 1];
            if (v[a][k] != 0 && static_cast<uint32_t>(v[a][k]) < static_cast<uint32_t>(v[primary][k]))
                v[a][k] = v[primary][k];
        }
    }
    makePathsFileName();
}

void cGameData::makePathsFileName() {
    int32_t level = m_profile.level;
    int places = 0, sauces = 0;
    for (int a : {PA_SUB_PLACE_1, PA_SUB_PLACE_2, PA_SUB_PLACE_3})
        if (valueAt(a, level) != 0) ++places;
    for (int a : {PA_SAUCE_1, PA_SAUCE_2, PA_SAUCE_3})
        if (valueAt(a, level) != 0) sauces = 1;
    m_pathsFileName = cStringA(std::string(game::kPathsPrefix) + std::to_string(sauces) + "p" +
                               std::to_string(places) + ".xml");
}

// ---------------------------------------------------------------- sums

int32_t cGameData::getCash(int32_t first, int32_t last) const {
    if (first < 1 || last < 1 || last < first) return 0;
    last = std::min(last, game::kLevelCount);
    int64_t sum = 0;
    for (int32_t l = first; l <= last; ++l)
        sum += int64_t(valueAt(PA_COUNTED_BEST_SCORE, l)) + valueAt(PA_MINIGAME_RESULT, l) -
               valueAt(PA_MONEY_SPENT, l);
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

int32_t cGameData::getTotalScore(int32_t n) const {
    if (n < 1) return 0;
    n = std::min(n, game::kLevelCount);
    int64_t sum = 0;
    for (int32_t l = 1; l <= n; ++l) sum += int64_t(valueAt(PA_BEST_SCORE, l)) + valueAt(PA_MINIGAME_RESULT, l);
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

int32_t cGameData::getProfileTotal(int index) const {
    const cProfile& p = (index == m_currentIndex || index < 0 || index >= getProfileCount())
                            ? m_profile
                            : m_profiles[static_cast<size_t>(index)];
    int64_t sum = 0;
    for (int k = 0; k < game::kLevelCount; ++k) sum += p.values[PA_BEST_SCORE][k];
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

// ---------------------------------------------------------------- profiles

cStringW cGameData::getProfileName() const { return cStringW(m_profile.getName()); }

cStringW cGameData::getProfileNameAt(int index) const {
    if (index < 0 || index >= getProfileCount()) return cStringW(L"Anonymous");
    if (index == m_currentIndex) return getProfileName();
    return cStringW(m_profiles[static_cast<size_t>(index)].getName());
}

void cGameData::selectProfile(int index) {
    if (index < 0 || index >= getProfileCount()) return;
    m_currentIndex = index;
    m_profile = m_profiles[static_cast<size_t>(index)];
    setDifficulty(m_profile.difficulty);
    setLevel(m_profiles[static_cast<size_t>(index)].level);
    save();
}

void cGameData::addProfile(const cStringW& name) {
    cProfile profile;
    profile.setName(name);
    m_profiles.push_back(profile);
    selectProfile(getProfileCount() - 1);
    for (int32_t l = 1; l <= game::kLevelCount; ++l) {
        setLevel(l);
        initLevelUpgrades();
    }
    setLevel(1);
    m_profile.reachedLevel = 1;
}

void cGameData::deleteCurrentProfile() {
    if (getProfileCount() <= 1 || m_currentIndex < 0 || m_currentIndex >= getProfileCount()) return;
    m_profiles.erase(m_profiles.begin() + m_currentIndex);
    int next = std::max(m_currentIndex - 1, 0);
    m_currentIndex = -1;
    selectProfile(next);
}

void cGameData::recordLevelResult(bool counts) {
    int32_t level = m_profile.level;
    if (!inLevelRange(level)) return;
    int k = level - 1;
    auto& v = m_profile.values;
    uint32_t score = static_cast<uint32_t>(m_score);
    if (static_cast<uint32_t>(m_profile.reachedLevel) < static_cast<uint32_t>(level + 1))
        m_profile.reachedLevel = level + 1;
    if (static_cast<uint32_t>(v[PA_BEST_SCORE][k]) < score) v[PA_BEST_SCORE][k] = m_score;
    if (counts && static_cast<uint32_t>(v[PA_COUNTED_BEST_SCORE][k]) < score) v[PA_COUNTED_BEST_SCORE][k] = m_score;
    v[PA_EXPERT_REACHED][k] =
        static_cast<uint32_t>(m_expertGoal) <= static_cast<uint32_t>(v[PA_BEST_SCORE][k]) ? 1 : 0;
    addHighscore(getTotalScore(game::kLevelCount));
}

// ---------------------------------------------------------------- highscores

void cGameData::addHighscore(int32_t total) {
    if (!m_normalMode || total <= 0) return;
    cHighscore entry;
    const std::wstring name = m_profile.getName();
    entry.setName(name);
    entry.score = total;

    // Names are compared up to their terminator: whatever a stored record holds after it
    // (a file written elsewhere may leave bytes there) does not make a second entry.
    auto same = std::find_if(m_highscores.begin(), m_highscores.end(),
                             [&](const cHighscore& h) { return h.getName() == name; });
    if (same != m_highscores.end()) {
        if (same->score >= total) return;
        m_highscores.erase(same);
    }
    auto at = std::find_if(m_highscores.begin(), m_highscores.end(), [&](const cHighscore& h) { return h.score < total; });
    m_highscores.insert(at, entry);
    if (m_highscores.size() > static_cast<size_t>(kSaveHighscoreCount)) m_highscores.resize(kSaveHighscoreCount);
}

void cGameData::getHighscore(int index, cStringW& name, int32_t& score) const {
    if (index < 0 || index >= getHighscoreCount()) return;
    name = cStringW(m_highscores[static_cast<size_t>(index)].getName());
    score = m_highscores[static_cast<size_t>(index)].score;
}

void cGameData::getHighscoreAt(int index, cHighscore& out) const {
    if (index < 0 || index >= getHighscoreCount()) return;
    out = m_highscores[static_cast<size_t>(index)];
}

// ---------------------------------------------------------------- save file

void cGameData::load() {
    bool loaded = false;
    if (m_normalMode) loaded = readSaveFile();
    if (!loaded && m_services.readSetting) {
        m_services.readSetting("Sound", "music_volume", &m_musicVolume);
        m_services.readSetting("Sound", "sound_volume", &m_soundVolume);
    }
    if (m_services.applyVolumes) m_services.applyVolumes(m_soundVolume, m_musicVolume);
    selectProfile(m_currentIndex);
}

bool cGameData::readSaveFile() {
    if (m_realSavePath.empty()) return false;
    std::vector<uint8_t> bytes;
    int error = 0;
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        error = readWholeFile(m_realSavePath, bytes, kSaveReadLimit);
        if (error == 0) break;
        if (m_services.sleep) m_services.sleep(kRetryPauseMs);
    }
    // No file at all is a first start; a file that is there but cannot be read is the
    // player's data all the same and must survive the next save.
    if (error == ENOENT) return false;
    if (error != 0) {
        keepUnusableSave("cannot be read: " + std::string(std::strerror(error)), nullptr);
        return false;
    }

    SaveImage image;
    try {
        image = decodeSaveFile(bytes.data(), bytes.size());
    } catch (const char* text) {
        keepUnusableSave(std::string("refused: ") + text, &bytes);
        return false;
    }
    m_lastSaveError.clear();
    m_currentIndex = -1;
    m_profiles = std::move(image.profiles);
    m_highscores = std::move(image.highscores);
    // The table is kept best first; records are taken in file order, as if inserted one by
    // one, so a file listing them otherwise still gives an ordered table.
    std::stable_sort(m_highscores.begin(), m_highscores.end(),
                     [](const cHighscore& a, const cHighscore& b) { return a.score > b.score; });
    m_soundVolume = image.soundVolume;
    m_musicVolume = image.musicVolume;
    m_currentIndex = image.currentProfile;
    if (image.storedProfile != image.currentProfile && !m_profiles.empty())
        log("  warning: \"" + std::string(m_savePath) + "\" selects profile " + std::to_string(image.storedProfile) +
            ", which is not in its list of " + std::to_string(m_profiles.size()) +
            " profiles; the first profile is selected");
    return true;
}

// A save file that cannot be used is kept under a name of its own before a later save
// replaces it, so the player's data can still be rescued by hand. Until it is kept, nothing
// is saved over it. bytes: what was read of a damaged file; null when nothing could be read.
void cGameData::keepUnusableSave(const std::string& reason, const std::vector<uint8_t>* bytes) {
    m_lastSaveError = "\"" + std::string(m_savePath) + "\" " + reason;
    log("  " + m_lastSaveError);
    m_unkeptSave.reset();
    if (bytes) m_unkeptSave = *bytes;
    m_saveBlocked = true;
    keepSaveAside();
}

bool cGameData::keepSaveAside() {
    const std::string folder = std::filesystem::path(m_realSavePath).parent_path().string() + "/";
    // The same damaged file met at every start until the next save is kept once.
    if (m_unkeptSave) {
        for (int n = 1; n <= game::kSaveDamagedCopies; ++n) {
            std::vector<uint8_t> kept;
            if (readWholeFile(folder + damagedCopyName(n), kept, m_unkeptSave->size() + 1) != 0 || kept != *m_unkeptSave)
                continue;
            log("  the unusable save file is kept already as \"" + damagedCopyName(n) + "\"");
            m_saveBlocked = false;
            m_unkeptSave.reset();
            return true;
        }
    }
    int error = EEXIST;
    for (int n = 1; n <= game::kSaveDamagedCopies && error == EEXIST; ++n) {
        const std::string kept = folder + damagedCopyName(n);
        // A copy leaves the file in place; when none can be made (nothing could be read, or
        // there is no room for one), the file itself is moved aside.
        error = m_unkeptSave ? writeNewFile(kept, m_unkeptSave->data(), m_unkeptSave->size()) : ENOTSUP;
        if (error != 0 && error != EEXIST) error = moveWithoutReplacing(m_realSavePath, kept);
        if (error == 0) log("  the unusable save file is kept as \"" + damagedCopyName(n) + "\"");
    }
    if (error == ENOENT) log("  the unusable save file is gone");
    if (error == 0 || error == ENOENT) {
        m_saveBlocked = false;
        m_unkeptSave.reset();
        return true;
    }
    log("  the unusable save file could not be kept (" +
        std::string(error == EEXIST ? "every name for a kept copy is taken" : std::strerror(error)) +
        "); nothing is saved over it");
    return false;
}

void cGameData::save() {
    if (!m_normalMode || m_profiles.empty()) return;
    if (m_currentIndex >= 0 && m_currentIndex < getProfileCount())
        m_profiles[static_cast<size_t>(m_currentIndex)] = m_profile;
    if (m_saveBlocked && !keepSaveAside()) {
        m_lastSaveError = "\"" + std::string(m_savePath) + "\" is not saved: the unusable file there could not be kept";
        log("  " + m_lastSaveError);
        return;
    }
    if (!writeSaveFile()) log("  " + m_lastSaveError);
}

bool cGameData::writeSaveFile() {
    if (m_realSavePath.empty()) {
        m_lastSaveError = "no folder for the save file";
        return false;
    }
    SaveImage image;
    image.currentProfile = m_currentIndex;
    image.soundVolume = m_soundVolume;
    image.musicVolume = m_musicVolume;
    image.profiles = m_profiles;
    image.highscores = m_highscores;
    std::vector<uint8_t> bytes = encodeSaveFile(image);

    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(m_realTempPath).parent_path(), ec);
    FileReplaceFailure failure;
    auto pause = [this] {
        if (m_services.sleep) m_services.sleep(kRetryPauseMs);
    };
    if (!replaceFile(m_realSavePath, m_realTempPath, bytes.data(), bytes.size(), &failure, kOpenAttempts, pause)) {
        switch (failure.step) {
        case FileReplaceFailure::CREATE:
            m_lastSaveError = "File \"" + std::string(m_tempPath) + "\" cannot be created: " + failure.reason;
            break;
        case FileReplaceFailure::WRITE:
            m_lastSaveError = "File \"" + std::string(m_tempPath) + "\" cannot be written: " + failure.reason;
            break;
        case FileReplaceFailure::REPLACE:
            m_lastSaveError = "File \"" + std::string(m_savePath) + "\" cannot be replaced: " + failure.reason;
            break;
        }
        return false;
    }
    m_lastSaveError.clear();
    return true;
}
