#pragma once
// The scrolling list of the player-profile screen: wide-string items shown in a fixed number
// of text rows, the selected item marked by a cursor picture, scrolled with an up button, a
// down button and a slider button dragged along a vertical track. Clicking a row selects it;
// the select handler is told of every change made through select (clicks, steps, drags), not
// of those made by addItem and removeItemAt.
//
// The child frame picture is loaded from the list box's own section; its position is the base
// of every offset. A track of zero length keeps the slider button at its top and a drag then
// changes nothing.

#include <vector>

#include "engine/core/cString.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cDeletionWatch.h"
#include "engine/scene/cPicture.h"

class cText;

class cListBox : public cPicture {
public:
    explicit cListBox(cSceneNode* parent = nullptr);
    ~cListBox() override;

    int getTypeId() const override { return SCENE_LIST_BOX; }
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Binds the left button's press to the row test and listens to the mouse motion.
    void onEnable() override;
    void onDisable() override;
    // Moves the rows and the track with the list box, then refreshes.
    void setPosition(const cVector2& position) override;
    void setAlpha(uint32_t alpha) override;

    virtual ButtonHandler getSelectHandler() const { return m_select_handler; }
    virtual void setSelectHandler(ButtonHandler handler) { m_select_handler = handler; }

    // Appends the item and selects the first item equal to it (ignoring case); no handler call.
    void addItem(const cStringW& text);
    void removeItem(const cStringW& text);
    void removeItemAt(int32_t index);
    // Index of the first item equal when both are lowered, or -1.
    int32_t find(const cStringW& text) const;
    cStringW getItemText(int32_t index) const;
    cStringW getSelectedText() const { return getItemText(m_selected); }
    // Selects a valid, different index, refreshes and returns the handler's result.
    bool select(int32_t index);
    int32_t getSelected() const { return m_selected; }
    int32_t getFirstVisible() const { return m_first_visible; }
    int32_t getItemCount() const { return int32_t(m_items.size()); }
    int32_t getItemsVisible() const { return m_items_visible; }
    const std::vector<cText*>& getRowTexts() const { return m_row_texts; }
    cButton* getButtonUp() const { return m_button_up; }
    cButton* getButtonDown() const { return m_button_down; }
    cButton* getButtonSlider() const { return m_button_slider; }
    cPicture* getCursor() const { return m_cursor; }
    cPicture* getFrame() const { return m_frame; }
    cVector2 getFirstItemPosition() const { return m_first_item_pos; }
    cVector2 getTrackStart() const { return m_track_start; }
    cVector2 getTrackLength() const { return m_track_length; }
    bool isDragging() const { return m_dragging; }
    // Row pitch: space + row height.
    float getPitch() const { return float(m_space) + m_item_size.y; }
    void refresh();

    // The input callbacks.
    void onRowPress();
    void onDrag();

private:
    static void rowCallback(void* object);
    static void dragCallback(InputCode code, int32_t motion, void* object);
    static bool stepUp(cSceneNode* button);
    static bool stepDown(cSceneNode* button);
    static bool dragOn(cSceneNode* button);
    static bool dragOff(cSceneNode* button);

    ButtonHandler m_select_handler = nullptr;
    std::vector<cText*> m_row_texts;
    std::vector<cStringW> m_items;
    int32_t m_items_visible = 0;
    int32_t m_selected = 0;
    int32_t m_first_visible = 0;
    int32_t m_space = 0;
    bool m_dragging = false;
    cButton* m_button_up = nullptr;
    cButton* m_button_down = nullptr;
    cButton* m_button_slider = nullptr;
    cPicture* m_cursor = nullptr;
    cPicture* m_frame = nullptr;
    cVector2 m_first_item_pos;
    cVector2 m_item_size;
    cVector2 m_track_start;
    cVector2 m_track_length;
    cDeletionWatch m_deletion_watch;  // the select handler may delete the list box
};
