// datagen SOURCE_DIR OUT_DIR [--step NAME]...: builds the Data folder from data/; with --step
// only the named steps run (tests).
#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/core/ErrorCallStack.h"
#include "tools/datagen/DataGen.h"

namespace {
struct Registered {
    std::string name;
    int order;
    DataGenStep step;
};
std::vector<Registered>& steps() {
    static std::vector<Registered> list;
    return list;
}
}  // namespace

bool registerDataGenStep(const char* name, int order, DataGenStep step) {
    steps().push_back({name, order, step});
    return true;
}

bool isOutOfDate(const std::filesystem::path& target, std::initializer_list<std::filesystem::path> sources) {
    std::error_code ec;
    if (!std::filesystem::exists(target, ec)) return true;
    auto built = std::filesystem::last_write_time(target, ec);
    if (ec) return true;
    for (const auto& s : sources) {
        if (s.empty()) continue;   // no such source (the generator's own path when unknown)
        auto t = std::filesystem::last_write_time(s, ec);
        if (ec || t > built) return true;
    }
    return false;
}

int main(int argc, char** argv) {
    std::vector<std::string> only;
    bool usage = argc < 3;
    for (int i = 3; i < argc && !usage; i += 2) {
        if (std::string(argv[i]) != "--step" || i + 1 >= argc) usage = true;
        else only.push_back(argv[i + 1]);
    }
    if (usage) {
        std::fprintf(stderr, "usage: datagen SOURCE_DIR OUT_DIR [--step NAME]...\n");
        return 2;
    }
    std::error_code ignored;
    DataGenContext context{argv[1], argv[2], std::filesystem::read_symlink("/proc/self/exe", ignored)};
    std::filesystem::create_directories(context.out);
    auto list = steps();
    std::stable_sort(list.begin(), list.end(), [](const Registered& a, const Registered& b) { return a.order < b.order; });
    for (const auto& s : list) {
        if (!only.empty() && std::find(only.begin(), only.end(), s.name) == only.end()) continue;
        try {
            s.step(context);
        } catch (...) {
            std::string text;
            if (!failureText(std::current_exception(), &text)) text = "an unknown failure";
            std::fprintf(stderr, "datagen: step %s failed: %s\n", s.name.c_str(), text.c_str());
            return 1;
        }
    }
    return 0;
}
