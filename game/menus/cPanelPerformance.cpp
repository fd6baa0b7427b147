#include "game/menus/cPanelPerformance.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"

void endPerformanceCheck(bool fullEffectsOff) {
    cSettingsManager* settings = getSettingsManager();
    if (!settings) return;
    settings->setBool(L"Performance", L"perform_performance_test", false);
    if (fullEffectsOff) settings->setBool(L"Performance", L"enable_full_effects", false);
}

cPanelPerformance::cPanelPerformance(cSceneNode* parent) : cMenuPanel(parent) {
    m_text = new cText(this);
    m_description = new cText(this);
    m_ok = new cButton(this);
    loadFromIni(*getResourceManager()->getIni(kConfig), L"PANEL");
    cSceneNode::hide();
    disable();
}

cPanelPerformance::~cPanelPerformance() {
    cSceneNode::hide();
    disable();
}

void cPanelPerformance::loadFromIni(const cIniFile&, const cStringW&) {
    const cIniFile& ini = *getResourceManager()->getIni(kConfig);
    cMenuPanel::loadFromIni(ini, L"PANEL");
    m_text->loadFromIni(ini, L"TEXT");
    m_description->loadFromIni(ini, L"COMMON_DESC");
    m_ok->loadFromIni(ini, L"BUTTON_OK");
    m_ok->setClickHandler(onOk);
}

bool cPanelPerformance::onOk(cSceneNode* button) {
    auto* panel = static_cast<cPanelPerformance*>(button->getParent());
    endPerformanceCheck(true);
    panel->hide();
    return true;
}
