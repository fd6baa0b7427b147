#pragma once
// One entry of the shop's upgrade list: the offer's icon, its name (top text) and its price
// (bottom text), with looks for pointed at, selected, disabled and bought, and the price in a
// low-cash font while the cash does not cover it. The button drives its shop object's display
// state, so the preview scene shows the offer while the entry is pointed at or selected.
//
// A click selects the entry (only inside the list window, not while the list pages) and runs
// the click handler; the screen decides about buying. A bought entry stays disabled for good,
// whatever enables it later.

#include <cstdint>

#include "engine/core/cRect.h"
#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cPicture.h"

class cShopObject;
class cText;

// What a list button asks of the list it belongs to (its scene parent).
class cShopList {
public:
    virtual ~cShopList() = default;
    virtual bool isNotScrolling() const = 0;
    // The point lies in the list window (edges included).
    virtual bool containsPoint(const cVector2& point) const = 0;
};

enum ShopButtonFlags : int {
    SHOP_BUTTON_SHOWN = 1,
    SHOP_BUTTON_SELECTED = 4,
    SHOP_BUTTON_DISABLED = 8,
    SHOP_BUTTON_POINTED = 16,
};

class cShopButton : public cPicture {
public:
    using ClickHandler = void (*)(cShopButton* button);

    // list: the list the button asks (normally its parent); may be null.
    cShopButton(cSceneNode* parent, cShopList* list);
    ~cShopButton() override;

    void update() override;
    // Everything from the fixed sections of the file (the section is not used). Needs the item.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onShow() override;
    void onHide() override;
    void onEnable() override;
    void onDisable() override;
    // Moves the button and shows it when its top or bottom edge lies in the list window.
    void setPosition(const cVector2& position) override;

    void setItem(cShopObject* item) { m_item = item; }
    cShopObject* getItem() const { return m_item; }
    void setClickHandler(ClickHandler handler) { m_click_handler = handler; }
    void setTopText(const cStringW& text);
    void setBottomText(const cStringW& text);

    bool isHovered() const;
    bool isSelected() const { return (m_flags & SHOP_BUTTON_SELECTED) != 0; }
    void deselect() { setFlags(m_flags & ~SHOP_BUTTON_SELECTED); }
    // Marks the entry bought and returns its cost.
    int32_t buy();
    void setCash(int32_t cash);
    void setFlags(int flags);
    int getFlags() const { return m_flags; }
    bool isBought() const { return m_bought; }
    bool isLowCash() const { return m_low_cash; }
    bool hitTest(const cVector2& point) const;
    const cRect& getHitRect() const { return m_rect; }
    cText* getTopText() const { return m_top; }
    cText* getBottomText() const { return m_bottom; }
    cPicture* getIcon() const { return m_icon; }
    cPicture* getSoldPicture() const { return m_sold; }

    // The left-button press while enabled.
    static void onMousePress(void* button);

private:
    void refreshLook();
    void updateRect();
    void press();

    cShopList* m_list;
    cShopObject* m_item = nullptr;
    int m_flags = 0;
    ClickHandler m_click_handler = nullptr;
    cRect m_rect;
    cVector2 m_size;
    cVector2 m_icon_offset;
    bool m_bought = false;
    bool m_low_cash = false;
    cStringA m_textures[4];          // normal, hover, pressed, disabled
    cText* m_top;
    cStringA m_top_glyphs[4];
    cText* m_bottom;
    cStringA m_bottom_font;
    cStringA m_bottom_glyphs[4];
    cStringA m_bottom_lowcash_font;
    cStringA m_bottom_lowcash_glyphs[3];  // normal, hover, pressed
    cPicture* m_icon;
    cStringA m_sound_active;
    cStringA m_sound_pressed;
    cPicture* m_sold;
};
