#include "game/menus/cStandInScreen.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/menus/cMenuPanel.h"

namespace {

// The buttons stand in a row under the title, this far apart.
constexpr float kButtonSpacing = 180.0f;

}  // namespace

cStandInScreen::cStandInScreen(cSceneNode* parent, const wchar_t* title, std::vector<Choice> choices)
    : cMenuScreen(parent), m_choices(std::move(choices)) {
    const cIniFile& ini = *getResourceManager()->getIni(kConfig);
    loadFromIni(ini, L"COMMON");
    m_panel = new cMenuPanel(this);
    m_title = new cText(m_panel);
    m_panel->loadFromIni(ini, L"PANEL");
    m_title->loadFromIni(ini, L"TEXT_TITLE");
    m_title->setString(title);
    float x = m_panel->getPosition().x - kButtonSpacing * 0.5f * static_cast<float>(m_choices.size() - 1);
    for (const Choice& choice : m_choices) {
        auto* button = new cButton(m_panel);
        button->loadFromIni(ini, L"BUTTON");
        button->setPosition(cVector2(x, button->getPosition().y));
        button->setClickHandler(onButtonClick);
        auto* label = new cText(button);
        label->loadFromIni(ini, L"BUTTON_TEXT");
        label->setPosition(button->getPosition());
        label->setString(choice.label);
        m_buttons.push_back(button);
        x += kButtonSpacing;
    }
    m_panel->show();
}

cStandInScreen::~cStandInScreen() {
    cSceneNode::hide();
    disable();
}

const cStringW& cStandInScreen::getTitle() const { return m_title->getString(); }

cButton* cStandInScreen::getButton(int32_t result) const {
    for (size_t i = 0; i < m_choices.size(); ++i)
        if (m_choices[i].result == result) return m_buttons[i];
    return nullptr;
}

bool cStandInScreen::onButtonClick(cSceneNode* button) {
    auto* screen = static_cast<cStandInScreen*>(button->getParent()->getParent());
    if (screen->m_closing) return true;
    for (size_t i = 0; i < screen->m_buttons.size(); ++i) {
        if (screen->m_buttons[i] != button) continue;
        screen->setResult(screen->m_choices[i].result);
        screen->onChoice(screen->m_choices[i].result);
    }
    screen->m_closing = true;
    screen->m_panel->hide();
    return true;
}

void cStandInScreen::update() {
    if (m_closing && !m_panel->isVisible()) {
        m_closing = false;
        cSceneNode::hide();
        disable();
        setFinished(true);
    }
    cSceneNode::update();
}
