#include "platform/audio/OggDecoder.h"

#include <algorithm>
#include <cstring>

namespace platform::audio {

namespace {
const char* vorbisErrorText(int code) {
    switch (code) {
        case OV_EREAD: return "read error";
        case OV_ENOTVORBIS: return "not an OGG Vorbis file";
        case OV_EVERSION: return "unsupported Vorbis version";
        case OV_EBADHEADER: return "broken Vorbis header";
        case OV_EFAULT: return "decoder fault";
        case OV_EINVAL: return "invalid Vorbis data";
        case OV_EBADLINK: return "broken link in the OGG stream";
        case OV_ENOSEEK: return "stream not seekable";
        case OV_EIMPL: return "unsupported Vorbis feature";
        case OV_HOLE: return "gap in the data";
        default: return "undecodable data";
    }
}
}  // namespace

OggDecoder::~OggDecoder() {
    if (m_open) ov_clear(&m_file);
}

size_t OggDecoder::readCallback(void* ptr, size_t size, size_t count, void* source) {
    auto* self = static_cast<OggDecoder*>(source);
    if (size == 0 || count == 0) return 0;
    size_t available = self->m_size - self->m_position;
    size_t items = std::min(count, available / size);
    std::memcpy(ptr, self->m_data + self->m_position, items * size);
    self->m_position += items * size;
    return items;
}

int OggDecoder::seekCallback(void* source, ogg_int64_t offset, int whence) {
    auto* self = static_cast<OggDecoder*>(source);
    int64_t base;
    switch (whence) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = int64_t(self->m_position); break;
        case SEEK_END: base = int64_t(self->m_size); break;
        default: return -1;
    }
    int64_t target = base + int64_t(offset);
    if (target < 0 || target > int64_t(self->m_size)) return -1;
    self->m_position = size_t(target);
    return 0;
}

long OggDecoder::tellCallback(void* source) { return long(static_cast<OggDecoder*>(source)->m_position); }

bool OggDecoder::open(const uint8_t* data, size_t size, std::string* error) {
    auto fail = [&](const std::string& text) {
        if (error) *error = text;
        return false;
    };
    if (m_open) {
        ov_clear(&m_file);
        m_open = false;
    }
    m_data = data;
    m_size = data ? size : 0;
    m_position = 0;
    if (m_size == 0) return fail("empty sound file");
    ov_callbacks callbacks{&OggDecoder::readCallback, &OggDecoder::seekCallback, nullptr, &OggDecoder::tellCallback};
    int result = ov_open_callbacks(this, &m_file, nullptr, 0, callbacks);
    if (result != 0) return fail(vorbisErrorText(result));  // ov_open_callbacks cleans up itself
    m_open = true;
    vorbis_info* info = ov_info(&m_file, -1);
    if (!info) {
        ov_clear(&m_file);
        m_open = false;
        return fail("broken Vorbis header");
    }
    if (info->channels < 1 || info->channels > 8) {
        ov_clear(&m_file);
        m_open = false;
        return fail("unsupported channel count " + std::to_string(info->channels));
    }
    if (info->rate < 1000 || info->rate > 192000) {
        ov_clear(&m_file);
        m_open = false;
        return fail("unsupported sample rate " + std::to_string(info->rate));
    }
    m_channels = info->channels;
    m_rate = int(info->rate);
    ogg_int64_t total = ov_pcm_total(&m_file, -1);
    m_totalFrames = total >= 0 ? int64_t(total) : -1;
    m_section = 0;
    return true;
}

size_t OggDecoder::readStereo(float* out, size_t frames) {
    if (!m_open) return 0;
    size_t done = 0;
    int holes = 0;
    while (done < frames) {
        float** pcm = nullptr;
        int want = int(std::min<size_t>(frames - done, 4096));
        long got = ov_read_float(&m_file, &pcm, want, &m_section);
        if (got == OV_HOLE && ++holes < 64) continue;  // a gap: skip it
        if (got <= 0) {
            if (got < 0) m_lastError = vorbisErrorText(int(got));
            break;
        }
        // The channel count may change between chained sections: read it each time.
        vorbis_info* info = ov_info(&m_file, -1);
        int channels = info ? info->channels : m_channels;
        if (channels < 1 || channels > 8) {
            m_lastError = "unsupported channel count";
            break;
        }
        int right = channels == 1 ? 0 : (channels == 3 || channels >= 5) ? 2 : 1;
        for (long i = 0; i < got; ++i) {
            out[(done + size_t(i)) * 2] = pcm[0][i];
            out[(done + size_t(i)) * 2 + 1] = pcm[right][i];
        }
        done += size_t(got);
    }
    return done;
}

bool OggDecoder::seekFrame(int64_t frame) {
    if (!m_open) return false;
    if (ov_pcm_seek(&m_file, frame) != 0) return false;
    return true;
}

}  // namespace platform::audio
