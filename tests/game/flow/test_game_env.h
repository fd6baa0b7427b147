#pragma once
// A running game in a test: the built Data folder copied into a temporary folder (its textures
// and sounds hard-linked, see DataFolder) and completed
// with small fixture files where the data build has not made them yet (sound declarations,
// music, loading-screen and cursor configuration, and a tiny texture for every name the
// loading screens, the cursor, the states and the world lists ask for), the
// engine core over it on the headless backend, and a clock that moves 16 ms with every frame.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/app/cLogic.h"
#include "engine/app/cRenderWren.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/ImageDecoder.h"
#include "engine/media/cGraphics.h"
#include "game/data/WorldTextures.h"
#include "platform/Platform.h"
#include "tests/engine/core/test_core_env.h"
#include "tests/engine/media/test_graphics_support.h"

namespace game_test {

// UTF-16LE with a byte-order mark and CR LF line ends, from ASCII text with "\n" lines.
inline std::string iniBytes(const std::string& text) {
    std::string out = "\xFF\xFE";
    for (char c : text) {
        if (c == '\n') out += std::string("\r\0", 2);
        out += c;
        out += '\0';
    }
    return out;
}

inline std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The names the states, the panels, the loading screens and the cursor draw.
inline const std::vector<std::string>& fixtureTextures() {
    static const std::vector<std::string> names = {
        "menu/loader/loader_back.dds",   "menu/loader/loader_bar.dds",      "menu/loader/start_back.dds",
        "menu/loader/start_logo.dds",    "menu/loader/start_caption.dds",   "menu/loader/start_bar.dds",
        "menu/cursor/cursor_normal.dds", "menu/cursor/cursor_active.dds",   "menu/cursor/cursor_pressed.dds",
        "menu/custom/logo_back.dds",     "comics/comics_back.dds",          "menu/surfaces/menu_back.dds",
        "shop/interface/shop_back.dds",  "minigame1/minigame_back.dds",     "menu/buttons/confirm_panel.dds",
        "game/interface/hints/hint_sub.dds",
    };
    return names;
}

// Configuration of the loading screens and the cursor with known values, for tests that
// measure them (written over the data build's files by those tests).
inline const char* const kLoaderIni =
    "[COMMON]\ntexture_loading=\"Menu/Loader/loader_back.dds\"\ntexture_progress=\"Menu/Loader/loader_bar.dds\"\n"
    "position_loading=\"400,300\"\nposition_progress=\"400,500\"\nrect_progress=\"0,0,400,32\"\n"
    "size_progress=\"400,32\"\n";
inline const char* const kStartLoaderIni =
    "[COMMON]\ntexture_background=\"Menu/Loader/start_back.dds\"\ntexture_logo=\"Menu/Loader/start_logo.dds\"\n"
    "texture_loading=\"Menu/Loader/start_caption.dds\"\ntexture_progress=\"Menu/Loader/start_bar.dds\"\n"
    "position_background=\"400,300\"\nposition_logo=\"400,200\"\nposition_loading=\"400,450\"\n"
    "position_progress=\"400,500\"\nrect_progress=\"0,0,400,32\"\nsize_progress=\"400,32\"\n";
inline const char* const kCursorIni =
    "[COMMON]\ndeep=\"20000\"\ncentered=\"0\"\npicture=\"Menu/Cursor/cursor_normal.dds\"\n"
    "picture_normal=\"Menu/Cursor/cursor_normal.dds\"\npicture_active=\"Menu/Cursor/cursor_active.dds\"\n"
    "picture_pressed=\"Menu/Cursor/cursor_pressed.dds\"\n";

class DataFolder {
public:
    explicit DataFolder(const std::filesystem::path& root) : m_data(root / "Data") {
        copyBuiltData();
        completeWithFixtures();
    }
    const std::filesystem::path& path() const { return m_data; }

    bool exists(const std::string& name) const { return std::filesystem::exists(m_data / lower(name)); }
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::path p = m_data / lower(name);
        std::filesystem::create_directories(p.parent_path());
        std::filesystem::remove(p);   // never through a link into the built folder
        std::ofstream(p, std::ios::binary) << bytes;
    }
    void writeIni(const std::string& name, const std::string& text) const { write(name, iniBytes(text)); }
    void writeTexture(const std::string& name, uint32_t w, uint32_t h, uint32_t argb) const {
        cImage image;
        image.width = w;
        image.height = h;
        image.pixels.assign(size_t(w) * h, argb);
        std::vector<uint8_t> dds = encodeDds(image);
        write(name, std::string(dds.begin(), dds.end()));
    }
    // Writes the file only when the data build has not made it.
    void writeIniIfMissing(const std::string& name, const std::string& text) const {
        if (!exists(name)) writeIni(name, text);
    }
    void writeTextureIfMissing(const std::string& name, uint32_t w, uint32_t h, uint32_t argb) const {
        if (!exists(name)) writeTexture(name, w, h, argb);
    }

private:
    // Textures and sounds, almost all of the folder's bytes and never written by the game, are
    // hard-linked where the file system allows; everything else is copied, so the game and the
    // tests may change it.
    void copyBuiltData() const {
        namespace fs = std::filesystem;
        const fs::path from = builtDataFolder();
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
            const fs::path to = m_data / fs::relative(entry.path(), from);
            if (entry.is_directory()) {
                fs::create_directories(to);
                continue;
            }
            const std::string ext = lower(entry.path().extension().string());
            if (ext == ".dds" || ext == ".ogg") {
                std::error_code failed;
                fs::create_hard_link(entry.path(), to, failed);
                if (!failed) continue;
            }
            fs::copy_file(entry.path(), to);
        }
    }

    void completeWithFixtures() const {
        for (const char* ini : {"config/game/sounds_game_interface.ini", "config/game/sounds_game.ini",
                                "config/menu/sounds_menu.ini", "config/shop/sounds_shop.ini",
                                "config/minigame1/sounds_minigame1.ini"})
            writeIniIfMissing(ini, "");
        writeIniIfMissing("config/common/music.ini",
                          "[MUSIC]\ngame1=\"1\"\ngame2=\"2\"\ngame3=\"3\"\nminigame=\"4\"\nmainmenu=\"5 6\"\n"
                          "music_1=\"music/world1.ogg\"\nmusic_2=\"music/world2.ogg\"\nmusic_3=\"music/world3.ogg\"\n"
                          "music_4=\"music/minigame.ogg\"\nmusic_5=\"music/menu1.ogg\"\nmusic_6=\"music/menu2.ogg\"\n");
        writeIniIfMissing("config/menu/loader.ini", kLoaderIni);
        writeIniIfMissing("config/menu/loader_start.ini", kStartLoaderIni);
        writeIniIfMissing("config/common/cursor.ini", kCursorIni);
        uint32_t colour = 0xFF204060u;
        for (const std::string& name : fixtureTextures()) writeTextureIfMissing(name, 8, 8, colour += 0x102030u);
        for (int world = 1; world <= 3; ++world)
            for (const std::string& name : world_textures::allUpgradeAndTimeFiles(world))
                writeTextureIfMissing(name, 4, 4, 0xFF806040u);
        for (int level = 1; level <= 4; ++level)
            for (const std::string& name : world_textures::tutorialFiles(level)) writeTextureIfMissing(name, 4, 4, 0xFF404080u);
    }

    std::filesystem::path m_data;
};

// Every frame moves the test clock 16 ms, also the frames a loading screen runs.
inline void advanceClockEachFrame() { platform::advanceTestClock(16); }

class GameEnvironment {
public:
    GameEnvironment() : data(env.root()) {}
    ~GameEnvironment() { stop(); }

    // The core over the data folder; settings changed here before the game is made.
    void startCore() {
        core.reset(new cRenderWren(data.path().c_str(), nullptr, nullptr));
        ASSERT_TRUE(core->isStarted()) << getErrorCallStack();
        getLogic()->setFrameHook(advanceClockEachFrame);
        // As the entry function does before it makes the game.
        getResourceManager()->registerExtension(cStringA("qpk"), RESOURCE_XML);
    }
    void stop() {
        if (cLogic* logic = getLogic()) logic->setFrameHook(nullptr);
        core.reset();
    }
    void setGameSetting(const wchar_t* key, bool value) { getSettingsManager()->setBool(L"Game", key, value); }

    void frame() { getLogic()->frame(); }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
    // Frames until the condition holds, at most limit; false when it never did.
    template <class Cond>
    bool framesUntil(Cond&& cond, int limit = 400) {
        for (int i = 0; i < limit; ++i) {
            if (cond()) return true;
            frame();
        }
        return cond();
    }
    // The last drawn frame, written to the test output as a PNG.
    void saveFrame(const std::string& fileName) {
        std::vector<uint32_t> pixels;
        uint32_t w = 0, h = 0;
        ASSERT_EQ(getGraphics()->readBackBuffer(&pixels, &w, &h), 0);
        ASSERT_TRUE(render_test::saveTestFrame(pixels, w, h, "game/" + fileName));
    }
    // Dispatches every waiting message as the loop would; true when the quit message came.
    bool pump() {
        bool quit = false;
        platform::Message m;
        while (platform::peekMessage(&m)) {
            if (m.message == platform::MSG_QUIT) {
                quit = true;
                continue;
            }
            platform::dispatchMessage(m);
        }
        return quit;
    }

    TempEnvironment env;
    DataFolder data;
    std::unique_ptr<cRenderWren> core;
};

}  // namespace game_test
