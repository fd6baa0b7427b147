// The mixer on the memory device: OGG decoding, sample playbacks, streams, music tempo,
// volume and pan, pause and stop, all measured on the mixed output.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/audio/Audio.h"

namespace au = platform::audio;

namespace {

std::vector<uint8_t> dataFile(const std::string& name) {
    std::ifstream in(std::string(RW_DIST_DIR) + "/Data/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Upward zero crossings per second of one channel of interleaved stereo.
double pitchOf(const std::vector<float>& stereo, size_t channel, size_t from, size_t to) {
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        if (stereo[(i - 1) * 2 + channel] < 0.0f && stereo[i * 2 + channel] >= 0.0f) ++crossings;
    return crossings * double(au::kOutputRate) / double(to - from);
}

// First and one-past-last frame whose level exceeds the threshold.
std::pair<size_t, size_t> soundingRange(const std::vector<float>& stereo, float threshold = 0.05f) {
    size_t frames = stereo.size() / 2, first = frames, last = 0;
    for (size_t i = 0; i < frames; ++i)
        if (std::fabs(stereo[i * 2]) > threshold || std::fabs(stereo[i * 2 + 1]) > threshold) {
            first = std::min(first, i);
            last = i + 1;
        }
    return {first, last};
}

float peak(const std::vector<float>& stereo, size_t channel) {
    float p = 0;
    for (size_t i = channel; i < stereo.size(); i += 2) p = std::max(p, std::fabs(stereo[i]));
    return p;
}

class AudioMixerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(au::openDevice(au::DeviceKind::Memory), au::DeviceKind::Memory); }
    void TearDown() override { au::closeDevice(); }
    // Renders until the channel stops (or the limit), returns the output.
    std::vector<float> renderUntilStopped(au::Handle channel, double limitSeconds) {
        au::clearMemoryOutput();
        size_t limit = size_t(limitSeconds * au::kOutputRate);
        while (au::state(channel) == au::State::Playing && au::memoryOutput().size() / 2 < limit) au::render(1024);
        return au::memoryOutput();
    }
};

TEST_F(AudioMixerTest, DecodingKeepsLengthAndPitchAtAnyFileRate) {
    struct Case { const char* file; double seconds; } cases[] = {
        {"sounds/test/tone440.ogg", 1.0},
        {"sounds/test/tone440_22k.ogg", 1.0},  // mono at 22.05 kHz
        {"sounds/test/tone440_48k.ogg", 1.0},
        {"sounds/test/tone440_long.ogg", 2.0},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> file = dataFile(c.file);
        auto pcm = au::decodeOgg(file.data(), file.size());
        ASSERT_TRUE(pcm) << c.file;
        EXPECT_NEAR(double(pcm->frameCount()) / au::kOutputRate, c.seconds, 0.01) << c.file;
        size_t n = pcm->frameCount();
        EXPECT_NEAR(pitchOf(pcm->frames, 0, n / 4, n * 3 / 4), 440.0, 5.0) << c.file;
        EXPECT_NEAR(pitchOf(pcm->frames, 1, n / 4, n * 3 / 4), 440.0, 5.0) << c.file;
    }
}

TEST_F(AudioMixerTest, BrokenFilesGiveAClearErrorAndNoSample) {
    std::vector<uint8_t> good = dataFile("sounds/test/click.ogg");
    ASSERT_GT(good.size(), 400u);
    std::vector<uint8_t> flipped = good;
    for (size_t i = 30; i < 200; ++i) flipped[i] ^= 0x5A;  // headers destroyed
    struct Case { const char* what; std::vector<uint8_t> bytes; } cases[] = {
        {"empty", {}},
        {"text", std::vector<uint8_t>{'n', 'o', 't', ' ', 'o', 'g', 'g'}},
        {"page magic only", std::vector<uint8_t>{'O', 'g', 'g', 'S', 0, 2, 0, 0}},
        {"first 100 bytes", std::vector<uint8_t>(good.begin(), good.begin() + 100)},
        {"headers scrambled", flipped},
        {"zeros", std::vector<uint8_t>(4096, 0)},
    };
    for (const auto& c : cases) {
        try {
            au::decodeOgg(c.bytes.data(), c.bytes.size());
            ADD_FAILURE() << c.what << " decoded";
        } catch (const std::string& text) {
            EXPECT_EQ(text.rfind("Cannot decode sound: ", 0), 0u) << text;
        }
        std::string error;
        EXPECT_EQ(au::loadSample(c.bytes.data(), c.bytes.size(), 4, &error), 0u) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_EQ(au::createStream(c.bytes, &error), 0u) << c.what;
        EXPECT_EQ(au::createMusic(c.bytes, &error), 0u) << c.what;
    }
    EXPECT_EQ(au::liveObjectCount(), 0u);
}

TEST_F(AudioMixerTest, ASampleLongerThanTheLimitIsRefused) {
    std::vector<uint8_t> file = dataFile("sounds/test/tone440.ogg");
    EXPECT_THROW(au::decodeOgg(file.data(), file.size(), 1000), std::string);
}

TEST_F(AudioMixerTest, AFullSampleTakesOverTheChannelThatPlayedLongest) {
    std::vector<uint8_t> file = dataFile("sounds/test/tone440.ogg");
    au::Handle sample = au::loadSample(file.data(), file.size(), 2);
    ASSERT_NE(sample, 0u);
    au::Handle first = au::sampleChannel(sample);
    au::play(first, true);
    au::render(2000);
    au::Handle second = au::sampleChannel(sample);
    au::play(second, true);
    au::render(100);
    au::Handle third = au::sampleChannel(sample);
    au::play(third, true);
    EXPECT_EQ(au::state(first), au::State::Stopped);  // played longest: taken over
    EXPECT_EQ(au::state(second), au::State::Playing);
    EXPECT_EQ(au::state(third), au::State::Playing);
    // Started together (no mixing in between), the oldest goes first.
    au::Handle fourth = au::sampleChannel(sample);
    au::play(fourth, true);
    EXPECT_EQ(au::state(second), au::State::Stopped);
    EXPECT_EQ(au::state(third), au::State::Playing);
    // A finished channel frees its place without taking over another.
    renderUntilStopped(fourth, 3.0);
    au::Handle fifth = au::sampleChannel(sample);
    EXPECT_NE(fifth, 0u);
    EXPECT_EQ(au::liveObjectCount(), 1u + 2u);
}

TEST_F(AudioMixerTest, VolumeAndPanScaleEachSide) {
    std::vector<uint8_t> file = dataFile("sounds/test/tone440.ogg");
    au::Handle sample = au::loadSample(file.data(), file.size(), 1);
    // Gains of each side, relative to the file's own peak.
    const float full = peak(au::decodeOgg(file.data(), file.size())->frames, 0);
    ASSERT_GT(full, 0.1f);
    struct Case { float volume, pan, left, right; } cases[] = {
        {1.0f, 0.0f, full, full}, {0.5f, 0.0f, full / 2, full / 2}, {1.0f, -1.0f, full, 0.0f},
        {1.0f, 0.5f, full / 2, full}, {0.0f, 0.0f, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        au::Handle channel = au::sampleChannel(sample);
        au::setVolume(channel, c.volume);
        au::setPan(channel, c.pan);
        au::play(channel, true);
        au::clearMemoryOutput();
        au::render(22050);
        EXPECT_NEAR(peak(au::memoryOutput(), 0), c.left, 0.02) << c.volume << " " << c.pan;
        EXPECT_NEAR(peak(au::memoryOutput(), 1), c.right, 0.02) << c.volume << " " << c.pan;
        au::stop(channel);
    }
}

TEST_F(AudioMixerTest, StreamsStopAtTheirEndUnlessLooping) {
    au::Handle stream = au::createStream(dataFile("sounds/test/stream.ogg"));
    ASSERT_NE(stream, 0u);
    EXPECT_NEAR(au::lengthSeconds(stream), 0.5, 0.01);
    au::play(stream, true);
    std::vector<float> out = renderUntilStopped(stream, 3.0);
    EXPECT_EQ(au::state(stream), au::State::Stopped);
    EXPECT_NEAR(double(out.size() / 2) / au::kOutputRate, 0.5, 0.03);

    au::setLoop(stream, true);
    au::play(stream, true);
    au::clearMemoryOutput();
    au::render(au::kOutputRate * 3 / 2);
    EXPECT_EQ(au::state(stream), au::State::Playing);
    const std::vector<float>& looped = au::memoryOutput();
    size_t n = looped.size() / 2;
    EXPECT_NEAR(pitchOf(looped, 0, n * 2 / 3 + 2000, n * 2 / 3 + 12000), 660.0, 15.0);  // second round
}

TEST_F(AudioMixerTest, PauseHoldsThePositionStopRewinds) {
    au::Handle stream = au::createStream(dataFile("sounds/test/tone440.ogg"));
    au::play(stream, true);
    au::render(11025);
    double held = au::playedSeconds(stream);
    EXPECT_NEAR(held, 0.25, 0.01);
    au::pause(stream);
    EXPECT_EQ(au::state(stream), au::State::Paused);
    au::clearMemoryOutput();
    au::render(4410);
    EXPECT_EQ(peak(au::memoryOutput(), 0), 0.0f);
    EXPECT_EQ(au::playedSeconds(stream), held);
    au::play(stream, false);
    au::render(4410);
    EXPECT_NEAR(au::playedSeconds(stream), 0.35, 0.01);
    au::stop(stream);
    EXPECT_EQ(au::state(stream), au::State::Stopped);
    EXPECT_EQ(au::playedSeconds(stream), 0.0);
}

TEST_F(AudioMixerTest, TempoChangesTheDurationButNotThePitch) {
    struct Case { float tempo; double seconds; } cases[] = {{0.0f, 2.0}, {100.0f, 1.0}, {-50.0f, 4.0}};
    for (const auto& c : cases) {
        au::Handle music = au::createMusic(dataFile("sounds/test/tone440_long.ogg"));
        ASSERT_NE(music, 0u);
        au::setTempo(music, c.tempo);
        au::play(music, true);
        std::vector<float> out = renderUntilStopped(music, 10.0);
        EXPECT_EQ(au::state(music), au::State::Stopped) << c.tempo;
        auto [first, last] = soundingRange(out);
        ASSERT_LT(first, last) << c.tempo;
        EXPECT_NEAR(double(last - first) / au::kOutputRate, c.seconds, c.seconds * 0.05) << c.tempo;
        size_t mid = (first + last) / 2, span = size_t(0.2 * au::kOutputRate);
        EXPECT_NEAR(pitchOf(out, 0, mid - span, mid + span), 440.0, 10.0) << c.tempo;
        au::freeStream(music);
    }
    EXPECT_EQ(au::liveObjectCount(), 0u);
}

TEST_F(AudioMixerTest, MusicStartsAtAPositionAndLoops) {
    au::Handle music = au::createMusic(dataFile("sounds/test/tone440_long.ogg"));
    EXPECT_TRUE(au::setPosition(music, 1.5));
    EXPECT_FALSE(au::setPosition(music, 60.0));
    au::play(music, false);
    std::vector<float> out = renderUntilStopped(music, 5.0);
    auto [first, last] = soundingRange(out);
    EXPECT_NEAR(double(last - first) / au::kOutputRate, 0.5, 0.05);

    au::setLoop(music, true);
    au::play(music, true);
    au::clearMemoryOutput();
    au::render(au::kOutputRate * 5);
    EXPECT_EQ(au::state(music), au::State::Playing);
    EXPECT_GT(au::playedSeconds(music), 0.0);
}

TEST(AudioNoDevice, EveryCallWorksSilently) {
    ASSERT_EQ(au::openDevice(au::DeviceKind::None), au::DeviceKind::None);
    std::ifstream in(std::string(RW_DIST_DIR) + "/Data/sounds/test/click.ogg", std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
    au::Handle sample = au::loadSample(file.data(), file.size(), 1);
    ASSERT_NE(sample, 0u);
    au::Handle channel = au::sampleChannel(sample);
    EXPECT_TRUE(au::play(channel, true));
    au::render(1000);
    EXPECT_TRUE(au::memoryOutput().empty());
    au::pause(channel);
    au::stop(channel);
    au::setVolume(channel, 0.3f);
    au::freeSample(sample);
    EXPECT_EQ(au::state(channel), au::State::Stopped);
    au::closeDevice();
}

TEST(AudioNoDevice, UnknownHandlesAreHarmless) {
    au::openDevice(au::DeviceKind::Memory);
    EXPECT_FALSE(au::play(12345, true));
    EXPECT_EQ(au::state(0), au::State::Stopped);
    au::pause(0);
    au::stop(99);
    au::setTempo(99, 50.0f);
    au::freeStream(99);
    au::freeSample(99);
    EXPECT_EQ(au::sampleChannel(99), 0u);
    EXPECT_FALSE(au::setPosition(99, 1.0));
    au::closeDevice();
}

}  // namespace
