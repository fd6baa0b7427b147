#pragma once
// The picture of one item of the restaurant: its state is an ItemId, and setting it shows that
// item's picture and, for a sub, up to three overlays on top (first sauce, second sauce, the
// hot mark of a baked sub). The money boxes of the tables and the ovens use it directly; the
// order clouds and the waitress's hands use its two variants (cCloudItem, cHandItem).
//
// The textures are chosen once, when the holder is built, from the level's graphics set and
// station upgrades ("Config/Game/o_items.ini" gives the look, the overlay offsets per bread and
// the money animation). An item without a picture (0, the sauces, 54) hides the holder, by its
// own flag: an empty holder under a hidden parent stays hidden when the parent shows.
//
// Overlay offsets follow the shown sub's bread, but setState only records them: the overlays
// move at the next setPosition. Depths: the overlays are drawn at deep + 0.1, 0.2 and 0.3.

#include "engine/scene/cAnimation.h"
#include "engine/scene/cPicture.h"
#include "game/restaurant/cClickTarget.h"

class cIniFile;

class cItemHolder : public cPicture, public cClickTarget {
public:
    explicit cItemHolder(cSceneNode* parent);
    ~cItemHolder() override;

    // Reads "Config/Game/o_items.ini" (the arguments are not used).
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Places the holder, then each overlay at the position plus its offset, then applies the
    // depth rule again.
    void setPosition(const cVector2& position) override;
    void setScale(const cVector2& scale) override;
    void setDeep(float deep) override;
    void setAlpha(uint32_t alpha) override;

    int32_t getKind() const override { return KIND_ITEM_HOLDER; }
    // Shows the item (ids outside 0..55 show and store 0) and restarts its animation, even when
    // the id is unchanged. Always true.
    bool setState(int32_t id) override;

    // For tests and owners: the record of an id and the overlays.
    const cAnimation& getItemAnimation(ItemId id) const { return m_item_animations[validItemOr0(id)]; }
    cPicture* getSouseOverlay() const { return m_souse_overlay; }
    cPicture* getSouse1Overlay() const { return m_souse1_overlay; }
    cPicture* getHotOverlay() const { return m_hot_overlay; }
    const cVector2& getOverlayOffset(int overlay) const { return m_overlay_offsets[overlay]; }

protected:
    // The holder's whole loading: the "COMMON" look and overlay offsets, the "MONEY" record,
    // the item pictures of the "Items" folders.
    void loadHolder();
    // The 56 records at their defaults: no texture, one frame, length 0, looped, 64 x 64.
    void resetRecords();
    // The nine overlay offsets of a section of the items file (absent keys keep their value).
    void readOverlayOffsets(const cIniFile& ini, const wchar_t* section);
    // A key of each item family's section into the entries of that family's ids (every sub
    // reaches its bread's entry by folding; other ids keep theirs).
    static void readFamilyOffsets(const cIniFile& ini, const cStringW& key, cVector2* offsets);
    void setRecordTexture(ItemId id, const std::string& name) { m_item_animations[id].picture = name.c_str(); }
    // The station items of the level's world by its upgrades, the plain subs and the overlays,
    // from the "Items" folders or, for the clouds, the "Items_Cloud" ones.
    void setItemTextures(bool cloud);

private:
    cAnimation m_item_animations[kItemCount];
    cVector2 m_overlay_offsets[3];
    cVector2 m_souse_offsets[3];
    cVector2 m_souse1_offsets[3];
    cVector2 m_hot_offsets[3];
    cStringA m_souse_textures[3];
    cPicture* m_souse_overlay;
    cPicture* m_souse1_overlay;
    cPicture* m_hot_overlay;
};

// The items file all holders read.
inline constexpr const char* kItemsIni = "Config/Game/o_items.ini";
