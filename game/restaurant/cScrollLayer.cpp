#include "game/restaurant/cScrollLayer.h"

#include <cmath>

#include "engine/core/cIniFile.h"
#include "engine/scene/cPicture.h"
#include "game/effects/EffectSupport.h"

void cRun::load(const cIniFile& ini, const wchar_t* section) {
    readFloat(ini, section, L"speed", &speed);
    readFloat(ini, section, L"start_speed", &startSpeed);
    readFloat(ini, section, L"delta_speed", &deltaSpeed);
    currentSpeed = startSpeed;
}

void cRun::speedStep(float dt) { currentSpeed += dt * direction * deltaSpeed; }

void cRun::rampStep(float dt, float timeLeft) {
    if (direction > 0.0f && currentSpeed < speed) rampTime += dt;
    if (direction > 0.0f && currentSpeed >= speed) {
        currentSpeed = speed;
        direction = 0.0f;
    } else if (direction < 0.0f && currentSpeed <= 0.0f) {
        rampTime = currentSpeed = direction = 0.0f;
    }
    if (direction == 0.0f && currentSpeed > 0.0f && timeLeft - rampTime <= 0.0f) direction = -1.0f;
}

void cScrollLayer::load(const cIniFile& ini, const wchar_t* section) {
    run.load(ini, section);
    readVector(ini, section, L"size", &size);
    float r[4] = {rect.left, rect.top, rect.right, rect.bottom};
    parseRect(r, ini.getValue(section, L"texture_rect"));
    rect = cRect(r[0], r[1], r[2], r[3]);
}

void cScrollLayer::scroll(float dt) {
    if (run.currentSpeed == 0.0f) return;
    const float dx = dt * run.currentSpeed;
    rect.left += dx;
    rect.right += dx;
    if (rect.left >= size.x) {
        rect.left -= size.x;
        rect.right -= size.x;
    }
    if (picture) picture->setLayer0TextureRect(cRect(std::trunc(rect.left), rect.top, std::trunc(rect.right), rect.bottom));
}
