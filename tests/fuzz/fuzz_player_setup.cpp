// Runs the player screen (screen 7, with the shipped layout) over a save made from the input,
// or taken from it as it is, and plays the rest of the input as typed characters, keys and
// clicks. After every step the rows must be the stored names in profile order, the selection
// the current profile, and every name at most 63 units long.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "engine/media/cBitmapFont.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cListBox.h"
#include "engine/scene/cSceneNode.h"
#include "game/data/cGameData.h"
#include "game/data/cProfile.h"
#include "game/menus/cMenuPanel.h"
#include "game/menus/cScreenPlayerSetup.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Every INI comes from the sources of the Data folder (ASCII text).
std::string sourceIni(const cStringA& name) {
    std::ifstream in(std::string(RW_SOURCE_DIR) + "/data/" + cStringA(name).makeLower().str(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return fuzz::iniBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// One font for every name: the characters of the game's fonts, each 1.6 pixels wide on the
// 32-pixel textures of the services, so the name field takes far more than 63 of them.
std::string fontBytes() {
    std::vector<uint16_t> characters;
    for (uint16_t c = 0x20; c <= 0x17F; ++c) characters.push_back(c);
    for (uint16_t c = 0x400; c <= 0x45F; ++c) characters.push_back(c);
    std::string out("TFWR");
    auto put = [&](const void* p, size_t n) { out.append(static_cast<const char*>(p), n); };
    const uint16_t count = uint16_t(characters.size());
    put(&count, 2);
    for (uint16_t c : characters) {
        const float values[5] = {0.0f, 0.0f, 0.05f, 0.5f, 0.05f};
        put(&c, 2);
        put(values, sizeof values);
    }
    out.append(8, '\0');
    return out;
}

// A level pack of 20 plain levels for each world.
std::unique_ptr<cXmlNode> g_pack;

struct World {
    fuzz::SceneServices services;
    std::unique_ptr<cResourceManager> resources;
    std::string folder;
    World() {
        setSceneServices(&services);
        cResourceManager::registerFactory(RESOURCE_INI, [](const cStringA& name, int) -> cResource* {
            const std::string bytes = sourceIni(name);
            return cIniFile::fromBytes(bytes.data(), bytes.size(), name).release();
        });
        cResourceManager::registerFactory(RESOURCE_FONT, [](const cStringA& name, int group) -> cResource* {
            const std::string bytes = fontBytes();
            return new cBitmapFont(name, group, bytes.data(), bytes.size());
        });
        resources = std::make_unique<cResourceManager>();
        for (const char* name : {cScreenPlayerSetup::kConfig, "Config/Menu/button_style.ini", "Config/Menu/edit_style.ini",
                                 "Fonts/main.rwf", "Fonts/bold.rwf"})
            resources->load(name, 11);
        std::string xml = "<Pack count_levels=\"20\">";
        for (int l = 1; l <= 20; ++l) xml += "<Level_" + std::to_string(l) + " goal=\"100\" expert=\"200\"/>";
        xml += "</Pack>";
        const std::string utf16 = fuzz::iniBytes(reinterpret_cast<const uint8_t*>(xml.data()), xml.size());
        g_pack = cXmlNode::fromBytes(utf16.data(), utf16.size(), cStringA("packs/fuzz.qpk"));
        char pattern[] = "/tmp/rw-fuzz-players-XXXXXX";
        folder = mkdtemp(pattern) ? std::string(pattern) + "/" : std::string("/tmp/");
        auto& data = cGameData::services();
        data = cGameData::Services();
        data.commonFolder = [this] { return folder; };
        data.getPack = [](const cStringA&) -> const cXmlNode* { return g_pack.get(); };
    }
};

// Reads the input from the front.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool more() const { return at < size; }
    uint8_t byte() { return at < size ? data[at++] : 0; }
    wchar_t unit() { return wchar_t(byte() | byte() << 8); }
};

void writeSave(const std::string& folder, Reader& in) {
    std::vector<uint8_t> bytes;
    if (in.byte() & 1) {
        // Raw bytes, damaged saves among them.
        const size_t n = std::min<size_t>(in.byte() | in.byte() << 8, in.size - in.at);
        bytes.assign(in.data + in.at, in.data + in.at + n);
        in.at += n;
    } else {
        SaveImage image;
        const int count = in.byte() % 8;
        for (int i = 0; i < count; ++i) {
            std::wstring name;
            for (int n = in.byte() % 72; n > 0; --n) name.push_back(in.unit());
            cProfile profile;
            profile.setName(name);
            image.profiles.push_back(profile);
        }
        image.currentProfile = count ? in.byte() % count : -1;
        image.soundVolume = 50;
        image.musicVolume = 50;
        bytes = encodeSaveFile(image);
    }
    std::ofstream(folder + "data.ssp", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                              std::streamsize(bytes.size()));
}

void check(const cScreenPlayerSetup& screen, const cGameData& data) {
    const cListBox& list = *screen.getList();
    if (list.getItemCount() != data.getProfileCount() || screen.getListedCount() != data.getProfileCount()) std::abort();
    for (int i = 0; i < data.getProfileCount(); ++i) {
        const cStringW name = data.getProfileNameAt(i);
        if (!list.getItemText(i).equals(name) || name.size() > size_t(cProfile::kNameUnits - 1)) std::abort();
    }
    if (data.getProfileCount() > 0 && list.getSelected() != data.getCurrentProfileIndex()) std::abort();
}

void clickAt(World& world, const cVector2& at) {
    world.services.mouse = at;
    world.services.fire(INPUT_LEFT_PRESSED);
    world.services.fire(INPUT_LEFT_RELEASED);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();
    Reader in{data, size};
    std::filesystem::remove(world->folder + "data.ssp");
    writeSave(world->folder, in);
    std::unique_ptr<cGameData> game;
    try {
        game = std::make_unique<cGameData>(true, cStringA());
    } catch (...) {
        return 0;
    }
    auto* root = new cSceneNode(nullptr);
    root->show();
    root->enable();
    try {
        auto* screen = new cScreenPlayerSetup(root);
        check(*screen, *game);
        for (int step = 0; step < 400 && in.more(); ++step) {
            const uint8_t op = in.byte();
            switch (op % 12) {
            case 0: world->services.type(in.unit()); break;
            case 1: world->services.fire(keyPressedCode(KEY_ENTER)); break;
            case 2: world->services.fire(keyPressedCode(KEY_ESCAPE)); break;
            case 3: clickAt(*world, screen->getNewButton()->getPosition()); break;
            case 4: clickAt(*world, screen->getDeleteButton()->getPosition()); break;
            case 5: clickAt(*world, screen->getOkButton()->getPosition()); break;
            case 6: clickAt(*world, screen->getNewOkButton()->getPosition()); break;
            case 7: clickAt(*world, screen->getNewCancelButton()->getPosition()); break;
            case 8: clickAt(*world, screen->getDeleteYesButton()->getPosition()); break;
            case 9: clickAt(*world, screen->getExistOkButton()->getPosition()); break;
            case 10: {
                const cListBox& list = *screen->getList();
                const float row = float(in.byte() % 8) + 0.5f;
                clickAt(*world, cVector2(list.getFirstItemPosition().x, list.getFirstItemPosition().y + list.getPitch() * row));
                break;
            }
            default:
                for (int n = in.byte() % 12; n >= 0; --n) updateTopLevelNodes(&updateNode);
                break;
            }
            updateTopLevelNodes(&updateNode);
            check(*screen, *game);
            if (screen->isFinished()) break;
        }
    } catch (...) {
        // A text failure (a save the game data refused) ends the run.
    }
    delete root;
    updateTopLevelNodes(nullptr);
    world->services.bindings.clear();
    world->services.clearCharListener();
    return 0;
}
