// The tutorial hints: one hint's fades on game time, the loader of a hints file and the change
// of hint from one step to the next.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cDrawRecord.h"
#include "engine/scene/cPicture.h"
#include "game/data/GameConstants.h"
#include "game/data/WorldTextures.h"
#include "game/interface/cHint.h"
#include "game/interface/cHints.h"
#include "tests/engine/core/test_file_env.h"
#include "tests/engine/scene/SceneTestSupport.h"
#include "tests/game/interface/PanelTestSupport.h"

namespace {

std::string hintSection(int k, const std::string& position) {
    return "[HINT_" + std::to_string(k) + "]\npicture=\"bubble" + std::to_string(k) + ".dds\"\nposition=\"" + position +
           "\"\ndeep=\"5\"\n";
}

const char* const kArrow = "[ARROW]\npicture=\"arrow.dds\"\nanim_frame_count=\"4\"\nanim_length=\"0.4\"\n"
                           "anim_frame_size=\"16,16\"\nanim_looped=\"1\"\n";

// n plain hints (no arrows).
std::string plainHints(int n) {
    std::string t = kArrow;
    for (int k = 1; k <= n; ++k) t += hintSection(k, std::to_string(100 * k) + ",200");
    return t;
}

class HintsTest : public ::testing::Test {
protected:
    file_test::TempWorld world;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    FakeServices services;
    cSceneServices* previous = nullptr;
    cSceneNode* level = nullptr;

    void SetUp() override {
        files = std::make_unique<cFileManager>(cStringA(world.dataArg()), cStringA("kbf"));
        resources = std::make_unique<cResourceManager>();
        previous = setSceneServices(&services);
        updateTopLevelNodes(nullptr);
        for (const char* t : {"bubble1.dds", "bubble2.dds", "bubble3.dds", "bubble4.dds", "arrow.dds"})
            services.addTexture(t, 64, 16);
        level = new cSceneNode();
        level->show();
        level->enable();
    }
    void TearDown() override {
        delete level;
        updateTopLevelNodes(nullptr);
        EXPECT_EQ(getRenderSetCount(), 0u) << "a test left shown sprites behind";
        EXPECT_EQ(getTopLevelCount(), 0u) << "a test left top-level nodes behind";
        setSceneServices(previous);
        resources.reset();
        files.reset();
    }

    void addHints(int n, const std::string& text) {
        const std::string name = cHints::fileName(n);
        world.put(cStringA(name).makeLower(), panel_test::iniText(text));
        files->rescan();
        resources->load(cStringA(name), 11);
    }
    void frame(float dt) {
        services.gameDelta = dt;
        services.realDelta = dt;
        updateTopLevelNodes(&updateNode);
    }
    // A hint with a bubble and one arrow, under the level.
    cHint* makeHint() {
        auto* hint = new cHint(level);
        auto* bubble = new cPicture(hint);
        bubble->setPicture("bubble1.dds");
        hint->setBubble(bubble);
        auto* arrow = new cPicture(hint);
        arrow->setPicture("arrow.dds");
        hint->setArrow1(arrow);
        return hint;
    }
};

// ---- One hint ----

TEST_F(HintsTest, AHintFadesInShrinkingAndOutGrowingOnGameTime) {
    cHint* hint = makeHint();
    EXPECT_FALSE(hint->isVisible());
    EXPECT_TRUE(hint->isDone());
    EXPECT_FLOAT_EQ(hint->getScale(), 1.3f);

    // Each row: one frame of dt after the call, then alpha, scale, the pictures' alpha and
    // filter flag, done and visible.
    struct Row {
        const char* what;
        int start;  // 1 appear, -1 disappear, 0 nothing
        float dt;
        float alpha, scale;
        bool filtering, done, visible;
    };
    const Row rows[] = {
        {"appear starts: shown at once", 1, 0.05f, 80, 1.2f, true, false, true},
        {"no game time, no change", 0, 0.0f, 80, 1.2f, true, false, true},
        {"scale stops at 1 before the alpha is full", 0, 0.105f, 248, 1.0f, false, false, true},
        {"alpha clamps at 255: rest", 0, 0.1f, 255, 1.0f, false, true, true},
        {"appear on a shown hint ends at once", 1, 0.01f, 255, 1.0f, false, true, true},
        {"disappear: fading and growing", -1, 0.05f, 175, 1.1f, true, false, true},
        {"reversal mid-fade goes on from there", 1, 0.025f, 215, 1.05f, true, false, true},
        {"and back out", -1, 0.1f, 55, 1.25f, true, false, true},
        {"alpha 0: hidden, scale 1.3", 0, 0.1f, 0, 1.3f, true, true, false},
        {"a long frame clamps both ends", 1, 1.0f, 255, 1.0f, false, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.start > 0) hint->startAppear();
        if (row.start < 0) hint->startDisappear();
        if (row.start != 0) EXPECT_FALSE(hint->isDone());
        frame(row.dt);
        EXPECT_NEAR(hint->getAlpha(), row.alpha, 0.01f);
        EXPECT_NEAR(hint->getScale(), row.scale, 1e-5f);
        for (cPicture* p : {hint->getBubble(), hint->getArrow1()}) {
            EXPECT_EQ(p->testRenderFlags(RF_USE_FILTERING), row.filtering);
            EXPECT_EQ(p->getVertexAlpha(0), uint32_t(row.alpha));
            EXPECT_NEAR(p->getScale().x, row.scale, 1e-5f);
        }
        EXPECT_EQ(hint->isDone(), row.done);
        EXPECT_EQ(hint->isVisible(), row.visible);
        EXPECT_EQ(hint->isEnabled(), row.visible);
    }
}

TEST_F(HintsTest, ArrowsAnimateOnGameTimeOnly) {
    cHint* hint = makeHint();
    hint->getArrow1()->setLayerLength(0, 10.0f);
    frame(0.25f);
    EXPECT_FLOAT_EQ(hint->getArrow1()->getLayer0Time(), 0.25f);
    services.realDelta = 0.5f;
    services.gameDelta = 0.0f;
    updateTopLevelNodes(&updateNode);
    EXPECT_FLOAT_EQ(hint->getArrow1()->getLayer0Time(), 0.25f);
}

// ---- The loader ----

TEST_F(HintsTest, LoaderBuildsBubblesAndArrowsAtTheirDepths) {
    addHints(1, std::string(kArrow) + hintSection(1, "400,100") +
                    "[HINT_1_ARROW_1]\nposition=\"300,150\"\ndirection=\"UP\"\n"
                    "[HINT_1_ARROW_2]\nposition=\"500,150\"\ndirection=\"RIGHT\"\n" +
                    hintSection(2, "400,300") +
                    "[HINT_2_ARROW_1]\ndirection=\"LEFT\"\n"  // no position: no arrow
                    "[HINT_2_ARROW_2]\nposition=\"10,10\"\ndirection=\"LEFT\"\n" +
                    hintSection(3, "-100,-100") + hintSection(4, "400,500"));
    auto* hints = new cHints(level, 1);
    EXPECT_TRUE(hints->isVisible());
    EXPECT_TRUE(hints->isEnabled());
    EXPECT_EQ(hints->getStep(), -1);
    ASSERT_EQ(hints->getHintCount(), 2u) << "-100,-100 ends the list despite HINT_4";

    cHint* first = hints->getHint(0);
    cHint* second = hints->getHint(1);
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(first->getBubble()->getPictureName(), "bubble1.dds");
    EXPECT_EQ(first->getBubble()->getPosition(), cVector2(400, 100));
    EXPECT_FLOAT_EQ(first->getBubble()->getDeep(), 8201.0f) << "the file's deep is replaced";
    ASSERT_NE(first->getArrow1(), nullptr);
    ASSERT_NE(first->getArrow2(), nullptr);
    EXPECT_FLOAT_EQ(first->getArrow1()->getDeep(), 8202.0f);
    EXPECT_FLOAT_EQ(first->getArrow2()->getDeep(), 8203.0f);
    EXPECT_FLOAT_EQ(first->getArrow1()->getAngle(), 180.0f);
    EXPECT_FLOAT_EQ(first->getArrow2()->getAngle(), 270.0f);
    EXPECT_EQ(first->getArrow1()->getPosition(), cVector2(300, 150));
    EXPECT_EQ(first->getArrow1()->getPictureName(), "arrow.dds") << "the ARROW animation's picture";
    EXPECT_EQ(first->getArrow1()->getLayer0FrameCount(), 4u);
    EXPECT_FLOAT_EQ(first->getArrow1()->getLayer0Length(), 0.4f);

    EXPECT_FLOAT_EQ(second->getBubble()->getDeep(), 8206.0f);
    EXPECT_EQ(second->getArrow1(), nullptr);
    ASSERT_NE(second->getArrow2(), nullptr);
    EXPECT_FLOAT_EQ(second->getArrow2()->getDeep(), 8208.0f);
    EXPECT_FLOAT_EQ(second->getArrow2()->getAngle(), 90.0f);
}

TEST_F(HintsTest, DirectionsAndFilesWithoutHints) {
    for (auto [word, angle] : {std::pair{L"UP", 180.0f}, {L"LEFT", 90.0f}, {L"RIGHT", 270.0f}, {L"DOWN", 0.0f},
                               {L"", 0.0f}, {L"up", 0.0f}})
        EXPECT_FLOAT_EQ(cHints::directionAngle(cStringW(word)), angle) << cStringW(word).toNarrow();

    // A first section without a position gives no hints, whatever follows; every step and
    // change then does nothing visible while the step still counts.
    addHints(2, std::string(kArrow) + "[HINT_1]\npicture=\"bubble1.dds\"\n" + hintSection(2, "1,1"));
    auto* hints = new cHints(level, 2);
    EXPECT_EQ(hints->getHintCount(), 0u);
    hints->nextStepAndShow();
    hints->showCurrent();
    hints->hideCurrent();
    hints->nextStepAndShow();
    frame(0.1f);
    EXPECT_FALSE(hints->isPending());
    EXPECT_EQ(hints->getStep(), 1);
    EXPECT_EQ(getRenderSetCount(), 0u);

    // A file that is not loaded stops the level with the resource manager's error.
    EXPECT_EQ(file_test::thrownText([&] { cHints(level, 3); }), "Resource 'Config/Game/hints_3.ini' is not loaded.");
}

// ---- The change of hint ----

class HintChangeTest : public HintsTest {
protected:
    cHints* hints = nullptr;

    void SetUp() override {
        HintsTest::SetUp();
        addHints(1, plainHints(3));
        hints = new cHints(level, 1);
    }
    // Which hints are visible, as "0 1 ...", and which are fading, as "~0".
    std::string look() const {
        std::string out;
        for (size_t i = 0; i < hints->getHintCount(); ++i) {
            const cHint* h = hints->getHint(i);
            if (h->isVisible()) out += (out.empty() ? "" : " ") + std::to_string(i);
            if (!h->isDone()) out += "~";
        }
        return out;
    }
    // Frames of 20 ms until the change ends (at most 100); never two hints fading at once.
    // Returns the looks of every frame, repeats left out.
    std::vector<std::string> settle() {
        std::vector<std::string> looks;
        for (int i = 0; i < 100; ++i) {
            frame(0.02f);
            int fading = 0;
            for (size_t k = 0; k < hints->getHintCount(); ++k) fading += !hints->getHint(k)->isDone();
            EXPECT_LE(fading, 1) << "two hints fade together at " << look();
            if (looks.empty() || looks.back() != look()) looks.push_back(look());
            if (!hints->isPending() && fading == 0) break;
        }
        EXPECT_FALSE(hints->isPending());
        return looks;
    }
    void showHint(int k) {
        while (hints->getStep() < k) hints->nextStep();
        hints->showCurrent();
        settle();
    }
    using Looks = std::vector<std::string>;
};

TEST_F(HintChangeTest, NextStepAndShowFromTheStartTheMiddleAndTheEnd) {
    // From -1 the first hint fades in directly.
    hints->nextStepAndShow();
    EXPECT_EQ(settle(), (Looks{"0~", "0"}));
    EXPECT_EQ(hints->getStep(), 0);
    // In the middle: the previous hint fades out first, then the next fades in.
    hints->nextStepAndShow();
    EXPECT_EQ(settle(), (Looks{"0~", "", "1~", "1"}));
    hints->nextStepAndShow();
    EXPECT_EQ(settle(), (Looks{"1~", "", "2~", "2"}));
    // From the last hint: it fades out and nothing follows.
    hints->nextStepAndShow();
    EXPECT_EQ(settle(), (Looks{"2~", ""}));
    EXPECT_EQ(hints->getStep(), 3);
    // Past the end nothing happens and the change ends at once.
    hints->nextStepAndShow();
    frame(0.02f);
    EXPECT_FALSE(hints->isPending());
    EXPECT_EQ(look(), "");
}

TEST_F(HintChangeTest, AnAppearingHintFinishesBeforeItFadesOut) {
    hints->nextStepAndShow();
    frame(0.02f);
    EXPECT_EQ(look(), "0~");
    hints->nextStepAndShow();
    EXPECT_EQ(settle(), (Looks{"0~", "0", "0~", "", "1~", "1"}));
    EXPECT_FLOAT_EQ(hints->getHint(1)->getAlpha(), 255.0f);
}

TEST_F(HintChangeTest, HideThenSilentStepThenShowSkipsTheFadeOut) {
    showHint(0);
    hints->hideCurrent();
    EXPECT_EQ(settle(), (Looks{"0~", ""}));
    hints->nextStep();
    EXPECT_EQ(settle(), (Looks{""})) << "a silent step shows nothing";
    hints->showCurrent();
    EXPECT_EQ(settle(), (Looks{"1~", "1"}));
}

TEST_F(HintChangeTest, ShowOnAShownHintKeepsItShown) {
    showHint(1);
    hints->showCurrent();
    frame(0.02f);
    EXPECT_EQ(look(), "1");
    EXPECT_FLOAT_EQ(hints->getHint(1)->getAlpha(), 255.0f);
    EXPECT_FLOAT_EQ(hints->getHint(1)->getScale(), 1.0f);
}

// ---- The demo data ----

// The hints files of the built Data folder: exactly the hints the scripts count, each bubble the
// texture that the world-1 list loads at that level, arrows running the arrow animation.
TEST_F(HintsTest, DemoHintsMatchTheScriptsAndTheWorldList) {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(RW_DIST_DIR) / "Data";
    resources.reset();
    files.reset();
    files = std::make_unique<cFileManager>(cStringA(data.string()), cStringA("kbf"));
    resources = std::make_unique<cResourceManager>();
    resources->loadFolder("config", true, 11);
    for (size_t i = 0; i < game::kTutorialLevels.size(); ++i) {
        const int n = game::kTutorialLevels[i];
        SCOPED_TRACE("hints " + std::to_string(n));
        auto* hints = new cHints(level, n);
        const std::vector<std::string> listed = world_textures::tutorialFiles(n);
        ASSERT_EQ(hints->getHintCount(), size_t(game::kTutorialHintCounts[i]));
        ASSERT_EQ(listed.size(), hints->getHintCount() + 1);
        int arrows = 0;
        for (size_t k = 0; k < hints->getHintCount(); ++k) {
            const cHint* hint = hints->getHint(k);
            EXPECT_EQ(hint->getBubble()->getPictureName().toLower(), cStringA(listed[k]).makeLower()) << k;
            EXPECT_TRUE(fs::is_regular_file(data / cStringA(listed[k]).makeLower().str())) << listed[k];
            for (const cPicture* arrow : {hint->getArrow1(), hint->getArrow2()}) {
                if (!arrow) continue;
                ++arrows;
                EXPECT_EQ(arrow->getPictureName().toLower(), cStringA(listed.back()).makeLower());
                EXPECT_GE(arrow->getLayer0FrameCount(), 2u);
                EXPECT_GT(arrow->getLayer0Length(), 0.0f);
            }
        }
        EXPECT_GT(arrows, 0);
        delete hints;
    }
}

}  // namespace
