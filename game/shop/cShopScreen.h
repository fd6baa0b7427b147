#pragma once
// The page of the shop: background, preview scene of shop objects, the list of offers in a
// window that pages up and down, the cash, the buttons Buy, Finish, Menu and the two page
// buttons, a pulsing highlight over Buy, the description cloud of the offer under the mouse,
// the hint cloud of the first shop and a picture shown when nothing is left to sell.
//
// The screen decides what is offered (the catalogue at the level just played), keeps the
// cash and stores the money spent in the level about to be played: 0 when it is built, again
// after every purchase and when the player finishes, each time followed by a save, so a
// purchase is never lost nor charged twice. The upgrade levels reach the game data through
// the shop objects.

#include <cstdint>
#include <vector>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cSceneNode.h"
#include "game/shop/cShopButton.h"
#include "game/shop/cShopObject.h"

class cAppearingCloud;
class cButton;
class cIniFile;
class cPicture;
class cText;

class cShopScreen : public cSceneNode, public cShopList {
public:
    static constexpr const char* kConfig = "Config/Shop/shop.ini";
    // The offers, in list order.
    static constexpr int kItemCount = 17;

    explicit cShopScreen(cSceneNode* parent);
    ~cShopScreen() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onEnable() override;
    void onDisable() override;
    bool containsPoint(const cVector2& point) const override;
    bool isNotScrolling() const override { return !m_scrolling; }

    // The button handlers (run with the button; the screen is its parent).
    static bool pageForward(cSceneNode* button);
    static bool pageBackward(cSceneNode* button);
    static bool onBuy(cSceneNode* button);
    static bool onFinish(cSceneNode* button);
    static bool onMenu(cSceneNode* button);
    static void onSelect(cShopButton* button);
    static void onWheel(uint32_t code, int32_t value, void* screen);

    void cheatAddMoney();
    void showHints();
    void dismissHint(int index);
    void finishScroll();

    int32_t getCash() const { return m_cash; }
    bool isSoldOut() const { return m_buttons.empty(); }
    bool isCommitted() const { return m_commit; }
    const std::vector<cShopButton*>& getButtons() const { return m_buttons; }
    const std::vector<cShopObject*>& getObjects() const { return m_objects; }
    cShopObject* findObject(const cStringA& name) const;
    cShopButton* getSelected() const { return m_selected; }
    int getFirstVisible() const { return m_first_visible; }
    int getLastVisible() const { return m_last_visible; }
    int getVisibleCount() const { return m_visible_count; }
    bool isScrolling() const { return m_scrolling; }
    float getScrollSpeed() const { return m_scroll_speed; }
    cButton* getBuyButton() const { return m_buy; }
    cButton* getFinishButton() const { return m_finish; }
    cButton* getMenuButton() const { return m_menu; }
    cButton* getForwardButton() const { return m_forward; }
    cButton* getBackwardButton() const { return m_backward; }
    cText* getCashText() const { return m_cash_text; }
    cPicture* getSoldOutPicture() const { return m_sold_out; }
    cPicture* getBuyHighlight() const { return m_buy_blink; }
    float getHighlightAlpha() const { return m_blink_alpha; }
    cAppearingCloud* getDescriptionCloud() const { return m_cloud; }
    cShopObject* getDescribedObject() const { return m_described; }
    cAppearingCloud* getHintCloud() const { return m_hint; }
    bool isHintDismissed() const { return m_hint_dismissed; }
    cVector2 getPreviewOffset() const { return m_preview_offset; }

private:
    void addItem(const cStringA& name);
    void addButton(const cStringW& top, const cStringW& bottom, cShopObject* object);
    void refreshControls();
    void forward(bool dismiss);
    void backward();
    void scrollStep();
    void moveButtons(float step);
    void updateInfoCloud();
    void updateBuyBlink();
    void updateLowCash();
    void updateCashText();
    void updatePageText() {}
    void buy();
    // The money spent of this visit into the level about to be played, then a save.
    void storeMoneySpent();
    int32_t cashRangeSum() const;

    int32_t m_cash = 0;
    cPicture* m_background;
    cPicture* m_sold_out;
    cButton* m_buy;
    cButton* m_finish;
    cButton* m_menu;
    cButton* m_forward;
    cButton* m_backward;
    cText* m_cash_text;
    uint32_t m_cash_digits = 0;
    cText* m_page_text;
    cStringW m_pages_word, m_of_word;
    cStringW m_cash_prefix;
    std::vector<cShopObject*> m_objects;
    std::vector<cShopItemRecord> m_records;
    cVector2 m_preview_offset;
    std::vector<cShopButton*> m_buttons;
    cPicture* m_list_area;
    cShopButton* m_selected = nullptr;
    cVector2 m_button_size;
    cVector2 m_list_size;
    cVector2 m_first_position;
    float m_scroll_speed = 0.0f;
    bool m_scrolling = false;
    int m_scroll_direction = 0;
    float m_scroll_remaining = 0.0f;
    int m_visible_count = 2;
    int m_first_visible = 0;
    int m_last_visible = 0;
    bool m_commit = false;
    cAppearingCloud* m_cloud;
    cShopObject* m_described = nullptr;
    cShopObject* m_pointed = nullptr;
    cAppearingCloud* m_hint = nullptr;
    bool m_hint_dismissed = false;
    cPicture* m_buy_blink;
    float m_blink_alpha = 0.0f;
    float m_blink_direction = 1.0f;
    float m_blink_wait = 0.0f;
};
