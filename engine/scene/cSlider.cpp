#include "engine/scene/cSlider.h"

#include <algorithm>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"

namespace {

float clampBetween(float v, float a, float b) {
    float lo = std::min(a, b), hi = std::max(a, b);
    return v < lo ? lo : (v > hi ? hi : v);
}

cVector2 readVector(const cIniFile& ini, const wchar_t* section, const wchar_t* key, cVector2 value) {
    float v[2] = {value.x, value.y};
    parseVector2(v, ini.getValue(section, key));
    return cVector2(v[0], v[1]);
}

}  // namespace

cSlider::cSlider(cSceneNode* parent) : cPicture(parent) { m_thumb = new cPicture(this); }

cSlider::~cSlider() {
    hide();
    disable();
    delete m_thumb;
    m_thumb = nullptr;
}

void cSlider::loadFromIni(const cIniFile& ini, const cStringW& section) {
    auto get = [&](const wchar_t* key) { return ini.getValue(section, cStringW(key)); };
    float position[2] = {getPosition().x, getPosition().y};
    parseVector2(position, get(L"position"));
    setPosition(cVector2(position[0], position[1]));
    float deep = getDeep();
    stringToFloat(&deep, get(L"deep"));
    stringToBool(&m_vertical, get(L"vertical"));
    stringToInt(&m_min, get(L"min"));
    stringToInt(&m_max, get(L"max"));
    stringToInt(&m_value, get(L"current"));
    stringToInt(&m_step, get(L"step"));
    toNarrowWord(&m_sound_unpressed, get(L"sound_unpressed"));
    toNarrowWord(&m_sound_pressed, get(L"sound_pressed"));
    cStringA styleName = get(L"ini").toNarrow();
    cResourceManager* resources = getResourceManager();
    if (!resources) throw cStringA("Slider style \"") + styleName + "\": there is no resource manager.";
    const cIniFile& style = *resources->getIni(styleName);   // throws for a name that is not loaded
    m_thumb_texture_v = style.getValue(L"paths", L"name_pic_slider_vert").toNarrow();
    m_thumb_texture_h = style.getValue(L"paths", L"name_pic_slider_horz").toNarrow();
    m_track_texture_v = style.getValue(L"paths", L"name_pic_track_bar_vert").toNarrow();
    m_track_texture_h = style.getValue(L"paths", L"name_pic_track_bar_horz").toNarrow();
    m_min_pos_v = readVector(style, L"sizes", L"min_slider_pos_v", m_min_pos_v);
    m_max_pos_v = readVector(style, L"sizes", L"max_slider_pos_v", m_max_pos_v);
    m_thumb_size_v = readVector(style, L"sizes", L"slider_size_v", m_thumb_size_v);
    m_min_pos_h = readVector(style, L"sizes", L"min_slider_pos_h", m_min_pos_h);
    m_max_pos_h = readVector(style, L"sizes", L"max_slider_pos_h", m_max_pos_h);
    m_thumb_size_h = readVector(style, L"sizes", L"slider_size_h", m_thumb_size_h);
    m_thumb->show();
    m_thumb->enable();
    setDeep(deep);
    applyOrientation();
    show();
    enable();
}

void cSlider::onEnable() {
    cPicture::onEnable();
    bindInput(INPUT_LEFT_RELEASED, &releaseCallback, this);
    bindInput(INPUT_LEFT_PRESSED, &pressCallback, this);
    addInputListener(&motionCallback, this);
}

void cSlider::onDisable() {
    cPicture::onDisable();
    unbindInput(INPUT_LEFT_RELEASED, &releaseCallback, this);
    unbindInput(INPUT_LEFT_PRESSED, &pressCallback, this);
    removeInputListener(&motionCallback, this);
}

void cSlider::setDeep(float deep) {
    cSprite::setDeep(deep);
    m_thumb->setDeep(deep + 1.0f);
}

void cSlider::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    m_thumb->setAlpha(alpha);
}

void cSlider::setRange(int32_t min, int32_t max) {
    m_min = min;
    m_max = max;
}

void cSlider::setVertical(bool vertical) {
    m_vertical = vertical;
    applyOrientation();
}

void cSlider::setTrack(bool vertical, const cVector2& start, const cVector2& end, const cVector2& thumbSize) {
    (vertical ? m_min_pos_v : m_min_pos_h) = start;
    (vertical ? m_max_pos_v : m_max_pos_h) = end;
    (vertical ? m_thumb_size_v : m_thumb_size_h) = thumbSize;
}

void cSlider::applyOrientation() {
    m_thumb->setLayerTexture(0, m_vertical ? m_thumb_texture_v : m_thumb_texture_h);
    m_thumb->setPosition(getPosition() + getTrackStart());
    setLayerTexture(0, m_vertical ? m_track_texture_v : m_track_texture_h);
}

void cSlider::setValue(int32_t value) {
    m_value = value;
    updateThumb();
}

void cSlider::updateThumb() {
    if (!m_reported) {
        m_reported = true;
        m_last_reported = m_value;
    }
    if (m_value < m_min) m_value = m_min;
    else if (m_value > m_max) m_value = m_max;
    // The value stands at (value - min) / (max - min) of the track; an empty range at its start.
    const int64_t range = int64_t(m_max) - int64_t(m_min);
    const float percent = range > 0 ? float(int64_t(m_value) - int64_t(m_min)) * 100.0f / float(range) : 0.0f;
    const cVector2 start = getTrackStart(), end = getTrackEnd();
    m_thumb->setPosition(getPosition() + (start + (end - start) * 0.01f * percent));
    if (m_value != m_last_reported) {
        m_last_reported = m_value;
        // The handler may delete the slider: callers that go on check their deletion watch.
        if (m_change_handler) m_change_handler(this);
    }
}

void cSlider::valueFromThumb() {
    const cVector2 rel = m_thumb->getPosition() - getPosition();
    const cVector2 start = getTrackStart(), end = getTrackEnd();
    const float length = m_vertical ? end.y - start.y : end.x - start.x;
    const float t = length != 0.0f ? ((m_vertical ? rel.y - start.y : rel.x - start.x) / length) : 0.0f;
    const float range = float(int64_t(m_max) - int64_t(m_min));
    float v = t * 100.0f;
    v = v * range;
    v = v * 0.01f;
    const int64_t offset = v > -2.0e9f && v < 2.0e9f ? int64_t(v) : 0;
    const int64_t value = int64_t(m_min) + offset;
    m_value = int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    updateThumb();
}

void cSlider::onPress() {
    if (!isActive()) return;
    const cVector2 size = getThumbSize();
    const cVector2 centre = m_thumb->getPosition();
    const cVector2 p = getMousePosition();
    m_dragging = centre.x - size.x * 0.5f <= p.x && p.x <= centre.x + size.x * 0.5f &&
                 centre.y - size.y * 0.5f <= p.y && p.y <= centre.y + size.y * 0.5f;
    if (m_dragging) widget_shape::playSound(m_sound_pressed);
}

void cSlider::onMotion() {
    if (!isActive() || !m_dragging) return;
    cDeletionWatch::Scope scope(m_deletion_watch);
    valueFromThumb();
    if (scope.deleted()) return;
    const cVector2 position = getPosition();
    const cVector2 d = getMousePosition() - position;
    if (m_vertical)
        m_thumb->setPosition(position + cVector2(m_min_pos_v.x, clampBetween(d.y, m_min_pos_v.y, m_max_pos_v.y)));
    else
        m_thumb->setPosition(position + cVector2(clampBetween(d.x, m_min_pos_h.x, m_max_pos_h.x), m_min_pos_h.y));
}

void cSlider::onRelease() {
    if (!isActive() || !m_dragging) return;
    m_dragging = false;
    cDeletionWatch::Scope scope(m_deletion_watch);
    valueFromThumb();
    if (scope.deleted()) return;
    widget_shape::playSound(m_sound_unpressed);
}

void cSlider::pressCallback(void* object) { static_cast<cSlider*>(object)->onPress(); }
void cSlider::releaseCallback(void* object) { static_cast<cSlider*>(object)->onRelease(); }
void cSlider::motionCallback(InputCode, int32_t, void* object) { static_cast<cSlider*>(object)->onMotion(); }
