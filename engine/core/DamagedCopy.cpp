#include "engine/core/DamagedCopy.h"

#include <memory>
#include <string>
#include <vector>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/LogHooks.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cStream.h"

namespace {

// How many copies of one damaged file are kept at most.
constexpr int kDamagedCopies = 99;

}  // namespace

void keepDamagedCopy(const cStringA& path, const char* what) {
    const cStringA kind(what);
    try {
        cFileManager* files = getFileManager();
        std::unique_ptr<cStream> in(files->openRead(path));
        std::vector<uint8_t> bytes = readWholeStream(*in);
        in.reset();
        cStringA copy = path + ".damaged";
        for (int n = 2; files->exists(copy); ++n) {
            std::vector<uint8_t> kept;
            try {
                std::unique_ptr<cStream> keptStream(files->openRead(copy));
                kept = readWholeStream(*keptStream);
            } catch (...) {
            }
            if (kept == bytes) {
                logGameQuietly("  the damaged " + kind + " are kept already as \"" + copy + "\"");
                return;
            }
            if (n > kDamagedCopies) throw cStringA("every name for a kept copy is taken");
            copy = path + ".damaged_" + cStringA(std::to_string(n));
        }
        std::unique_ptr<cStream> out(files->openWrite(copy));
        if (!bytes.empty()) out->write(bytes.data(), static_cast<uint32_t>(bytes.size()));
        logGameQuietly("  the damaged " + kind + " are kept as \"" + copy + "\"");
    } catch (...) {
        std::string text;
        failureText(std::current_exception(), &text);
        logGameQuietly("  cannot keep a copy of the damaged " + kind + ": " + text);
    }
}
