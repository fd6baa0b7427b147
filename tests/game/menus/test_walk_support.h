#pragma once
// The running game of test_game_fixture.h with a player's hands: clicks and keys injected as
// the platform delivers them, and frames saved to the test output that must not be black.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/media/cGraphics.h"
#include "engine/scene/cButton.h"
#include "platform/input/Input.h"
#include "tests/game/flow/test_game_fixture.h"

namespace game_test {

class WalkFixture : public GameFixture {
protected:
    // Move, press (one frame), release (one frame).
    void click(const cVector2& at) {
        platform::input::injectCursor(at.x, at.y);
        genv->frame();
        platform::input::injectButton(0, true);
        genv->frame();
        platform::input::injectButton(0, false);
        genv->frame();
    }
    void click(cButton* button) {
        ASSERT_NE(button, nullptr);
        click(button->getPosition());
    }
    void key(uint8_t code) {
        platform::input::injectKey(code, true);
        genv->frame();
        platform::input::injectKey(code, false);
        genv->frame();
    }
    // Saves the frame shown and checks that something was drawn.
    void shoot(const std::string& name) {
        genv->frame();
        genv->saveFrame(name);
        std::vector<uint32_t> pixels;
        uint32_t w = 0, h = 0;
        ASSERT_EQ(getGraphics()->readBackBuffer(&pixels, &w, &h), 0);
        size_t lit = 0;
        for (uint32_t p : pixels)
            if ((p & 0x00FFFFFFu) != 0) ++lit;
        EXPECT_GT(lit, pixels.size() / 20) << name << " is black";
    }
};

}  // namespace game_test
