// The slider driven by injected mouse events: loading, dragging the thumb along the track,
// the value and its handler, ranges that do not start at 0 or have no width, the vertical
// orientation, and disabled and inactive sliders ignoring the mouse.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/scene/cSlider.h"
#include "tests/engine/scene/test_widget_support.h"

using namespace widget_test;

namespace {

// A slider that knows its section, for the handler's record.
class NamedSlider : public cSlider {
public:
    explicit NamedSlider(std::string name) : m_name(std::move(name)) {}
    const std::string& getName() const { return m_name; }

private:
    std::string m_name;
};

std::vector<std::pair<std::string, int>> g_changes;

bool onChange(cSceneNode* w) {
    auto* slider = dynamic_cast<NamedSlider*>(w);
    g_changes.emplace_back(slider ? slider->getName() : "?", slider ? slider->getValue() : -1);
    return true;
}

const char* const kStyle =
    "[paths]\nname_pic_slider_vert=\"s/thumb_v.png\"\nname_pic_slider_horz=\"s/thumb_h.png\"\n"
    "name_pic_track_bar_vert=\"s/track_v.png\"\nname_pic_track_bar_horz=\"s/track_h.png\"\n"
    "[sizes]\nmin_slider_pos_v=\"0,-50\"\nmax_slider_pos_v=\"0,50\"\nslider_size_v=\"20,10\"\n"
    "min_slider_pos_h=\"-100,0\"\nmax_slider_pos_h=\"100,0\"\nslider_size_h=\"10,20\"\n";

const char* const kSliders =
    "[MUSIC]\nposition=\"400,300\"\ndeep=\"50\"\nmin=\"0\"\nmax=\"100\"\ncurrent=\"30\"\nstep=\"5\"\n"
    "sound_pressed=\"sounds/grab.ogg\"\nsound_unpressed=\"sounds/drop.ogg\"\nini=\"config/slider_style.ini\"\n"
    "[SOUND]\nposition=\"400,400\"\ndeep=\"50\"\nmin=\"0\"\nmax=\"100\"\nini=\"config/slider_style.ini\"\n"
    "[OFFSET]\nposition=\"400,300\"\nmin=\"20\"\nmax=\"120\"\nini=\"config/slider_style.ini\"\n"
    "[FLAT]\nposition=\"400,300\"\nmin=\"5\"\nmax=\"5\"\nini=\"config/slider_style.ini\"\n"
    "[VERT]\nposition=\"400,300\"\nvertical=\"1\"\nmin=\"0\"\nmax=\"10\"\nini=\"config/slider_style.ini\"\n"
    "[NOSTYLE]\nposition=\"400,300\"\nini=\"config/none.ini\"\n";

class SliderTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        g_changes.clear();
        addIni("config/slider_style.ini", kStyle);
        addIni("config/sliders.ini", kSliders);
    }
    std::unique_ptr<NamedSlider> load(const wchar_t* section) {
        auto s = std::make_unique<NamedSlider>(cStringW(section).toNarrow());
        s->loadFromIni(ini("config/sliders.ini"), section);
        s->setChangeHandler(&onChange);
        return s;
    }
    cVector2 thumb(const cSlider& s) const { return s.getThumb()->getPosition(); }
    void drag(float fromX, float fromY, float toX, float toY) {
        moveTo(fromX, fromY);
        press();
        moveTo(toX, toY);
    }
};

}  // namespace


TEST_F(SliderTest, LoadingShowsTheTrackAndPutsTheThumbAtItsStart) {
    auto s = load(L"MUSIC");
    EXPECT_TRUE(s->isVisible());
    EXPECT_TRUE(s->getThumb()->isVisible());
    EXPECT_EQ(s->getPosition(), cVector2(400, 300));
    EXPECT_EQ(s->getDeep(), 50.0f);
    EXPECT_EQ(s->getThumb()->getDeep(), 51.0f);
    EXPECT_EQ(s->getLayerTexture(0), "s/track_h.png");
    EXPECT_EQ(s->getThumb()->getLayerTexture(0), "s/thumb_h.png");
    EXPECT_EQ(thumb(*s), cVector2(300, 300));   // whatever "current" said
    EXPECT_EQ(s->getValue(), 30);
    EXPECT_EQ(s->getStep(), 5);
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_PRESSED), 1u);
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_RELEASED), 1u);
    // A style that is not loaded is reported by the resource manager.
    NamedSlider broken("NOSTYLE");
    EXPECT_THROW(broken.loadFromIni(ini("config/sliders.ini"), L"NOSTYLE"), std::string);
}

TEST_F(SliderTest, DraggingTheThumbSetsTheValueAndReleasingReadsItOnceMore) {
    auto s = load(L"MUSIC");
    drag(300, 300, 400, 300);
    EXPECT_TRUE(s->isDragging());
    EXPECT_EQ(thumb(*s), cVector2(400, 300));
    EXPECT_EQ(s->getValue(), 50);
    moveTo(520, 280);   // past the end, off the line: the thumb stays on the track
    EXPECT_EQ(thumb(*s), cVector2(500, 300));
    EXPECT_EQ(s->getValue(), 100);
    moveTo(450, 300);
    release();
    EXPECT_FALSE(s->isDragging());
    EXPECT_EQ(s->getValue(), 75);
    moveTo(300, 300);   // no longer held
    EXPECT_EQ(thumb(*s), cVector2(450, 300));
    EXPECT_EQ(sound->played, (std::vector<std::string>{"sounds/grab.ogg", "sounds/drop.ogg"}));
    // The first report compares with "current" (30): 50, 100, 75.
    EXPECT_EQ(g_changes, (std::vector<std::pair<std::string, int>>{{"MUSIC", 50}, {"MUSIC", 100}, {"MUSIC", 75}}));
}

TEST_F(SliderTest, APressBesideTheThumbDoesNotGrabIt) {
    auto s = load(L"MUSIC");
    for (cVector2 p : {cVector2(306, 300), cVector2(300, 311), cVector2(400, 300)}) {
        drag(p.x, p.y, 450, 300);
        release();
        EXPECT_EQ(thumb(*s), cVector2(300, 300));
    }
    drag(305, 310, 450, 300);   // the grab rectangle's corner still holds
    EXPECT_EQ(thumb(*s), cVector2(450, 300));
    release();
    EXPECT_TRUE(sound->played.size() == 2u);
}

TEST_F(SliderTest, SetValueClampsAndEachSliderReportsItsOwnChanges) {
    auto music = load(L"MUSIC");
    auto sound2 = load(L"SOUND");
    sound2->setValue(0);    // a first placement reports nothing
    music->setValue(250);
    EXPECT_EQ(music->getValue(), 100);
    EXPECT_EQ(thumb(*music), cVector2(500, 300));
    music->setValue(-5);
    EXPECT_EQ(music->getValue(), 0);
    EXPECT_EQ(thumb(*music), cVector2(300, 300));
    music->setValue(40);
    sound2->setValue(40);   // the value the first one just reported
    EXPECT_EQ(thumb(*sound2), cVector2(380, 400));
    EXPECT_EQ(g_changes,
              (std::vector<std::pair<std::string, int>>{{"MUSIC", 100}, {"MUSIC", 0}, {"MUSIC", 40}, {"SOUND", 40}}));
    g_changes.clear();
    sound2->setValue(40);
    EXPECT_TRUE(g_changes.empty());
}

TEST_F(SliderTest, RangesNotStartingAtZeroKeepTheThumbOnTheTrack) {
    auto s = load(L"OFFSET");
    struct Case {
        int value;
        float x;
    } cases[] = {{20, 300}, {70, 400}, {120, 500}, {0, 300}, {500, 500}};
    for (const Case& c : cases) {
        s->setValue(c.value);
        EXPECT_EQ(thumb(*s).x, c.x) << c.value;
    }
    s->setValue(20);
    drag(300, 300, 450, 300);
    release();
    EXPECT_EQ(s->getValue(), 95);

    auto flat = load(L"FLAT");   // no width: the thumb rests at the start
    flat->setValue(9);
    EXPECT_EQ(flat->getValue(), 5);
    EXPECT_EQ(thumb(*flat), cVector2(300, 300));
    drag(300, 300, 450, 300);
    release();
    EXPECT_EQ(flat->getValue(), 5);
}

TEST_F(SliderTest, AVerticalSliderMovesAlongY) {
    auto s = load(L"VERT");
    EXPECT_EQ(s->getLayerTexture(0), "s/track_v.png");
    EXPECT_EQ(thumb(*s), cVector2(400, 250));
    drag(405, 254, 300, 300);   // the pointer's x does not matter once held
    EXPECT_EQ(thumb(*s), cVector2(400, 300));
    EXPECT_EQ(s->getValue(), 5);
    moveTo(300, 100);
    release();
    EXPECT_EQ(thumb(*s), cVector2(400, 250));
    EXPECT_EQ(s->getValue(), 0);
}

TEST_F(SliderTest, DisabledAndInactiveSlidersIgnoreTheMouse) {
    auto s = load(L"MUSIC");
    s->disable();
    EXPECT_EQ(input->bindingCount(INPUT_LEFT_PRESSED), 0u);
    drag(300, 300, 450, 300);
    release();
    EXPECT_EQ(thumb(*s), cVector2(300, 300));

    s->enable();
    s->deactivate();
    drag(300, 300, 450, 300);
    release();
    EXPECT_EQ(thumb(*s), cVector2(300, 300));
    EXPECT_TRUE(g_changes.empty());
    EXPECT_TRUE(sound->played.empty());

    // Deactivated while held: the drag stops following.
    s->activate();
    drag(300, 300, 350, 300);
    s->deactivate();
    moveTo(450, 300);
    EXPECT_EQ(thumb(*s), cVector2(350, 300));
    s->activate();
    release();
    EXPECT_FALSE(s->isDragging());
}
