#pragma once
// The fixture of the text and widget tests: the fake scene services with the real input
// manager behind their input calls (events injected on the headless backend), a sound manager
// that records the samples played, and a resource manager over a private data folder holding
// test fonts and style INIs.
//
// The fixed font "fonts/fixed.rwf" (image "fonts/fixed.png", 120 x 200 pixels) gives every
// glyph a 12 x 20 pixel cell and an advance of 12 pixels, the blank 6 pixels. The offset font
// "fonts/offset.rwf" has glyph offsets and the pair (A, V) = (-3, +2) pixels.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cBitmapFont.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "platform/Platform.h"
#include "platform/input/Input.h"
#include "tests/engine/core/test_file_env.h"
#include "tests/engine/media/test_font_bytes.h"
#include "tests/engine/scene/SceneTestSupport.h"

namespace widget_test {

namespace in = platform::input;

// Fake services whose input calls reach the real input manager.
class InputFakeServices : public FakeServices {
public:
    cVector2 getMousePosition() override {
        cVector2 p;
        if (cInput* input = getInput()) input->getMousePosition(&p.x, &p.y);
        return p;
    }
    void setCharListener(CharCallback cb, void* user) override {
        if (cInput* input = getInput()) input->setCharListener(cb, user);
    }
    void clearCharListener() override {
        if (cInput* input = getInput()) input->clearCharListener();
    }
    void addBinding(InputCode code, InputCallback cb, void* object) override {
        if (cInput* input = getInput()) input->addBinding(code, cb, object);
    }
    void removeBinding(InputCode code, InputCallback cb, void* object) override {
        if (cInput* input = getInput()) input->removeBinding(code, cb, object);
    }
    void addMotionListener(MotionCallback cb, void* object) override {
        if (cInput* input = getInput()) input->addMotionListener(cb, object);
    }
    void removeMotionListener(MotionCallback cb, void* object) override {
        if (cInput* input = getInput()) input->removeMotionListener(cb, object);
    }
};

class RecordingSound : public cSound {
public:
    std::vector<std::string> played;
    void playSample(const cStringA& name, int) override { played.push_back(name); }
};

inline std::string fixedFontBytes() {
    font_test::FontFile f;
    f.glyphs = font_test::fixedGlyphs(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 /._-");
    return f.bytes();
}

inline std::string offsetFontBytes() {
    font_test::FontFile f;
    f.glyphs = font_test::fixedGlyphs(u"AVB ");
    f.withBlock = true;
    f.offsets = {{u'A', 0.0f, 0.0f}, {u'V', 1.0f / 120.0f, 0.05f}, {u'B', 0.0f, 0.0f}, {u' ', 0.0f, 0.0f}};
    f.pairs = {{u'A', u'V', -0.025f, 0.01f}};
    return f.bytes();
}

class WidgetTest : public ::testing::Test {
protected:
    file_test::TempWorld world;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    InputFakeServices services;
    cSceneServices* previous = nullptr;
    cInput* input = nullptr;
    RecordingSound* sound = nullptr;

    void SetUp() override {
        try {
            setUpManagers();
        } catch (const char* text) {
            FAIL() << text;
        } catch (const std::string& text) {
            FAIL() << text;
        }
    }
    void setUpManagers() {
        platform::setBackend(platform::Backend::Headless);
        platform::clearMessages();
        world.put("config/language.ini",
                  file_test::utf16Ini("[Localization]\r\nCodePage=\"1252\"\r\nLanguage=\"00000409\"\r\n"));
        files = std::make_unique<cFileManager>(cStringA(world.dataArg()), cStringA("kbf"));
        cBitmapFont::registerResourceFactory();
        resources = std::make_unique<cResourceManager>();
        input = new cInput();
        ASSERT_TRUE(input->acquire());
        sound = new RecordingSound();
        previous = setSceneServices(&services);
        updateTopLevelNodes(nullptr);
        services.addTexture("fonts/fixed.png", 120, 200);
        addFile("fonts/fixed.rwf", fixedFontBytes());
        addFile("fonts/offset.rwf", offsetFontBytes());
    }
    void TearDown() override {
        updateTopLevelNodes(nullptr);
        EXPECT_EQ(getRenderSetCount(), 0u) << "a test left shown sprites behind";
        EXPECT_EQ(getTopLevelCount(), 0u) << "a test left top-level nodes behind";
        setSceneServices(previous);
        delete sound;
        delete input;
        resources.reset();
        files.reset();
        platform::clearMessages();
    }

    void addFile(const std::string& name, const std::string& bytes) {
        world.put(name, bytes);
        files->rescan();
        resources->load(cStringA(name), 10);
    }
    // An INI resource from ASCII text with "\n" line ends.
    void addIni(const std::string& name, const std::string& text) {
        std::string crlf;
        for (char c : text) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        addFile(name, file_test::utf16Ini(crlf));
    }
    cIniFile& ini(const std::string& name) { return *resources->getIni(cStringA(name)); }

    // One frame: the input manager's dispatch, then the update of the top-level nodes.
    void frame() {
        input->update();
        updateTopLevelNodes(&updateNode);
    }
    void moveTo(float x, float y) {
        in::injectCursor(x, y);
        frame();
    }
    void press() {
        in::injectButton(0, true);
        frame();
    }
    void release() {
        in::injectButton(0, false);
        frame();
    }
    void clickAt(float x, float y) {
        moveTo(x, y);
        press();
        release();
    }
    void type(const std::wstring& text) {
        for (wchar_t c : text) input->pushChar(c);
        frame();
    }
    // A key pressed and released: its control character (Backspace, Tab, Enter, Escape)
    // reaches the typed-character queue as the window procedure would hand it on.
    void keyUp(uint8_t key) {
        in::injectKey(key, true);
        in::injectKey(key, false);
        platform::Message msg;
        while (platform::peekMessage(&msg))
            if (msg.message == platform::MSG_CHAR) input->pushChar(wchar_t(msg.wParam));
        frame();
    }
};

// Centre of a centred glyph (its position displaced by minus its transform origin).
inline cVector2 glyphCentre(const cSprite* glyph) { return glyph->getPosition() - glyph->getTransformOrigin(); }

}  // namespace widget_test
