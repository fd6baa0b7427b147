// The logo state (pages, the shared page, skips, show_logo off, zero, negative and missing
// times, gaps in the page numbers) and the comics state (pages, NEXT and Enter, Alt+Enter,
// the fades in which nothing reacts).
#include <gtest/gtest.h>

#include "engine/scene/cButton.h"
#include "engine/scene/cPicture.h"
#include "game/menus/cComics.h"
#include "game/menus/cLogo.h"
#include "game/menus/cLogoPicture.h"
#include "tests/game/menus/test_menus_fixture.h"

using menus_test::MenuFixture;

namespace {

class LogoTest : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        groups->loadLogo();
    }
    void TearDown() override {
        logo.reset();
        MenuFixture::TearDown();
    }
    // A logo.ini of pages (page, hold) with the fade times given.
    static std::string logoIni(const char* appear, const char* disappear,
                               std::vector<std::pair<const char*, const char*>> pictures) {
        std::string ini = std::string("[COMMON]\nLogoSpeedAppear=\"") + appear + "\"\nLogoSpeedDisappear=\"" +
                          disappear + "\"\ndeep=\"10\"\n";
        int n = 1;
        for (const auto& [page, hold] : pictures)
            ini += "[Logo_" + std::to_string(n++) + "]\npath=\"menu/custom/logo_studio.dds\"\nsleep_sec=\"" + hold +
                   "\"\nposition_X=\"400\"\nposition_Y=\"300\"\nscreen=\"" + page + "\"\n";
        return ini;
    }
    // Builds the logo from the text and runs it; the frames until it finished (-1: never).
    int run(const std::string& ini, int limit = 600) {
        useIni(cLogo::kConfig, ini);
        logo.reset();
        logo.reset(new cLogo(nullptr));
        for (int n = 1; n <= limit; ++n) {
            frame();
            if (logo->isFinished()) return n;
        }
        return -1;
    }
    std::unique_ptr<cLogo> logo;
};

class ComicsTest : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        groups->loadComics();
    }
    void TearDown() override {
        comics.reset();
        MenuFixture::TearDown();
    }
    void build(int32_t number) {
        data->setComicsNumber(number);
        comics.reset();
        comics.reset(new cComics(nullptr));
    }
    void pressEnter(bool alt) {
        if (alt) platform::input::injectKey(KEY_RIGHT_ALT, true);
        pressKey(KEY_ENTER);
        if (alt) platform::input::injectKey(KEY_RIGHT_ALT, false);
    }
    std::unique_ptr<cComics> comics;
};

}  // namespace

TEST_F(LogoTest, PagesTimesAndGaps) {
    // show_logo off: finished on the first frame, nothing shown.
    getSettingsManager()->setBool(L"Graphics", L"show_logo", false);
    EXPECT_EQ(run(logoIni("0.5", "0.5", {{"1", "1"}})), 1);
    EXPECT_FALSE(logo->getPictures()[0]->isVisible());
    getSettingsManager()->setBool(L"Graphics", L"show_logo", true);
    // No pictures: finished on the first frame.
    EXPECT_EQ(run("[COMMON]\nLogoSpeedAppear=\"1\"\n"), 1);
    EXPECT_EQ(logo->getLastPage(), 0u);

    // Zero fade times: one frame each way. Negative ones act as zero, so the page ends.
    const int zero = run(logoIni("0", "0", {{"1", "0.1"}}));
    EXPECT_GT(zero, 6);
    EXPECT_LT(zero, 16);
    EXPECT_EQ(run(logoIni("-1", "-2", {{"1", "0.1"}})), zero);
    // Fades of 0.5 s take about a second more; page 1 stays at full alpha meanwhile.
    useIni(cLogo::kConfig, logoIni("0.5", "0.5", {{"1", "0.1"}}));
    logo.reset(new cLogo(nullptr));
    frames(10);
    EXPECT_EQ(logo->getPictures()[0]->getVertexAlpha(0), 255u);
    EXPECT_LT(logo->getPictures()[0]->getProgress(), 1.0f);
    logo.reset();
    EXPECT_NEAR(run(logoIni("0.5", "0.5", {{"1", "0.1"}})), zero + 62, 3);

    // A shared page ends with its slower picture.
    const int fast = run(logoIni("0", "0", {{"1", "0"}, {"2", "0.2"}}));
    EXPECT_NEAR(run(logoIni("0", "0", {{"1", "0"}, {"2", "0.2"}, {"2", "1.0"}})), fast + 50, 2);
    // A gap costs one frame whatever its size.
    const int gap = run(logoIni("0", "0", {{"1", "0"}, {"3", "0.2"}}));
    EXPECT_EQ(gap, fast + 1);
    EXPECT_EQ(run(logoIni("0", "0", {{"1", "0"}, {"4000000000", "0.2"}})), gap);
    EXPECT_EQ(run(logoIni("0", "0", {{"1", "0"}, {"4294967295", "0.2"}})), gap);
}

TEST_F(LogoTest, LaterPagesAreCutShortPageOneIsNot) {
    useIni(cLogo::kConfig, logoIni("0.5", "0.5", {{"1", "1"}, {"2", "30"}, {"2", "30"}}));
    logo.reset(new cLogo(nullptr));
    frames(20);
    ASSERT_EQ(logo->getCurrentPage(), 1u);
    pressKey(KEY_ESCAPE);  // page 1: nothing
    platform::input::injectButton(0, true);
    frame();
    platform::input::injectButton(0, false);
    frame();
    EXPECT_NE(logo->getPictures()[0]->getPhase(), cLogoPicture::PHASE_FADE_OUT);
    ASSERT_TRUE(framesUntil([&] { return logo->getCurrentPage() == 2u; }));
    frames(40);  // page 2 is holding (30 s)
    pressKey(KEY_SPACE);
    // Both pictures of the page fade out within 0.1 s, then the logo is finished.
    EXPECT_TRUE(framesUntil([&] { return logo->isFinished(); }, 9));
}

TEST_F(ComicsTest, PagesTurnOnNextAndEnterButNotDuringFades) {
    build(2);
    EXPECT_EQ(brightness(), 0.0f);
    EXPECT_EQ(comics->getPageCount(), 2u);
    EXPECT_EQ(comics->getPicture()->getPicture(), "comics/comic2_page1.dds");
    // During the fade-in neither Enter nor NEXT reacts.
    pressEnter(false);
    EXPECT_EQ(comics->getCurrentPage(), 0u);
    EXPECT_FALSE(comics->getNextButton()->isActive());
    ASSERT_TRUE(framesUntil([&] { return comics->isComplete(); }));
    EXPECT_EQ(brightness(), 255.0f);
    // Alt+Enter is the full-screen toggle, not a page turn.
    pressEnter(true);
    EXPECT_EQ(comics->getCurrentPage(), 0u);
    pressEnter(false);
    EXPECT_EQ(comics->getCurrentPage(), 1u);
    EXPECT_EQ(comics->getPicture()->getPicture(), "comics/comic2_page2.dds");
    // NEXT on the last page: finished at once, complete one frame after black.
    comics->getNextButton()->getClickHandler()(comics->getNextButton());
    EXPECT_TRUE(comics->isFinished());
    pressEnter(false);
    EXPECT_FALSE(comics->getNextButton()->isActive());
    ASSERT_TRUE(framesUntil([&] { return brightness() == 0.0f; }));
    EXPECT_FALSE(comics->isComplete());
    frame();
    EXPECT_TRUE(comics->isComplete());
    EXPECT_EQ(comics->getPicture()->getPicture(), "comics/comic2_page2.dds");

    // A comic without pages: the first NEXT ends it; a gap ends the list.
    useIni(cComics::kConfig, "[COMMON]\ndeep=\"10\"\n[COMICS_1]\npicture_2=\"comics/comic1_page2.dds\"\n"
                             "[COMICS_2]\npicture_1=\"comics/comic2_page1.dds\"\npicture_3=\"comics/comic2_page2.dds\"\n");
    build(1);
    EXPECT_EQ(comics->getPageCount(), 0u);
    comics->next();
    EXPECT_TRUE(comics->isFinished());
    build(2);
    EXPECT_EQ(comics->getPageCount(), 1u);
    EXPECT_EQ(comics->getPicture()->getPosition(), cVector2(0.0f, 0.0f));  // no position given
}
