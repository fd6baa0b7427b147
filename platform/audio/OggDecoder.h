#pragma once
// Streaming OGG Vorbis decoder over a file held in memory (the memory must outlive the
// decoder), giving interleaved stereo float frames at the file's own rate.

#include <cstddef>
#include <cstdint>
#include <string>

#include <vorbis/vorbisfile.h>

namespace platform::audio {

class OggDecoder {
public:
    OggDecoder() = default;
    ~OggDecoder();
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    // Opens the file; false and the reason in *error when it is no OGG Vorbis file we play.
    bool open(const uint8_t* data, size_t size, std::string* error);
    bool isOpen() const { return m_open; }
    int rate() const { return m_rate; }
    int channels() const { return m_channels; }
    // Frames of the whole file, -1 when the file does not tell.
    int64_t totalFrames() const { return m_totalFrames; }

    // Reads up to frames stereo frames; returns the frames read, 0 at the end of the data
    // (or at a fault in it: the rest is treated as missing).
    size_t readStereo(float* out, size_t frames);
    bool seekFrame(int64_t frame);
    // The last fault met while reading (empty when none); a fixed text, since reading runs on
    // the audio thread, where nothing should allocate.
    const char* lastError() const { return m_lastError; }

private:
    static size_t readCallback(void* ptr, size_t size, size_t count, void* source);
    static int seekCallback(void* source, ogg_int64_t offset, int whence);
    static long tellCallback(void* source);

    OggVorbis_File m_file{};
    bool m_open = false;
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_position = 0;
    int m_rate = 0;
    int m_channels = 0;
    int64_t m_totalFrames = -1;
    int m_section = 0;
    const char* m_lastError = "";
};

}  // namespace platform::audio
