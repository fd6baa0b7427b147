#pragma once
// Application state 2: the comic pages of the game data's comics number (1 to 4). Enter or a
// click turns the last page and finishes it; the root object reads the comics number, not the
// result. Plays the mini-game music.

#include "game/flow/cPlaceholderScreen.h"

class cComics : public cPlaceholderScreen {
public:
    static constexpr const char* kBackground = "Comics/comics_back.dds";

    explicit cComics(cSceneNode* parent);
    ~cComics() override;

protected:
    void onConfirm() override { finish(0); }
};
