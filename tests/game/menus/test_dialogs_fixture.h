#pragma once
// The options and player dialogs on the running headless core (test_menus_fixture.h): a
// shown, enabled root node stands in for the root game object as their parent, and helpers
// wait for a dialog to settle, type text, answer with keys and watch the save file and the
// sample channels.

#include <filesystem>

#include "engine/app/cLogic.h"
#include "engine/core/cFileManager.h"
#include "engine/media/cSound.h"
#include "engine/scene/cButton.h"
#include "tests/game/menus/test_menus_fixture.h"

namespace menus_test {

class DialogFixture : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        groups->loadMenu();
        root.reset(new cSceneNode(nullptr));
        root->show();
        root->enable();
    }
    void TearDown() override {
        root.reset();
        if (groups) groups->unloadMenu();
        MenuFixture::TearDown();
    }
    std::filesystem::path savePath() const {
        return std::filesystem::path(getFileManager()->resolvePath(cStringA("$common$/data.ssp")).str());
    }
    // Removes the save file, so that the next save shows.
    void forgetSave() {
        std::error_code ec;
        std::filesystem::remove(savePath(), ec);
    }
    bool saved() const { return std::filesystem::exists(savePath()); }
    // The newest sample channel: a new value means a sample was played.
    platform::audio::Handle lastSample() const {
        const auto& channels = getSound()->sampleChannels();
        return channels.empty() ? 0 : channels.back();
    }
    void typeText(const std::wstring& text) {
        for (wchar_t c : text) getInput()->pushChar(c);
        frame();
    }
    // A key pressed in one frame and released in the next.
    void key(uint8_t code) { pressKey(code); }
    void click(cButton* button) { button->getClickHandler()(button); }
    bool paused() const { return getLogic()->isPaused(); }

    std::unique_ptr<cSceneNode> root;
};

}  // namespace menus_test
