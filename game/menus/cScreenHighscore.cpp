#include "game/menus/cScreenHighscore.h"

#include <algorithm>
#include <string>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"
#include "game/data/cGameData.h"
#include "game/menus/MenuScreenEnd.h"
#include "game/menus/cMenuPanel.h"
#include "game/interface/cPanel.h"

std::vector<cScreenHighscore::Line> cScreenHighscore::buildLines(uint32_t limit) {
    struct Entry {
        cStringW name;
        uint32_t score;
        int index;
    };
    // 1. The entries with a name, in table order.
    std::vector<Entry> entries;
    if (const cGameData* data = getGameData()) {
        for (int index = 0; index < kTableSize; ++index) {
            cStringW name;
            int32_t score = 0;
            data->getHighscore(index, name, score);
            if (!name.isEmpty()) entries.push_back({name, static_cast<uint32_t>(score), index});
        }
    }
    // 2. Highest first as unsigned numbers; of equal scores the later entry first.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.score != b.score ? a.score > b.score : a.index > b.index;
    });
    // 3. The lines: no score of 0, ranks without gaps, at most the limit.
    std::vector<Line> lines;
    for (const Entry& entry : entries) {
        if (entry.score == 0) continue;
        if (lines.size() >= limit) break;
        const cStringW rank = intToString(static_cast<int>(lines.size() + 1));
        lines.push_back({rank + L". " + entry.name, cStringW(std::to_wstring(entry.score))});
    }
    return lines;
}

cScreenHighscore::cScreenHighscore(cSceneNode* parent) : cMenuScreen(parent) {
    m_panel = new cMenuPanel(this);
    m_title_picture = new cPicture(m_panel);
    m_title_text = new cText(m_panel);
    m_ok = new cButton(m_panel);
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // Nothing listens until the panel has arrived.
    deactivate();
    m_panel->show();
}

cScreenHighscore::~cScreenHighscore() {
    cSceneNode::hide();
    disable();
    for (cText* text : m_names) delete text;
    for (cText* text : m_scores) delete text;
    m_names.clear();
    m_scores.clear();
    delete m_ok;
    delete m_title_text;
    delete m_title_picture;
    delete m_panel;
}

void cScreenHighscore::loadFromIni(const cIniFile& ini, const cStringW& section) {
    // 1. The screen, the panel and its objects.
    cMenuScreen::loadFromIni(ini, section);
    m_panel->loadFromIni(ini, L"PANEL");
    m_title_picture->loadFromIni(ini, L"TITLE");
    m_title_text->loadFromIni(ini, L"TEXT_TITLE");
    m_ok->loadFromIni(ini, L"BUTTON_OK");
    m_ok->setClickHandler(onOk);
    // 2. Where the lines go, and how many.
    readVector(ini, L"NAME", L"start_position", &m_name_position);
    readVector(ini, L"SCORE", L"start_position", &m_score_position);
    readFloat(ini, L"NAME", L"offset_y", &m_name_step);
    readFloat(ini, L"SCORE", L"offset_y", &m_score_step);
    stringToUnsigned(&m_line_limit, ini.getValue(section, L"num_lines"));
    // 3. The lines, built once.
    for (const Line& line : buildLines(m_line_limit)) {
        auto* name = new cText(m_panel);
        m_names.push_back(name);
        auto* score = new cText(m_panel);
        m_scores.push_back(score);
        name->loadFromIni(ini, L"NAME");
        name->setPosition(m_name_position);
        name->setString(line.name);
        m_name_position.y += m_name_step;
        score->loadFromIni(ini, L"SCORE");
        score->setPosition(m_score_position);
        score->setString(line.score);
        m_score_position.y += m_score_step;
    }
}

void cScreenHighscore::close() {
    deactivate();
    m_closing = true;
    m_panel->hide();
}

bool cScreenHighscore::onOk(cSceneNode* button) {
    // The button stands on the panel, the panel on the screen.
    static_cast<cScreenHighscore*>(button->getParent()->getParent())->close();
    return true;
}

void cScreenHighscore::onEnterKey(void* object) {
    auto* screen = static_cast<cScreenHighscore*>(object);
    if (!isAltHeld() && screen->m_panel->isActive()) screen->close();
}

void cScreenHighscore::onEnable() {
    bindInput(keyPressedCode(KEY_ENTER), onEnterKey, this);
    cMenuScreen::onEnable();
}

void cScreenHighscore::onDisable() {
    unbindInput(keyPressedCode(KEY_ENTER), onEnterKey, this);
    cMenuScreen::onDisable();
}

void cScreenHighscore::update() {
    finishOncePanelHidden(*this, *m_panel, &m_closing);
    cSceneNode::update();
}
