#include "engine/scene/cCompositePicture.h"

#include <algorithm>

cCompositePicture::cCompositePicture(cSceneNode* parent) : cPicture(parent) {}

cCompositePicture::~cCompositePicture() {
    hide();
    disable();
    for (cSprite* sprite : m_attached) {
        auto& links = sprite->m_attachedTo;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    m_attached.clear();
    m_storedPositions.clear();
    m_storedDepths.clear();
}

void cCompositePicture::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    m_basePosition = getPosition();
    m_baseDeep = getDeep();
}

void cCompositePicture::attach(cSprite* sprite) {
    if (!sprite || sprite == this) return;
    auto it = std::find(m_attached.begin(), m_attached.end(), sprite);
    if (it != m_attached.end()) {
        m_storedPositions[it - m_attached.begin()] = sprite->getPosition();
        return;
    }
    m_attached.push_back(sprite);
    sprite->m_attachedTo.push_back(this);
    cVector2 absolute = sprite->getPosition() + m_basePosition;
    sprite->setPosition(absolute);
    m_storedPositions.push_back(absolute);
    m_storedDepths.push_back(sprite->getDeep());
}

void cCompositePicture::detach(cSprite* sprite) {
    auto it = std::find(m_attached.begin(), m_attached.end(), sprite);
    if (it == m_attached.end()) return;
    auto& links = sprite->m_attachedTo;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
    forgetAttached(sprite);
}

void cCompositePicture::forgetAttached(cSprite* sprite) {
    auto it = std::find(m_attached.begin(), m_attached.end(), sprite);
    if (it == m_attached.end()) return;
    size_t i = static_cast<size_t>(it - m_attached.begin());
    m_attached.erase(m_attached.begin() + i);
    m_storedPositions.erase(m_storedPositions.begin() + i);
    m_storedDepths.erase(m_storedDepths.begin() + i);
}

// The walks below index the list afresh at every step: an attached object may be destroyed
// (and so leave the list) while it is being notified.

void cCompositePicture::setPosition(const cVector2& position) {
    cSprite::setPosition(position);
    cVector2 displacement = position - m_basePosition;
    for (size_t i = 0; i < m_attached.size(); ++i) m_attached[i]->setPosition(m_storedPositions[i] + displacement);
}

void cCompositePicture::setDeep(float deep) {
    cSprite::setDeep(deep);
    for (size_t i = 0; i < m_attached.size(); ++i) m_attached[i]->setDeep((deep - m_baseDeep) + m_storedDepths[i]);
}

void cCompositePicture::setAlpha(uint32_t alpha) {
    cSprite::setAlpha(alpha);
    for (size_t i = 0; i < m_attached.size(); ++i) m_attached[i]->setAlpha(alpha);
}

void cCompositePicture::onShow() {
    cPicture::onShow();
    for (size_t i = 0; i < m_attached.size(); ++i) m_attached[i]->show();
}

void cCompositePicture::onHide() {
    cPicture::onHide();
    activate();
    for (size_t i = 0; i < m_attached.size(); ++i) m_attached[i]->hide();
}

void cCompositePicture::onEnable() {
    cSceneNode::onEnable();
    for (size_t i = 0; i < m_attached.size(); ++i) m_attached[i]->enable();
}

void cCompositePicture::onDisable() {
    cSceneNode::onDisable();
    for (size_t i = 0; i < m_attached.size(); ++i) m_attached[i]->disable();
}

void cCompositePicture::activateAll() {
    activate();
    for (size_t i = 0; i < m_attached.size(); ++i) m_attached[i]->activate();
}

void cCompositePicture::deactivateAll() {
    deactivate();
    for (size_t i = 0; i < m_attached.size(); ++i) m_attached[i]->deactivate();
}
