#pragma once
// Helpers shared by the fuzz targets.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The input as the bytes of an INI file: UTF-16LE with the mark, one character per input
// byte; a lone LF becomes CR LF.
inline std::string iniBytes(const uint8_t* data, size_t size) {
    std::string out("\xFF\xFE", 2);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' && (i == 0 || data[i - 1] != '\r')) out.append("\r\0", 2);
        out.push_back(static_cast<char>(data[i]));
        out.push_back('\0');
    }
    return out;
}

}  // namespace fuzz
