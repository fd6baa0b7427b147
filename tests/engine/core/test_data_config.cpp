// The built Data folder: every INI file reads cleanly, and the start-up files carry every key
// the engine reads or writes back.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/cIniFile.h"

namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(RW_DIST_DIR) / "Data";

std::unique_ptr<cIniFile> readIni(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return cIniFile::fromBytes(bytes.data(), bytes.size(), cStringA(path.string()));
}

TEST(DataConfig, EveryIniFileOfTheDataFolderReads) {
    ASSERT_TRUE(fs::is_directory(kData)) << kData;
    int count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kData)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".ini") continue;
        ++count;
        SCOPED_TRACE(entry.path().string());
        std::unique_ptr<cIniFile> doc;
        try {
            doc = readIni(entry.path());
        } catch (const cStringA& text) {
            ADD_FAILURE() << text;
            continue;
        }
        // A file with sections but no entries means broken line ends.
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bool hasHeader = bytes.find(std::string("[\0", 2)) != std::string::npos;
        bool hasEquals = bytes.find(std::string("=\0", 2)) != std::string::npos;
        if (hasHeader && hasEquals) {
            EXPECT_FALSE(doc->isEmpty());
        }
        // Every value reads back unchanged after the settings writer.
        for (const auto& e : doc->getEntries()) EXPECT_TRUE(cIniFile::canStore(e.value)) << e.key.toNarrow();
    }
    EXPECT_GE(count, 4);
}

struct RequiredKeys {
    const char* file;
    const wchar_t* section;
    std::vector<const wchar_t*> keys;
};

TEST(DataConfig, StartupFilesCarryEveryKey) {
    const RequiredKeys required[] = {
        {"config/config.ini", L"Game", {L"window_title", L"app_folder", L"debug_cheats", L"service_debug_cheats"}},
        {"config/config.ini",
         L"Graphics",
         {L"width", L"height", L"colorbit", L"refrashrate", L"v_sync", L"fullscreen", L"reserve_sprite_count",
          L"show_triangles", L"show_fps", L"show_cursor_pos", L"show_custom_info", L"hardware_cursor", L"mouse_mul",
          L"show_logo"}},
        {"config/config.ini", L"Sound", {L"music_volume", L"sound_volume"}},
        {"config/config.ini",
         L"Performance",
         {L"check_hardware_requirements", L"enable_full_effects", L"perform_performance_test"}},
        {"config/config.ini", L"Statistics", {L"use"}},
        {"config/version.ini", L"UserData", {L"version"}},
        {"config/performance.ini", L"HardwareRequirements_NTDesktop", {L"cpu_frequency", L"system_memory", L"video_memory"}},
        {"config/performance.ini", L"HardwareRequirements_NTLaptop", {L"cpu_frequency", L"system_memory", L"video_memory"}},
        {"config/performance.ini", L"HardwareRequirements_VistaDesktop", {L"cpu_frequency", L"system_memory", L"video_memory"}},
        {"config/performance.ini", L"HardwareRequirements_VistaLaptop", {L"cpu_frequency", L"system_memory", L"video_memory"}},
        {"config/language.ini", L"Localization", {L"CodePage", L"Language"}},
    };
    for (const auto& r : required) {
        auto doc = readIni(kData / r.file);
        for (const wchar_t* key : r.keys)
            EXPECT_FALSE(doc->getValue(r.section, key).isEmpty())
                << r.file << " [" << cStringW(r.section).toNarrow() << "] " << cStringW(key).toNarrow();
    }
    auto settings = readIni(kData / "config/config.ini");
    EXPECT_EQ(settings->getValue(L"Graphics", L"width").str(), L"800");
    EXPECT_EQ(settings->getValue(L"Graphics", L"height").str(), L"600");
    std::wstring app = settings->getValue(L"Game", L"app_folder");
    EXPECT_EQ(app.find_first_of(L"/\\"), std::wstring::npos);
}

}  // namespace
