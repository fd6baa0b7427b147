#include "game/restaurant/cClickTarget.h"

#include <string>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "engine/scene/cPicture.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxPointer.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cRestaurantHost.h"

namespace {

const char* const kPointerTexture = "Game/Interface/Surfaces/pointer.dds";
// The value a polygon key is preset to: a missing key reads as this end mark.
const float kEndMark = -100000.0f;

cPicture* makeMark(cSceneNode* owner) {
    cPicture* mark = new cPicture(owner);
    mark->setPicture(kPointerTexture);
    mark->hide();
    mark->disable();
    return mark;
}

}  // namespace

cClickTarget::cClickTarget(cSceneNode* owner)
    : m_owner(owner), m_pointer(makeMark(owner)), m_pointer1(makeMark(owner)) {}

// The marks are children of the owner, deleted with it.
cClickTarget::~cClickTarget() = default;

bool cClickTarget::setState(int32_t value) {
    m_state = value;
    return true;
}

bool cClickTarget::isInsideEdge(const cVector2& point, const cVector2& from, const cVector2& to) {
    const cVector2 e = to - from, m = point - from;
    return e.x * m.y - m.x * e.y > 0.0f;
}

void cClickTarget::hitTest(const cVector2& mouse, const cVector2& position, const cVector2& frameSize) {
    m_hovered = false;
    const size_t n = m_polygon.size();
    if (n < 3 || m_blocked) return;
    const cVector2 origin = position - frameSize / 2.0f;
    for (size_t i = 0; i < n; ++i) {
        const cVector2 from = origin + m_polygon[i == 0 ? n - 1 : i - 1];
        const cVector2 to = origin + m_polygon[i];
        if (!isInsideEdge(mouse, from, to)) return;
    }
    m_hovered = true;
}

void cClickTarget::fadeOut(cPicture* mark) {
    cRestaurantHost* host = getRestaurantHost();
    cSceneNode* parent = host ? host->getHostNode() : nullptr;
    if (!parent) parent = m_owner->getParent() ? m_owner->getParent() : m_owner;
    new cFxPointer(parent, mark->getPosition(), mark->getDeep());
    mark->hide();
    mark->disable();
}

void cClickTarget::showPointer(bool on) {
    if (on) {
        for (cPicture* mark : {m_pointer, m_pointer1})
            if (!mark->isOwnVisible()) {
                mark->show();
                mark->enable();
                return;
            }
        return;
    }
    if (m_pointer1->isOwnVisible()) fadeOut(m_pointer1);
    else if (m_pointer->isOwnVisible()) fadeOut(m_pointer);
}

void cClickTarget::hidePointers() {
    for (cPicture* mark : {m_pointer, m_pointer1})
        if (mark->isOwnVisible()) fadeOut(mark);
}

void cClickTarget::loadHitPolygon(const cIniFile& ini, const cStringW& section) {
    for (int k = 1;; ++k) {
        cVector2 point(kEndMark, kEndMark);
        readVector(ini, section.c_str(), (L"v" + std::to_wstring(k)).c_str(), &point);
        if (point.x == kEndMark && point.y == kEndMark) return;
        m_polygon.push_back(point);
    }
}

void cClickTarget::loadPointerOffsets(const cIniFile& ini, const cStringW& section) {
    readVector(ini, section.c_str(), L"pointer_offset", &m_pointer_offset);
    readVector(ini, section.c_str(), L"pointer1_offset", &m_pointer1_offset);
}

void cClickTarget::placePointers(const cVector2& position, float deep, float deep1, float deep2) {
    m_pointer->setPosition(position + m_pointer_offset);
    m_pointer->setDeep(deep + deep1);
    m_pointer1->setPosition(position + m_pointer1_offset);
    m_pointer1->setDeep(deep + deep2);
}

void cClickTarget::placeFromPaths(const char* element) {
    const cStringA name = currentLevelLook().pathsFileName;
    cResourceManager* resources = getResourceManager();
    if (!resources) throw std::string("Resource '") + name + "' is not loaded.";
    const cXmlNode* root = resources->getXml(name);
    const cXmlNode *objects = nullptr, *node = nullptr;
    if (!root || !root->getChild("Objects", objects) || !objects->getChild(element, node)) return;
    float xy[2] = {m_control_point.x, m_control_point.y};
    parseVector2(xy, node->getAttribute(L"control_point"));
    m_control_point = cVector2(xy[0], xy[1]);
}

void cClickTarget::hoverOwner(const cSprite& owner, bool testMouse, bool value, bool alwaysFrameSize) {
    if (m_blocked) testMouse = value = false;
    if (!testMouse) {
        m_hovered = value;
        return;
    }
    const bool useFrame = alwaysFrameSize || owner.testTransformFlags(TF_CENTERED);
    hitTest(owner.getMousePosition(), owner.getPosition(), useFrame ? owner.getLayer0FrameSize() : cVector2());
}
