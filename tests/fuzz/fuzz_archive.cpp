// Opens the input as an archive and reads every entry in chunks and as strings: any input
// must give a text failure or data, never a crash or a read outside the file.

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

std::string archivePath() {
    static std::string path = [] {
        char name[] = "/tmp/rw-fuzz-archive-XXXXXX";
        int fd = ::mkstemp(name);
        if (fd >= 0) ::close(fd);
        std::atexit([] { ::unlink(archivePath().c_str()); });
        return std::string(name);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = archivePath();
    FILE* f = std::fopen(path.c_str(), "wb");
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
