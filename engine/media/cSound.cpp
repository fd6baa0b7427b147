#include "engine/core/LogHooks.h"
#include "engine/media/cSound.h"

#include <algorithm>

#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cTimer.h"

namespace au = platform::audio;

cSound* getSound() { return cSound::instance(); }

namespace {

cSound::FileReader& fileReader() {
    static cSound::FileReader reader;
    return reader;
}

// Volumes given as unsigned values: anything above 100, a negative value included, is 100.
uint32_t clampUnsigned100(int volume) {
    uint32_t v = uint32_t(volume);
    return v > 100 ? 100 : v;
}

// master x volume x 0.01, truncated, as the mixer's 0..1.
float scaledVolume(uint32_t master, uint32_t volume) { return float((master * volume) / 100) / 100.0f; }

}  // namespace

void cSound::setFileReader(FileReader reader) { fileReader() = std::move(reader); }

std::vector<uint8_t> cSound::readFile(const cStringA& name) const {
    if (fileReader()) return fileReader()(name);
    cFileManager* files = getFileManager();
    if (!files) throw std::string("File manager is not created.");
    std::unique_ptr<cStream> stream = files->openReadUnique(name);
    return readWholeStream(*stream);
}

cSound::cSound(platform::Window*) {
    logGameQuietly("  initialize audio device");
    au::DeviceKind kind = au::openDevice(au::defaultDeviceKind());
    if (kind != au::DeviceKind::None) {
        logGameQuietly("  start audio device");
        au::startOutput();
    } else {
        logGameQuietly("  no audio device: sound is off");
    }
}

cSound::~cSound() {
    logGameQuietly("  release music");
    if (m_musicChannel) au::freeStream(m_musicChannel);
    m_musicChannel = 0;
    logGameQuietly("  release sounds");
    for (auto& [name, stream] : m_streams) au::freeStream(stream);
    logGameQuietly("  stop audio device");
    au::stopOutput();
    logGameQuietly("  release audio device");
    au::closeDevice();  // frees the samples and their channels
}

void cSound::update() {
    cTimer* timer = getTimer();
    stepFade(timer ? timer->getRealDelta() : 0.0f);
}

void cSound::stepFade(float realDelta) {
    if (m_fadeRate == 0.0f) return;
    m_fadeLevel += realDelta * m_fadeRate * 4.0f;
    if (m_fadeLevel < 0.0f) {
        m_fadeLevel = 0.0f;
        m_fadeRate = 0.0f;
    } else if (m_fadeLevel > 1.0f) {
        stopMusic(false);
        m_fadeLevel = 1.0f;
        m_fadeRate = 0.0f;
    }
    applyMusicVolume();
}

void cSound::applyMusicVolume() {
    uint32_t v = uint32_t((1.0f - m_fadeLevel) * float(m_musicVolume));
    au::setVolume(m_musicChannel, float(v) / 100.0f);
}

bool cSound::isFadeDone() const { return m_fadeRate == 0.0f; }

void cSound::loadSample(const cStringA& name, uint32_t playbacks, uint32_t volume) {
    if (playbacks == 0) playbacks = 1;
    if (playbacks > 10) playbacks = 10;
    if (m_samples.count(name)) return;
    std::vector<uint8_t> data = readFile(name);
    std::string error;
    au::Handle sample = au::loadSample(data.data(), data.size(), playbacks, &error);
    if (!sample) {
        logGameQuietly("  sound \"" + name + "\" not loaded: " + error);
        return;
    }
    m_samples[name] = sample;
    m_sampleVolumes[name] = volume;
}

void cSound::dropFinishedChannels() {
    for (size_t i = m_sampleChannels.size(); i-- > 0;)
        if (au::state(m_sampleChannels[i]) == au::State::Stopped) m_sampleChannels.erase(m_sampleChannels.begin() + i);
}

void cSound::playSample(const cStringA& name, int volume) {
    auto it = m_samples.find(name);
    if (it == m_samples.end()) return;
    // Channels that have finished are forgotten, so the list stays as short as the playbacks.
    dropFinishedChannels();
    au::Handle channel = au::sampleChannel(it->second);
    uint32_t v;
    if (volume == -1) {
        auto dv = m_sampleVolumes.find(name);
        v = dv == m_sampleVolumes.end() ? 100 : std::min<uint32_t>(dv->second, 100);
    } else {
        setSampleVolume(name, volume);
        v = uint32_t(std::clamp(volume, 0, 100));
    }
    au::setVolume(channel, scaledVolume(m_soundVolume, v));
    au::play(channel, true);
    m_sampleChannels.push_back(channel);
}

uint32_t cSound::setSampleVolume(const cStringA& name, int volume) {
    uint32_t v = clampUnsigned100(volume);
    auto it = m_sampleVolumes.find(name);
    if (it != m_sampleVolumes.end()) it->second = v;
    return v;
}

int cSound::getSampleVolume(const cStringA& name) const {
    auto it = m_sampleVolumes.find(name);
    return it == m_sampleVolumes.end() ? -1 : int(it->second);
}

void cSound::setSoundVolume(int volume) { m_soundVolume = clampUnsigned100(volume); }

uint32_t cSound::getSoundVolume() const { return m_soundVolume; }

void cSound::loadStream(const cStringA& name, int volume) {
    if (m_streams.count(name)) return;
    std::string error;
    au::Handle stream = au::createStream(readFile(name), &error);
    if (!stream) {
        logGameQuietly("  stream \"" + name + "\" not loaded: " + error);
        return;
    }
    m_streams[name] = stream;
    m_streamVolumes[name] = volume;
}

au::Handle cSound::streamHandle(const cStringA& name) const {
    auto it = m_streams.find(name);
    return it == m_streams.end() ? 0 : it->second;
}

bool cSound::isStreamPlaying(const cStringA& name) const {
    au::Handle stream = streamHandle(name);
    return stream && au::state(stream) == au::State::Playing;
}

void cSound::playStream(const cStringA& name, bool loop, int pan, bool restart, int volume) {
    au::Handle stream = streamHandle(name);
    if (!stream) return;
    au::setLoop(stream, loop);
    setStreamAttributes(name, pan, volume);
    au::play(stream, restart);
}

void cSound::setStreamAttributes(const cStringA& name, int pan, int volume) {
    au::Handle stream = streamHandle(name);
    if (!stream) return;
    auto kept = m_streamVolumes.find(name);
    if (volume != -1 && kept != m_streamVolumes.end()) {
        if (volume > 100) volume = 100;
        if (volume < 0) volume = int(m_soundVolume);
        kept->second = volume;
    }
    if (volume < 0) volume = int(m_soundVolume);
    if (volume > 100) volume = 100;
    pan = std::clamp(pan, -100, 100);
    au::setVolume(stream, scaledVolume(m_soundVolume, uint32_t(volume)));
    if (pan != 0) au::setPan(stream, float(pan) / 100.0f);  // 0 leaves the pan as it is
}

void cSound::pauseStream(const cStringA& name) {
    if (au::Handle stream = streamHandle(name)) au::pause(stream);
}

void cSound::stopStream(const cStringA& name) {
    if (au::Handle stream = streamHandle(name)) au::stop(stream);
}

bool cSound::isMusicActive() const {
    au::State s = au::state(m_musicChannel);
    return s == au::State::Playing || s == au::State::Paused;
}

void cSound::playMusic(const cStringA& fileName, bool loop, bool, bool fadeIn, float startSeconds) {
    if (isMusicActive()) fadeIn = false;  // a new track replaces a playing one at full volume
    m_musicFileName = fileName;
    // The old track goes with its decoder and tempo stream.
    if (m_musicChannel) au::freeStream(m_musicChannel);
    m_musicChannel = 0;
    std::string error;
    au::Handle music = au::createMusic(readFile(fileName), &error);
    if (!music) {
        logGameQuietly("  music \"" + fileName + "\" not played: " + error);
        return;
    }
    m_musicChannel = music;
    au::setLoop(music, loop);
    bool restart = true;
    if (startSeconds > 0.0f) {
        au::setPosition(music, startSeconds);
        restart = false;
    }
    au::setTempo(music, 0.0f);
    au::setVolume(music, fadeIn ? 0.0f : float(m_musicVolume) / 100.0f);
    au::play(music, restart);
    m_fadeLevel = fadeIn ? 1.0f : 0.0f;
    m_fadeRate = fadeIn ? -1.0f : 0.0f;
}

void cSound::pauseMusic() { au::pause(m_musicChannel); }

void cSound::resumeMusic() {
    if (au::state(m_musicChannel) == au::State::Paused) au::play(m_musicChannel, false);
}

void cSound::stopMusic(bool fade) {
    if (fade) {
        m_fadeRate = 1.0f;
        return;
    }
    au::stop(m_musicChannel);
    m_fadeLevel = 1.0f;
    m_fadeRate = 0.0f;
}

void cSound::setMusicVolume(int volume) {
    m_musicVolume = clampUnsigned100(volume);
    au::setVolume(m_musicChannel, float(m_musicVolume) / 100.0f);
}

uint32_t cSound::getMusicVolume() const { return m_musicVolume; }

void cSound::musicVolumeDown() {
    if (m_musicVolume > 0) setMusicVolume(int(m_musicVolume) - 1);
}

void cSound::musicVolumeUp() {
    if (m_musicVolume < 100) setMusicVolume(int(m_musicVolume) + 1);
}

void cSound::setMusicTempo(float tempo) { au::setTempo(m_musicChannel, tempo); }

void cSound::pauseAll() {
    dropFinishedChannels();
    for (au::Handle c : m_sampleChannels) au::pause(c);
    for (auto& [name, stream] : m_streams) au::pause(stream);
}

void cSound::stopAll() {
    dropFinishedChannels();
    for (au::Handle c : m_sampleChannels) au::stop(c);
    for (auto& [name, stream] : m_streams) au::stop(stream);
}

void cSound::resumeAll() {
    // Only what was paused goes on: a stopped or finished sound is never started again.
    for (au::Handle c : m_sampleChannels)
        if (au::state(c) == au::State::Paused) au::play(c, false);
    for (auto& [name, stream] : m_streams)
        if (au::state(stream) == au::State::Paused) au::play(stream, false);
}
