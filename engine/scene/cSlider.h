#pragma once
// The track bar of the option screens: the slider's own picture is the track, a child picture
// is the thumb that the left mouse button drags along a horizontal or vertical segment. The
// thumb's place maps to an integer value between the minimum and the maximum; a change
// handler is told when the value changes.
//
// The value v stands at (v - min) / (max - min) of the track, so the thumb stays on the track
// for any minimum; a range of zero width puts the thumb at the track's start.

#include "engine/scene/cButton.h"
#include "engine/scene/cDeletionWatch.h"
#include "engine/scene/cPicture.h"

class cSlider : public cPicture {
public:
    explicit cSlider(cSceneNode* parent = nullptr);
    ~cSlider() override;

    int getTypeId() const override { return SCENE_SLIDER; }
    // Instance keys "position", "deep", "vertical", "min", "max", "current", "step",
    // "sound_unpressed", "sound_pressed", "ini"; the style INI's sections "paths" and "sizes".
    // Shows and enables the slider and its thumb.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Binds the left button's release and press and listens to the mouse motion.
    void onEnable() override;
    void onDisable() override;
    void setDeep(float deep) override;
    void setAlpha(uint32_t alpha) override;

    virtual ButtonHandler getChangeHandler() const { return m_change_handler; }
    virtual void setChangeHandler(ButtonHandler handler) { m_change_handler = handler; }

    int32_t getValue() const { return m_value; }
    // Stores the value (clamped) and moves the thumb; a changed value calls the handler.
    void setValue(int32_t value);
    int32_t getMin() const { return m_min; }
    int32_t getMax() const { return m_max; }
    int32_t getStep() const { return m_step; }
    void setRange(int32_t min, int32_t max);
    bool isVertical() const { return m_vertical; }
    void setVertical(bool vertical);
    bool isDragging() const { return m_dragging; }
    cPicture* getThumb() const { return m_thumb; }
    // Track ends and grab size of the current orientation, relative to the slider's position.
    cVector2 getTrackStart() const { return m_vertical ? m_min_pos_v : m_min_pos_h; }
    cVector2 getTrackEnd() const { return m_vertical ? m_max_pos_v : m_max_pos_h; }
    cVector2 getThumbSize() const { return m_vertical ? m_thumb_size_v : m_thumb_size_h; }
    // Sets the geometry of one orientation (what the style's "sizes" section gives).
    void setTrack(bool vertical, const cVector2& start, const cVector2& end, const cVector2& thumbSize);

    void onPress();
    void onRelease();
    void onMotion();

private:
    static void pressCallback(void* object);
    static void releaseCallback(void* object);
    static void motionCallback(InputCode code, int32_t motion, void* object);
    void applyOrientation();
    void updateThumb();
    void valueFromThumb();

    cPicture* m_thumb = nullptr;
    ButtonHandler m_change_handler = nullptr;
    cVector2 m_min_pos_v, m_max_pos_v, m_thumb_size_v;
    cVector2 m_min_pos_h, m_max_pos_h, m_thumb_size_h;
    cStringA m_thumb_texture_v, m_thumb_texture_h;
    cStringA m_track_texture_v, m_track_texture_h;
    bool m_vertical = false;
    bool m_dragging = false;
    int32_t m_min = 0;
    int32_t m_max = 100;
    int32_t m_value = 0;
    int32_t m_step = 1;
    cStringA m_sound_unpressed, m_sound_pressed;
    bool m_reported = false;   // m_last_reported holds a value
    int32_t m_last_reported = 0;
    cDeletionWatch m_deletion_watch;  // the change handler may delete the slider
};
