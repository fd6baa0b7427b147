// The list box driven by injected mouse events: the layout from its sections, items and the
// selection, clicks on rows, the step buttons, dragging the slider button along the track
// (also a track of no length), and a disabled or inactive list box.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/scene/cListBox.h"
#include "engine/scene/cText.h"
#include "tests/engine/scene/test_widget_support.h"

using namespace widget_test;

namespace {

std::vector<int> g_selected;

bool onSelect(cSceneNode* w) {
    auto* list = dynamic_cast<cListBox*>(w);
    g_selected.push_back(list ? list->getSelected() : -100);
    return true;
}

const char* const kList =
    "[LISTBOX]\nposition=\"400,300\"\npicture=\"l/frame.png\"\ndeep=\"10\"\nitems_visible=\"3\"\n"
    "item_size=\"200,20\"\nspace=\"5\"\nfirst_item_offset=\"0,-40\"\nslider_up_offset=\"120,-40\"\n"
    "slider_down_offset=\"120,40\"\n"
    "[FLAT]\nposition=\"400,300\"\nitems_visible=\"3\"\nitem_size=\"200,20\"\nspace=\"5\"\n"
    "first_item_offset=\"0,-40\"\nslider_up_offset=\"120,-40\"\nslider_down_offset=\"120,-40\"\n"
    "[LISTBOX_BUTTON_UP]\nposition=\"120,-60\"\nsize=\"20,20\"\ntexture_normal=\"l/up.png\"\n"
    "[LISTBOX_BUTTON_DOWN]\nposition=\"120,60\"\nsize=\"20,20\"\ntexture_normal=\"l/down.png\"\n"
    "[LISTBOX_BUTTON_SLIDER]\nsize=\"20,20\"\ntexture_normal=\"l/thumb.png\"\n"
    "[LISTBOX_CURSOR]\npicture=\"l/cursor.png\"\n"
    "[LISTBOX_ITEMS_TEXT]\nfont=\"fonts/fixed.rwf\"\ntexture=\"fonts/fixed.png\"\nalign=\"LEFT\"\nline_spacing=\"20\"\n";

class ListBoxTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        g_selected.clear();
        addIni("config/list.ini", kList);
    }
    // Rows at y 272.5, 297.5, 322.5 (pitch 25 from 260); the track from (520, 260) to (520, 340).
    std::unique_ptr<cListBox> load(const wchar_t* section = L"LISTBOX", int items = 0) {
        auto l = std::make_unique<cListBox>();
        l->loadFromIni(ini("config/list.ini"), section);
        l->setSelectHandler(&onSelect);
        for (int i = 0; i < items; ++i) l->addItem(L"p" + std::to_wstring(i));
        return l;
    }
    static std::vector<std::wstring> rows(const cListBox& l) {
        std::vector<std::wstring> out;
        for (cText* t : l.getRowTexts()) out.push_back(t->getString());
        return out;
    }
};

}  // namespace

TEST_F(ListBoxTest, LayoutFromTheSections) {
    auto l = load();
    EXPECT_EQ(l->getFrame()->getPosition(), cVector2(400, 300));
    EXPECT_EQ(l->getFrame()->getLayerTexture(0), "l/frame.png");
    EXPECT_EQ(l->getButtonUp()->getPosition(), cVector2(520, 240));
    EXPECT_EQ(l->getButtonDown()->getPosition(), cVector2(520, 360));
    EXPECT_EQ(l->getCursor()->getLayerTexture(0), "l/cursor.png");
    EXPECT_EQ(l->getTrackStart(), cVector2(520, 260));
    EXPECT_EQ(l->getTrackLength(), cVector2(0, 80));
    ASSERT_EQ(l->getRowTexts().size(), 3u);
    const float ys[] = {272.5f, 297.5f, 322.5f};
    for (size_t i = 0; i < 3; ++i) {
        cText* row = l->getRowTexts()[i];
        EXPECT_EQ(row->getPosition(), cVector2(400, ys[i]));
        EXPECT_TRUE(row->isVisible());
        EXPECT_EQ(row->getFontName(), "fonts/fixed.rwf");
    }
    // No items: the slider button rests disabled at the top of the track.
    EXPECT_FALSE(l->getButtonSlider()->isEnabled());
    EXPECT_EQ(l->getButtonSlider()->getPosition(), cVector2(520, 260));
    // Moving the list box takes everything along.
    l->setPosition(cVector2(410, 290));
    EXPECT_EQ(l->getFirstItemPosition(), cVector2(410, 250));
    EXPECT_EQ(l->getTrackStart(), cVector2(530, 250));
    EXPECT_EQ(l->getRowTexts()[0]->getPosition(), cVector2(410, 262.5f));
    EXPECT_EQ(l->getButtonUp()->getPosition(), cVector2(530, 230));
    l->setAlpha(0x55);
    EXPECT_EQ(l->getButtonDown()->getVertexAlpha(0), 0x55u);
    EXPECT_EQ(l->getRowTexts()[2]->getVertexAlpha(0), 0x55u);
}

TEST_F(ListBoxTest, TheWindowFollowsTheSelection) {
    auto l = load(L"LISTBOX", 10);
    EXPECT_EQ(l->getSelected(), 9);              // each added item is selected, silently
    EXPECT_TRUE(g_selected.empty());
    EXPECT_EQ(rows(*l), (std::vector<std::wstring>{L"p7", L"p8", L"p9"}));
    EXPECT_EQ(l->getCursor()->getPosition(), cVector2(400, 322.5f));
    EXPECT_EQ(l->getButtonSlider()->getPosition(), cVector2(520, 340));
    EXPECT_TRUE(l->select(4));
    EXPECT_EQ(rows(*l), (std::vector<std::wstring>{L"p4", L"p5", L"p6"}));
    EXPECT_EQ(l->getCursor()->getPosition(), cVector2(400, 272.5f));
    EXPECT_FALSE(l->select(4));                  // the same index calls nothing
    EXPECT_FALSE(l->select(10));
    EXPECT_FALSE(l->select(-1));
    EXPECT_EQ(g_selected, std::vector<int>{4});
    EXPECT_EQ(l->getSelectedText(), L"p4");
    EXPECT_EQ(l->getItemText(12), L"");

    auto two = load(L"LISTBOX", 2);               // fewer items than rows
    EXPECT_EQ(rows(*two), (std::vector<std::wstring>{L"p0", L"p1", L""}));
    EXPECT_EQ(two->getFirstVisible(), 0);
    auto one = load(L"LISTBOX", 1);
    EXPECT_TRUE(one->getButtonSlider()->isEnabled());
    EXPECT_EQ(one->getButtonSlider()->getPosition(), cVector2(520, 260));
}

TEST_F(ListBoxTest, RemovingAndFindingItems) {
    auto l = load(L"LISTBOX", 5);
    l->removeItemAt(4);                          // the selected last item
    EXPECT_EQ(l->getSelected(), 3);
    l->removeItemAt(0);                          // before the selection
    EXPECT_EQ(l->getSelected(), 2);
    EXPECT_EQ(l->getSelectedText(), L"p3");
    l->removeItemAt(7);
    l->removeItemAt(-1);
    EXPECT_EQ(l->getItemCount(), 3);
    l->removeItem(L"P1");                        // by name, any case
    EXPECT_EQ(l->getItemCount(), 2);
    l->removeItem(L"p2");
    l->removeItem(L"p3");
    EXPECT_EQ(l->getItemCount(), 0);
    EXPECT_EQ(l->getSelected(), 0);
    EXPECT_FALSE(l->getButtonSlider()->isEnabled());
    EXPECT_TRUE(g_selected.empty());

    l->addItem(L"Anna");
    l->addItem(L"Bob");
    l->addItem(L"ANNA");                         // the earlier equal item is selected
    EXPECT_EQ(l->getSelected(), 0);
    EXPECT_EQ(l->find(L"bob"), 1);
    EXPECT_EQ(l->find(L"Carl"), -1);
    EXPECT_EQ(l->getItemCount(), 3);
}

TEST_F(ListBoxTest, ClickingRowsAndStepButtons) {
    auto l = load(L"LISTBOX", 10);
    l->select(0);
    g_selected.clear();
    clickAt(450, 297);                           // row 1
    EXPECT_EQ(l->getSelected(), 1);
    clickAt(599, 258);                           // the top edge of row 0 (half the space above)
    EXPECT_EQ(l->getSelected(), 0);
    clickAt(601, 297);                           // right of the rows
    clickAt(450, 340);                           // below them
    EXPECT_EQ(g_selected, (std::vector<int>{1, 0}));

    clickAt(520, 240);                           // up on item 0: nothing
    EXPECT_EQ(g_selected.size(), 2u);
    clickAt(520, 360);                           // down
    clickAt(520, 360);
    EXPECT_EQ(l->getSelected(), 2);
    clickAt(520, 240);                           // up
    EXPECT_EQ(g_selected, (std::vector<int>{1, 0, 1, 2, 1}));
    EXPECT_EQ(l->getButtonSlider()->getPosition().y, 260.0f + 80.0f / 9.0f);

    l.reset();
    auto few = load(L"LISTBOX", 2);
    few->select(0);
    g_selected.clear();
    clickAt(450, 322);                           // the third row is empty
    EXPECT_EQ(few->getSelected(), 0);
    EXPECT_TRUE(g_selected.empty());
}

TEST_F(ListBoxTest, RowsShiftWithTheAlignmentOfTheirTexts) {
    struct Case {
        const char* align;
        float left;   // rows 200 wide
    } cases[] = {{"LEFT", 400}, {"CENTER", 300}, {"RIGHT", 200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        std::string text = kList;
        text.replace(text.find("align=\"LEFT\""), 12, std::string("align=\"") + c.align + "\"");
        const std::string name = std::string("config/list_") + c.align + ".ini";
        addIni(name, text);
        auto l = std::make_unique<cListBox>();
        l->loadFromIni(ini(name), L"LISTBOX");
        for (int i = 0; i < 3; ++i) l->addItem(L"p" + std::to_wstring(i));
        clickAt(c.left - 1, 297);
        EXPECT_EQ(l->getSelected(), 2);
        clickAt(c.left, 297);
        EXPECT_EQ(l->getSelected(), 1);
        clickAt(c.left + 200, 272);
        EXPECT_EQ(l->getSelected(), 0);
        clickAt(c.left + 201, 297);
        EXPECT_EQ(l->getSelected(), 0);
    }
}

TEST_F(ListBoxTest, DraggingTheSliderButtonScrollsAndReleasingSnapsIt) {
    auto l = load(L"LISTBOX", 5);
    l->select(0);
    g_selected.clear();
    moveTo(520, 260);
    press();
    EXPECT_TRUE(l->isDragging());
    moveTo(530, 300);                            // the middle of the track: item 2
    EXPECT_EQ(l->getSelected(), 2);
    EXPECT_EQ(l->getButtonSlider()->getPosition(), cVector2(520, 300));
    moveTo(530, 315);                            // 2.75 rounds to 3; the button stays where dragged
    EXPECT_EQ(l->getSelected(), 3);
    EXPECT_EQ(l->getButtonSlider()->getPosition(), cVector2(520, 315));
    moveTo(530, 900);                            // clamped to the end
    EXPECT_EQ(l->getSelected(), 4);
    in::injectWheel(-3);                         // the wheel changes nothing
    frame();
    EXPECT_EQ(l->getSelected(), 4);
    moveTo(530, 315);
    release();
    EXPECT_FALSE(l->isDragging());
    EXPECT_EQ(l->getSelected(), 3);
    EXPECT_EQ(l->getButtonSlider()->getPosition(), cVector2(520, 320));   // snapped to item 3
    EXPECT_EQ(g_selected, (std::vector<int>{2, 3, 4, 3}));
}

TEST_F(ListBoxTest, ATrackOfNoLengthKeepsTheSelectionWhileDragging) {
    auto l = load(L"FLAT", 4);
    l->select(1);
    g_selected.clear();
    EXPECT_EQ(l->getButtonSlider()->getPosition(), cVector2(520, 260));
    moveTo(520, 260);
    press();
    moveTo(520, 330);
    EXPECT_EQ(l->getSelected(), 1);
    EXPECT_EQ(l->getButtonSlider()->getPosition(), cVector2(520, 260));
    release();
    EXPECT_TRUE(g_selected.empty());
}

TEST_F(ListBoxTest, DisabledAndInactiveListBoxesIgnoreClicks) {
    auto l = load(L"LISTBOX", 5);
    l->select(0);
    g_selected.clear();
    l->disable();
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_PRESSED), 0u);   // rows and its three buttons
    clickAt(450, 297);
    clickAt(520, 360);
    EXPECT_EQ(l->getSelected(), 0);
    l->enable();
    l->deactivate();
    clickAt(450, 297);
    clickAt(520, 360);
    moveTo(520, 260);
    press();
    moveTo(520, 340);
    release();
    EXPECT_EQ(l->getSelected(), 0);
    EXPECT_TRUE(g_selected.empty());
    l->activate();
    clickAt(450, 297);
    EXPECT_EQ(g_selected, std::vector<int>{1});
}
