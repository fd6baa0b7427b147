#include "game/interface/cHints.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/scene/cAnimation.h"
#include "engine/scene/cPicture.h"
#include "game/interface/cHint.h"

namespace {

const float kNoPosition = -100.0f;

// The section's position, or false when it is absent or the end mark -100 -100.
bool hasPosition(const cIniFile& ini, const cStringW& section) {
    float xy[2] = {kNoPosition, kNoPosition};
    parseVector2(xy, ini.getValue(section, cStringW(L"position")));
    return !(xy[0] == kNoPosition && xy[1] == kNoPosition);
}

cPicture* loadArrow(cHint* hint, const cIniFile& ini, const cStringW& section, const cAnimation& animation,
                    float deep) {
    if (!hasPosition(ini, section)) return nullptr;
    auto* arrow = new cPicture(hint);
    arrow->loadFromIni(ini, section);
    arrow->setDeep(deep);
    arrow->setLayer0Animation(animation, ORIGIN_START, 0.0f);
    arrow->setAngle(cHints::directionAngle(ini.getValue(section, cStringW(L"direction"))));
    return arrow;
}

}  // namespace

cHints::cHints(cSceneNode* parent, int n) : cSceneNode(parent), m_number(n) {
    load();
    show();
    enable();
}

cHints::~cHints() {
    for (cHint* hint : m_hints) delete hint;
    m_hints.clear();
}

std::string cHints::fileName(int n) { return "Config/Game/hints_" + std::to_string(n) + ".ini"; }

float cHints::directionAngle(const cStringW& direction) {
    const cStringA word = toNarrowWord(direction);
    if (word == "UP") return 180.0f;
    if (word == "LEFT") return 90.0f;
    if (word == "RIGHT") return 270.0f;
    return 0.0f;
}

void cHints::loadFromIni(const cIniFile&, const cStringW&) { load(); }

void cHints::load() {
    const cIniFile& ini = *getResourceManager()->getIni(cStringA(fileName(m_number)));
    cAnimation arrowAnimation;
    loadAnimation(&arrowAnimation, ini, cStringW(L"ARROW"));
    float deep = kFirstDeep;
    for (int k = 1;; ++k) {
        const cStringW section = cStringW(L"HINT_") + intToString(k);
        if (!hasPosition(ini, section)) break;
        auto* hint = new cHint(this);
        auto* bubble = new cPicture(hint);
        bubble->loadFromIni(ini, section);
        bubble->setDeep(deep + 1.0f);
        hint->setBubble(bubble);
        hint->setArrow1(loadArrow(hint, ini, section + L"_ARROW_1", arrowAnimation, deep + 2.0f));
        hint->setArrow2(loadArrow(hint, ini, section + L"_ARROW_2", arrowAnimation, deep + 3.0f));
        m_hints.push_back(hint);
        deep += kDeepPerHint;
    }
}

void cHints::nextStep() { ++m_step; }

void cHints::nextStepAndShow() {
    ++m_step;
    m_pending = true;
}

void cHints::showCurrent() {
    if (cHint* hint = m_step >= 0 ? getHint(size_t(m_step)) : nullptr) hint->startAppear();
    m_pending = false;
}

void cHints::hideCurrent() {
    if (cHint* hint = m_step >= 0 ? getHint(size_t(m_step)) : nullptr) hint->startDisappear();
    m_pending = false;
}

void cHints::update() {
    if (m_pending) stepChange();
    cSceneNode::update();
}

void cHints::stepChange() {
    const int count = static_cast<int>(m_hints.size());
    const int k = m_step;
    if (k == 0 && count > 0) {
        cHint* first = m_hints[0];
        if (!first->isOwnVisible()) first->startAppear();
        if (first->isDone()) m_pending = false;
    } else if (k > 0 && k < count) {
        cHint* previous = m_hints[size_t(k - 1)];
        cHint* current = m_hints[size_t(k)];
        if (previous->isOwnVisible() && previous->isDone()) previous->startDisappear();
        if (!previous->isOwnVisible()) {
            if (!current->isOwnVisible()) current->startAppear();
            if (current->isDone()) m_pending = false;
        }
    } else if (k == count && count > 0) {
        cHint* last = m_hints[size_t(count - 1)];
        if (last->isOwnVisible() && last->isDone()) last->startDisappear();
        if (!last->isOwnVisible()) m_pending = false;
    } else {
        m_pending = false;
    }
}
