// Opens the input as an archive and reads every entry in chunks and as strings: any input
// must give a text failure or data, never a crash or a read outside the file.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cPackFile.h"
#include "engine/core/cPackStream.h"

namespace {

// The archive lives in an anonymous memory file, opened through its /proc path: no file is
// left behind however the fuzzer ends.
const char* archivePath() {
    static std::string path = [] {
        int fd = ::memfd_create("rw-fuzz-archive", 0);
        return fd < 0 ? std::string() : "/proc/self/fd/" + std::to_string(fd);
    }();
    return path.empty() ? nullptr : path.c_str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = archivePath();
    if (!path) return 0;
    FILE* f = std::fopen(path, "wb");
    if (!f) return 0;
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    try {
        cPackFile pack{cStringA(path)};
        std::vector<uint8_t> buffer(37);
        for (const cStringA& name : pack.getNames()) {
            cPackStream stream(name, &pack);
            while (stream.read(buffer.data(), static_cast<uint32_t>(buffer.size())) != 0) {
            }
            stream.seek(size > 0 ? data[0] : 0, SEEK_FROM_START);
            try {
                cStringA narrow;
                cStringW wide;
                stream.seek(0, SEEK_FROM_START);
                stream.readString(narrow);
                stream.readWString(wide);
            } catch (const std::string&) {
            }
            stream.seek(-3, SEEK_FROM_END);
            stream.read(buffer.data(), 10);
        }
    } catch (const std::string&) {
    } catch (const char*) {
    }
    return 0;
}
