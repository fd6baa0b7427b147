// Handlers that delete the widget calling them (or its owner) while the input manager is
// dispatching: the widget must not touch itself afterwards, and the other widgets bound to the
// same input still get their calls. The sanitizers of the test build catch any use after free.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scene/cButton.h"
#include "engine/scene/cDeletionWatch.h"
#include "engine/scene/cListBox.h"
#include "engine/scene/cSlider.h"
#include "tests/engine/scene/test_widget_support.h"

using namespace widget_test;

namespace {

const char* const kWidgets =
    // Two buttons side by side.
    "[LEFT]\nposition=\"200,100\"\nsize=\"100,40\"\n"
    "[RIGHT]\nposition=\"400,100\"\nsize=\"100,40\"\n"
    // A horizontal slider: the thumb runs from (300, 300) to (500, 300).
    "[SLIDER]\nposition=\"400,300\"\nmin=\"0\"\nmax=\"100\"\nini=\"config/slider_style.ini\"\n"
    // A list box: rows at y 272.5, 297.5, 322.5; the track from (520, 260) to (520, 340); the
    // up button at (520, 240), the down button at (520, 360).
    "[LISTBOX]\nposition=\"400,300\"\nitems_visible=\"3\"\nitem_size=\"200,20\"\nspace=\"5\"\n"
    "first_item_offset=\"0,-40\"\nslider_up_offset=\"120,-40\"\nslider_down_offset=\"120,40\"\n"
    "[LISTBOX_BUTTON_UP]\nposition=\"120,-60\"\nsize=\"20,20\"\n"
    "[LISTBOX_BUTTON_DOWN]\nposition=\"120,60\"\nsize=\"20,20\"\n"
    "[LISTBOX_BUTTON_SLIDER]\nsize=\"20,20\"\n"
    "[LISTBOX_CURSOR]\n"
    "[LISTBOX_ITEMS_TEXT]\nfont=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\nalign=\"LEFT\"\n";

const char* const kSliderStyle =
    "[sizes]\nmin_slider_pos_h=\"-100,0\"\nmax_slider_pos_h=\"100,0\"\nslider_size_h=\"10,20\"\n";

// What the handlers delete, and what they saw.
cSceneNode* g_victim = nullptr;
std::vector<std::string> g_calls;

bool deleteVictim(cSceneNode*) {
    g_calls.push_back("delete");
    delete g_victim;
    g_victim = nullptr;
    return true;
}
bool record(const char* what) {
    g_calls.push_back(what);
    return false;
}
bool otherPress(cSceneNode*) { return record("other press"); }
bool otherRelease(cSceneNode*) { return record("other release"); }
bool otherClick(cSceneNode*) { return record("other click"); }

class HandlerDeletionTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        g_calls.clear();
        g_victim = nullptr;
        addIni("config/slider_style.ini", kSliderStyle);
        addIni("config/widgets.ini", kWidgets);
    }
    void TearDown() override {
        delete g_victim;   // a handler that never ran leaves its victim behind
        g_victim = nullptr;
        WidgetTest::TearDown();
    }
    template <class Widget>
    Widget* load(const wchar_t* section, cSceneNode* parent = nullptr) {
        auto* w = new Widget(parent);
        w->loadFromIni(ini("config/widgets.ini"), section);
        return w;
    }
};

}  // namespace

TEST_F(HandlerDeletionTest, AButtonHandlerMayDeleteItsButtonOrTheButtonsOwner) {
    using Setter = void (cButton::*)(ButtonHandler);
    struct Case {
        const char* name;
        Setter slot;
        bool ownerDeleted;   // the handler deletes the button's parent, and with it the button
    };
    const Case cases[] = {
        {"press deletes the button", &cButton::setPressHandler, false},
        {"release deletes the button", &cButton::setReleaseHandler, false},
        {"click deletes the button", &cButton::setClickHandler, false},
        {"press deletes the owner", &cButton::setPressHandler, true},
        {"release deletes the owner", &cButton::setReleaseHandler, true},
        {"click deletes the owner", &cButton::setClickHandler, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_calls.clear();
        cSceneNode* owner = nullptr;
        if (c.ownerDeleted) {
            owner = new cSceneNode();
            owner->show();
            owner->enable();
        }
        auto* button = load<cButton>(L"LEFT", owner);
        g_victim = owner ? owner : static_cast<cSceneNode*>(button);
        (button->*c.slot)(&deleteVictim);
        // A second button, bound after the first, still gets the events of that frame.
        auto other = std::unique_ptr<cButton>(load<cButton>(L"RIGHT"));
        other->setPressHandler(&otherPress);
        other->setReleaseHandler(&otherRelease);
        other->setClickHandler(&otherClick);

        moveTo(200, 100);
        press();
        release();
        EXPECT_EQ(g_calls, (std::vector<std::string>{"delete", "other release"}));
        EXPECT_EQ(g_victim, nullptr);
        // Only the other button is bound now, and it works.
        EXPECT_EQ(input->bindingCount(INPUT_LEFT_PRESSED), 1u);
        EXPECT_EQ(input->bindingCount(INPUT_LEFT_RELEASED), 1u);
        clickAt(400, 100);
        EXPECT_EQ(g_calls.back(), "other click");
    }
}

TEST_F(HandlerDeletionTest, ASlidersChangeHandlerMayDeleteTheSliderWhileDraggingOrAtTheRelease) {
    struct Case {
        const char* name;
        bool releaseBeforeDeleting;
    };
    for (const Case& c : {Case{"moved", false}, Case{"released", true}}) {
        SCOPED_TRACE(c.name);
        g_calls.clear();
        auto* slider = load<cSlider>(L"SLIDER");
        g_victim = slider;
        moveTo(300, 300);
        press();
        ASSERT_TRUE(slider->isDragging());
        if (c.releaseBeforeDeleting) {
            // Each motion frame leaves the value matching the thumb; a new range makes the
            // release read another value from the same thumb position.
            moveTo(400, 300);
            slider->setRange(0, 200);
            slider->setChangeHandler(&deleteVictim);
            release();
        } else {
            slider->setChangeHandler(&deleteVictim);
            moveTo(400, 300);   // the listener is called for x, y and the wheel in one frame
            moveTo(450, 300);
            release();
        }
        EXPECT_EQ(g_calls, std::vector<std::string>{"delete"});
        EXPECT_EQ(g_victim, nullptr);
        EXPECT_EQ(input->bindingCount(INPUT_LEFT_RELEASED), 0u);
    }
}

TEST_F(HandlerDeletionTest, AListBoxsSelectHandlerMayDeleteTheListBoxFromEachWayOfSelecting) {
    struct Case {
        const char* name;
        float pressX, pressY;
        float moveX, moveY;   // a drag when different from the press
    };
    const Case cases[] = {
        {"row click", 450, 297, 450, 297},
        {"step button", 520, 360, 520, 360},   // the handler deletes the button that calls it too
        {"slider drag", 520, 260, 520, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_calls.clear();
        auto* list = load<cListBox>(L"LISTBOX");
        for (int i = 0; i < 5; ++i) list->addItem(L"p" + std::to_wstring(i));
        list->select(0);
        list->setSelectHandler(&deleteVictim);
        g_victim = list;
        moveTo(c.pressX, c.pressY);
        press();
        if (c.moveX != c.pressX || c.moveY != c.pressY) moveTo(c.moveX, c.moveY);
        release();
        moveTo(0, 0);
        EXPECT_EQ(g_calls, std::vector<std::string>{"delete"});
        EXPECT_EQ(g_victim, nullptr);
        EXPECT_EQ(input->bindingCount(INPUT_LEFT_PRESSED), 0u);
    }
}

TEST(DeletionWatch, NestedScopesAllLearnOfTheDeletion) {
    auto* watch = new cDeletionWatch();
    cDeletionWatch::Scope outer(*watch);
    {
        cDeletionWatch::Scope done(*watch);   // a call that returned with the object alive
    }
    {
        cDeletionWatch::Scope inner(*watch);
        delete watch;                          // deleted during the inner call
        EXPECT_TRUE(inner.deleted());
    }
    EXPECT_TRUE(outer.deleted());
}
