#pragma once
// Application state 1, the first after start-up: the logo pictures of "Config/logo.ini" page
// by page, each fading in, holding and fading out on game time; pictures of one page show
// together. Page 1 always plays in full at full alpha; a later page ends within 0.1 s on a
// mouse button, Escape, Space, Enter or keypad Enter (each released). After the last page, or
// at once with the setting Graphics/show_logo off, the state finishes (result 0). Always
// complete; silent and without a cursor.
//
// An empty page is passed in one frame, and after it the next page that has pictures starts:
// a gap in the page numbers costs one frame whatever its size.

#include <cstdint>
#include <vector>

#include "engine/scene/cSceneNode.h"
#include "game/interface/cCompletion.h"

class cLogoPicture;

class cLogo : public cSceneNode, public cAlwaysComplete {
public:
    static constexpr const char* kConfig = "Config/logo.ini";
    // The fade-out of a skipped page, in seconds.
    static constexpr float kSkipDisappear = 0.1f;

    explicit cLogo(cSceneNode* parent);
    ~cLogo() override;

    void update() override;
    // The node keys of the section; the fade times of COMMON; then Logo_1, Logo_2, ... until
    // the first without a path.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;

    void startPage(uint32_t page);
    uint32_t getCurrentPage() const { return m_current_page; }
    uint32_t getLastPage() const { return m_last_page; }
    bool isShowingLogo() const { return m_show_logo; }
    const std::vector<cLogoPicture*>& getPictures() const { return m_pictures; }

private:
    static void onSkipInput(void* logo);
    bool isPageDone(uint32_t page) const;
    bool hasPictures(uint32_t page) const;
    // The smallest page after this one that has pictures (the last page when none).
    uint32_t nextPageWithPictures(uint32_t page) const;

    bool m_show_logo = true;
    float m_appear = 0.0f;
    float m_disappear = 0.0f;
    uint32_t m_last_page = 0;
    uint32_t m_current_page = 0;
    std::vector<cLogoPicture*> m_pictures;
};
