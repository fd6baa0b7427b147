#pragma once
// A private world for file tests: a temporary folder holding a data folder and the two XDG
// folders, with XDG_DATA_HOME and XDG_CONFIG_HOME pointed at it (never the real home).

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace file_test {

namespace fs = std::filesystem;

inline std::string readDiskFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeDiskFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void writeDiskFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    writeDiskFile(path, std::string(bytes.begin(), bytes.end()));
}

// UTF-16LE with a byte-order mark, as the data build writes INI files.
inline std::string utf16Ini(const std::string& ascii) {
    std::string out("\xFF\xFE", 2);
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

class TempWorld {
public:
    TempWorld() {
        fs::path base = fs::temp_directory_path() / "rw-files-XXXXXX";
        std::string pattern = base.string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        char* made = ::mkdtemp(buffer.data());
        root = fs::path(made ? made : pattern);
        data = root / "Data";
        xdgData = root / "xdg-data";
        xdgConfig = root / "xdg-config";
        fs::create_directories(data);
        ::setenv("XDG_DATA_HOME", xdgData.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", xdgConfig.c_str(), 1);
    }
    ~TempWorld() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    TempWorld(const TempWorld&) = delete;
    TempWorld& operator=(const TempWorld&) = delete;

    // A file under the data folder (relative path in the case given).
    void put(const std::string& relative, const std::string& bytes) const { writeDiskFile(data / relative, bytes); }
    std::string dataArg() const { return data.string(); }

    fs::path root, data, xdgData, xdgConfig;
};

}  // namespace file_test
