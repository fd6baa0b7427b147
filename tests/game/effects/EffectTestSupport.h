#pragma once
// The fixture of the effect tests: fake scene services with named fake textures and a test
// clock, a resource manager over a private data folder holding the effects' INI files, curve
// sets and a test font, settings with `enable_full_effects`, a bonus bar the test controls and
// a stand-in level node that the frame steps.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/Random.h"
#include "engine/core/cCurveSet.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cBitmapFont.h"
#include "game/effects/EffectRegistry.h"
#include "engine/scene/cText.h"
#include "game/scoring/cTempBonuses.h"
#include "tests/engine/core/test_file_env.h"
#include "tests/engine/media/test_font_bytes.h"
#include "tests/engine/scene/SceneTestSupport.h"

namespace effects_test {

// A bar whose mode, fill and commits the test sets and counts.
class TestBonuses : public cTempBonuses {
public:
    bool mode = false;
    float fill = 0.0f;
    int commits = 0;
    bool isBonusMode() const override { return mode; }
    float getBarFill() const override { return fill; }
    void commitPending() override { ++commits; }
};

// A curve element from "x,y" points joined by straight lines.
inline std::string curve(int index, const std::string& name, const std::vector<std::string>& points) {
    std::string t = "<Curve" + std::to_string(index) + " name=\"" + name + "\" point_count=\"" +
                    std::to_string(points.size()) + "\">";
    for (size_t i = 0; i < points.size(); ++i)
        t += "<Point" + std::to_string(i + 1) + " position=\"" + points[i] +
             "\" left_anchor=\"0,0\" right_anchor=\"0,0\"/>";
    return t + "</Curve" + std::to_string(index) + ">";
}
// A curve set of two curves.
inline std::string curveSet(const std::string& first, const std::string& second) {
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?><curves count=\"2\">" + first + second + "</curves>";
}

// ASCII text with "\n" line ends as an INI file (UTF-16LE, CR LF).
inline std::string iniBytes(const std::string& text) {
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return file_test::utf16Ini(crlf);
}

// The effects' test configuration: every picture is a 32 x 32 texture named by its file.
inline const char* const kFlyScoreIni =
    "[COMMON]\nicon_off=\"30,0\"\nfont=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\ndeep=\"20\"\n"
    "[LOST]\nfont=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\ndeep=\"20\"\ncolor=\"255,0,0\"\n";

class EffectsTest : public ::testing::Test {
protected:
    file_test::TempWorld world;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cSettingsManager> settings;
    std::unique_ptr<TestBonuses> bar;
    FakeServices services;
    cSceneServices* previous = nullptr;
    cSceneNode* level = nullptr;

    void SetUp() override {
        try {
            setUpWorld();
        } catch (const char* text) {
            FAIL() << text;
        } catch (const std::string& text) {
            FAIL() << text;
        }
    }
    void setUpWorld() {
        world.put("config/config.ini", iniBytes("[Game]\napp_folder=\"effects-test\"\n"
                                                "[Performance]\nenable_full_effects=\"1\"\n"));
        files = std::make_unique<cFileManager>(cStringA(world.dataArg()), cStringA("kbf"));
        cBitmapFont::registerResourceFactory();
        resources = std::make_unique<cResourceManager>();
        settings = std::make_unique<cSettingsManager>();
        previous = setSceneServices(&services);
        updateTopLevelNodes(nullptr);
        rwSrand(12345);

        for (const char* t : {"Game/Worlds/Common/Items/money.dds", "Game/Effects/combo_score_order.dds",
                              "Game/Effects/combo_score_delivery.dds", "Game/Effects/combo_score_tip.dds",
                              "Game/Effects/combo_order.dds", "Game/Effects/combo_order_glow.dds",
                              "Game/Effects/combo_delivery.dds", "Game/Effects/combo_delivery_glow.dds",
                              "Game/Effects/combo.dds", "Game/Effects/combo_glow.dds", "Game/Interface/Surfaces/goal.dds",
                              "Game/Interface/Surfaces/expert.dds", "Game/Interface/Surfaces/five_stars.dds",
                              "pointer.dds", "star.dds", "glow.dds", "waiter_star.dds", "sparkle.dds", "debris.dds",
                              "flash.dds", "source.dds", "other.dds"})
            services.addTexture(t, 32, 32);
        services.addTexture("fonts/fixed.png", 120, 200);
        font_test::FontFile font;
        font.glyphs = font_test::fixedGlyphs(u"0123456789+-x ABCDEFGHIJKLMNOPQRSTUVWXYZ!");
        addFile("fonts/fixed.rwf", font.bytes());

        addIni("Config/Game/fx_money.ini", "[COMMON]\npicture=\"other.dds\"\nanim_frame_count=\"4\"\n"
                                           "anim_length=\"1\"\nanim_frame_size=\"8,32\"\n");
        addIni("Config/Game/fx_pointer.ini", "[COMMON]\npicture=\"pointer.dds\"\ndelay_before_disappear=\"0.5\"\n"
                                             "time_disappear=\"0.25\"\n");
        addIni("Config/Game/fx_waiter_star.ini", "[COMMON]\npicture=\"waiter_star.dds\"\nanim_frame_count=\"1\"\n"
                                                 "anim_length=\"1\"\nanim_looped=\"1\"\n");
        addIni("Config/Game/fx_fly_score.ini", kFlyScoreIni);
        addIni("Config/Game/fx_fly_score_pic.ini",
               "[COMMON]\ndeep=\"30\"\nfirst_star_off=\"-40,20\"\nbetween_starts_off=\"20,0\"\n"
               "delay_between_stars_fall=\"0.25\"\n[GLOW]\ndeep=\"29.9\"\n");
        addIni("Config/Game/fx_star.ini", "[COMMON]\npicture=\"star.dds\"\ndeep=\"40\"\nend_pos1=\"100,500\"\n"
                                          "end_pos2=\"300,500\"\nangle_per_sec=\"200\"\n[GLOW]\npicture=\"glow.dds\"\n"
                                          "deep=\"39.9\"\n");
        addIni("Config/Game/fx_score_star.ini",
               "[COMMON]\npicture=\"star.dds\"\ndeep=\"40\"\noff_end_pos=\"10,-10\"\nstart_pos1=\"100,500\"\n"
               "start_pos2=\"300,500\"\nangle_per_sec=\"90\"\n[GLOW]\npicture=\"glow.dds\"\ndeep=\"39.9\"\n");
        addIni("Config/Game/fx_message.ini", "[COMMON]\ndeep=\"50\"\n");
        addIni("Config/Game/fx_firework.ini", "[SPARKLES]\npicture=\"sparkle.dds\"\ndeep=\"1\"\n[DEBRIS]\n"
                                              "picture=\"debris.dds\"\ncount=\"4\"\n[DEBRIS_FLASH]\npicture=\"flash.dds\"\n");
        addFile("Config/Game/click_effect.crv", file_test::utf16(widen(curveSet(curve(1, "alpha", {"0,200", "0.5,100"}),
                                                                                curve(2, "scale", {"0,1", "2,3"})))));
        addCurves("Config/Game/fly_score_text.crv", {"0,255", "1,255", "2,0"}, {"0,0", "2,-40"});
        addCurves("Config/Game/fly_score_lost.crv", {"0,255", "1,0"}, {"0,0", "1,40"});
        addCurves("Config/Game/fly_score_pic.crv", {"0,255", "3,255", "4,0"}, {"0,0", "4,-80"});
    }
    void TearDown() override {
        clearEffectsAtLevelDestruction();
        cEffectRegistry<cFxMoney>::clear();
        delete level;
        level = nullptr;
        updateTopLevelNodes(nullptr);
        EXPECT_EQ(getRenderSetCount(), 0u) << "a test left shown sprites behind";
        EXPECT_EQ(getTopLevelCount(), 0u) << "a test left top-level nodes behind";
        setSceneServices(previous);
        bar.reset();
        settings.reset();
        resources.reset();
        files.reset();
    }

    static std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }
    void addFile(const std::string& name, const std::string& bytes) {
        world.put(cStringA(name).makeLower(), bytes);
        files->rescan();
        resources->load(cStringA(name), 11);
    }
    void addIni(const std::string& name, const std::string& text) { addFile(name, iniBytes(text)); }
    // Replaces a loaded file.
    void replaceIni(const std::string& name, const std::string& text) {
        resources->unload(cStringA(name));
        addIni(name, text);
    }
    void addCurves(const std::string& name, const std::vector<std::string>& alpha, const std::vector<std::string>& offY) {
        resources->unload(cStringA(name));
        addFile(name, file_test::utf16(widen(curveSet(curve(1, "alpha", alpha), curve(2, "off_y", offY)))));
    }

    // The stand-in level: a shown and enabled top-level node that the frame steps.
    cSceneNode* makeLevel() {
        if (!level) {
            level = new cSceneNode();
            level->show();
            level->enable();
        }
        return level;
    }
    // A hidden picture and a text under the level, for the effects that copy one.
    cPicture* makeSource(const cVector2& position = cVector2(), float deep = 0.0f) {
        cPicture* source = new cPicture(makeLevel());
        source->setPicture("source.dds");
        source->setPosition(position);
        source->setDeep(deep);
        return source;
    }
    cText* makeText(const cVector2& position = cVector2(), float deep = 0.0f) {
        cText* text = new cText(makeLevel());
        text->setFont("fonts/fixed.rwf");
        text->setLayerTexture(0, "fonts/fixed.png");
        text->setString(L"+25");
        text->setPosition(position);
        text->setDeep(deep);
        return text;
    }
    TestBonuses* makeBar() {
        if (!bar) bar = std::make_unique<TestBonuses>();
        return bar.get();
    }
    void setFullEffects(bool on) { settings->setBool(L"Performance", L"enable_full_effects", on); }

    // One frame: deferred deletions, then the update of the top-level nodes, on a step of dt
    // game seconds (and realDt interface seconds, dt when negative).
    void frame(float dt, float realDt = -1.0f) {
        services.gameDelta = dt;
        services.realDelta = realDt < 0.0f ? dt : realDt;
        updateTopLevelNodes(&updateNode);
    }
    // Deferred deletions only.
    void flush() { updateTopLevelNodes(nullptr); }
    template <class T>
    static size_t live() {
        return cEffectRegistry<T>::count();
    }
};

}  // namespace effects_test
