#include "game/effects/cFxWaiterStar.h"

#include "engine/core/Random.h"
#include "engine/core/cIniFile.h"
#include "engine/scene/cAnimation.h"
#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cFxWaiterStar::cFxWaiterStar(cSceneNode* parent, const cVector2& position, const cVector2& direction, float speed,
                             float shrinkRate)
    : cPicture(parent), m_direction(direction), m_speed(speed), m_shrink_rate(shrinkRate) {
    const cIniFile& ini = effectIni(fx_files::kWaiterStar);
    loadFromIni(ini, L"COMMON");
    cAnimation animation;
    loadAnimation(&animation, ini, L"COMMON");
    setLayer0Animation(animation, ORIGIN_START, 0.0f);

    const int dx = rwRand() % 15;
    const int dy = rwRand() % 15;
    const float x = position.x + static_cast<float>(rwRand() % 2 == 0 ? dx : -dx);
    const float y = position.y + static_cast<float>(rwRand() % 2 == 0 ? dy : -dy);
    const float off = static_cast<float>(dx * dx + dy * dy);
    if (off >= 100.0f)
        m_shrink_rate += static_cast<float>(rwRand() % 10000) / 5000.0f;
    else
        m_shrink_rate += static_cast<float>(rwRand() % 10000) / 20000.0f;
    setPosition(cVector2(x, y));
    setDeep(position.y - 1.0f);
    cEffectRegistry<cFxWaiterStar>::registerInstance(this);
}

cFxWaiterStar::~cFxWaiterStar() {
    hide();
    disable();
    cEffectRegistry<cFxWaiterStar>::unregisterInstance(this);
}

void cFxWaiterStar::update() {
    const float dt = getDeltaTime();
    cVector2 scale = getScale();
    scale.x -= m_shrink_rate * dt;
    scale.y -= m_shrink_rate * dt;
    if (scale.x <= 0.1f) {
        scale = cVector2(0.1f, 0.1f);
        scheduleDelete(this);
    }
    setScale(scale);
    setPosition(getPosition() + m_direction * m_speed * dt);
}
