#include "game/menus/cComics.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cPicture.h"
#include "game/data/cGameData.h"
#include "game/flow/cCursor.h"
#include "game/flow/cGame.h"
#include "game/flow/cMusicManager.h"
#include "game/interface/cPanel.h"

cComics::cComics(cSceneNode* parent) : cSceneNode(parent) {
    // 1. Black.
    if (cGraphics* graphics = getGraphics()) graphics->setFade(0.0f);
    // 2. The cursor, the page picture and NEXT.
    m_cursor = new cCursor(this);
    m_cursor->loadFromIni(*getResourceManager()->getIni(cCursor::kConfig), L"COMMON");
    m_picture = new cPicture(this);
    m_next = new cButton(this);
    // 3. The pages of this comic.
    const int32_t number = getGameData() ? getGameData()->getComicsNumber() : 1;
    loadFromIni(*getResourceManager()->getIni(kConfig), cStringW(L"COMICS_") + intToString(number));
    // 4. The music the comics share with the mini game.
    if (cMusicManager* music = getMusicManager()) music->playMiniGame();
    if (getGame() && !getGame()->isActive())
        if (cSound* sound = getSound()) sound->pauseMusic();
    // 5. The fade-in.
    m_fade.start(cBrightnessFade::IN);
}

cComics::~cComics() {
    hide();
    disable();
    if (cSound* sound = getSound()) sound->stopAll();
    if (cMusicManager* music = getMusicManager()) music->stop(true);
    delete m_picture;
    delete m_next;
    delete m_cursor;
}

void cComics::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cSceneNode::loadFromIni(ini, section);
    m_picture->loadFromIni(ini, L"COMMON");
    for (int i = 1;; ++i) {
        cStringA texture;
        toNarrowWord(&texture, ini.getValue(section, cStringW(L"picture_") + intToString(i)));
        if (texture.isEmpty()) break;
        float position[2] = {0.0f, 0.0f};
        parseVector2(position, ini.getValue(section, cStringW(L"position_") + intToString(i)));
        m_textures.push_back(texture);
        m_positions.emplace_back(position[0], position[1]);
    }
    if (!m_textures.empty()) showPage(0);
    m_next->loadFromIni(ini, L"BUTTON_NEXT");
    m_next->setClickHandler(onNext);
}

void cComics::showPage(uint32_t page) {
    m_picture->setPicture(m_textures[page]);
    m_picture->setPosition(m_positions[page]);
}

void cComics::next() {
    ++m_current_page;
    if (m_current_page < m_textures.size()) {
        showPage(m_current_page);
        return;
    }
    // NEXT at the last page: the page stays as it is while the picture fades out.
    m_current_page = getPageCount();
    setFinished(true);
    m_fade.start(cBrightnessFade::OUT);
}

bool cComics::onNext(cSceneNode* button) {
    static_cast<cComics*>(button->getParent())->next();
    return true;
}

void cComics::onEnter(void* object) {
    auto* comics = static_cast<cComics*>(object);
    if (!isAltHeld() && comics->isActive()) comics->next();
}

void cComics::onEnable() {
    bindInput(keyPressedCode(KEY_ENTER), onEnter, this);
    cSceneNode::onEnable();
}

void cComics::onDisable() {
    unbindInput(keyPressedCode(KEY_ENTER), onEnter, this);
    cSceneNode::onDisable();
}

void cComics::update() {
    // 1. The cursor learns whether a widget is under the pointer; 2. the fade; 3. the children.
    cCursor::testSubtree(this);
    m_fade.step(*this);
    cSceneNode::update();
}
