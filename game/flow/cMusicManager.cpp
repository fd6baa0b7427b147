#include "game/flow/cMusicManager.h"

#include <sstream>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/LogHooks.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cSound.h"

cMusicManager* getMusicManager() { return cMusicManager::instance(); }

cMusicManager::cMusicManager() {
    if (cResourceManager* resources = getResourceManager()) loadConfig(*resources->getIni(kConfig), L"MUSIC");
}

cMusicManager::cMusicManager(const cIniFile& ini) { loadConfig(ini, L"MUSIC"); }

cMusicManager::~cMusicManager() {
    if (cSound* sound = getSound()) sound->stopMusic(true);
}

void cMusicManager::loadConfig(const cIniFile& ini, const cStringW& section) {
    auto fileOf = [&](const cStringW& id) { return ini.getValue(section, cStringW(L"music_") + id).toNarrow(); };
    const struct {
        const wchar_t* key;
        Selection selection;
    } singles[] = {{L"game1", SEL_WORLD_1}, {L"game2", SEL_WORLD_2}, {L"game3", SEL_WORLD_3}, {L"minigame", SEL_MINI_GAME}};
    for (const auto& s : singles) {
        cStringW id = ini.getValue(section, s.key);
        m_files[s.selection] = id.isEmpty() ? cStringA() : fileOf(id);
    }
    m_playlist.clear();
    std::wistringstream words(ini.getValue(section, L"mainmenu"));
    std::wstring word;
    while (words >> word) m_playlist.push_back(fileOf(word));
}

void cMusicManager::playGame(int32_t world) {
    if (world == 2)
        playGame2();
    else if (world == 3)
        playGame3();
    else
        playGame1();
}

bool cMusicManager::playFile(const cStringA& file, bool loop) {
    cSound* sound = getSound();
    if (!sound) return false;
    try {
        sound->playMusic(file, loop, true, false, 0.0f);
    } catch (...) {
        std::string why;
        if (!failureText(std::current_exception(), &why)) why = "unknown failure";
        logGameQuietly("  music \"" + file + "\" not played: " + why);
        return false;
    }
    // An undecodable file leaves no music; the sound manager has logged why.
    return sound->isMusicActive();
}

void cMusicManager::playSingle(Selection selection) {
    if (m_playing[selection]) return;
    stop(false);
    m_playing[selection] = true;
    const cStringA& file = m_files[selection];
    if (!file.isEmpty())
        playFile(file, true);
    else if (cSound* sound = getSound())
        sound->stopMusic(true);
}

void cMusicManager::playMainMenu() {
    if (m_playing[SEL_MAIN_MENU]) return;
    stop(false);
    m_failed_tracks = 0;
    nextMainMenuTrack();
}

void cMusicManager::nextMainMenuTrack() {
    if (m_playlist.empty()) {
        if (cSound* sound = getSound()) sound->stopMusic(true);
        logGameQuietly("  the main menu has no music: the playlist is empty");
        return;
    }
    m_playing[SEL_MAIN_MENU] = true;
    if (m_failed_tracks >= m_playlist.size()) return;  // no track of the list plays
    m_position += 1;
    if (m_position < 0 || static_cast<size_t>(m_position) >= m_playlist.size()) m_position = 0;
    if (playFile(m_playlist[static_cast<size_t>(m_position)], false))
        m_failed_tracks = 0;
    else
        ++m_failed_tracks;
}

void cMusicManager::update() {
    if (!m_playing[SEL_MAIN_MENU]) return;
    cSound* sound = getSound();
    if (sound && !sound->isMusicActive()) nextMainMenuTrack();
}

void cMusicManager::stop(bool fade) {
    for (bool& playing : m_playing) playing = false;
    if (cSound* sound = getSound()) sound->stopMusic(fade);
}
