#pragma once
// A private world for file tests: a temporary folder holding a data folder and the two XDG
// folders, with XDG_DATA_HOME and XDG_CONFIG_HOME pointed at it (never the real home).

#include <stdlib.h>

#include <cstdint>
#include <cwchar>
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

// UTF-16LE with a byte-order mark, for wide text (one UTF-16 unit per character).
inline std::string utf16(const std::wstring& text) {
    std::string out("\xFF\xFE", 2);
    for (wchar_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

// A 32-bit little-endian number as stored in the binary formats.
inline std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int k = 0; k < 4; ++k) s[k] = static_cast<char>(v >> (8 * k));
    return s;
}

// The text a call throws (narrow or wide, the wide one marked), or "(nothing thrown)".
template <class Fn>
std::string thrownText(Fn fn) {
    try {
        fn();
    } catch (const std::string& s) {
        return s;
    } catch (const char* s) {
        return s;
    } catch (const wchar_t* s) {
        return "wide:" + std::string(s, s + std::wcslen(s));
    }
    return "(nothing thrown)";
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
