// The software cursor: its looks, the widget test, and when the system pointer is wanted.
#include <gtest/gtest.h>

#include <memory>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "game/flow/cCursor.h"
#include "game/flow/cResourceGroupManager.h"
#include "tests/game/flow/test_game_env.h"

namespace {

class Cursor : public ::testing::Test {
protected:
    void SetUp() override {
        genv.data.writeIni("config/common/cursor.ini", game_test::kCursorIni);
        genv.startCore();
        getResourceManager()->load(cCursor::kConfig, GROUP_CONFIG);
        getResourceManager()->loadFolder("Menu/Cursor", true, GROUP_STARTUP);
        state.reset(new cSceneNode(nullptr));
        state->show();
        state->enable();
        cursor = new cCursor(state.get());
        cursor->loadFromIni(*getResourceManager()->getIni(cCursor::kConfig), L"COMMON");
        genv.frame();
    }
    void TearDown() override {
        state.reset();
        getInput()->setHardwareCursor(false);
    }
    void moveTo(float x, float y) {
        platform::input::injectCursor(x, y);
        genv.frame();
    }
    void button(bool pressed) {
        platform::input::injectButton(MOUSE_LEFT, pressed);
        genv.frame();
    }

    game_test::GameEnvironment genv;
    std::unique_ptr<cSceneNode> state;
    cCursor* cursor = nullptr;
};

}  // namespace

TEST_F(Cursor, LooksFollowTheButtonAndWhatIsUnderThePointer) {
    EXPECT_EQ(cursor->getPictureName(cCursor::LOOK_ACTIVE), "Menu/Cursor/cursor_active.dds");
    moveTo(300, 200);
    EXPECT_EQ(cursor->getPosition().x, 300.0f);
    EXPECT_EQ(cursor->getPosition().y, 200.0f);
    EXPECT_EQ(cursor->getCurrentPicture(), cCursor::LOOK_NORMAL);
    button(true);  // held over nothing: pressed
    EXPECT_TRUE(cursor->isPressed());
    EXPECT_EQ(cursor->getCurrentPicture(), cCursor::LOOK_PRESSED);
    EXPECT_EQ(cursor->getLayerTexture(0), "Menu/Cursor/cursor_pressed.dds");
    cursor->setOverObject(true);  // pressed wins over active
    genv.frame();
    EXPECT_EQ(cursor->getCurrentPicture(), cCursor::LOOK_PRESSED);
    button(false);
    EXPECT_EQ(cursor->getCurrentPicture(), cCursor::LOOK_ACTIVE);
    cursor->setOverObject(false);
    genv.frame();
    EXPECT_EQ(cursor->getCurrentPicture(), cCursor::LOOK_NORMAL);
    // A disabled cursor does not follow the button.
    cursor->disable();
    button(true);
    EXPECT_FALSE(cursor->isPressed());
    button(false);
    cursor->enable();
}

TEST_F(Cursor, HotWidgetsMakeTheLookActive) {
    cButton* b = new cButton(state.get());
    b->setPosition(cVector2(100, 100));
    b->setSize(cVector2(50, 50));
    b->show();
    b->enable();
    moveTo(100, 100);
    ASSERT_TRUE(b->isHovered());
    cCursor::testSubtree(state.get());
    EXPECT_TRUE(cursor->isOverWidget());
    genv.frame();
    EXPECT_EQ(cursor->getCurrentPicture(), cCursor::LOOK_ACTIVE);
    // Disabled, hidden or inactive buttons under the pointer are not hot.
    for (int kind = 0; kind < 3; ++kind) {
        if (kind == 0) b->disable();
        if (kind == 1) b->hide();
        if (kind == 2) b->deactivate();
        cCursor::testSubtree(state.get());
        EXPECT_FALSE(cursor->isOverWidget()) << kind;
        if (kind == 0) b->enable();
        if (kind == 1) b->show();
        if (kind == 2) b->activate();
    }
}

TEST_F(Cursor, TheSystemPointerRule) {
    // The cursor keeps the alpha it had when it was hidden (it starts with its loaded alpha).
    moveTo(400, 300);
    EXPECT_EQ(cursor->getVertexAlpha(0), 255u);
    cursor->setAlpha(200);
    struct Case {
        float x, y;
        bool hardware;
        bool visible;
        uint32_t alpha;
        bool systemPointer;
    };
    const Case cases[] = {
        {-1, 300, false, true, 0, true},      // outside: hidden, the system pointer
        {400, 300, false, true, 200, false},  // back inside: the alpha it had
        {800, 600, false, true, 200, false},  // the edges count as inside
        {400, 601, false, true, 0, true},
        {400, 300, true, true, 0, true},      // the player prefers the system pointer
        {400, 300, false, true, 200, false},  // and changes the setting back
        {400, 300, true, false, 0, false},    // an invisible cursor asks for no pointer
    };
    for (const Case& c : cases) {
        getInput()->setHardwareCursor(c.hardware);
        if (c.visible)
            cursor->show();
        else
            cursor->hide();
        moveTo(c.x, c.y);
        EXPECT_EQ(cursor->getVertexAlpha(0), c.alpha) << c.x << "," << c.y << " hw " << c.hardware;
        EXPECT_EQ(getInput()->isSystemCursorShown(), c.systemPointer) << c.x << "," << c.y << " hw " << c.hardware;
    }
}
