#pragma once
// Helpers shared by the fuzz targets.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/scene/cSceneNode.h"
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

// Unloads and loads again each named INI (group 11); false when one is refused.
template <size_t N>
bool reloadInis(cResourceManager& resources, const char* const (&names)[N]) {
    for (const char* name : names) {
        resources.unload(name);
        try {
            resources.load(name, 11);
        } catch (...) {
            return false;
        }
    }
    return true;
}

// Scene services for targets that run states or screens without the engine: a clock of fixed
// steps, one square texture for every name (never drawn), a pointer the target moves, and the
// input bindings kept so that the target can fire them.
class SceneServices : public cSceneServices {
public:
    explicit SceneServices(float step = 0.1f, float textureSide = 32.0f) : m_step(step), m_side(textureSide) {}
    float getGameDelta() override { return m_step; }
    float getRealDelta() override { return m_step; }
    cVector2 getMousePosition() override { return mouse; }
    cVector2 getScreenSize() override { return cVector2(800, 600); }
    cTexture* getTexture(const cStringA&) override { return reinterpret_cast<cTexture*>(&m_texture); }
    cVector2 getTextureImageSize(cTexture* t) override { return t ? cVector2(m_side, m_side) : cVector2(); }
    cVector2 getTextureSize(cTexture* t) override { return getTextureImageSize(t); }
    void addBinding(InputCode code, InputCallback callback, void* object) override {
        bindings[code].emplace_back(callback, object);
    }
    void removeBinding(InputCode code, InputCallback callback, void* object) override {
        auto& list = bindings[code];
        list.erase(std::remove(list.begin(), list.end(), std::make_pair(callback, object)), list.end());
    }
    // Calls the listeners of a code bound now (each only while it is still bound).
    void fire(InputCode code) {
        const auto listeners = bindings[code];
        for (const auto& listener : listeners) {
            const auto& now = bindings[code];
            if (std::find(now.begin(), now.end(), listener) != now.end()) listener.first(listener.second);
        }
    }

    // The typed-text listener (one at a time, as the input manager keeps it).
    void setCharListener(CharCallback callback, void* user) override {
        charListener = callback;
        charUser = user;
    }
    void clearCharListener() override { charListener = nullptr; }
    void type(wchar_t character) {
        if (charListener) charListener(character, charUser);
    }

    // Deletes what a run built and forgets every binding: a node whose construction failed
    // left no object to unbind.
    void endRun(cSceneNode* node) {
        delete node;
        updateTopLevelNodes(nullptr);
        bindings.clear();
    }

    cVector2 mouse;
    std::map<InputCode, std::vector<std::pair<InputCallback, void*>>> bindings;
    CharCallback charListener = nullptr;
    void* charUser = nullptr;

private:
    float m_step;
    float m_side;
    int m_texture = 0;
};

// The document that every INI file loaded after serveDocumentAsEveryIni is made from.
inline std::string& servedDocument() {
    static std::string document;
    return document;
}
inline void serveDocumentAsEveryIni() {
    cResourceManager::registerFactory(RESOURCE_INI, [](const cStringA& name, int) -> cResource* {
        const std::string& document = servedDocument();
        return cIniFile::fromBytes(document.data(), document.size(), name).release();
    });
}

}  // namespace fuzz
