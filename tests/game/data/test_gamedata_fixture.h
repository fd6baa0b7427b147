#pragma once
// Shared set-up of the game data tests: a temporary common folder, level packs built in
// memory, recorded settings, volumes, pauses and log lines.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cXmlNode.h"
#include "game/data/cGameData.h"

namespace gamedata_test {

// UTF-16LE bytes with a byte-order mark of ASCII/UTF-8 text (code points below U+10000).
inline std::vector<uint8_t> utf16(const std::string& text) {
    std::vector<uint8_t> out = {0xFF, 0xFE};
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        uint32_t cp = c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra) cp = c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k) cp = (cp << 6) | (text[i + k] & 0x3F);
        i += 1 + extra;
        out.push_back(static_cast<uint8_t>(cp & 0xFF));
        out.push_back(static_cast<uint8_t>((cp >> 8) & 0xFF));
    }
    return out;
}

inline std::unique_ptr<cXmlNode> parseXml(const std::string& text, const std::string& name = "test.qpk") {
    auto bytes = utf16(text);
    return cXmlNode::fromBytes(bytes.data(), bytes.size(), cStringA(name));
}

// Attributes of one level element, by name; "" leaves an attribute out.
using LevelAttributes = std::map<std::string, std::string>;

// A pack of `count` levels whose attributes come from attributesOf(level in pack).
inline std::string packText(int count, int graphicsSet, const std::function<LevelAttributes(int)>& attributesOf,
                            int elements = -1) {
    if (elements < 0) elements = count;
    std::string t = "<pack count_levels=\"" + std::to_string(count) + "\">\n";
    for (int n = 1; n <= elements; ++n) {
        LevelAttributes a = {{"num_graphics_set", std::to_string(graphicsSet)},
                             {"min_goal", "100"},
                             {"goal", std::to_string(50 + n)},
                             {"expert", std::to_string(90 + n)},
                             {"level_time", std::to_string(100 + n) + ".5"}};
        if (attributesOf)
            for (const auto& [k, v] : attributesOf(n)) a[k] = v;
        t += "<Level_" + std::to_string(n);
        for (const auto& [k, v] : a)
            if (!v.empty()) t += " " + k + "=\"" + v + "\"";
        t += "><Line_1><Human_1 type=\"1\" order_1=\"5\" time=\"1\" abs_time=\"1\"/></Line_1></Level_" +
             std::to_string(n) + ">\n";
    }
    return t + "</pack>\n";
}

class GameDataFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        m_folder = std::filesystem::path(RW_TEST_OUTPUT_DIR) / "gamedata" / name;
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        // Default packs: three worlds of 20 levels; the hard world 1 differs in goal.
        setPack("Packs/1/pack.qpk", packText(20, 1, nullptr));
        setPack("Packs/1/pack2.qpk", packText(20, 1, [](int) { return LevelAttributes{{"goal", "77"}}; }));
        setPack("Packs/2/pack.qpk", packText(20, 2, nullptr));
        setPack("Packs/3/pack.qpk", packText(20, 3, nullptr));
        m_saved = cGameData::services();
        auto& s = cGameData::services();
        s.commonFolder = [this] { return m_folder.string() + "/"; };
        s.getPack = [this](const cStringA& name) -> const cXmlNode* {
            auto it = m_packs.find(name);
            if (it == m_packs.end()) throw cStringA("Resource '" + name + "' is not loaded.");
            return it->second.get();
        };
        s.readSetting = [this](const char* section, const char* key, int32_t* value) {
            auto it = m_settings.find(std::string(section) + "/" + key);
            if (it == m_settings.end()) return false;
            *value = it->second;
            return true;
        };
        s.applyVolumes = [this](int32_t sound, int32_t music) { m_applied = {sound, music}; };
        s.sleep = [this](int ms) { m_sleeps.push_back(ms); };
        s.log = [this](const std::string& line) { m_log.push_back(line); };
    }
    void TearDown() override {
        m_data.reset();
        cGameData::services() = m_saved;
    }

    void setPack(const std::string& name, const std::string& text) { m_packs[name] = parseXml(text, name); }
    cGameData& make(bool normal = true, const std::string& pack = "") {
        m_data.reset();
        m_data = std::make_unique<cGameData>(normal, cStringA(pack));
        return *m_data;
    }
    std::filesystem::path savePath() const { return m_folder / "data.ssp"; }
    std::vector<uint8_t> readSave() const {
        std::ifstream in(savePath(), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void writeSave(const std::vector<uint8_t>& bytes) const {
        std::ofstream out(savePath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path m_folder;
    std::map<std::string, std::unique_ptr<cXmlNode>> m_packs;
    std::map<std::string, int32_t> m_settings;
    std::pair<int32_t, int32_t> m_applied{-100, -100};
    std::vector<int> m_sleeps;
    std::vector<std::string> m_log;
    std::unique_ptr<cGameData> m_data;
    cGameData::Services m_saved;
};

}  // namespace gamedata_test
