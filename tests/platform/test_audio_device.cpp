// The SDL audio device path: the mixer runs on SDL's audio thread (the dummy driver here,
// which consumes sound at the real pace) while the main thread controls the channels.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/audio/Audio.h"

namespace au = platform::audio;

namespace {

TEST(AudioDevice, SamplesPlayToTheirEndOnTheAudioThread) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (au::openDevice(au::DeviceKind::Sdl) != au::DeviceKind::Sdl) GTEST_SKIP() << "no SDL audio driver";
    au::startOutput();
    std::ifstream in(std::string(RW_DIST_DIR) + "/Data/sounds/test/click.ogg", std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
    au::Handle sample = au::loadSample(file.data(), file.size(), 2);
    ASSERT_NE(sample, 0u);
    au::Handle channel = au::sampleChannel(sample);
    au::play(channel, true);
    au::Handle music = au::createMusic(file);
    au::setLoop(music, true);
    au::play(music, true);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (au::state(channel) == au::State::Playing && std::chrono::steady_clock::now() < deadline) {
        au::setTempo(music, 20.0f);  // main-thread changes while the device mixes
        au::setVolume(music, 0.5f);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(au::state(channel), au::State::Stopped);
    EXPECT_EQ(au::state(music), au::State::Playing);
    EXPECT_GT(au::playedSeconds(music), 0.0);
    au::stopOutput();
    au::closeDevice();
    EXPECT_EQ(au::deviceKind(), au::DeviceKind::None);
    EXPECT_EQ(au::liveObjectCount(), 0u);
}

}  // namespace
