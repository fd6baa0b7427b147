#include "engine/scene/cListBox.h"

#include <algorithm>
#include <cmath>

#include "engine/core/cIniFile.h"
#include "engine/media/cInput.h"
#include "engine/scene/cText.h"

namespace {

// More rows than this are not built, whatever the configuration says.
constexpr int32_t kMaxRows = 1000;

cVector2 readVector(const cIniFile& ini, const cStringW& section, const wchar_t* key) {
    float v[2] = {0.0f, 0.0f};
    parseVector2(v, ini.getValue(section, cStringW(key)));
    return cVector2(v[0], v[1]);
}

cStringW lowered(const cStringW& text) {
    cStringW copy(text);
    copy.makeLower();
    return copy;
}

cListBox* ownerOf(cSceneNode* button) { return button ? dynamic_cast<cListBox*>(button->getParent()) : nullptr; }

}  // namespace

cListBox::cListBox(cSceneNode* parent) : cPicture(parent) {
    m_button_up = new cButton(this);
    m_button_down = new cButton(this);
    m_button_slider = new cButton(this);
    m_cursor = new cPicture(this);
    m_frame = new cPicture(this);
}

cListBox::~cListBox() {
    hide();
    disable();
    delete m_button_up;
    delete m_button_down;
    delete m_button_slider;
    delete m_cursor;
    delete m_frame;
    for (cText* row : m_row_texts) delete row;
    m_row_texts.clear();
}

void cListBox::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    m_frame->loadFromIni(ini, section);
    const cVector2 base = m_frame->getPosition();

    m_button_up->loadFromIni(ini, cStringW(L"LISTBOX_BUTTON_UP"));
    m_button_up->setPressHandler(&stepUp);
    m_button_up->setPosition(m_button_up->getPosition() + base);
    m_button_down->loadFromIni(ini, cStringW(L"LISTBOX_BUTTON_DOWN"));
    m_button_down->setPressHandler(&stepDown);
    m_button_down->setPosition(m_button_down->getPosition() + base);
    m_cursor->loadFromIni(ini, cStringW(L"LISTBOX_CURSOR"));

    stringToInt(&m_items_visible, ini.getValue(section, cStringW(L"items_visible")));
    m_items_visible = std::clamp(m_items_visible, 0, kMaxRows);
    m_item_size = readVector(ini, section, L"item_size");
    stringToInt(&m_space, ini.getValue(section, cStringW(L"space")));
    m_first_item_pos = readVector(ini, section, L"first_item_offset") + base;
    const cVector2 up = readVector(ini, section, L"slider_up_offset");
    m_track_start = up + base;
    m_track_length = readVector(ini, section, L"slider_down_offset") - up;

    m_button_slider->loadFromIni(ini, cStringW(L"LISTBOX_BUTTON_SLIDER"));
    m_button_slider->setPosition(m_track_start);
    m_button_slider->setPressHandler(&dragOn);
    m_button_slider->setReleaseHandler(&dragOff);

    for (cText* row : m_row_texts) delete row;
    m_row_texts.clear();
    for (int32_t i = 0; i < m_items_visible; ++i) {
        cText* row = new cText(this);
        m_row_texts.push_back(row);
        row->loadFromIni(ini, cStringW(L"LISTBOX_ITEMS_TEXT"));
        row->setString(cStringW());
        row->setPosition(cVector2(m_first_item_pos.x, m_first_item_pos.y + getPitch() * (float(i) + 0.5f)));
        row->show();
        row->enable();
    }
    refresh();
}

void cListBox::onEnable() {
    cPicture::onEnable();
    bindInput(INPUT_LEFT_PRESSED, &rowCallback, this);
    addInputListener(&dragCallback, this);
}

void cListBox::onDisable() {
    cPicture::onDisable();
    unbindInput(INPUT_LEFT_PRESSED, &rowCallback, this);
    removeInputListener(&dragCallback, this);
}

void cListBox::setPosition(const cVector2& position) {
    const cVector2 delta = position - getPosition();
    m_first_item_pos = m_first_item_pos + delta;
    m_track_start = m_track_start + delta;
    cPicture::setPosition(position);
    refresh();
}

void cListBox::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    forEachChild([alpha](cSceneNode* child) {
        if (cSprite* sprite = dynamic_cast<cSprite*>(child)) sprite->setAlpha(alpha);
    });
}

// ---- Items ----

void cListBox::addItem(const cStringW& text) {
    m_items.push_back(text);
    m_selected = find(text);
    refresh();
}

void cListBox::removeItem(const cStringW& text) { removeItemAt(find(text)); }

void cListBox::removeItemAt(int32_t index) {
    const int32_t count = getItemCount();
    if (index < 0 || index >= count) return;
    if (index < m_selected || (index == m_selected && index == count - 1 && index != 0)) --m_selected;
    m_items.erase(m_items.begin() + index);
    refresh();
}

int32_t cListBox::find(const cStringW& text) const {
    const cStringW wanted = lowered(text);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (lowered(m_items[i]).equals(wanted)) return int32_t(i);
    return -1;
}

cStringW cListBox::getItemText(int32_t index) const {
    if (index < 0 || index >= getItemCount()) return cStringW();
    return m_items[size_t(index)];
}

bool cListBox::select(int32_t index) {
    if (index < 0 || index >= getItemCount() || index == m_selected) return false;
    m_selected = index;
    refresh();
    // The handler may delete the list box: callers that go on check their deletion watch.
    return m_select_handler ? m_select_handler(this) : false;
}

// ---- Layout ----

void cListBox::refresh() {
    const int32_t count = getItemCount();
    if (m_selected > m_first_visible + m_items_visible - 1) m_first_visible = m_selected - m_items_visible + 1;
    else if (m_selected < m_first_visible) m_first_visible = m_selected;
    if (count - m_first_visible < m_items_visible) m_first_visible = std::max(0, count - m_items_visible);

    const float pitch = getPitch();
    m_cursor->setPosition(
        cVector2(getPosition().x, m_first_item_pos.y + pitch * (float(m_selected - m_first_visible) + 0.5f)));

    if (count == 0) {
        m_button_slider->disable();
        m_button_slider->setPosition(m_track_start);
    } else {
        m_button_slider->enable();
        if (!m_dragging) {
            if (count == 1) m_button_slider->setPosition(m_track_start);
            else
                m_button_slider->setPosition(cVector2(
                    m_track_start.x, m_track_start.y + m_track_length.y / float(count - 1) * float(m_selected)));
        }
    }
    for (size_t i = 0; i < m_row_texts.size(); ++i) m_row_texts[i]->setString(getItemText(m_first_visible + int32_t(i)));
}

// ---- Input ----

void cListBox::onRowPress() {
    if (!isEnabled() || !isVisible() || !isActive()) return;
    const cVector2 p = getMousePosition();
    const float width = m_item_size.x;
    float left = m_first_item_pos.x;
    const int align = m_row_texts.empty() ? TEXT_ALIGN_CENTER : m_row_texts[0]->getHorizontalAlign();
    if (align == TEXT_ALIGN_CENTER) left -= width / 2.0f;
    else if (align == TEXT_ALIGN_RIGHT) left -= width;
    const float pitch = getPitch();
    const float top0 = m_first_item_pos.y - float(m_space / 2);
    for (int32_t row = 0; row < m_items_visible; ++row) {
        const float top = top0 + pitch * float(row);
        if (left <= p.x && p.x <= left + width && top <= p.y && p.y <= top + pitch) {
            const int32_t index = m_first_visible + row;
            if (index < getItemCount()) select(index);
            return;
        }
    }
}

void cListBox::onDrag() {
    const int32_t count = getItemCount();
    if (!isActive() || !m_dragging || count < 1) return;
    const float lo = std::min(m_track_start.y, m_track_start.y + m_track_length.y);
    const float hi = std::max(m_track_start.y, m_track_start.y + m_track_length.y);
    const float y = std::clamp(getMousePosition().y, lo, hi);
    // A track of zero length has no place for any item but the selected one.
    if (m_track_length.y != 0.0f) {
        const float index = std::floor((y - m_track_start.y) / m_track_length.y * float(count - 1) + 0.5f);
        cDeletionWatch::Scope scope(m_deletion_watch);
        select(int32_t(index));
        if (scope.deleted()) return;
    }
    m_button_slider->setPosition(cVector2(m_track_start.x, y));
}

void cListBox::rowCallback(void* object) { static_cast<cListBox*>(object)->onRowPress(); }
void cListBox::dragCallback(InputCode, int32_t, void* object) { static_cast<cListBox*>(object)->onDrag(); }

bool cListBox::stepUp(cSceneNode* button) {
    cListBox* list = ownerOf(button);
    return list ? list->select(list->m_selected - 1) : false;
}

bool cListBox::stepDown(cSceneNode* button) {
    cListBox* list = ownerOf(button);
    return list ? list->select(list->m_selected + 1) : false;
}

bool cListBox::dragOn(cSceneNode* button) {
    if (cListBox* list = ownerOf(button)) list->m_dragging = true;
    return false;
}

bool cListBox::dragOff(cSceneNode* button) {
    if (cListBox* list = ownerOf(button)) {
        list->m_dragging = false;
        list->refresh();
    }
    return false;
}
