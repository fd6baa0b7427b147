// The check button driven by injected mouse events: the press flips it at once, the release
// over it calls the handler with the new state, looks from the state word, the label, and
// hidden, disabled and inactive check buttons.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/scene/cCheckButton.h"
#include "engine/scene/cText.h"
#include "tests/engine/scene/test_widget_support.h"

using namespace widget_test;

namespace {

std::vector<std::string> g_calls;

bool onClick(cSceneNode* w) {
    auto* check = dynamic_cast<cCheckButton*>(w);
    g_calls.push_back(check && check->isChecked() ? "click on" : "click off");
    return true;
}

const char* const kLooks =
    "size=\"40,40\"\ntexture_normal_on=\"c/n1.png\"\ntexture_normal_off=\"c/n0.png\"\n"
    "texture_hover_on=\"c/h1.png\"\ntexture_hover_off=\"c/h0.png\"\n"
    "texture_disabled_on=\"c/d1.png\"\ntexture_disabled_off=\"c/d0.png\"\n";

class CheckTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        g_calls.clear();
        addIni("config/checks.ini", std::string("[CHECK]\nposition=\"200,100\"\n") + kLooks +
                                        "[CHECKED]\nposition=\"200,100\"\nchecked=\"1\"\n" + kLooks +
                                        "[YES]\nposition=\"200,100\"\nchecked=\"yes\"\n" + kLooks +
                                        "[LABELLED]\nposition=\"200,100\"\nini=\"config/check_style.ini\"\n"
                                        "text=\"Sound\"\ntext_offset=\"30,0\"\nchecked=\"1\"\n");
        addIni("config/check_style.ini", std::string("[CHECK_BUTTON]\n") + kLooks +
                                             "font=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\nalign=\"LEFT\"\n"
                                             "font_normal=\"fonts/n.png\"\nfont_hover=\"fonts/h.png\"\n"
                                             "font_disabled=\"fonts/d.png\"\n");
    }
    std::unique_ptr<cCheckButton> load(const wchar_t* section, cSceneNode* parent = nullptr) {
        auto c = std::make_unique<cCheckButton>(parent);
        c->loadFromIni(ini("config/checks.ini"), section);
        c->setClickHandler(&onClick);
        return c;
    }
};

}  // namespace

TEST_F(CheckTest, APressFlipsAtOnceAndTheReleaseOverItCallsTheHandler) {
    auto c = load(L"CHECK");
    moveTo(200, 100);
    press();
    EXPECT_TRUE(c->isChecked());       // before any release
    EXPECT_TRUE(g_calls.empty());
    release();
    EXPECT_EQ(g_calls, std::vector<std::string>{"click on"});
    press();
    EXPECT_FALSE(c->isChecked());
    moveTo(300, 300);
    release();                         // released elsewhere: no handler
    EXPECT_EQ(g_calls.size(), 1u);

    press();                           // pressed elsewhere: no flip
    EXPECT_FALSE(c->isChecked());
    moveTo(219, 119);
    release();                         // the release over it calls the handler all the same
    EXPECT_EQ(g_calls, (std::vector<std::string>{"click on", "click off"}));
}

TEST_F(CheckTest, TheLookFollowsTheStateWord) {
    cSceneNode panel;   // on a panel, which keeps updating a disabled check button
    panel.show();
    panel.enable();
    auto c = load(L"CHECK", &panel);
    frame();
    EXPECT_EQ(c->getState(), CHECK_SHOWN);
    EXPECT_EQ(c->getLayerTexture(0), "c/n0.png");
    struct Step {
        const char* what;
        const char* texture;
        int32_t state;
    } steps[] = {
        {"hover", "c/h0.png", CHECK_SHOWN | CHECK_HOVER},
        {"press", "c/h1.png", CHECK_SHOWN | CHECK_HOVER | CHECK_CHECKED},
        {"leave", "c/n1.png", CHECK_SHOWN | CHECK_CHECKED},
        {"disable", "c/d1.png", CHECK_SHOWN | CHECK_CHECKED | CHECK_DISABLED},
        {"uncheck", "c/d0.png", CHECK_SHOWN | CHECK_DISABLED},
        {"enable", "c/n0.png", CHECK_SHOWN},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        std::string what = s.what;
        if (what == "hover") moveTo(200, 100);
        if (what == "press") press(), release();
        if (what == "leave") moveTo(0, 0);
        if (what == "disable") c->disable();
        if (what == "uncheck") c->setChecked(false);
        if (what == "enable") c->enable();
        EXPECT_EQ(c->getLayerTexture(0), s.texture);
        EXPECT_EQ(c->getState(), s.state);
    }
    // Hidden: the word changes, the texture stays.
    c->hide();
    c->setChecked(true);
    EXPECT_EQ(c->getState(), CHECK_CHECKED);
    EXPECT_EQ(c->getLayerTexture(0), "c/n0.png");
    c->show();
    EXPECT_EQ(c->getLayerTexture(0), "c/n1.png");
    c.reset();
}

TEST_F(CheckTest, CheckedKeyAndLabel) {
    auto on = load(L"CHECKED");
    EXPECT_TRUE(on->isChecked());
    frame();
    EXPECT_EQ(on->getLayerTexture(0), "c/n1.png");
    on.reset();
    EXPECT_FALSE(load(L"YES")->isChecked());   // only "1" checks it

    auto labelled = load(L"LABELLED");
    cText* label = labelled->getLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getString(), L"Sound");
    EXPECT_EQ(label->getPosition(), cVector2(230, 100));
    EXPECT_EQ(label->getDeep(), labelled->getDeep() + 1.0f);
    EXPECT_EQ(label->getLayerTexture(0), "fonts/n.png");
    EXPECT_EQ(labelled->getLayerTexture(0), "c/n1.png");
    moveTo(200, 100);
    EXPECT_EQ(label->getLayerTexture(0), "fonts/h.png");
    labelled->setScale(cVector2(2, 2));
    labelled->setAlpha(0x30);
    EXPECT_EQ(label->getScale(), cVector2(2, 2));
    EXPECT_EQ(label->getVertexAlpha(0), 0x30u);
}

TEST_F(CheckTest, DisabledHiddenAndInactiveCheckButtonsIgnoreTheMouse) {
    auto c = load(L"CHECK");
    c->disable();
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_PRESSED), 0u);
    clickAt(200, 100);
    EXPECT_FALSE(c->isChecked());
    // Even the callbacks themselves refuse while the disabled bit is set.
    EXPECT_FALSE(c->onPress());
    EXPECT_FALSE(c->isChecked());

    c->enable();
    c->deactivate();
    clickAt(200, 100);
    EXPECT_FALSE(c->isChecked());
    EXPECT_TRUE(g_calls.empty());

    c->activate();
    c->hide();
    clickAt(200, 100);
    EXPECT_FALSE(c->isChecked());
    EXPECT_TRUE(g_calls.empty());
    c->show();
    clickAt(200, 100);
    EXPECT_TRUE(c->isChecked());
    EXPECT_EQ(g_calls, std::vector<std::string>{"click on"});
}
