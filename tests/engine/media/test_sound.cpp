// The sound manager on the memory device: sample volumes and limits, streams, music fades on
// the test clock, tempo, and pause, resume and stop of everything.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cTimer.h"
#include "engine/media/cSound.h"
#include "platform/Platform.h"
#include "platform/audio/Audio.h"

namespace au = platform::audio;

namespace {

const char* kTone = "sounds/test/tone440.ogg";
const char* kLong = "sounds/test/tone440_long.ogg";
const char* kClick = "sounds/test/click.ogg";
const char* kStream = "sounds/test/stream.ogg";
const char* kBroken = "sounds/test/broken.ogg";

std::vector<uint8_t> readDataFile(const cStringA& name) {
    if (name == kBroken) return std::vector<uint8_t>{'O', 'g', 'g', 'S', 1, 2, 3, 4, 5, 6};
    std::ifstream in(std::string(RW_DIST_DIR) + "/Data/" + name, std::ios::binary);
    if (!in) throw std::string("File \"" + name + "\" has not found.");
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setBackend(platform::Backend::Headless);
        cSound::setFileReader(&readDataFile);
        sound = new cSound();
        ASSERT_EQ(au::deviceKind(), au::DeviceKind::Memory);
    }
    void TearDown() override {
        delete sound;
        cSound::setFileReader(nullptr);
    }
    au::Handle lastChannel() const { return sound->sampleChannels().back(); }
    // Renders until the handle stops; the output since the call.
    std::vector<float> renderUntilStopped(au::Handle channel, double limitSeconds) {
        au::clearMemoryOutput();
        size_t limit = size_t(limitSeconds * au::kOutputRate);
        while (au::state(channel) == au::State::Playing && au::memoryOutput().size() / 2 < limit) au::render(1024);
        return au::memoryOutput();
    }
    cSound* sound = nullptr;
};

TEST_F(SoundTest, GetterAndSingleInstance) {
    EXPECT_EQ(getSound(), sound);
    EXPECT_THROW(cSound second, const char*);
}

TEST_F(SoundTest, PlayVolumeIsMasterTimesSampleVolume) {
    sound->loadSample(kTone, 4, 70);
    struct Case {
        int master, play;
        float channelVolume;
        int defaultAfter;
    } cases[] = {
        {100, -1, 0.70f, 70},   // the sample's default
        {80, 50, 0.40f, 50},    // an explicit volume becomes the new default
        {80, -1, 0.40f, 50},
        {100, 150, 1.00f, 100}, // clamped
        {33, 33, 0.10f, 33},    // 33 x 33 x 0.01 = 10.89, truncated
        {150, 100, 1.00f, 100}, // the master is clamped too
    };
    for (const auto& c : cases) {
        sound->setSoundVolume(c.master);
        sound->playSample(kTone, c.play);
        EXPECT_FLOAT_EQ(au::getVolume(lastChannel()), c.channelVolume) << c.master << " " << c.play;
        EXPECT_EQ(sound->getSampleVolume(kTone), c.defaultAfter) << c.master << " " << c.play;
        EXPECT_EQ(au::state(lastChannel()), au::State::Playing);
    }
}

TEST_F(SoundTest, VolumeSettersClampAsUnsigned) {
    sound->loadSample(kClick, 1, 60);
    EXPECT_EQ(sound->setSampleVolume(kClick, 120), 100u);
    EXPECT_EQ(sound->setSampleVolume(kClick, -5), 100u);  // negative reads as huge
    EXPECT_EQ(sound->getSampleVolume(kClick), 100);
    EXPECT_EQ(sound->setSampleVolume("unknown.ogg", 40), 40u);
    EXPECT_EQ(sound->getSampleVolume("unknown.ogg"), -1);
    sound->setSoundVolume(150);
    EXPECT_EQ(sound->getSoundVolume(), 100u);
    sound->setSoundVolume(-1);
    EXPECT_EQ(sound->getSoundVolume(), 100u);
    sound->setSoundVolume(0);
    EXPECT_EQ(sound->getSoundVolume(), 0u);
}

TEST_F(SoundTest, LoadingRulesAndUnknownNames) {
    sound->loadSample(kClick, 2, 60);
    sound->loadSample(kClick, 5, 10);  // already loaded: nothing changes
    EXPECT_EQ(sound->getSampleVolume(kClick), 60);
    sound->playSample("sounds/test/Click.ogg");  // names are case-sensitive: nothing plays
    EXPECT_EQ(sound->sampleChannelCount(), 0u);
    // An undecodable file is not stored and does not throw; a missing one throws the reader's text.
    EXPECT_NO_THROW(sound->loadSample(kBroken, 1, 100));
    EXPECT_FALSE(sound->isSampleLoaded(kBroken));
    sound->playSample(kBroken);
    EXPECT_EQ(sound->sampleChannelCount(), 0u);
    EXPECT_THROW(sound->loadSample("sounds/none.ogg", 1, 100), std::string);
    EXPECT_NO_THROW(sound->loadStream(kBroken, 50));
    EXPECT_EQ(sound->streamHandle(kBroken), 0u);
}

TEST_F(SoundTest, PlaybackLimitIsOneToTenAndTheOldestIsTakenOver) {
    struct Case { uint32_t asked, allowed; } cases[] = {{0, 1}, {3, 3}, {12, 10}, {uint32_t(-1), 10}};
    int index = 0;
    for (const auto& c : cases) {
        cStringA name = "limit" + std::to_string(index++);
        cSound::setFileReader([](const cStringA&) { return readDataFile(kTone); });
        sound->loadSample(name, c.asked, 100);
        std::vector<au::Handle> plays;
        for (uint32_t i = 0; i <= c.allowed; ++i) {
            sound->playSample(name);
            plays.push_back(lastChannel());
            au::render(64);  // each has played a little longer than the next
        }
        EXPECT_EQ(au::state(plays.front()), au::State::Stopped) << c.asked;  // the extra play took it over
        for (size_t i = 1; i < plays.size(); ++i) EXPECT_EQ(au::state(plays[i]), au::State::Playing) << c.asked;
        sound->stopAll();
    }
}

TEST_F(SoundTest, TheListOfPlayedChannelsStaysBounded) {
    sound->loadSample(kClick, 3, 100);
    for (int i = 0; i < 500; ++i) {
        sound->playSample(kClick);
        if (i % 7 == 0) au::render(4410);  // some finish on their own
    }
    EXPECT_LE(sound->sampleChannelCount(), 3u);
    EXPECT_LE(au::liveObjectCount(), 1u + 3u);
}

TEST_F(SoundTest, StreamAttributes) {
    sound->loadStream(kStream, 70);
    sound->setSoundVolume(80);
    au::Handle stream = sound->streamHandle(kStream);
    ASSERT_NE(stream, 0u);
    sound->playStream(kStream, false, 30, true, 50);
    EXPECT_TRUE(sound->isStreamPlaying(kStream));
    EXPECT_FLOAT_EQ(au::getVolume(stream), 0.40f);
    EXPECT_FLOAT_EQ(au::getPan(stream), 0.30f);
    EXPECT_FALSE(au::getLoop(stream));
    struct Case { int pan, volume; float channelVolume, channelPan; } cases[] = {
        {0, -1, 0.64f, 0.30f},     // pan 0 leaves the pan; a negative volume is the sound volume
        {-150, 200, 0.80f, -1.0f}, // both clamped
        {100, 0, 0.0f, 1.0f},
        {0, -7, 0.64f, 1.0f},
    };
    for (const auto& c : cases) {
        sound->setStreamAttributes(kStream, c.pan, c.volume);
        EXPECT_FLOAT_EQ(au::getVolume(stream), c.channelVolume) << c.pan << " " << c.volume;
        EXPECT_FLOAT_EQ(au::getPan(stream), c.channelPan) << c.pan << " " << c.volume;
    }
    sound->pauseStream(kStream);
    EXPECT_FALSE(sound->isStreamPlaying(kStream));
    sound->playStream(kStream, true, 0, false, -1);
    EXPECT_TRUE(au::getLoop(stream));
    sound->stopStream(kStream);
    EXPECT_EQ(au::state(stream), au::State::Stopped);
    sound->playStream("not loaded", true, 0, true, 50);  // nothing
}

TEST_F(SoundTest, PauseAllResumesOnlyWhatWasPausedAndLeavesTheMusic) {
    sound->loadSample(kTone, 2, 100);
    sound->loadSample(kClick, 2, 100);
    sound->loadStream(kStream, 100);
    sound->playMusic(kLong, true, false, false, 0.0f);
    sound->playSample(kTone);
    au::Handle tone = lastChannel();
    sound->playSample(kClick);
    au::Handle click = lastChannel();
    sound->playStream(kStream, false, 0, true, -1);
    au::Handle stream = sound->streamHandle(kStream);
    renderUntilStopped(click, 1.0);  // the click has finished by now
    ASSERT_EQ(au::state(tone), au::State::Playing);

    sound->pauseAll();
    EXPECT_EQ(au::state(tone), au::State::Paused);
    EXPECT_EQ(au::state(stream), au::State::Paused);
    EXPECT_EQ(au::state(sound->musicChannel()), au::State::Playing);
    EXPECT_EQ(sound->sampleChannelCount(), 1u);  // the finished click was dropped

    sound->resumeAll();
    EXPECT_EQ(au::state(tone), au::State::Playing);
    EXPECT_EQ(au::state(stream), au::State::Playing);
    EXPECT_EQ(au::state(click), au::State::Stopped);  // finished sounds stay finished

    sound->stopAll();
    EXPECT_EQ(au::state(tone), au::State::Stopped);
    EXPECT_EQ(au::state(stream), au::State::Stopped);
    sound->resumeAll();  // never restarts what was stopped
    EXPECT_EQ(au::state(tone), au::State::Stopped);
    EXPECT_EQ(au::state(stream), au::State::Stopped);
    EXPECT_TRUE(sound->isMusicActive());
}

TEST_F(SoundTest, MusicFadesOnTheTestClock) {
    cTimer timer;
    auto frame = [&](uint32_t ms) {
        platform::advanceTestClock(ms);
        timer.update();
        sound->update();
    };
    frame(0);
    sound->playMusic(kLong, true, false, true, 0.0f);
    ASSERT_TRUE(sound->isMusicActive());
    EXPECT_FLOAT_EQ(au::getVolume(sound->musicChannel()), 0.0f);
    EXPECT_FALSE(sound->isFadeDone());
    frame(40);  // 0.04 s x 4 = 0.16 of the way
    EXPECT_NEAR(au::getVolume(sound->musicChannel()), 0.16f, 0.011f);
    for (int i = 0; i < 5; ++i) frame(40);
    EXPECT_FALSE(sound->isFadeDone());  // 0.24 s
    frame(40);
    EXPECT_TRUE(sound->isFadeDone());
    EXPECT_FLOAT_EQ(au::getVolume(sound->musicChannel()), 1.0f);

    sound->setMusicVolume(60);
    sound->stopMusic(true);
    for (int i = 0; i < 6; ++i) frame(40);
    EXPECT_TRUE(sound->isMusicActive());  // 0.24 s: still fading
    EXPECT_LT(au::getVolume(sound->musicChannel()), 0.05f);
    frame(40);
    EXPECT_FALSE(sound->isMusicActive());
    EXPECT_TRUE(sound->isFadeDone());
    EXPECT_EQ(au::state(sound->musicChannel()), au::State::Stopped);
}

TEST_F(SoundTest, FadeUsesInterfaceTimeNotGameTime) {
    cTimer timer;
    timer.setGameSpeed(0.0f);  // the game is paused; interface time runs on
    platform::advanceTestClock(10);
    timer.update();
    sound->playMusic(kLong, true, false, true, 0.0f);
    for (int i = 0; i < 7; ++i) {
        platform::advanceTestClock(40);
        timer.update();
        sound->update();
    }
    EXPECT_TRUE(sound->isFadeDone());
}

TEST_F(SoundTest, ANewTrackReplacesAPlayingOneAtFullVolume) {
    sound->setMusicVolume(90);
    sound->playMusic(kLong, true, false, false, 0.0f);
    au::Handle first = sound->musicChannel();
    EXPECT_FLOAT_EQ(au::getVolume(first), 0.90f);
    sound->playMusic(kTone, true, false, true, 0.0f);  // fade-in ignored: music is active
    EXPECT_NE(sound->musicChannel(), first);
    EXPECT_EQ(au::state(first), au::State::Stopped);  // freed with its decoder
    EXPECT_FLOAT_EQ(au::getVolume(sound->musicChannel()), 0.90f);
    EXPECT_TRUE(sound->isFadeDone());
    EXPECT_EQ(sound->getMusicFileName(), kTone);
    EXPECT_EQ(au::liveObjectCount(), 1u);  // only the new track's stream is alive
}

TEST_F(SoundTest, UndecodableMusicLeavesNoMusic) {
    sound->playMusic(kLong, true, false, false, 0.0f);
    sound->playMusic(kBroken, true, false, false, 0.0f);
    EXPECT_FALSE(sound->isMusicActive());
    EXPECT_EQ(sound->musicChannel(), 0u);
    sound->pauseMusic();
    sound->resumeMusic();
    sound->setMusicTempo(50.0f);
    EXPECT_FALSE(sound->isMusicActive());
    EXPECT_THROW(sound->playMusic("music/none.ogg", true, false, false, 0.0f), std::string);
}

TEST_F(SoundTest, PauseAndResumeMusic) {
    sound->playMusic(kLong, false, false, false, 0.0f);
    sound->pauseMusic();
    EXPECT_TRUE(sound->isMusicActive());
    EXPECT_EQ(au::state(sound->musicChannel()), au::State::Paused);
    sound->resumeMusic();
    EXPECT_EQ(au::state(sound->musicChannel()), au::State::Playing);
    sound->stopMusic(false);
    sound->resumeMusic();  // stopped music stays stopped
    EXPECT_FALSE(sound->isMusicActive());
}

TEST_F(SoundTest, MusicVolumeSteps) {
    sound->playMusic(kLong, true, false, false, 0.0f);
    sound->musicVolumeUp();
    EXPECT_EQ(sound->getMusicVolume(), 100u);
    sound->musicVolumeDown();
    EXPECT_EQ(sound->getMusicVolume(), 99u);
    EXPECT_FLOAT_EQ(au::getVolume(sound->musicChannel()), 0.99f);
    sound->setMusicVolume(0);
    sound->musicVolumeDown();
    EXPECT_EQ(sound->getMusicVolume(), 0u);
    sound->setMusicVolume(250);
    EXPECT_EQ(sound->getMusicVolume(), 100u);
}

TEST_F(SoundTest, MusicTempoChangesDurationNotPitch) {
    sound->playMusic(kLong, false, false, false, 0.0f);
    sound->setMusicTempo(100.0f);
    std::vector<float> out = renderUntilStopped(sound->musicChannel(), 5.0);
    size_t frames = out.size() / 2, first = frames, last = 0;
    for (size_t i = 0; i < frames; ++i)
        if (std::fabs(out[i * 2]) > 0.05f) {
            first = std::min(first, i);
            last = i + 1;
        }
    ASSERT_LT(first, last);
    EXPECT_NEAR(double(last - first) / au::kOutputRate, 1.0, 0.05);
    int crossings = 0;
    size_t from = first + (last - first) / 4, to = first + (last - first) * 3 / 4;
    for (size_t i = from + 1; i < to; ++i)
        if (out[(i - 1) * 2] < 0 && out[i * 2] >= 0) ++crossings;
    EXPECT_NEAR(crossings * double(au::kOutputRate) / double(to - from), 440.0, 10.0);
    EXPECT_FALSE(sound->isMusicActive());  // ended by itself
}

TEST_F(SoundTest, MusicStartsAtTheGivenSecond) {
    sound->playMusic(kLong, false, false, false, 1.5f);
    std::vector<float> out = renderUntilStopped(sound->musicChannel(), 5.0);
    EXPECT_NEAR(double(out.size() / 2) / au::kOutputRate, 0.5, 0.1);
}

TEST_F(SoundTest, ShutdownFreesEverything) {
    sound->loadSample(kClick, 4, 100);
    sound->loadStream(kStream, 100);
    sound->playSample(kClick);
    sound->playMusic(kLong, true, false, false, 0.0f);
    EXPECT_GT(au::liveObjectCount(), 0u);
    delete sound;
    EXPECT_EQ(au::liveObjectCount(), 0u);
    EXPECT_EQ(au::deviceKind(), au::DeviceKind::None);
    sound = new cSound();  // a new manager starts clean
    EXPECT_EQ(sound->sampleChannelCount(), 0u);
}

}  // namespace

// ---- Through the real file manager and log --------------------------------------------------

namespace {

class SoundFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setBackend(platform::Backend::Headless);
        // Each test has a folder of its own: CTest runs the tests of one fixture in parallel.
        root = std::filesystem::path(RW_TEST_OUTPUT_DIR) / "sound-files" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        files = new cFileManager(cStringA(std::string(RW_DIST_DIR) + "/Data"), cStringA("kbf"));
        log = new cLogManager();
    }
    void TearDown() override {
        delete log;
        delete files;
    }
    std::filesystem::path root;
    cFileManager* files = nullptr;
    cLogManager* log = nullptr;
};

TEST_F(SoundFilesTest, SoundsAreReadThroughTheFileManagerAndTheStepsLogged) {
    {
        cSound sound;
        sound.loadSample("sounds/test/click.ogg", 2, 80);
        EXPECT_TRUE(sound.isSampleLoaded("sounds/test/click.ogg"));
        try {
            sound.loadSample("sounds/test/missing.ogg", 2, 80);
            ADD_FAILURE() << "a missing file must throw";
        } catch (const std::string& text) {
            EXPECT_NE(text.find("sounds/test/missing.ogg"), std::string::npos) << text;
        }
        sound.playMusic("music/world1.ogg", true, false, true, 0.0f);
        EXPECT_TRUE(sound.isMusicActive());
    }
    std::ifstream in(files->getCommonPath() + "game.log");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    for (const char* line : {"  initialize audio device", "  start audio device", "  release music", "  release sounds",
                             "  stop audio device", "  release audio device"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

}  // namespace
