// datagen SOURCE_DIR OUT_DIR: builds the Data folder from data/.
#include <algorithm>
#include <cstdio>
#include <vector>

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
        auto t = std::filesystem::last_write_time(s, ec);
        if (ec || t > built) return true;
    }
    return false;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: datagen SOURCE_DIR OUT_DIR\n");
        return 2;
    }
    DataGenContext context{argv[1], argv[2]};
    std::filesystem::create_directories(context.out);
    auto list = steps();
    std::stable_sort(list.begin(), list.end(), [](const Registered& a, const Registered& b) { return a.order < b.order; });
    for (const auto& s : list) {
        try {
            s.step(context);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "datagen: step %s failed: %s\n", s.name.c_str(), e.what());
            return 1;
        } catch (const char* e) {
            std::fprintf(stderr, "datagen: step %s failed: %s\n", s.name.c_str(), e);
            return 1;
        } catch (const std::string& e) {
            std::fprintf(stderr, "datagen: step %s failed: %s\n", s.name.c_str(), e.c_str());
            return 1;
        }
    }
    return 0;
}
