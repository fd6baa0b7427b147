#include "game/interface/cPanelLevel.h"

#include "engine/core/cIniFile.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"
#include "game/interface/PanelFiles.h"
#include "game/interface/cPanelContinue.h"

namespace {

cStringW key(const wchar_t* name, int n) { return cStringW(name) + intToString(n); }

// A position of the level's section; 0 0 when absent.
cVector2 positionOf(const cIniFile& world, const cStringW& section, const cStringW& key) {
    cVector2 position;
    readVector(world, section.c_str(), key.c_str(), &position);
    return position;
}

}  // namespace

cPanelLevel::cPanelLevel(cSceneNode* parent, cLevelPanelOwner* owner)
    : cPanel(parent, owner), m_game(owner), m_title(new cText(this)), m_level_line(new cText(this)),
      m_world_description(new cText(this)), m_picture_1(new cPicture(this)), m_picture_2(new cPicture(this)),
      m_string_1(new cText(this)), m_string_2(new cText(this)), m_score_frame(new cPicture(this)),
      m_goal_text(new cText(this)), m_goal_description(new cText(this)), m_expert_text(new cText(this)),
      m_expert_description(new cText(this)), m_button(new cButton(this)) {
    loadConfig(cIniFile(), cStringW());
    setSlidePoints();
    prepareSlideInFromHidden();
    parkHidden();
}

cPanelLevel::~cPanelLevel() {
    cSceneNode::hide();
    cSceneNode::disable();
    deletePart(m_title);
    deletePart(m_level_line);
    deletePart(m_world_description);
    deletePart(m_picture_1);
    deletePart(m_picture_2);
    deletePart(m_string_1);
    deletePart(m_string_2);
    deletePart(m_score_frame);
    deletePart(m_goal_text);
    deletePart(m_goal_description);
    deletePart(m_expert_text);
    deletePart(m_expert_description);
    deletePart(m_button);
}

void cPanelLevel::loadConfig(const cIniFile&, const cStringW&) {
    // 1-3. The level's section, the world file and the panel file it names.
    const int levelInWorld = m_game->getLevelInWorld();
    const cStringW section = cStringW(L"LEVEL_") + intToString(levelInWorld);
    const cIniFile& world = effectIni(panel_files::worldFile(m_game->getGraphicsSet(), m_game->getDifficulty()));
    const cStringA panelFile = toNarrowWord(world.getValue(section, L"panel_config"));
    const cIniFile& ini = effectIni(panelFile.c_str());

    // 4-5. The panel, its background and the parts of the layout.
    cPanel::loadConfig(ini, L"COMMON");
    m_title->loadFromIni(ini, L"TEXT_TITLE");
    m_level_line->loadFromIni(ini, L"TEXT_LEVEL");
    m_world_description->loadFromIni(ini, L"TEXT_DESCRIPTION");
    m_score_frame->loadFromIni(ini, L"PANEL_SCORE");
    m_goal_text->loadFromIni(ini, L"TEXT_GOAL");
    m_goal_description->loadFromIni(ini, L"TEXT_GOAL_DESCRIPTION");
    m_expert_text->loadFromIni(ini, L"TEXT_EXPERT");
    m_expert_description->loadFromIni(ini, L"TEXT_EXPERT_DESCRIPTION");
    m_button->loadFromIni(ini, L"BUTTON");

    // 6-7. The world's texts.
    m_level_line->setString(world.getValue(L"COMMON", L"start_level_text"));
    m_world_description->setString(world.getValue(L"COMMON", L"start_world_desc"));
    m_title->setString(world.getValue(L"COMMON", levelInWorld <= 10 ? L"start_title_1" : L"start_title_2"));

    // 8-12. The level's own pictures and strings; empty ones go.
    loadPicture(m_picture_1, world, section, 1, 2.5f);
    loadPicture(m_picture_2, world, section, 2, 2.6f);
    loadString(m_string_1, world, section, 1, 3.0f);
    loadString(m_string_2, world, section, 2, 3.1f);

    // 13-15. Placeholders and room for the numbers.
    m_level_line->setString(replaceAll(m_level_line->getString(), L"#LEVEL#", intToString(m_game->getLevel())));
    m_goal_text->setString(
        replaceAll(m_goal_text->getString(), L"#GOAL#", cStringW(std::to_wstring(m_game->getGoal()))));
    m_expert_text->setString(
        replaceAll(m_expert_text->getString(), L"#EXPERT#", cStringW(std::to_wstring(m_game->getExpertGoal()))));
    fillSpaces(m_goal_text, m_goal_description);
    fillSpaces(m_expert_text, m_expert_description);

    // 16-17. The button, then the attachments in drawing order.
    m_button->setClickHandler(&cPanelLevel::close);
    for (cSprite* part : std::initializer_list<cSprite*>{m_title, m_level_line, m_world_description, m_picture_1,
                                                         m_picture_2, m_string_1, m_string_2, m_score_frame,
                                                         m_goal_text, m_goal_description, m_expert_text,
                                                         m_expert_description, m_button})
        if (part) attach(part);
}

void cPanelLevel::loadPicture(cPicture*& picture, const cIniFile& world, const cStringW& section, int n,
                              float deepOffset) {
    picture->setPicture(toNarrowWord(world.getValue(section, key(L"picture_", n))));
    picture->setPosition(positionOf(world, section, key(L"pos_picture_", n)));
    picture->setDeep(getDeep() + deepOffset);
    if (picture->getPictureName().isEmpty()) deletePart(picture);
}

void cPanelLevel::loadString(cText*& text, const cIniFile& world, const cStringW& section, int n, float deepOffset) {
    text->setString(world.getValue(section, key(L"string_", n)));
    if (text->getString().isEmpty()) {
        deletePart(text);
        return;
    }
    text->setPosition(positionOf(world, section, key(L"pos_string_", n)));
    uint32_t spacing = 0;
    stringToUnsigned(&spacing, world.getValue(section, key(L"line_spacing_", n)));
    text->setLineSpacing(spacing);
    bool justify = false;
    stringToBool(&justify, world.getValue(section, key(L"justify_", n)));
    text->setJustify(justify);
    text->setHorizontalAlignByName(world.getValue(section, key(L"align_", n)));
    text->setVerticalAlignByName(world.getValue(section, key(L"align_ver_", n)));
    text->setLayerTexture(0, toNarrowWord(world.getValue(section, key(L"texture_", n))));
    text->setFont(toNarrowWord(world.getValue(section, key(L"font_", n))));
    text->setDeep(getDeep() + deepOffset);
}

void cPanelLevel::onEnable() {
    bindInput(kEnterPressed, &cPanelLevel::onEnterKey, this);
    cCompositePicture::onEnable();
}

void cPanelLevel::onDisable() {
    unbindInput(kEnterPressed, &cPanelLevel::onEnterKey, this);
    cCompositePicture::onDisable();
}

bool cPanelLevel::close(cSceneNode* button) {
    auto* panel = dynamic_cast<cPanelLevel*>(button ? button->getParent() : nullptr);
    if (panel) panel->closePanel();
    return true;
}

void cPanelLevel::onEnterKey(void* object) {
    auto* panel = static_cast<cPanelLevel*>(object);
    if (!isAltHeld() && panel->isActive()) panel->closePanel();
}

void cPanelLevel::closePanel() {
    prepareSlideOut();
    cPanel::hide(true);
}
