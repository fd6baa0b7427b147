// Fuzz target: any bytes handed to the OGG path (whole decoding for samples, streaming
// decoding with the tempo changer for music) fail cleanly or play, never crash.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio/Audio.h"

namespace au = platform::audio;

// libvorbisfile loses the 8-byte list of stream serial numbers when an open fails after the
// first header page (its own fault, not ours); everything else must be leak-free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool opened = (au::openDevice(au::DeviceKind::Memory), true);
    (void)opened;
    try {
        // A cap of a few seconds keeps a forged length from filling the memory.
        auto pcm = au::decodeOgg(data, size, size_t(au::kOutputRate) * 4);
        if (pcm->frames.size() % 2 != 0) __builtin_trap();
    } catch (const std::string& text) {
        if (text.rfind("Cannot decode sound: ", 0) != 0) __builtin_trap();
    }
    std::string error;
    au::Handle music = au::createMusic(std::vector<uint8_t>(data, data + size), &error);
    if (music) {
        au::setTempo(music, 50.0f);
        au::setLoop(music, true);
        au::play(music, true);
        au::render(8192);
        au::freeStream(music);
        au::clearMemoryOutput();
    } else if (error.empty()) {
        __builtin_trap();
    }
    return 0;
}
