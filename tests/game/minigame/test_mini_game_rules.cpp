// The click rules, the hint buttons and the effects on a level file of the test's own, started
// from the command line: ten objects in a row, a hint object on top of one of them at the same
// depth, decor over another at the same depth, and decor with too few points.
#include "tests/game/minigame/MiniGameTestSupport.h"

#include <cmath>

#include "engine/core/cFileManager.h"
#include "engine/scene/cText.h"
#include "game/flow/cCursor.h"
#include "game/minigame/cFlyingObject.h"
#include "tests/engine/core/test_file_env.h"

using namespace minigame_test;

namespace {

// Object k (k = 0..9): a 40 x 40 square, not centred, at x = 170 + 60 k, y = 100, deep 100 - k.
std::string rulesLevel() {
    std::string ini =
        "[COMMON]\ntime=\"100\"\nbonus=\"50\"\nobject_cost=\"10\"\nclick_delay=\"0.5\"\ncount_lines=\"4\"\n"
        "time_penalty=\"6\"\ncount_clicks_for_penalty=\"3\"\nclick_delay_for_reset=\"2\"\ncount_hints=\"9\"\n"
        "[NAME_TEXT]\nposition=\"18,250\"\nfont=\"Fonts/main.rwf\"\ntexture=\"Fonts/main.dds\"\nline_spacing=\"30\"\n"
        "align=\"LEFT\"\nalign_ver=\"TOP\"\n";
    auto square = [](int n, const std::string& extra, int x, int y, int deep) {
        return "[OBJECT_" + std::to_string(n) + "]\n" + extra + "position=\"" + std::to_string(x) + "," + std::to_string(y) +
               "\"\ncentered=\"0\"\ndeep=\"" + std::to_string(deep) + "\"\nv1=\"0,0\"\nv2=\"40,0\"\nv3=\"40,40\"\nv4=\"0,40\"\n";
    };
    for (int k = 0; k < 10; ++k)
        ini += square(k + 1, "active=\"1\"\nname=\"O" + std::to_string(k) + "\"\n", 170 + 60 * k, 100, 100 - k);
    ini += square(11, "hint=\"1\"\nactive=\"0\"\nname=\"Helper\"\n", 230, 100, 99);   // over O1, same deep
    ini += square(12, "", 290, 100, 98);                                              // decor over O2, same deep
    ini += "[OBJECT_13]\nname=\"Scrap\"\nv1=\"0,0\"\nv2=\"10,0\"\n";                         // decor, no triangle
    ini += "[OBJECT_15]\nactive=\"1\"\nname=\"after a gap\"\n";
    return ini;
}

cVector2 centreOfSlot(int k) { return cVector2(170.0f + 60.0f * float(k) + 20.0f, 120.0f); }

bool listed(cMiniGame* game, const wchar_t* name) {
    for (const cHiddenObject* o : game->getObjectsToFind())
        if (o->getName() == name) return true;
    return false;
}

TEST_F(MiniGameTest, ClickRulesOnTheirOwnLevel) {
    genv->data.writeIni("config/minigame1/rules.ini", rulesLevel());
    getFileManager()->rescan();
    try {
        startAtLevel8("config/minigame1/rules.ini");
    } catch (...) {
        std::string text;
        failureText(std::current_exception(), &text);
        FAIL() << text;
    }
    // The command-line file is played; the panels read it too, although it follows no numbering.
    EXPECT_EQ(mini()->getLevelFile(), "config/minigame1/rules.ini");
    play();
    ASSERT_EQ(mini()->getObjectsToFind().size(), 10u) << "the gap ends the objects";
    ASSERT_EQ(mini()->getHintObjects().size(), 1u);
    ASSERT_EQ(mini()->getDecor().size(), 2u);
    // The game log names the hint count cut to four and the polygon that gives no triangle.
    const std::string log = file_test::readDiskFile(getFileManager()->getCommonPath() + "game.log");
    EXPECT_NE(log.find("count_hints 9 is more than the 4 hint buttons"), std::string::npos) << log;
    EXPECT_NE(log.find("The click polygon of OBJECT_13 (Scrap) gives no triangle"), std::string::npos) << log;
    // Deepest first.
    EXPECT_EQ(mini()->getObjectsToFind().front()->getName(), L"O0");
    // count_hints 9: all four buttons, no more.
    cMiniGameStatusPanel* status = scene->getStatus();
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(status->getHintButton(i)->isVisible()) << i;
    EXPECT_FALSE(status->showHintButton(-1));
    EXPECT_FALSE(status->showHintButton(4));
    EXPECT_FALSE(status->showHintButton(-2));
    // Only the first four names show.
    ASSERT_EQ(status->getNameLines().size(), 10u);
    EXPECT_TRUE(status->getNameLines()[3]->isVisible());
    EXPECT_FALSE(status->getNameLines()[4]->isVisible());

    // The fifth object cannot be found: a miss.
    clickAt(centreOfSlot(4));
    EXPECT_TRUE(listed(mini(), L"O4"));
    EXPECT_EQ(mini()->getMisses(), 1);
    // x 175 is the status panel's: ignored altogether; x 176 hits O0.
    waitClickDelay();
    clickAt(cVector2(175.0f, 120.0f));
    EXPECT_TRUE(listed(mini(), L"O0"));
    EXPECT_EQ(mini()->getMisses(), 1);
    EXPECT_EQ(mini()->getClickTimer(), 0.0f);
    clickAt(cVector2(176.0f, 120.0f));
    EXPECT_FALSE(listed(mini(), L"O0"));
    EXPECT_EQ(mini()->getMisses(), 0);
    // Within the click delay: ignored, no miss either.
    clickAt(centreOfSlot(3));
    EXPECT_TRUE(listed(mini(), L"O3"));
    EXPECT_EQ(mini()->getMisses(), 0);
    // The hint object over O1 at the same depth wins.
    waitClickDelay();
    clickAt(centreOfSlot(1));
    EXPECT_TRUE(mini()->getHintObjects().empty());
    EXPECT_TRUE(listed(mini(), L"O1"));
    // Decor over O2 at the same depth covers it: a miss.
    waitClickDelay();
    clickAt(centreOfSlot(2));
    EXPECT_TRUE(listed(mini(), L"O2"));
    EXPECT_EQ(mini()->getMisses(), 1);
    // Over a widget: ignored.
    waitClickDelay();
    moveTo(centreOfSlot(3));
    getCursor()->setOverWidget(true);
    mini()->onClick();
    EXPECT_TRUE(listed(mini(), L"O3"));
    EXPECT_EQ(mini()->getMisses(), 1);
    // The hint object lands on the fourth button (all shown) and reveals nothing; the found
    // object pays 10 on landing.
    ASSERT_TRUE(until([&] { return getFlyingObjects().empty(); }));
    EXPECT_EQ(getGameData()->getMiniGameScore(), 10);
    // A hint: the first object still to find blinks, the button is spent, a star flies.
    cButton* first = status->getHintButton(0);
    cMiniGameStatusPanel::onButton(first);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(mini()->getObjectsToFind().front()->isHinted());
    // Any accepted click ends the hint.
    waitClickDelay();
    clickAt(cVector2(700.0f, 400.0f));
    EXPECT_FALSE(mini()->getObjectsToFind().front()->isHinted());
    EXPECT_EQ(mini()->getMisses(), 2);
    // The third miss raises the alert.
    waitClickDelay();
    clickAt(cVector2(700.0f, 400.0f));
    EXPECT_EQ(mini()->getMisses(), 0);
    ASSERT_TRUE(until([&] { return scene->getAlertPanel()->isVisible(); }, 10));
    genv->saveFrame("minigame_alert.png");
}

TEST_F(MiniGameTest, AFlightWithoutLengthEndsAtOnce) {
    startAtLevel8();
    play();
    // An object at the waypoint whose hint button lies on the waypoint too.
    auto* source = new cPicture(mini());
    source->setPosition(cFlyingObject::kWaypoint);
    auto* flight = new cFlyingObject(source, cFlyingObject::kWaypoint, cFlyingObject::kWaypoint, true);
    delete source;
    const uint64_t serial = flight->getSerial();
    genv->frame();
    ASSERT_TRUE(cEffectRegistry<cFlyingObject>::isLive(serial));
    EXPECT_EQ(flight->getLeg(), 1);
    EXPECT_TRUE(std::isfinite(flight->getPosition().x) && std::isfinite(flight->getPosition().y));
    ASSERT_TRUE(until([&] { return !cEffectRegistry<cFlyingObject>::isLive(serial); }, 3)) << "no second leg to fly";
}

}  // namespace
