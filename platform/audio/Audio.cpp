// The mixer: channels of decoded samples, streams and music, summed into float stereo at the
// output rate, for the SDL audio device or the memory device.

#include "platform/audio/Audio.h"

#include <SDL2/SDL.h>
#include <soundtouch/SoundTouch.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "platform/Platform.h"
#include "platform/audio/OggDecoder.h"

namespace platform::audio {
namespace {

constexpr size_t kChunk = 1024;  // frames decoded or mixed at a time

// A file decoded while it plays, converted to stereo at the output rate (linear
// interpolation when the file has another rate).
class FileSource {
public:
    bool open(std::vector<uint8_t> file, std::string* error) {
        m_file = std::move(file);
        if (!m_decoder.open(m_file.data(), m_file.size(), error)) return false;
        m_step = double(m_decoder.rate()) / kOutputRate;
        // The most refill() holds: one frame kept and a chunk; sized here, not on the audio thread.
        if (m_decoder.rate() != kOutputRate) m_in.reserve((kChunk + 1) * 2);
        return true;
    }
    const OggDecoder& decoder() const { return m_decoder; }

    // Fills up to frames output frames; fewer at the end of the file.
    size_t read(float* out, size_t frames) {
        if (m_decoder.rate() == kOutputRate) {
            size_t n = m_decoder.readStereo(out, frames);
            m_consumed += n;
            return n;
        }
        size_t done = 0;
        while (done < frames) {
            size_t index = size_t(m_pos);
            if (index + 1 >= m_inFrames) {
                if (!refill()) break;
                continue;
            }
            double frac = m_pos - double(index);
            for (int c = 0; c < 2; ++c) {
                float a = m_in[index * 2 + c], b = m_in[(index + 1) * 2 + c];
                out[done * 2 + c] = float(a + (b - a) * frac);
            }
            ++done;
            m_pos += m_step;
        }
        return done;
    }

    bool seekFrame(int64_t fileFrame) {
        if (!m_decoder.seekFrame(fileFrame)) return false;
        resetResampler();
        m_consumed = uint64_t(fileFrame);
        return true;
    }
    bool rewind() { return seekFrame(0); }
    // File frames handed on so far.
    uint64_t consumed() const { return m_decoder.rate() == kOutputRate ? m_consumed : m_consumed + uint64_t(m_pos); }

private:
    // Keeps the last frame, appends decoded ones; false at the end of the file.
    bool refill() {
        // Frames before the read position are done with; a position past the data (a step
        // above one) drops what is there and keeps its distance for the next refill.
        size_t drop = std::min(size_t(m_pos), m_inFrames);
        size_t keep = m_inFrames - drop;
        if (keep) std::copy(m_in.begin() + drop * 2, m_in.begin() + m_inFrames * 2, m_in.begin());
        m_consumed += drop;
        m_pos -= double(drop);
        m_in.resize((keep + kChunk) * 2);
        size_t n = m_decoder.readStereo(m_in.data() + keep * 2, kChunk);
        m_inFrames = keep + n;
        return n > 0;
    }
    void resetResampler() {
        m_in.clear();
        m_inFrames = 0;
        m_pos = 0;
    }

    std::vector<uint8_t> m_file;
    OggDecoder m_decoder;
    double m_step = 1.0;
    std::vector<float> m_in;
    size_t m_inFrames = 0;
    double m_pos = 0;
    uint64_t m_consumed = 0;
};

enum class Kind { SampleChannel, Stream, Music };

struct Channel {
    Kind kind = Kind::SampleChannel;
    State state = State::Stopped;
    float volume = 1.0f;
    float pan = 0.0f;
    bool loop = false;
    uint64_t played = 0;  // output frames mixed since the last start
    uint64_t serial = 0;  // creation order: of two channels that played as long, the older is taken over
    // Sample channels.
    Handle sample = 0;
    std::shared_ptr<const Pcm> pcm;
    size_t position = 0;
    // Streams and music.
    std::unique_ptr<FileSource> file;
    std::unique_ptr<soundtouch::SoundTouch> tempo;  // music only
    float tempoPercent = 0.0f;
    bool fileEnded = false;
};

struct Sample {
    std::shared_ptr<const Pcm> pcm;
    std::vector<Handle> slots;  // one channel handle per playback, 0 when never used
};

struct Mixer {
    std::recursive_mutex mutex;
    DeviceKind kind = DeviceKind::None;
    SDL_AudioDeviceID device = 0;
    bool sdlAudioInit = false;
    Handle nextHandle = 1;
    uint64_t nextSerial = 1;
    std::map<Handle, Sample> samples;
    std::map<Handle, std::unique_ptr<Channel>> channels;
    std::vector<float> memory;
    std::vector<float> scratch;
    std::vector<float> feed;
};

Mixer& mixer() {
    static Mixer m;
    return m;
}

Handle newHandle(Mixer& m) {
    Handle h = m.nextHandle++;
    if (m.nextHandle == 0) m.nextHandle = 1;
    return h;
}

Channel* find(Mixer& m, Handle h) {
    auto it = m.channels.find(h);
    return it == m.channels.end() ? nullptr : it->second.get();
}

void rewindChannel(Channel& c) {
    c.played = 0;
    c.fileEnded = false;
    if (c.kind == Kind::SampleChannel) {
        c.position = 0;
    } else {
        c.file->rewind();
        if (c.tempo) c.tempo->clear();
    }
}

// Reads a stream's file with its loop flag; fewer frames than asked at its end.
size_t readFile(Channel& c, float* out, size_t frames) {
    size_t done = 0;
    bool rewound = false;
    while (done < frames) {
        size_t n = c.file->read(out + done * 2, frames - done);
        done += n;
        if (done == frames) break;
        if (!c.loop || (rewound && n == 0)) break;  // an empty file never loops forever
        if (!c.file->rewind()) break;
        rewound = true;
    }
    return done;
}

size_t readMusic(Mixer& m, Channel& c, float* out, size_t frames) {
    size_t done = 0;
    m.feed.resize(kChunk * 2);
    while (done < frames) {
        done += c.tempo->receiveSamples(out + done * 2, uint32_t(frames - done));
        if (done == frames) break;
        if (c.fileEnded) break;  // flushed and drained
        size_t n = readFile(c, m.feed.data(), kChunk);
        if (n > 0) c.tempo->putSamples(m.feed.data(), uint32_t(n));
        if (n < kChunk) {
            c.tempo->flush();
            c.fileEnded = true;
        }
    }
    return done;
}

// Mixes frames of every playing channel into out (zeroed first).
void mixInto(Mixer& m, float* out, size_t frames) {
    std::fill(out, out + frames * 2, 0.0f);
    m.scratch.resize(kChunk * 2);
    for (auto& [handle, ptr] : m.channels) {
        Channel& c = *ptr;
        if (c.state != State::Playing) continue;
        float left = c.volume * (c.pan > 0 ? 1.0f - c.pan : 1.0f);
        float right = c.volume * (c.pan < 0 ? 1.0f + c.pan : 1.0f);
        size_t done = 0;
        while (done < frames && c.state == State::Playing) {
            size_t want = std::min(kChunk, frames - done);
            size_t n = 0;
            float* buf = m.scratch.data();
            if (c.kind == Kind::SampleChannel) {
                const Pcm& pcm = *c.pcm;
                n = std::min(want, pcm.frameCount() - std::min(c.position, pcm.frameCount()));
                std::copy(pcm.frames.begin() + c.position * 2, pcm.frames.begin() + (c.position + n) * 2, buf);
                c.position += n;
            } else if (c.kind == Kind::Stream) {
                n = readFile(c, buf, want);
            } else {
                n = readMusic(m, c, buf, want);
            }
            for (size_t i = 0; i < n; ++i) {
                out[(done + i) * 2] += buf[i * 2] * left;
                out[(done + i) * 2 + 1] += buf[i * 2 + 1] * right;
            }
            done += n;
            c.played += n;
            if (n < want && c.kind == Kind::SampleChannel && c.loop && c.pcm->frameCount() > 0) {
                c.position = 0;  // a looping sample goes round
                continue;
            }
            if (n < want) {
                c.state = State::Stopped;
                rewindChannel(c);
            }
        }
    }
    for (size_t i = 0; i < frames * 2; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void sdlCallback(void*, Uint8* stream, int length) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    mixInto(m, reinterpret_cast<float*>(stream), size_t(length) / (sizeof(float) * 2));
}

void freeAllLocked(Mixer& m) {
    m.channels.clear();
    m.samples.clear();
    m.memory.clear();
}

}  // namespace

DeviceKind defaultDeviceKind() { return backend() == Backend::Headless ? DeviceKind::Memory : DeviceKind::Sdl; }

DeviceKind deviceKind() { return mixer().kind; }

void closeDevice() {
    Mixer& m = mixer();
    // The SDL device is closed first: its callback takes the mixer's lock.
    if (m.device) {
        SDL_CloseAudioDevice(m.device);
        m.device = 0;
    }
    if (m.sdlAudioInit) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m.sdlAudioInit = false;
    }
    std::lock_guard lock(m.mutex);
    freeAllLocked(m);
    m.kind = DeviceKind::None;
}

DeviceKind openDevice(DeviceKind wanted) {
    closeDevice();
    Mixer& m = mixer();
    if (wanted == DeviceKind::Sdl) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
            m.sdlAudioInit = true;
            SDL_AudioSpec want{}, have{};
            want.freq = kOutputRate;
            want.format = AUDIO_F32SYS;
            want.channels = kOutputChannels;
            want.samples = 1024;
            want.callback = &sdlCallback;
            m.device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        }
        if (!m.device) {
            if (m.sdlAudioInit) SDL_QuitSubSystem(SDL_INIT_AUDIO);
            m.sdlAudioInit = false;
            wanted = DeviceKind::None;
        }
    }
    std::lock_guard lock(m.mutex);
    // The mixer's buffers are sized before the first callback, which then allocates nothing.
    m.scratch.resize(kChunk * 2);
    m.feed.resize(kChunk * 2);
    m.kind = wanted;
    return wanted;
}

void startOutput() {
    Mixer& m = mixer();
    if (m.device) SDL_PauseAudioDevice(m.device, 0);
}

void stopOutput() {
    Mixer& m = mixer();
    if (m.device) SDL_PauseAudioDevice(m.device, 1);
}

std::shared_ptr<const Pcm> decodeOgg(const void* data, size_t size, size_t maxFrames) {
    FileSource source;
    std::string error;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!source.open(std::vector<uint8_t>(bytes, bytes + (bytes ? size : 0)), &error))
        throw std::string("Cannot decode sound: " + error + ".");
    int64_t total = source.decoder().totalFrames();
    if (total > 0 && double(total) / source.decoder().rate() * kOutputRate > double(maxFrames))
        throw std::string("Cannot decode sound: longer than a sample may be.");
    auto pcm = std::make_shared<Pcm>();
    std::vector<float> chunk(kChunk * 2);
    for (;;) {
        size_t n = source.read(chunk.data(), kChunk);
        if (n == 0) break;
        if (pcm->frameCount() + n > maxFrames) throw std::string("Cannot decode sound: longer than a sample may be.");
        pcm->frames.insert(pcm->frames.end(), chunk.begin(), chunk.begin() + n * 2);
    }
    if (pcm->frames.empty()) {
        std::string why = source.decoder().lastError();
        throw std::string("Cannot decode sound: " + (why.empty() ? std::string("no audio data") : why) + ".");
    }
    return pcm;
}

Handle loadSample(const void* data, size_t size, uint32_t maxPlaybacks, std::string* error) {
    std::shared_ptr<const Pcm> pcm;
    try {
        pcm = decodeOgg(data, size);
    } catch (const std::string& text) {
        if (error) *error = text;
        return 0;
    }
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Handle h = newHandle(m);
    Sample& s = m.samples[h];
    s.pcm = std::move(pcm);
    s.slots.assign(std::max<uint32_t>(maxPlaybacks, 1), 0);
    return h;
}

void freeSample(Handle sample) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    auto it = m.samples.find(sample);
    if (it == m.samples.end()) return;
    for (Handle h : it->second.slots) m.channels.erase(h);
    m.samples.erase(it);
}

Handle sampleChannel(Handle sample) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    auto it = m.samples.find(sample);
    if (it == m.samples.end()) return 0;
    Sample& s = it->second;
    // A slot whose channel is stopped (or gone) is free; otherwise take the one that has
    // played longest.
    size_t slot = s.slots.size();
    for (size_t i = 0; i < s.slots.size(); ++i) {
        Channel* c = find(m, s.slots[i]);
        if (!c || c->state == State::Stopped) {
            slot = i;
            break;
        }
    }
    if (slot == s.slots.size()) {
        slot = 0;
        const Channel* best = nullptr;
        for (size_t i = 0; i < s.slots.size(); ++i) {
            const Channel* c = find(m, s.slots[i]);
            if (c && (!best || c->played > best->played || (c->played == best->played && c->serial < best->serial))) {
                slot = i;
                best = c;
            }
        }
    }
    m.channels.erase(s.slots[slot]);
    auto c = std::make_unique<Channel>();
    c->kind = Kind::SampleChannel;
    c->sample = sample;
    c->pcm = s.pcm;
    c->serial = m.nextSerial++;
    Handle h = newHandle(m);
    m.channels[h] = std::move(c);
    s.slots[slot] = h;
    return h;
}

namespace {
Handle createFileChannel(std::vector<uint8_t> file, std::string* error, Kind kind) {
    auto source = std::make_unique<FileSource>();
    if (!source->open(std::move(file), error)) return 0;
    auto c = std::make_unique<Channel>();
    c->kind = kind;
    c->file = std::move(source);
    if (kind == Kind::Music) {
        c->tempo = std::make_unique<soundtouch::SoundTouch>();
        c->tempo->setSampleRate(kOutputRate);
        c->tempo->setChannels(2);
        c->tempo->setTempoChange(0.0);
    }
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Handle h = newHandle(m);
    m.channels[h] = std::move(c);
    return h;
}
}  // namespace

Handle createStream(std::vector<uint8_t> file, std::string* error) {
    return createFileChannel(std::move(file), error, Kind::Stream);
}

Handle createMusic(std::vector<uint8_t> file, std::string* error) {
    return createFileChannel(std::move(file), error, Kind::Music);
}

void freeStream(Handle stream) {
    Mixer& m = mixer();
    std::unique_ptr<Channel> gone;
    {
        std::lock_guard lock(m.mutex);
        auto it = m.channels.find(stream);
        if (it == m.channels.end() || it->second->kind == Kind::SampleChannel) return;
        gone = std::move(it->second);
        m.channels.erase(it);
    }
}

bool setPosition(Handle stream, double seconds) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, stream);
    if (!c || !c->file || !(seconds >= 0)) return false;
    const OggDecoder& d = c->file->decoder();
    int64_t frame = int64_t(seconds * d.rate());
    if (d.totalFrames() >= 0 && frame > d.totalFrames()) return false;
    if (!c->file->seekFrame(frame)) return false;
    if (c->tempo) c->tempo->clear();
    c->fileEnded = false;
    return true;
}

void setTempo(Handle music, float percent) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, music);
    if (!c || !c->tempo || !std::isfinite(percent)) return;
    c->tempoPercent = std::clamp(percent, -95.0f, 5000.0f);
    c->tempo->setTempoChange(c->tempoPercent);
}

float getTempo(Handle music) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, music);
    return c ? c->tempoPercent : 0.0f;
}

double lengthSeconds(Handle object) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    if (auto it = m.samples.find(object); it != m.samples.end())
        return double(it->second.pcm->frameCount()) / kOutputRate;
    Channel* c = find(m, object);
    if (!c) return 0.0;
    if (c->pcm) return double(c->pcm->frameCount()) / kOutputRate;
    const OggDecoder& d = c->file->decoder();
    return d.totalFrames() > 0 ? double(d.totalFrames()) / d.rate() : 0.0;
}

State state(Handle channel) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, channel);
    return c ? c->state : State::Stopped;
}

bool play(Handle channel, bool restart) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, channel);
    if (!c) return false;
    if (restart && c->state != State::Stopped) rewindChannel(*c);
    c->state = State::Playing;
    return true;
}

void pause(Handle channel) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, channel);
    if (c && c->state == State::Playing) c->state = State::Paused;
}

void stop(Handle channel) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, channel);
    if (!c || c->state == State::Stopped) return;
    c->state = State::Stopped;
    rewindChannel(*c);
}

void setVolume(Handle channel, float volume) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    if (Channel* c = find(m, channel)) c->volume = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 0.0f;
}

float getVolume(Handle channel) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, channel);
    return c ? c->volume : 0.0f;
}

void setPan(Handle channel, float pan) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    if (Channel* c = find(m, channel)) c->pan = std::isfinite(pan) ? std::clamp(pan, -1.0f, 1.0f) : 0.0f;
}

float getPan(Handle channel) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, channel);
    return c ? c->pan : 0.0f;
}

void setLoop(Handle channel, bool loop) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    if (Channel* c = find(m, channel)) c->loop = loop;
}

bool getLoop(Handle channel) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, channel);
    return c && c->loop;
}

double playedSeconds(Handle channel) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    Channel* c = find(m, channel);
    if (!c) return 0.0;
    if (c->kind == Kind::SampleChannel) return double(c->position) / kOutputRate;
    return double(c->file->consumed()) / c->file->decoder().rate();
}

void render(size_t frames) {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    if (m.kind != DeviceKind::Memory) return;
    size_t start = m.memory.size();
    m.memory.resize(start + frames * 2);
    mixInto(m, m.memory.data() + start, frames);
}

const std::vector<float>& memoryOutput() { return mixer().memory; }

void clearMemoryOutput() {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    m.memory.clear();
}

size_t liveObjectCount() {
    Mixer& m = mixer();
    std::lock_guard lock(m.mutex);
    return m.channels.size() + m.samples.size();
}

}  // namespace platform::audio
