// The music manager: the configuration, the single selections and the main-menu playlist,
// and music that cannot play.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/cIniFile.h"
#include "engine/media/cSound.h"
#include "game/flow/cMusicManager.h"
#include "tests/engine/core/test_core_env.h"
#include "tests/game/flow/test_game_env.h"

namespace {

// Records the music calls; a track "ends" when the test says so.
class FakeSound : public cSound {
public:
    void playMusic(const cStringA& file, bool loop, bool, bool, float start) override {
        calls.push_back("play " + file + (loop ? " loop" : " once"));
        if (file.find("missing") != std::string::npos) throw std::string("File \"" + file + "\" has not found.");
        active = file.find("broken") == std::string::npos;
        EXPECT_EQ(start, 0.0f);
    }
    void stopMusic(bool fade) override {
        calls.push_back(fade ? "stop fade" : "stop");
        active = false;
    }
    bool isMusicActive() const override { return active; }

    std::vector<std::string> take() {
        std::vector<std::string> out;
        out.swap(calls);
        return out;
    }
    std::vector<std::string> calls;
    bool active = false;
};

std::unique_ptr<cIniFile> musicIni(const std::string& mainmenu, const std::string& extra = "") {
    std::string bytes = game_test::iniBytes("[MUSIC]\ngame1=\"1\"\ngame2=\"2\"\nminigame=\"4\"\nmainmenu=\"" + mainmenu +
                                           "\"\nmusic_1=\"music/w1.ogg\"\nmusic_2=\"music/w2.ogg\"\nmusic_4=\"music/mini.ogg\"\n"
                                           "music_5=\"music/m5.ogg\"\nmusic_6=\"music/m6.ogg\"\nmusic_7=\"music/m7.ogg\"\n" + extra);
    return cIniFile::fromBytes(bytes.data(), bytes.size());
}

using Calls = std::vector<std::string>;

class Music : public ::testing::Test {
protected:
    TempEnvironment env;
    FakeSound sound;
};

}  // namespace

TEST_F(Music, ReadsTheTracksAndThePlaylist) {
    auto ini = musicIni("  5 6  7  ");
    cMusicManager music(*ini);
    EXPECT_EQ(music.getWorldFile(1), "music/w1.ogg");
    EXPECT_EQ(music.getWorldFile(2), "music/w2.ogg");
    EXPECT_EQ(music.getWorldFile(3), "");  // no id: an empty file
    EXPECT_EQ(music.getMiniGameFile(), "music/mini.ogg");
    EXPECT_EQ(music.getPlaylist(), (std::vector<cStringA>{"music/m5.ogg", "music/m6.ogg", "music/m7.ogg"}));
}

TEST_F(Music, SingleSelectionsStartOnceAndReplaceEachOther) {
    auto ini = musicIni("5");
    cMusicManager music(*ini);
    music.playGame1();
    EXPECT_EQ(sound.take(), (Calls{"stop", "play music/w1.ogg loop"}));
    music.playGame1();  // running: nothing
    music.playGame(1);
    EXPECT_TRUE(sound.take().empty());
    music.playGame2();  // track 1 stops at once, track 2 starts
    EXPECT_EQ(sound.take(), (Calls{"stop", "play music/w2.ogg loop"}));
    music.playGame(3);  // no file: fades out whatever plays; asked again, nothing
    EXPECT_EQ(sound.take(), (Calls{"stop", "stop fade"}));
    music.playGame3();
    EXPECT_TRUE(sound.take().empty());
    // After a stop the same selection starts again from the beginning.
    music.playGame1();
    sound.take();
    music.stop(true);
    music.playGame1();
    EXPECT_EQ(sound.take(), (Calls{"stop fade", "stop", "play music/w1.ogg loop"}));
}

TEST_F(Music, ThePlaylistRotatesFromTheSecondTrackAndContinuesAfterLeaving) {
    auto ini = musicIni("5 6 7");
    cMusicManager music(*ini);
    music.playMainMenu();
    EXPECT_EQ(sound.take(), (Calls{"stop", "play music/m6.ogg once"}));
    music.update();  // still playing
    EXPECT_TRUE(sound.take().empty());
    sound.active = false;  // the track ends
    music.update();
    EXPECT_EQ(sound.take(), (Calls{"play music/m7.ogg once"}));
    sound.active = false;
    music.update();
    EXPECT_EQ(sound.take(), (Calls{"play music/m5.ogg once"}));
    // A level in between; back in the menu the rotation goes on.
    music.playGame1();
    music.playMainMenu();
    EXPECT_EQ(sound.take(), (Calls{"stop", "play music/w1.ogg loop", "stop", "play music/m6.ogg once"}));
    music.stop(false);
    music.update();  // no selection: nothing
    EXPECT_EQ(sound.take(), (Calls{"stop"}));
}

TEST_F(Music, OneTrackPlaysAgainAtEachEnd) {
    auto ini = musicIni("6");
    cMusicManager music(*ini);
    music.playMainMenu();
    for (int i = 0; i < 3; ++i) {
        sound.active = false;
        music.update();
    }
    EXPECT_EQ(sound.take(), (Calls{"stop", "play music/m6.ogg once", "play music/m6.ogg once", "play music/m6.ogg once",
                                   "play music/m6.ogg once"}));
}

TEST_F(Music, MusicThatCannotPlayLeavesSilenceAndTheGameRuns) {
    // An empty playlist: the music fades out and nothing is retried.
    {
        auto ini = musicIni("   ");
        cMusicManager music(*ini);
        EXPECT_TRUE(music.getPlaylist().empty());
        music.playMainMenu();
        music.update();
        EXPECT_EQ(sound.take(), (Calls{"stop", "stop fade"}));
        EXPECT_FALSE(music.isMainMenuPlaying());
    }
    sound.take();
    // A missing file and an undecodable file: one attempt each per round, then silence until
    // the menu is entered again; a missing world track is silent too.
    auto ini = musicIni("5 6", "music_5=\"music/missing.ogg\"\nmusic_6=\"music/broken.ogg\"\n");
    // The first value of a key is read: override the two tracks through new ids instead.
    auto broken = game_test::iniBytes(
        "[MUSIC]\ngame1=\"8\"\nmainmenu=\"8 9\"\nmusic_8=\"music/missing.ogg\"\nmusic_9=\"music/broken.ogg\"\n");
    auto brokenIni = cIniFile::fromBytes(broken.data(), broken.size());
    cMusicManager music(*brokenIni);
    EXPECT_NO_THROW(music.playMainMenu());
    for (int i = 0; i < 5; ++i) EXPECT_NO_THROW(music.update());
    EXPECT_EQ(sound.take(), (Calls{"stop", "play music/broken.ogg once", "play music/missing.ogg once"}));
    EXPECT_NO_THROW(music.playGame1());
    EXPECT_EQ(sound.take(), (Calls{"stop", "play music/missing.ogg loop"}));
}
