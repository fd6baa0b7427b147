#pragma once
// The speech bubbles over a table in which its guest shows what it wants. The first bubble is
// the cloud picture itself ("CLOUD_<n>" of "Config/Game/o_cloud.ini"), the second a child with
// one look for all tables ("CLOUD_COMMON"); each holds a cloud item and has a red copy
// ("_RED" sections) that pulses while the waitress brings, or has queued, the wanted item.
//
// A bubble pops up with a small overshoot when an item is shown (its scale 1.1 sin(phase),
// the phase running at 12 per second and held at kRestPhase with scale 1 until its item has
// faded in) and shrinks away when the item is hidden. One growth step runs per frame, the
// first bubble's before the second's. The cloud is hidden whenever its first bubble is gone,
// and it is built hidden whatever the configuration says: the level ends only when every
// cloud is hidden.

#include "engine/scene/cPicture.h"

class cCloudItem;

// The growth of one bubble: a phase in radians and the scale it gives.
class cPopPhase {
public:
    // Stores the phase; both scale components become 1.1 sin(phase).
    void setPhase(float phase);
    float getPhase() const { return m_phase; }
    const cVector2& getScale() const { return m_scale; }
    void setScale(const cVector2& scale) { m_scale = scale; }

private:
    float m_phase = 0.0f;
    cVector2 m_scale;
};

class cOrderCloud : public cPicture {
public:
    // The phase at which a grown bubble rests (scale exactly 1). Stored and compared as this
    // one float: a bubble at rest is recognised by exact equality.
    static constexpr float kRestPhase = 2.16f;

    cOrderCloud(cSceneNode* table, int index);
    ~cOrderCloud() override;

    void update() override;
    // Reads "Config/Game/o_cloud.ini" (the arguments are not used).
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // tablePosition: the table's position. Each bubble stands at the table's position plus the
    // offsets plus its transform origin (it scales around that point); the items and the red
    // copies stand at the bubbles' reference points.
    void setPosition(const cVector2& tablePosition) override;
    // The cloud d, first red copy d + 0.1, first item d + 0.2, second bubble d + 0.3, second
    // red copy d + 0.4, second item d + 0.5.
    void setDeep(float deep) override;

    // An id pops the bubble up with that item; 0 shrinks it away (the first bubble only after
    // the second has gone).
    void showFirstItem(int32_t id);
    void showSecondItem(int32_t id);
    int32_t getSecondItem() const;
    void setHighlighted(bool on) { m_highlighted = on; }
    bool isHighlighted() const { return m_highlighted; }

    // For tests and the level.
    int getIndex() const { return m_index; }
    cPicture* getSecondBubble() const { return m_second_bubble; }
    cPicture* getFirstRed() const { return m_first_red; }
    cPicture* getSecondRed() const { return m_second_red; }
    cCloudItem* getFirstItem() const { return m_first_item; }
    cCloudItem* getSecondItemHolder() const { return m_second_item; }
    const cPopPhase& getFirstPop() const { return m_first_pop; }
    const cPopPhase& getSecondPop() const { return m_second_pop; }
    int getFirstState() const { return m_first_state; }
    int getSecondState() const { return m_second_state; }
    float getItemAlpha() const { return m_item_alpha; }

private:
    void growFirst(float dt);
    void shrinkFirst(float dt);
    void growSecond(float dt);
    void shrinkSecond(float dt);
    // A bubble's growth: it pops up, its item fades in from kRevealPhase, and once the pop is
    // back at scale 1 with the item shown it rests (state 0) under its red copy.
    void grow(cPopPhase& pop, cPicture* bubble, cPicture* red, cCloudItem* item, int& state, float dt);
    // A bubble's shrink: its red copy goes at once, the item fades out, and at phase 0 the
    // item is cleared and the bubble hidden.
    void shrink(cPopPhase& pop, cPicture* bubble, cPicture* red, cCloudItem* item, int& state, float dt);
    // Steps a pop; above phase 2 with the scale back at 1 or less it rests. True when it rests.
    bool stepGrowth(cPopPhase& pop, float dt);
    // Fades in; true when the item is fully shown.
    bool fadeIn(cCloudItem* item, float dt);
    void fadeOut(cCloudItem* item, float dt);
    void pulse(float dt);

    int m_index;
    cVector2 m_table_offset;
    cVector2 m_cloud_offset;
    cPicture* m_second_bubble;
    cPopPhase m_first_pop, m_second_pop;
    cCloudItem* m_first_item;
    cCloudItem* m_second_item;
    int m_first_state = 0, m_second_state = 0;
    float m_item_alpha = 0.0f;
    bool m_highlighted = false;
    cPicture* m_first_red;
    cPicture* m_second_red;
    float m_red_alpha = 0.0f;
    float m_red_direction = 1.0f;
    float m_red_delay = 0.0f;
};

// The clouds' configuration file.
inline constexpr const char* kCloudIni = "Config/Game/o_cloud.ini";
