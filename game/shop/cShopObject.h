#pragma once
// One upgradeable part of the restaurant in the shop's preview scene: a picture at its present
// level and, when a further level can be bought, the offer of that level (price, name, icons,
// description cloud). The list button drives its display state; while the offer is pointed at,
// selected or bought the object writes the offered level into the level about to be played,
// and when the preview ends it puts the level in force back.
//
// Every frame the picture names are built again from the game data, so a picture that shows
// another part too (Subs_Tables shows the tables' level) follows that part's preview at once.
//
// The objects of one name share a record of the name's present level, the highest level
// bought and the offer being previewed, so that ending a preview or buying a lower offer never
// takes a bought level back. An interior name lists several offers, each an object at the same
// place and depth: of those only one is shown, the previewed offer or else the level in force.

#include <cstdint>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cPicture.h"

class cIniFile;
class cTextCloud;

enum ShopDisplayState : int {
    SHOP_STATE_NONE = 0,
    SHOP_STATE_NORMAL = 1,
    SHOP_STATE_POINTED = 2,
    SHOP_STATE_SELECTED = 3,
    SHOP_STATE_BOUGHT = 4,
};

// What the objects of one name share on one shop screen.
struct cShopItemRecord {
    int32_t present = 0;  // the level just played
    int32_t bought = 0;   // the highest level bought in this visit, 0 when none
    int32_t previewing = 0;  // the offer pointed at or selected, 0 when none
    int32_t inForce() const { return bought > present ? bought : present; }
};

class cShopObject : public cPicture {
public:
    static constexpr float kNoCloudSize = -1000.0f;

    // A new object under parent for the offer `offered` (0: no offer, the object only shows the
    // present level). record may be null (the object is then alone with its name).
    static cShopObject* create(int32_t world, const cStringA& name, int32_t present, int32_t offered,
                               cSceneNode* parent, cShopItemRecord* record = nullptr);
    ~cShopObject() override;

    void update() override;
    virtual int getDisplayState() const { return m_state; }
    virtual void setDisplayState(int state);

    // Writes the offered level (true) or the level in force (false) into the level about to
    // be played.
    void applyToGameData(bool offered);
    // Fills and places the description cloud: position (cloud_pos + offset), text, layout,
    // then the size or fit-to-text.
    void placeCloud(cTextCloud* cloud, const cVector2& offset) const;
    // The five picture names from the game data; with reapply, the display state is set again.
    void buildTextureNames(bool reapply);

    int32_t getCost() const { return m_cost; }
    const cStringW& getDisplayName() const { return m_display_name; }
    bool isInterior() const { return m_interior; }
    const cStringA& getIconName() const { return m_icon_name; }
    const cStringA& getBoughtIconName() const { return m_bought_icon_name; }
    const cStringA& getName() const { return m_name; }
    int getItem() const { return m_item; }
    int32_t getWorld() const { return m_world; }
    int32_t getPresentLevel() const { return m_present; }
    int32_t getOfferedLevel() const { return m_offered; }
    bool isApplied() const { return m_applied; }
    const cStringA& getNormalTexture() const { return m_normal_texture; }
    const cStringA& getOfferedTexture() const { return m_offered_texture; }
    const cStringA& getSelectedTexture() const { return m_selected_texture; }
    const cStringA& getPresentPreviewTexture() const { return m_present_preview_texture; }
    const cStringA& getOfferedPreviewTexture() const { return m_offered_preview_texture; }
    cPicture* getPreviewPicture() const { return m_preview; }
    cPicture* getHighlight() const { return m_highlight; }
    float getBlinkAlpha() const { return m_blink_alpha; }
    float getBlinkDirection() const { return m_blink_direction; }
    const cStringW& getCloudText() const { return m_cloud_text; }
    const cStringA& getCloudLayout() const { return m_cloud_layout; }
    cVector2 getCloudPosition() const { return m_cloud_position; }
    cVector2 getCloudSize() const { return m_cloud_size; }
    bool isCloudFitted() const { return m_fit_cloud; }

private:
    cShopObject(cSceneNode* parent, int32_t world, const cStringA& name, int32_t present, int32_t offered,
                cShopItemRecord* record);
    void load(const cIniFile& ini);
    void stepBlink();
    // Shown when this object stands for what its name shows now (see the record).
    void showIfItStandsForItsName();

    int32_t m_world;
    int32_t m_present;
    cStringA m_normal_texture;
    cStringA m_present_preview_texture;
    cStringA m_selected_texture;
    cStringA m_offered_texture;
    cStringA m_offered_preview_texture;
    cStringA m_icon_name;
    cStringA m_bought_icon_name;
    int m_state = SHOP_STATE_NONE;
    bool m_applied = false;
    bool m_interior = false;
    int32_t m_offered;
    int32_t m_cost = 0;
    cStringA m_name;
    int m_item;
    cStringW m_display_name;
    cPicture* m_preview = nullptr;
    cPicture* m_highlight = nullptr;
    float m_blink_direction = 0.0f;
    float m_blink_alpha = 0.0f;
    float m_blink_pause = 0.0f;
    cStringW m_cloud_text;
    bool m_fit_cloud = false;
    cVector2 m_cloud_size{kNoCloudSize, kNoCloudSize};
    cVector2 m_cloud_position;
    cStringA m_cloud_layout = "0M";
    cShopItemRecord m_own_record;
    cShopItemRecord* m_record;
};
