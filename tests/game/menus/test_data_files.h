#pragma once
// Reading the built Data folder in the data tests of the front end.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/core/cIniFile.h"

namespace data_files {

inline const std::filesystem::path kData = std::filesystem::path(RW_DIST_DIR) / "Data";

inline bool existsOnDisk(const std::string& name) {
    return std::filesystem::exists(kData / cStringA(name).makeLower().str());
}

inline std::string readBytes(const std::string& name) {
    std::ifstream in(kData / cStringA(name).makeLower().str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::unique_ptr<cIniFile> loadIni(const std::string& name) {
    const std::string bytes = readBytes(name);
    auto ini = cIniFile::fromBytes(bytes.data(), bytes.size(), cStringA(name));
    EXPECT_FALSE(ini->isEmpty()) << name << ": missing or without entries";
    return ini;
}

// Keys whose value names a file (texture, font, INI), also in the widgets' style files.
inline bool namesFile(const std::wstring& key) {
    for (const wchar_t* k : {L"picture", L"path", L"texture", L"font", L"ini", L"background_texture", L"name_font",
                             L"name_font_param", L"name_pic"})
        if (key == k) return true;
    for (const wchar_t* prefix : {L"picture_", L"texture_", L"font_", L"name_pic_"})
        if (key.rfind(prefix, 0) == 0) return true;
    return false;
}

}  // namespace data_files
