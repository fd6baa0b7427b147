#pragma once
// Menu screen 10: a five-second test run that shows the logo, a "testing" picture and a bar
// that grows from its left edge to the right over 5 s of the timer's clock (real time, from
// the end of construction), then ends the first-run frame-rate check in the settings and
// finishes with result 0. It measures nothing, has no buttons and no keys, and keeps the
// background of the screen before it. Always complete.

#include "engine/core/cRect.h"
#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "game/menus/cMenuScreen.h"

class cPicture;

class cPerformanceTest : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/performance_test.ini";
    static constexpr float kDuration = 5.0f;

    explicit cPerformanceTest(cSceneNode* parent);
    ~cPerformanceTest() override;

    void update() override;
    // COMMON whatever it is given, the logo, then the keys of PROGRESS_BAR.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    bool isComplete() override { return true; }

    cPicture* getProgressPicture() const { return m_progress; }
    cPicture* getTestingPicture() const { return m_testing; }
    // The bar's top-left corner.
    const cVector2& getProgressCorner() const { return m_position_progress; }
    const cRect& getProgressRect() const { return m_rect_progress; }

private:
    void updateProgress();

    cPicture* m_logo = nullptr;
    cPicture* m_testing = nullptr;
    cPicture* m_progress = nullptr;
    cStringA m_texture_testing;
    cStringA m_texture_progress;
    cVector2 m_position_testing{400.0f, 450.0f};
    cVector2 m_position_progress{400.0f, 450.0f};
    cRect m_rect_progress{0.0f, 0.0f, 256.0f, 128.0f};
    cVector2 m_size_progress{256.0f, 128.0f};
    float m_start_time = 0.0f;
    float m_current_time = 0.0f;
};
