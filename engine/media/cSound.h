#pragma once
// The sound manager: short samples played by name (each with a default volume and a limit of
// simultaneous playbacks), named streams, and one piece of music at a time whose tempo can
// change while it plays and which fades in and out. Two master volumes (sounds and music,
// 0 to 100) scale everything. Sound files are read whole through the file manager and
// decoded from memory by the platform's mixer (platform/audio/Audio.h). Without an audio
// device every call works silently.

#include <functional>
#include <map>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"
#include "platform/audio/Audio.h"

namespace platform {
struct Window;
}

class cSound : public cSingleton<cSound> {
public:
    // Opens the platform's default audio output (the memory device when headless; no sound
    // when no device opens). The window is not used.
    explicit cSound(platform::Window* window = nullptr);
    ~cSound() override;

    // Steps the music fade with the timer's interface-time step; called last in every frame.
    virtual void update();
    // True when no fade runs.
    virtual bool isFadeDone() const;

    // Reads and decodes the file name as a sample with up to playbacks simultaneous
    // playbacks (0 becomes 1, more than 10 becomes 10) and its default volume. Nothing when
    // the name is loaded. A file that cannot be opened throws the file manager's text; one
    // that cannot be decoded is not stored (and logged).
    virtual void loadSample(const cStringA& name, uint32_t playbacks, uint32_t volume);
    // Plays a loaded sample at volume 0..100, or at its default volume with -1 (any other
    // volume becomes the sample's new default). Nothing for a name that is not loaded.
    virtual void playSample(const cStringA& name, int volume = -1);
    // Stores the sample's default volume (at most 100; a negative volume becomes 100) when
    // the sample has one; returns the clamped volume.
    virtual uint32_t setSampleVolume(const cStringA& name, int volume);
    // The sample's default volume, -1 for a name without one.
    virtual int getSampleVolume(const cStringA& name) const;
    // The sounds' master volume, at most 100 (a negative value becomes 100); affects later
    // plays, not channels playing now.
    virtual void setSoundVolume(int volume);
    virtual uint32_t getSoundVolume() const;

    // Streams: the file read whole and decoded while it plays.
    virtual void loadStream(const cStringA& name, int volume);
    virtual bool isStreamPlaying(const cStringA& name) const;
    // pan -100..100 (0 leaves the pan as it is), volume 0..100 or negative for the sound volume.
    virtual void playStream(const cStringA& name, bool loop, int pan, bool restart, int volume);
    virtual void setStreamAttributes(const cStringA& name, int pan, int volume);
    virtual void pauseStream(const cStringA& name);
    virtual void stopStream(const cStringA& name);

    // Music.
    virtual bool isMusicActive() const;
    // Replaces the music by the file (read whole), looping or not, fading in over 0.25 s of
    // interface time (only when no music is active), starting at startSeconds when > 0.
    // A file that cannot be decoded leaves no music. unused is kept for the callers' shape.
    virtual void playMusic(const cStringA& fileName, bool loop, bool unused, bool fadeIn, float startSeconds);
    virtual void pauseMusic();
    virtual void resumeMusic();
    // With fade: fades out over 0.25 s of interface time, then stops.
    virtual void stopMusic(bool fade);
    virtual void setMusicVolume(int volume);
    virtual uint32_t getMusicVolume() const;
    virtual void musicVolumeDown();
    virtual void musicVolumeUp();
    // Tempo change in percent (0 normal); the pitch stays.
    virtual void setMusicTempo(float tempo);

    // Every sample channel and stream (not the music): pause, stop, and resume of those that
    // are paused.
    virtual void pauseAll();
    virtual void stopAll();
    virtual void resumeAll();

    // ---- For tests and tools ----
    // Replaces how sound files are read (default: whole through the file manager; throws
    // the file manager's text when a file cannot be opened). Null restores the default.
    using FileReader = std::function<std::vector<uint8_t>(const cStringA& name)>;
    static void setFileReader(FileReader reader);
    // Advances the music fade by a given interface-time step (update() uses the timer's).
    void stepFade(float realDelta);
    size_t sampleChannelCount() const { return m_sampleChannels.size(); }
    const std::vector<platform::audio::Handle>& sampleChannels() const { return m_sampleChannels; }
    platform::audio::Handle musicChannel() const { return m_musicChannel; }
    platform::audio::Handle streamHandle(const cStringA& name) const;
    bool isSampleLoaded(const cStringA& name) const { return m_samples.count(name) != 0; }
    float getFadeLevel() const { return m_fadeLevel; }
    float getFadeRate() const { return m_fadeRate; }
    const cStringA& getMusicFileName() const { return m_musicFileName; }

private:
    std::vector<uint8_t> readFile(const cStringA& name) const;
    void applyMusicVolume();
    void dropFinishedChannels();

    platform::audio::Handle m_musicChannel = 0;  // owns the music's decoder and tempo stream
    float m_fadeLevel = 0.0f;  // 0 full volume, 1 silent
    float m_fadeRate = 0.0f;   // +1 fading out, -1 fading in, 0 no fade
    cStringA m_musicFileName;
    uint32_t m_musicVolume = 100;
    uint32_t m_soundVolume = 100;
    std::map<cStringA, platform::audio::Handle> m_samples;
    std::vector<platform::audio::Handle> m_sampleChannels;
    std::map<cStringA, uint32_t> m_sampleVolumes;
    std::map<cStringA, platform::audio::Handle> m_streams;
    std::map<cStringA, int> m_streamVolumes;
};

cSound* getSound();
