// The generated sounds: every file listed in data/sounds/sounds.txt is in the built Data
// folder, decodes, and lasts as long as its line says.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/audio/Audio.h"

namespace au = platform::audio;

namespace {

TEST(SoundData, EveryListedSoundIsBuiltAndDecodes) {
    std::ifstream list(std::string(RW_SOURCE_DIR) + "/data/sounds/sounds.txt");
    ASSERT_TRUE(list.good());
    std::string line;
    int count = 0;
    while (std::getline(list, line)) {
        std::istringstream words(line);
        std::string path, kind;
        double seconds = 0;
        if (!(words >> path) || path[0] == '#') continue;
        ASSERT_TRUE(words >> kind >> seconds) << line;
        EXPECT_EQ(path, [&] { std::string l = path; for (auto& c : l) c = char(std::tolower(c)); return l; }()) << "names are lower case";
        std::ifstream in(std::string(RW_DIST_DIR) + "/Data/" + path, std::ios::binary);
        ASSERT_TRUE(in.good()) << path << " was not built";
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        auto pcm = au::decodeOgg(bytes.data(), bytes.size());
        EXPECT_NEAR(double(pcm->frameCount()) / au::kOutputRate, seconds, 0.01) << path;
        ++count;
    }
    EXPECT_GT(count, 80);
}

}  // namespace
