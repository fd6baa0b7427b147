#pragma once
// Our sound output: a small mixer of float stereo channels at 44.1 kHz, fed from OGG Vorbis
// files held in memory, with a tempo changer for music.
//
// Three outputs: the SDL2 audio device (mixes on SDL's audio thread), a memory device (mixes
// only when render() is called and keeps what it mixed; the headless backend's choice) and
// none (every call works, nothing is heard and nothing advances).
//
// Objects are named by handles (0 is none). A sample is decoded whole at load and plays on
// up to its playback limit of channels at once; a stream and the music decode while they
// play, from a copy of the file that they own. A channel of a sample lasts until it ends, is
// stopped or is taken over by a later play; then its handle answers Stopped.
//
// All functions are for the main thread; the mixer guards itself against the audio thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::audio {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;
// Longest sound decoded whole as a sample (frames of the output rate): 10 minutes.
constexpr size_t kMaxSampleFrames = size_t(kOutputRate) * 600;

using Handle = uint32_t;

enum class DeviceKind { None, Sdl, Memory };
enum class State { Stopped, Playing, Paused };

// Opens the output. Sdl falls back to None when no audio device opens. Closes an output
// opened before (and frees every sample, stream and channel). Returns the kind now open.
DeviceKind openDevice(DeviceKind wanted);
// Memory for the headless backend, Sdl otherwise.
DeviceKind defaultDeviceKind();
DeviceKind deviceKind();
// Frees every object and closes the output (the kind becomes None).
void closeDevice();
// Starts and stops the output as a whole (the SDL device's pause).
void startOutput();
void stopOutput();

// ---- Decoding ---------------------------------------------------------------------------
struct Pcm {
    std::vector<float> frames;  // interleaved stereo at kOutputRate
    size_t frameCount() const { return frames.size() / 2; }
};
// Decodes a whole OGG Vorbis file into stereo at the output rate. Throws a narrow text
// (std::string) naming the fault for a file it cannot decode or one longer than maxFrames.
std::shared_ptr<const Pcm> decodeOgg(const void* data, size_t size, size_t maxFrames = kMaxSampleFrames);

// ---- Samples ----------------------------------------------------------------------------
// Decodes the file; 0 and the reason in *error when it cannot.
Handle loadSample(const void* data, size_t size, uint32_t maxPlaybacks, std::string* error = nullptr);
void freeSample(Handle sample);
// A channel of the sample, stopped at its start: a free one, or, when all of the sample's
// playbacks are running, the one that has played longest (its old handle then answers
// Stopped). 0 for an unknown sample.
Handle sampleChannel(Handle sample);

// ---- Streams and music -------------------------------------------------------------------
// A stream decoding from its own copy of the file; 0 and the reason when it cannot be opened.
Handle createStream(std::vector<uint8_t> file, std::string* error = nullptr);
// The same with a tempo changer after the decoder (setTempo). The stream owns both.
Handle createMusic(std::vector<uint8_t> file, std::string* error = nullptr);
// Frees a stream or the music (and stops it).
void freeStream(Handle stream);
// Moves a stream to a position in seconds; false when it cannot (unknown, past the end).
bool setPosition(Handle stream, double seconds);
// Tempo change in percent (0 normal, 100 twice as fast, -50 half as fast); the pitch stays.
// Only for music; clamped to -95 .. 5000.
void setTempo(Handle music, float percent);
float getTempo(Handle music);
// Length in seconds of a stream's or sample's file (0 when unknown).
double lengthSeconds(Handle object);

// ---- Channels (sample channels, streams, music) -------------------------------------------
State state(Handle channel);
// Starts or resumes; with restart from the beginning. False for an unknown handle.
bool play(Handle channel, bool restart);
void pause(Handle channel);
// Stops; a stopped channel starts from the beginning when played again.
void stop(Handle channel);
void setVolume(Handle channel, float volume);  // 0 .. 1
float getVolume(Handle channel);
void setPan(Handle channel, float pan);        // -1 left .. 1 right
float getPan(Handle channel);
void setLoop(Handle channel, bool loop);
bool getLoop(Handle channel);
// Seconds of the file played so far by the channel.
double playedSeconds(Handle channel);

// ---- The memory device ----------------------------------------------------------------
// Mixes frames more output frames (memory device only; nothing otherwise).
void render(size_t frames);
// Everything mixed since the last clear, interleaved stereo.
const std::vector<float>& memoryOutput();
void clearMemoryOutput();

// Number of live channels and streams (tests of bounded lists).
size_t liveObjectCount();

}  // namespace platform::audio
