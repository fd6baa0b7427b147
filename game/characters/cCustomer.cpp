#include "game/characters/cCustomer.h"

#include "game/restaurant/cHighlight.h"

cCustomer::cCustomer(cSceneNode* parent)
    : cPicture(parent), cClickTarget(this), m_highlight(new cHighlight(true, this, 255)) {}

cCustomer::~cCustomer() {
    hide();
    disable();
}

bool cCustomer::setState(int32_t value) {
    if (value == ITEM_WAITING) m_stage = STAGE_APPEARING;
    else if (value == ITEM_ORDER_TAKEN) m_stage = STAGE_ORDERING;
    else if (value == 0 && m_stage == STAGE_WAITING_FOR_ITEM) m_stage = STAGE_LEAVING_HAPPY;
    storeState(value);
    return true;
}

void cCustomer::updateHover(bool testMouse, bool value) {
    hoverOwner(*this, testMouse, value, true);
    if (m_stage == STAGE_APPEARING || m_stage == STAGE_LEAVING_ANGRY || m_stage == STAGE_LEAVING_HAPPY ||
        m_stage == STAGE_GONE)
        setHovered(false);
    m_highlight->setVisible(m_stage != STAGE_ORDERING && isHovered());
}

void cCustomer::setMood(int32_t mood) {
    if (mood >= 1 && mood <= 8) m_mood = mood;
}

void cCustomer::setTable(cTable* table) {
    if (table) m_table = table;
}
