// The edit box driven by typed characters and key events: loading, the width limit, refused
// characters, Backspace, Enter and Escape, the blinking cursor, and hidden, inactive and
// disabled edit boxes.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/scene/cEditBox.h"
#include "engine/scene/cText.h"
#include "tests/engine/scene/test_widget_support.h"

using namespace widget_test;

namespace {

std::vector<std::string> g_calls;

bool onEnter(cSceneNode* w) {
    auto* box = dynamic_cast<cEditBox*>(w);
    g_calls.push_back("enter " + (box ? box->getText().toNarrow() : std::string("?")));
    return true;
}
bool onEscape(cSceneNode*) {
    g_calls.push_back("escape");
    return true;
}

class EditBoxTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        g_calls.clear();
        addIni("config/edit_style.ini",
               "[paths]\nname_font=\"fonts/fixed.png\"\nname_font_param=\"fonts/fixed.rwf\"\nname_pic=\"e/box.png\"\n"
               "[sizes]\ntext_align=\"LEFT\"\ntext_offset=\"-80,0\"\nmax_text_size=\"100\"\ncursor_speed=\"0.5\"\n");
        addIni("config/edits.ini",
               "[NAME]\nposition=\"400,300\"\ndeep=\"20\"\nini=\"config/edit_style.ini\"\ntext=\"Name\"\ncursor=\"_\"\n"
               "[NOSTYLE]\nposition=\"400,300\"\n");
    }
    std::unique_ptr<cEditBox> load() {
        auto e = std::make_unique<cEditBox>();
        e->loadFromIni(ini("config/edits.ini"), L"NAME");
        e->setEnterHandler(&onEnter);
        e->setEscapeHandler(&onEscape);
        return e;
    }
};

}  // namespace

TEST_F(EditBoxTest, LoadingPlacesBothTextsAndShowsThePlaceholder) {
    auto e = load();
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->getLayerTexture(0), "e/box.png");
    for (cText* t : {e->getValueText(), e->getCursorText()}) {
        EXPECT_EQ(t->getParent(), e.get());
        EXPECT_EQ(t->getPosition(), cVector2(320, 300));
        EXPECT_EQ(t->getDeep(), 21.0f);
        EXPECT_EQ(t->getFontName(), "fonts/fixed.rwf");
        EXPECT_EQ(t->getLayerTexture(0), "fonts/fixed.png");
        EXPECT_EQ(t->getHorizontalAlign(), TEXT_ALIGN_LEFT);
        EXPECT_TRUE(t->isVisible());
    }
    EXPECT_EQ(e->getValueText()->getString(), L"Name");
    EXPECT_TRUE(e->getText().empty());
    EXPECT_EQ(e->getMaxTextSize(), 100u);
    EXPECT_EQ(e->getCursorSpeed(), 0.5f);
    cEditBox noStyle;
    EXPECT_THROW(noStyle.loadFromIni(ini("config/edits.ini"), L"NOSTYLE"), std::string);
}

TEST_F(EditBoxTest, TypingStopsBelowTheWidthLimitAndRefusesWhatTheFontLacks) {
    auto e = load();
    type(L"ABCDEFGHIJ");
    EXPECT_EQ(e->getText(), L"ABCDEFGH");   // a ninth glyph would make 108 pixels
    EXPECT_EQ(e->getValueText()->getString(), L"ABCDEFGH");
    keyUp(KEY_BACKSPACE);
    EXPECT_EQ(e->getText(), L"ABCDEFG");
    type(L"\x0d\t\x1b\x0416");               // carriage return, tab, Escape, a Cyrillic letter
    EXPECT_EQ(e->getText(), L"ABCDEFG");
    cBitmapFont* font = e->getValueText()->getFont();
    for (wchar_t c : {L'\t', wchar_t(27), wchar_t(0x0416)}) EXPECT_FALSE(font->hasGlyph(c)) << int(c);
    type(L"z");
    EXPECT_EQ(e->getText(), L"ABCDEFGz");
    type(std::wstring(12, wchar_t(8)));      // Backspace on an empty value does nothing
    EXPECT_TRUE(e->getText().empty());
    EXPECT_TRUE(g_calls.empty());

    e->setText(L"Max");
    EXPECT_EQ(e->getValueText()->getString(), L"Max");
    type(L"!");                              // not in the font
    EXPECT_EQ(e->getText(), L"Max");

    // Measuring and drawing a value that holds a character the font lacks does not teach the
    // font that character: typing it is still refused.
    e->setText(L"A\tB");
    frame();
    EXPECT_EQ(e->getValueText()->getWidth(), 24.0f);
    EXPECT_EQ(e->getValueText()->getGlyphs().size(), 2u);
    e->setText(L"");
    type(L"\t");
    EXPECT_TRUE(e->getText().empty());
    EXPECT_FALSE(font->hasGlyph(L'\t'));
}

TEST_F(EditBoxTest, EnterAndEscapeReleasesCallTheirHandlers) {
    auto e = load();
    type(L"Al\r");
    EXPECT_TRUE(g_calls.empty());            // Enter typed as a character does nothing
    keyUp(KEY_ENTER);                        // its typed 13 is ignored, its release calls
    keyUp(KEY_ESCAPE);                       // its typed 27 is refused, its release calls
    EXPECT_EQ(g_calls, (std::vector<std::string>{"enter Al", "escape"}));
    EXPECT_EQ(e->getText(), L"Al");

    g_calls.clear();
    e->hide();                               // hidden but enabled: keys ignored, typing taken
    keyUp(KEY_ENTER);
    keyUp(KEY_ESCAPE);
    type(L"x");
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(e->getText(), L"Alx");

    e->show();
    e->deactivate();                         // inactive: neither
    keyUp(KEY_ENTER);
    type(L"y");
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(e->getText(), L"Alx");

    e->activate();
    e->disable();                            // disabled: no bindings, no character receiver
    EXPECT_EQ(input->bindingCount(keyReleasedCode(KEY_ENTER)), 0u);
    keyUp(KEY_ENTER);
    type(L"z");
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(e->getText(), L"Alx");
}

TEST_F(EditBoxTest, TheCursorBlinksOnInterfaceTimeAfterTheLastCharacter) {
    auto e = load();
    e->setText(L"AB");
    services.realDelta = 0.2f;
    std::vector<std::wstring> shown;
    for (int i = 0; i < 7; ++i) {
        frame();
        shown.push_back(e->getCursorText()->getString());
    }
    // 0.5 s per phase in steps of 0.2 s: the phase flips when the time left drops below 0.
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"", L"", L"_", L"_", L"_", L"", L""}));

    struct Case {
        int align;
        float x;
    } cases[] = {{TEXT_ALIGN_LEFT, 344}, {TEXT_ALIGN_CENTER, 338}, {TEXT_ALIGN_RIGHT, 332}};
    for (const Case& c : cases) {
        e->getValueText()->setHorizontalAlign(c.align);
        e->getCursorText()->setHorizontalAlign(c.align);
        while (e->isCursorOn()) frame();
        while (!e->isCursorOn()) frame();   // placed in the frame it turns on
        EXPECT_EQ(e->getCursorText()->getPosition(), cVector2(c.x, 300)) << c.align;
    }
}
