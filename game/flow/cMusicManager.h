#pragma once
// The music of each application state: one looping track per world (levels and shop), one
// for the comics and the mini game, and the main menu's playlist played one track after the
// other. Tracks are known by id; "Config/Common/music.ini", section MUSIC, maps the ids to
// files. A selection that is already running is not restarted. A missing or undecodable
// track leaves the music silent (one log line); it never stops the game.

#include <cstdint>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"

class cIniFile;

class cMusicManager : public cSingleton<cMusicManager> {
public:
    static constexpr const char* kConfig = "Config/Common/music.ini";

    // Reads the configuration from the loaded INI document kConfig.
    cMusicManager();
    // Reads the configuration from the given document (tests).
    explicit cMusicManager(const cIniFile& ini);
    ~cMusicManager() override;

    void loadConfig(const cIniFile& ini, const cStringW& section);
    // While the playlist runs and its track has ended, the next track.
    void update();
    void playGame1() { playSingle(SEL_WORLD_1); }
    void playGame2() { playSingle(SEL_WORLD_2); }
    void playGame3() { playSingle(SEL_WORLD_3); }
    // The world's track: 2 and 3 theirs, any other world the first.
    void playGame(int32_t world);
    void playMiniGame() { playSingle(SEL_MINI_GAME); }
    void playMainMenu();
    // Clears every selection and stops the music, fading out when fade is true.
    void stop(bool fade);

    const cStringA& getMiniGameFile() const { return m_files[SEL_MINI_GAME]; }
    const cStringA& getWorldFile(int world) const { return m_files[SEL_WORLD_1 + (world - 1)]; }
    const std::vector<cStringA>& getPlaylist() const { return m_playlist; }
    int32_t getPlaylistPosition() const { return m_position; }
    bool isMainMenuPlaying() const { return m_playing[SEL_MAIN_MENU]; }

private:
    enum Selection { SEL_MAIN_MENU = 0, SEL_MINI_GAME, SEL_WORLD_1, SEL_WORLD_2, SEL_WORLD_3, SEL_COUNT };

    void playSingle(Selection selection);
    void nextMainMenuTrack();
    // Plays a file; false (with one log line) when it gives no music.
    bool playFile(const cStringA& file, bool loop);

    cStringA m_files[SEL_COUNT];  // the file of each single selection (main menu unused)
    std::vector<cStringA> m_playlist;
    int32_t m_position = 0;
    bool m_playing[SEL_COUNT] = {};
    // Consecutive playlist tracks that gave no music; after a whole round the playlist rests
    // until the menu is entered again.
    size_t m_failed_tracks = 0;
};

cMusicManager* getMusicManager();
