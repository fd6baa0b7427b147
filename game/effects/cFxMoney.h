#pragma once
// A coin flying off a table whose money is collected: the last frame of the money picture,
// 500 units per second along its direction, its alpha falling from 255 by 5000 per second
// (gone after about 0.05 s). Game time. Never cleared by the level: it always ends by itself.

#include "engine/scene/cPicture.h"

class cFxMoney : public cPicture {
public:
    // Reads "Config/Game/fx_money.ini" section "COMMON"; the direction need not be of unit
    // length (a zero direction leaves the coin in place).
    cFxMoney(cSceneNode* parent, const cVector2& position, const cVector2& direction, float deep);
    ~cFxMoney() override;
    void update() override;

private:
    float m_alpha = 255.0f;
    cVector2 m_direction;
    cVector2 m_position;
};
