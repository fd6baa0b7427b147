#include "game/shop/cShopScreen.h"

#include <algorithm>

#include "engine/core/LogHooks.h"
#include "engine/core/cIniFile.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/data/GameConstants.h"
#include "game/data/cGameData.h"
#include "game/effects/EffectSupport.h"
#include "game/shop/ShopCatalogue.h"
#include "game/shop/cAppearingCloud.h"
#include "game/shop/cShop.h"

namespace {

constexpr float kBlinkSpeed = 2000.0f;
constexpr float kBlinkHoldFull = 0.3f;
constexpr float kBlinkHoldOff = 0.2f;

cShopScreen* screenOf(cSceneNode* button) { return button ? dynamic_cast<cShopScreen*>(button->getParent()) : nullptr; }

}  // namespace

cShopScreen::cShopScreen(cSceneNode* parent)
    : cSceneNode(parent), m_background(nullptr), m_sold_out(nullptr), m_buy(new cButton(this)),
      m_finish(new cButton(this)), m_menu(new cButton(this)), m_forward(new cButton(this)),
      m_backward(new cButton(this)), m_cash_text(nullptr), m_page_text(new cText(this)),
      m_list_area(nullptr), m_cloud(nullptr), m_buy_blink(nullptr) {
    // 2. The children, in order.
    m_cash_text = new cText(this);
    m_background = new cPicture(this);
    m_sold_out = new cPicture(this);
    m_list_area = new cPicture(this);
    m_cloud = new cAppearingCloud(this);
    m_buy_blink = new cPicture(this);
    m_records.resize(kItemCount);
    // 3. The hint of the first shop of the game.
    cGameData* data = getGameData();
    if (data && data->getWorld() == 1 && data->getLevel() == 5) m_hint = new cAppearingCloud(this);
    // 4. The configuration and the list.
    loadFromIni(effectIni(kConfig), L"COMMON");
    // 5. The window shows the first entries.
    m_first_visible = 0;
    m_last_visible = std::min(m_visible_count - 1, static_cast<int>(m_buttons.size()) - 1);
    // 6. Shown and enabled.
    refreshControls();
    show();
    enable();
    // 7. The opening glimpse: one page on, at once, then gliding back once game time runs.
    //    It leaves the hint of the first shop alone.
    if (static_cast<int>(m_buttons.size()) > m_visible_count) {
        forward(false);
        finishScroll();
        backward();
    }
}

cShopScreen::~cShopScreen() {
    cSceneNode::hide();
    cSceneNode::disable();
    if (m_commit) storeMoneySpent();
    // The buttons first: they look at their objects until they go.
    for (cShopButton* b : m_buttons) delete b;
    m_buttons.clear();
    m_selected = nullptr;
    m_described = m_pointed = nullptr;
    // An object still previewing puts the level in force back as it goes.
    for (cShopObject* o : m_objects) delete o;
    m_objects.clear();
    for (cButton* b : {m_buy, m_finish, m_menu, m_forward, m_backward}) delete b;
    delete m_page_text;
    delete m_cash_text;
    delete m_background;
    delete m_sold_out;
    delete m_list_area;
    delete m_cloud;
    delete m_buy_blink;
    delete m_hint;
}

void cShopScreen::loadFromIni(const cIniFile& ini, const cStringW& section) {
    // 1. The screen node.
    cSceneNode::loadFromIni(ini, section);
    // 2. The hint of the first shop.
    if (m_hint) {
        const wchar_t* hint = L"SHOP_HINT_1";
        cVector2 size(cShopObject::kNoCloudSize, cShopObject::kNoCloudSize), position;
        readVector(ini, hint, L"cloud_size", &size);
        readVector(ini, hint, L"cloud_position", &position);
        m_hint->setText(ini.getValue(hint, L"cloud_text"));
        m_hint->setLayout(ini.getValue(hint, L"cloud_layout").toNarrow());
        m_hint->setPosition(position);
        if (size.x == cShopObject::kNoCloudSize && size.y == cShopObject::kNoCloudSize)
            m_hint->fitToText();
        else
            m_hint->setSize(size);
        m_hint->hide();
    }
    // 3. Pictures, list, buttons, highlight.
    m_background->loadFromIni(ini, section);
    m_sold_out->loadFromIni(ini, L"EVERYTHING_SOLD");
    m_list_area->loadFromIni(ini, L"LIST_BUTTONS");
    readVector(ini, L"LIST_BUTTONS", L"size", &m_list_size);
    readFloat(ini, L"LIST_BUTTONS", L"speed_scroll", &m_scroll_speed);
    int32_t visible = 0;
    stringToInt(&visible, ini.getValue(L"LIST_BUTTONS", L"num_buttons_visible"));
    // A window of one entry cannot page (a page step is one entry less than the window).
    m_visible_count = visible;
    if (m_visible_count < 2) {
        logGameQuietly("Shop: num_buttons_visible " + intToNarrowString(visible) + " is below 2; 2 is used.");
        m_visible_count = 2;
    }
    if (!(m_scroll_speed > 0.0f))
        logGameQuietly(cStringA("Shop: speed_scroll is not above 0; a page movement ends at once."));
    m_forward->loadFromIni(ini, L"BUTTON_FORWARD");
    m_backward->loadFromIni(ini, L"BUTTON_BACKWARD");
    m_buy->loadFromIni(ini, L"BUTTON_BUY");
    m_finish->loadFromIni(ini, L"BUTTON_FINISH");
    m_menu->loadFromIni(ini, L"BUTTON_MENU");
    m_forward->setClickHandler(&cShopScreen::pageForward);
    m_backward->setClickHandler(&cShopScreen::pageBackward);
    m_buy->setClickHandler(&cShopScreen::onBuy);
    m_finish->setClickHandler(&cShopScreen::onFinish);
    m_menu->setClickHandler(&cShopScreen::onMenu);
    m_buy_blink->loadFromIni(ini, L"BUY_BLINK");
    // 4. The entry size; 5. the first entry's place, 4 pixels below the window's top edge.
    readVector(ini, L"SHOP_BUTTON", L"size", &m_button_size);
    const cVector2 area = m_list_area->getPosition();
    m_first_position = cVector2(area.x, area.y - m_list_size.y / 2.0f + m_button_size.y / 2.0f + 4.0f);
    // 6. The preview offset.
    readVector(ini, L"PREVIEW_SCREEN", L"position", &m_preview_offset);
    // 7. The cash: the money of the world's levels played so far.
    m_cash = cashRangeSum();
    // A visit starts over: nothing is spent yet (a purchase left behind by a visit that went to
    // the menu was taken back when the level was set up again).
    storeMoneySpent();
    // 8. The offers, in list order.
    for (int i = 0; i < shop::ITEM_COUNT; ++i) addItem(shop::itemName(i));
    // 9. Sold out.
    if (!isSoldOut()) {
        m_sold_out->hide();
        m_sold_out->disable();
    }
    if (cGameData* data = getGameData()) data->setShopSoldOut(isSoldOut(), 0);
    // 10. The page text and its two words.
    m_page_text->loadFromIni(ini, L"TEXT_PAGES");
    assignFirstToken(&m_pages_word, ini.getValue(L"TEXT_PAGES", L"string_pages"));
    assignFirstToken(&m_of_word, ini.getValue(L"TEXT_PAGES", L"string_of"));
    updatePageText();
    // 11. The cash text; its configured text is the prefix.
    // The number sizes the zeros of every cash text: a damaged file must not ask for gigabytes.
    uint32_t digits = m_cash_digits;
    stringToUnsigned(&digits, ini.getValue(L"TEXT_CASH", L"num_digits"));
    constexpr uint32_t kMinCashDigits = 1, kMaxCashDigits = 16;
    if (digits != m_cash_digits && (digits < kMinCashDigits || digits > kMaxCashDigits)) {
        const uint32_t clamped = std::clamp(digits, kMinCashDigits, kMaxCashDigits);
        logGameQuietly("Shop: TEXT_CASH/num_digits " + cStringA(std::to_string(digits)) + " is not from " +
                       cStringA(std::to_string(kMinCashDigits)) + " to " + cStringA(std::to_string(kMaxCashDigits)) +
                       "; " + cStringA(std::to_string(clamped)) + " is used.");
        digits = clamped;
    }
    m_cash_digits = digits;
    m_cash_text->loadFromIni(ini, L"TEXT_CASH");
    m_cash_prefix = m_cash_text->getString();
    // 12.
    updateCashText();
    updateLowCash();
}

int32_t cShopScreen::cashRangeSum() const {
    cGameData* data = getGameData();
    if (!data) return 0;
    return data->getCash(game::firstLevelOfWorld(data->getWorld()), data->getLevel() - 1);
}

void cShopScreen::storeMoneySpent() {
    cGameData* data = getGameData();
    if (!data) return;
    data->setMoneySpent(cashRangeSum() - m_cash, 0);
    data->saveNow();
}

cShopObject* cShopScreen::findObject(const cStringA& name) const {
    for (cShopObject* o : m_objects)
        if (o->getName() == name) return o;
    return nullptr;
}

void cShopScreen::addItem(const cStringA& name) {
    cGameData* data = getGameData();
    const int item = shop::itemOf(name);
    if (!data || item == shop::ITEM_NONE) return;
    const int32_t world = data->getWorld();
    // 1. Present and highest level.
    const shop::UpgradeRange range = shop::getUpgradeRange(*data, item, world);
    const int32_t p = range.present, m = range.maximum;
    cShopItemRecord* record = &m_records[static_cast<size_t>(item)];
    record->present = p;
    record->bought = 0;
    auto place = [&](cShopObject* object) {
        object->setPosition(object->getPosition() + m_preview_offset);
        m_objects.push_back(object);
    };
    if (p > 0 && p < m) {
        // 2. One offer at a time; interior items every level up to the maximum.
        for (int32_t i = p; i < m; ++i) {
            cShopObject* object = cShopObject::create(world, name, i, i + 1, this, record);
            object->applyToGameData(false);
            place(object);
            addButton(object->getDisplayName(), intToString(object->getCost()), object);
            if (!object->isInterior()) break;
        }
    } else if (p == m) {
        // 3. Shown at its present level only.
        place(cShopObject::create(world, name, p, 0, this, record));
    }
    // 4. Otherwise nothing; 5.
    refreshControls();
}

void cShopScreen::addButton(const cStringW& top, const cStringW& bottom, cShopObject* object) {
    auto* button = new cShopButton(this, this);
    button->setItem(object);
    button->loadFromIni(effectIni(kConfig), L"SHOP_BUTTON");
    const float n = static_cast<float>(m_buttons.size());
    button->setPosition(cVector2(m_first_position.x, m_first_position.y + n * m_button_size.y));
    button->setClickHandler(&cShopScreen::onSelect);
    button->setTopText(top);
    button->setBottomText(bottom);
    refreshControls();
    m_buttons.push_back(button);
}

bool cShopScreen::containsPoint(const cVector2& point) const {
    const cVector2 c = m_list_area->getPosition();
    return point.x >= c.x - m_list_size.x / 2.0f && point.x <= c.x + m_list_size.x / 2.0f &&
           point.y >= c.y - m_list_size.y / 2.0f && point.y <= c.y + m_list_size.y / 2.0f;
}

void cShopScreen::refreshControls() {
    const int count = static_cast<int>(m_buttons.size());
    // 1. The page buttons by the room to move.
    if (m_last_visible < count - 1) m_forward->enable(); else m_forward->disable();
    if (m_first_visible > 0) m_backward->enable(); else m_backward->disable();
    // 2. No selection and no paging or leaving while the list moves.
    if (m_scrolling) {
        if (m_selected) m_selected->deselect();
        m_selected = nullptr;
        m_finish->deactivate();
        m_forward->deactivate();
        m_backward->deactivate();
    } else {
        m_finish->activate();
        m_forward->activate();
        m_backward->activate();
    }
    // 3. Buy only for an affordable selection.
    if (m_selected && m_selected->getItem() && m_cash >= m_selected->getItem()->getCost())
        m_buy->enable();
    else
        m_buy->disable();
}

bool cShopScreen::pageForward(cSceneNode* button) {
    if (cShopScreen* s = screenOf(button)) s->forward(true);
    return true;
}

bool cShopScreen::pageBackward(cSceneNode* button) {
    if (cShopScreen* s = screenOf(button)) s->backward();
    return true;
}

void cShopScreen::forward(bool dismiss) {
    const int count = static_cast<int>(m_buttons.size());
    if (!m_scrolling && m_last_visible < count - 1) {
        const int e = std::min(m_visible_count - 1, count - 1 - m_last_visible);
        m_first_visible += e;
        m_last_visible += e;
        m_scroll_remaining = static_cast<float>(e) * m_button_size.y;
        m_scroll_direction = -1;
        m_scrolling = true;
        refreshControls();
    }
    if (dismiss) dismissHint(0);
}

void cShopScreen::backward() {
    if (m_scrolling || m_first_visible <= 0) return;
    const int b = std::min(m_visible_count - 1, m_first_visible);
    m_first_visible -= b;
    m_last_visible -= b;
    m_scroll_remaining = static_cast<float>(b) * m_button_size.y;
    m_scroll_direction = 1;
    m_scrolling = true;
    refreshControls();
}

void cShopScreen::moveButtons(float step) {
    if (m_scroll_remaining == 0.0f) {
        m_scrolling = false;
        refreshControls();
        updatePageText();
    }
    for (cShopButton* b : m_buttons) b->setPosition(b->getPosition() + cVector2(0.0f, m_scroll_direction * step));
}

void cShopScreen::scrollStep() {
    float step = m_scroll_remaining;
    // A speed of 0 or less would never arrive: the movement then ends at once.
    if (m_scroll_speed > 0.0f) step = std::min(m_scroll_remaining, getDeltaTime() * m_scroll_speed * m_list_size.y);
    m_scroll_remaining -= step;
    moveButtons(step);
}

void cShopScreen::finishScroll() {
    if (!m_scrolling) return;
    const float step = m_scroll_remaining;
    m_scroll_remaining = 0.0f;
    moveButtons(step);
}

void cShopScreen::onWheel(uint32_t code, int32_t value, void* object) {
    auto* s = static_cast<cShopScreen*>(object);
    if (code != INPUT_MOUSE_WHEEL || s->m_scrolling) return;
    if (value < 0 && s->m_forward->isEnabled() && s->m_forward->isActive()) s->forward(true);
    if (value > 0 && s->m_backward->isEnabled() && s->m_backward->isActive()) s->backward();
}

void cShopScreen::onSelect(cShopButton* button) {
    auto* s = button ? dynamic_cast<cShopScreen*>(button->getParent()) : nullptr;
    if (!s) return;
    if (s->m_selected && s->m_selected != button) s->m_selected->deselect();
    s->m_selected = button;
    s->refreshControls();
}

bool cShopScreen::onBuy(cSceneNode* button) {
    if (cShopScreen* s = screenOf(button)) s->buy();
    return true;
}

void cShopScreen::buy() {
    if (!m_selected || !m_selected->getItem() || m_cash < m_selected->getItem()->getCost()) return;
    m_cash -= m_selected->buy();
    m_selected = nullptr;
    updateCashText();
    refreshControls();
    updateLowCash();
    storeMoneySpent();
}

bool cShopScreen::onFinish(cSceneNode* button) {
    cShopScreen* s = screenOf(button);
    if (!s) return true;
    s->m_commit = true;
    if (auto* shop = dynamic_cast<cShop*>(s->getParent())) shop->finish();
    return true;
}

bool cShopScreen::onMenu(cSceneNode* button) {
    cShopScreen* s = screenOf(button);
    if (!s) return true;
    s->m_commit = false;
    if (auto* shop = dynamic_cast<cShop*>(s->getParent())) shop->pause();
    return true;
}

void cShopScreen::cheatAddMoney() {
    m_cash += 1000;
    updateCashText();
    refreshControls();
    updateLowCash();
}

void cShopScreen::updateLowCash() {
    for (cShopButton* b : m_buttons)
        if (!b->isSelected()) b->setCash(m_cash);
}

void cShopScreen::updateCashText() {
    cStringW digits = intToString(m_cash < 0 ? -m_cash : m_cash);
    if (digits.size() < m_cash_digits) digits = cStringW(m_cash_digits - digits.size(), L'0') + digits;
    if (m_cash < 0) digits = L"-" + digits;
    m_cash_text->setString(m_cash_prefix + digits);
}

void cShopScreen::update() {
    // 1. The page movement; 2. the description cloud; 3. the Buy highlight; 4. children.
    if (m_scrolling) scrollStep();
    // The state activates the whole screen every frame; the list stays out of reach while it
    // moves.
    if (m_scrolling) {
        m_finish->deactivate();
        m_forward->deactivate();
        m_backward->deactivate();
    }
    updateInfoCloud();
    updateBuyBlink();
    cSceneNode::update();
}

void cShopScreen::updateInfoCloud() {
    m_pointed = nullptr;
    for (cShopButton* b : m_buttons)
        if (b->isHovered()) {
            m_pointed = b->getItem();
            break;
        }
    if (m_pointed) {
        if (m_pointed == m_described) {
            m_cloud->appear();
        } else if (!m_cloud->isVisible()) {
            m_described = m_pointed;
            m_described->placeCloud(m_cloud, m_preview_offset);
        } else {
            // The old description fades out completely before the new one is placed.
            m_cloud->disappear();
        }
        return;
    }
    if (!m_described) return;
    if (!m_cloud->isVisible())
        m_described = nullptr;
    else
        m_cloud->disappear();
}

void cShopScreen::updateBuyBlink() {
    const bool hot = m_buy->isEnabled() && m_buy->isVisible() && m_buy->hitTest();
    const float dt = getDeltaTime();
    if (m_buy->isEnabled() && m_buy->isActive() && !hot) {
        m_buy_blink->show();
        m_blink_wait -= dt;
        if (m_blink_wait <= 0.0f) {
            m_blink_wait = 0.0f;
            m_blink_alpha += m_blink_direction * kBlinkSpeed * dt;
            if (m_blink_direction > 0.0f && m_blink_alpha >= 255.0f) {
                m_blink_alpha = 255.0f;
                m_blink_direction = -1.0f;
                m_blink_wait = kBlinkHoldFull;
            } else if (m_blink_direction < 0.0f && m_blink_alpha <= 0.0f) {
                m_blink_alpha = 0.0f;
                m_blink_direction = 1.0f;
                m_blink_wait = kBlinkHoldOff;
            }
        }
    } else {
        m_blink_wait = hot ? kBlinkHoldOff : 0.0f;
        m_blink_direction = 1.0f;
        m_blink_alpha = 0.0f;
        m_buy_blink->hide();
    }
    m_buy_blink->setAlpha(static_cast<uint32_t>(m_blink_alpha));
}

void cShopScreen::onEnable() {
    addInputListener(&cShopScreen::onWheel, this);
    cSceneNode::onEnable();
}

void cShopScreen::onDisable() {
    removeInputListener(&cShopScreen::onWheel, this);
    cSceneNode::onDisable();
}

void cShopScreen::showHints() {
    if (m_hint) m_hint->appear();
}

void cShopScreen::dismissHint(int index) {
    if (index != 0 || m_hint_dismissed) return;
    m_hint_dismissed = true;
    if (m_hint) m_hint->disappear();
}
