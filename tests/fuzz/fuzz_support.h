#pragma once
// Helpers shared by the fuzz targets.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/scene/cSceneServices.h"

namespace fuzz {

// Scene services with a clock of 0.1 s steps and one 32 x 32 texture for every name (never
// drawn).
class FixedStepServices : public cSceneServices {
public:
    float getGameDelta() override { return 0.1f; }
    float getRealDelta() override { return 0.1f; }
    cTexture* getTexture(const cStringA&) override { return reinterpret_cast<cTexture*>(&m_texture); }
    cVector2 getTextureImageSize(cTexture* t) override { return t ? cVector2(32, 32) : cVector2(); }
    cVector2 getTextureSize(cTexture* t) override { return getTextureImageSize(t); }

private:
    int m_texture = 0;
};

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
