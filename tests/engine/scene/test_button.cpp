// The button driven by injected mouse events: hit shapes from its configuration, the click
// that needs a press and a release without leaving, the looks with their sounds and label
// fonts, and disabled, hidden and inactive buttons ignoring the mouse.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "tests/engine/scene/test_widget_support.h"

using namespace widget_test;

namespace {

std::vector<std::string> g_calls;

bool onClick(cSceneNode* w) {
    g_calls.push_back(std::string("click ") + (dynamic_cast<cButton*>(w) ? "button" : "?"));
    return true;
}
bool onPress(cSceneNode*) {
    g_calls.push_back("press");
    return true;
}
bool onRelease(cSceneNode*) {
    g_calls.push_back("release");
    return false;
}

const char* const kButtons =
    "[PLAIN]\nposition=\"200,100\"\ndeep=\"10\"\nsize=\"100,40\"\n"
    "texture_normal=\"b/normal.png\"\ntexture_hover=\"b/hover.png\"\ntexture_pressed=\"b/pressed.png\"\n"
    "texture_disabled=\"b/disabled.png\"\nsound_active=\"sounds/over.ogg extra\"\nsound_pressed=\"sounds/down.ogg\"\n"
    "[LABELLED]\nposition=\"400,300\"\ndeep=\"10\"\nini=\"config/button_style.ini\"\ntext=\"OK\"\ntext_offset=\"5,-3\"\n"
    "[UNLABELLED]\nposition=\"400,300\"\nini=\"config/button_style.ini\"\n"
    "[POLY]\nposition=\"200,100\"\nsize=\"100,40\"\nv1=\"0,20\"\nv2=\"50,0\"\nv3=\"100,20\"\nv4=\"50,40\"\nv6=\"0,0\"\n"
    "[TWO]\nposition=\"200,100\"\nsize=\"100,40\"\nv1=\"0,0\"\nv2=\"100,40\"\n"
    "[CORNER]\nposition=\"200,100\"\nsize=\"100,40\"\ncentered=\"0\"\n"
    "[HIDDEN]\nposition=\"200,100\"\nsize=\"100,40\"\nvisible=\"0\"\nenabled=\"0\"\n";

const char* const kStyle =
    "[BUTTON]\nsize=\"120,50\"\ntexture_normal=\"s/normal.png\"\ntexture_hover=\"s/hover.png\"\n"
    "texture_pressed=\"s/pressed.png\"\ntexture_disabled=\"s/disabled.png\"\n"
    "font=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\nline_spacing=\"20\"\nalign=\"LEFT\"\n"
    "font_normal=\"fonts/n.png\"\nfont_hover=\"fonts/h.png\"\nfont_pressed=\"fonts/p.png\"\nfont_disabled=\"fonts/d.png\"\n";

class ButtonTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        g_calls.clear();
        addIni("config/buttons.ini", kButtons);
        addIni("config/button_style.ini", kStyle);
        for (const char* t : {"fonts/n.png", "fonts/h.png", "fonts/p.png", "fonts/d.png"}) services.addTexture(t, 120, 200);
    }
    std::unique_ptr<cButton> load(const wchar_t* section, cSceneNode* parent = nullptr) {
        auto b = std::make_unique<cButton>(parent);
        b->loadFromIni(ini("config/buttons.ini"), section);
        b->setClickHandler(&onClick);
        b->setPressHandler(&onPress);
        b->setReleaseHandler(&onRelease);
        return b;
    }
    bool hitAt(cButton& b, float x, float y) {
        moveTo(x, y);
        return b.hitTest();
    }
};

}  // namespace

TEST_F(ButtonTest, HitShapesFromTheConfiguration) {
    struct Case {
        const wchar_t* section;
        float x, y;
        bool hit;
    } cases[] = {
        // Rectangle 100 x 40 centred on (200, 100): the border is inside.
        {L"PLAIN", 150, 80, true}, {L"PLAIN", 250, 120, true}, {L"PLAIN", 200, 100, true},
        {L"PLAIN", 149.5f, 100, false}, {L"PLAIN", 200, 120.5f, false},
        // Diamond v1..v4 (v5 absent, so v6 is not read): an edge is outside.
        {L"POLY", 200, 100, true}, {L"POLY", 160, 100, true}, {L"POLY", 175, 90, false},
        {L"POLY", 151, 81, false}, {L"POLY", 249, 119, false},
        // Two points only: the rectangle test.
        {L"TWO", 151, 81, true}, {L"TWO", 250, 120, true},
        // Not centred: the rectangle starts at the position.
        {L"CORNER", 200, 100, true}, {L"CORNER", 300, 140, true}, {L"CORNER", 199, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(cStringW(c.section).toNarrow() + " " + std::to_string(c.x) + "," + std::to_string(c.y));
        auto b = load(c.section);
        EXPECT_EQ(hitAt(*b, c.x, c.y), c.hit);
    }
    auto poly = load(L"POLY");
    EXPECT_EQ(poly->getHitPoints().size(), 4u);
    EXPECT_EQ(load(L"TWO")->getHitPoints().size(), 2u);
    // The pointer is displaced by the transform origin.
    auto plain = load(L"PLAIN");
    plain->setTransformOrigin(cVector2(-60, 0));
    EXPECT_TRUE(hitAt(*plain, 300, 100));
    EXPECT_FALSE(hitAt(*plain, 200, 100));
}

TEST_F(ButtonTest, AClickNeedsPressAndReleaseWithoutLeaving) {
    auto b = load(L"PLAIN");
    clickAt(200, 100);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"press", "release", "click button"}));

    g_calls.clear();
    moveTo(200, 100);
    press();
    EXPECT_TRUE(b->isPressed());
    moveTo(400, 400);      // leaving clears the press
    EXPECT_FALSE(b->isPressed());
    moveTo(200, 100);      // coming back does not restore it
    release();
    EXPECT_EQ(g_calls, (std::vector<std::string>{"press", "release"}));

    g_calls.clear();
    moveTo(10, 10);
    press();               // elsewhere: no press
    release();             // the release handler runs wherever the pointer is
    EXPECT_EQ(g_calls, (std::vector<std::string>{"release"}));
}

TEST_F(ButtonTest, LooksFollowTheMouseAndPlayTheirSounds) {
    auto b = load(L"PLAIN");
    EXPECT_EQ(b->getLayerTexture(0), "b/normal.png");
    moveTo(200, 100);
    EXPECT_EQ(b->getLayerTexture(0), "b/hover.png");
    EXPECT_TRUE(b->isHovered());
    moveTo(201, 100);      // no new sound while the look stays
    press();
    EXPECT_EQ(b->getLayerTexture(0), "b/pressed.png");
    release();             // back to hover from pressed: no hover sound
    EXPECT_EQ(b->getLayerTexture(0), "b/hover.png");
    moveTo(10, 10);
    EXPECT_EQ(b->getLayerTexture(0), "b/normal.png");
    EXPECT_EQ(sound->played, (std::vector<std::string>{"sounds/over.ogg", "sounds/down.ogg"}));
}

TEST_F(ButtonTest, AStyleFileGivesTheLabelWhoseFontImageFollowsTheLook) {
    // On a panel, as in the game: the panel keeps updating its disabled button.
    cSceneNode panel;
    panel.show();
    panel.enable();
    auto b = load(L"LABELLED", &panel);
    cText* label = b->getLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getParent(), b.get());
    EXPECT_EQ(label->getString(), L"OK");
    EXPECT_EQ(label->getFontName(), "fonts/fixed.rwf");
    EXPECT_EQ(label->getHorizontalAlign(), TEXT_ALIGN_LEFT);
    EXPECT_EQ(label->getPosition(), cVector2(405, 297));
    EXPECT_EQ(label->getDeep(), 11.0f);
    EXPECT_EQ(b->getSize(), cVector2(120, 50));
    EXPECT_EQ(b->getLayerTexture(0), "s/normal.png");
    EXPECT_EQ(label->getLayerTexture(0), "fonts/n.png");
    frame();
    EXPECT_EQ(label->getGlyphs().size(), 2u);

    const struct {
        const char* step;
        const char* texture;
        const char* font;
    } steps[] = {{"hover", "s/hover.png", "fonts/h.png"}, {"press", "s/pressed.png", "fonts/p.png"},
                 {"away", "s/normal.png", "fonts/n.png"}, {"disable", "s/disabled.png", "fonts/d.png"}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        std::string step = s.step;
        if (step == "hover") moveTo(400, 300);
        if (step == "press") press();
        if (step == "away") moveTo(10, 10), release();
        if (step == "disable") b->disable(), moveTo(400, 300);
        EXPECT_EQ(b->getLayerTexture(0), s.texture);
        EXPECT_EQ(label->getLayerTexture(0), s.font);
    }
    // Moving, fading and hiding the button take the label along.
    b->setPosition(cVector2(500, 300));
    EXPECT_EQ(label->getPosition(), cVector2(505, 297));
    b->setAlpha(0x40);
    EXPECT_EQ(label->getVertexAlpha(0), 0x40u);
    b->hide();
    EXPECT_FALSE(label->isVisible());

    auto plain = load(L"UNLABELLED", &panel);
    EXPECT_EQ(plain->getLabel(), nullptr);
    EXPECT_EQ(plain->getLayerTexture(0), "s/normal.png");
    b.reset();
    plain.reset();
}

TEST_F(ButtonTest, DisabledHiddenAndInactiveButtonsIgnoreTheMouse) {
    auto b = load(L"PLAIN");
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_PRESSED), 1u);
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_RELEASED), 1u);

    b->disable();
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_PRESSED), 0u);
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_RELEASED), 0u);
    clickAt(200, 100);
    EXPECT_EQ(b->getLayerTexture(0), "b/disabled.png");   // even while hovered
    EXPECT_TRUE(g_calls.empty());

    b->enable();
    b->deactivate();
    clickAt(200, 100);
    EXPECT_FALSE(b->isHovered());
    EXPECT_EQ(b->getLayerTexture(0), "b/normal.png");
    EXPECT_EQ(g_calls, (std::vector<std::string>{"release"}));   // the release needs no hit

    g_calls.clear();
    b->activate();
    b->hide();
    clickAt(200, 100);
    EXPECT_TRUE(g_calls.empty());

    auto hidden = load(L"HIDDEN");
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_PRESSED), 1u);   // only the first button's binding
    clickAt(200, 100);
    EXPECT_TRUE(g_calls.empty());
    b->show();
    clickAt(200, 100);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"press", "release", "click button"}));
}
