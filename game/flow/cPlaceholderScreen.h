#pragma once
// The shared body of the application states that are not built in full yet: a background
// picture, a title that names the state (so a screenshot shows where the game is), a line of
// help, the software cursor, and the keys that decide the state's result: Enter or a left
// click confirms, Escape goes back. Each such state keeps the class name, the folder and the
// completion behaviour of the real one, so that every transition of the root object runs.

#include "engine/core/cString.h"
#include "engine/scene/cSceneNode.h"
#include "game/flow/cCompletion.h"

class cCursor;
class cPicture;
class cText;

class cPlaceholderScreen : public cSceneNode, public cAlwaysComplete {
public:
    static constexpr const char* kTitleFont = "Fonts/title.rwf";
    static constexpr const char* kTitleImage = "Fonts/title.dds";
    static constexpr const char* kTextFont = "Fonts/main.rwf";
    static constexpr const char* kTextImage = "Fonts/main.dds";

    // background: a texture of the state's own resource group (empty: none). withCursor: the
    // state owns a software cursor.
    cPlaceholderScreen(cSceneNode* parent, const cStringA& background, bool withCursor);
    ~cPlaceholderScreen() override;

    void update() override;
    void onEnable() override;
    void onDisable() override;

    const cStringW& getTitle() const;
    void setTitle(const cStringW& title);
    void setHelp(const cStringW& help);
    // A second line under the title (the pause line of the pausing states).
    void setNotice(const cStringW& notice);
    cCursor* getOwnCursor() const { return m_cursor; }

    // Ends the state with a result.
    void finish(int32_t result);

protected:
    // Each state pauses the music it has just started while the window has no focus.
    static void pauseMusicWhileInactive();
    // The keys; nothing by default.
    virtual void onConfirm() {}
    virtual void onBack() {}
    // Interface time of this frame, for states that run on their own.
    virtual void step(float) {}

private:
    static void confirmKey(void* screen);
    static void backKey(void* screen);
    cText* makeText(const char* font, const char* image, float y, float deep);

    cPicture* m_background = nullptr;
    cText* m_title = nullptr;
    cText* m_help = nullptr;
    cText* m_notice = nullptr;
    cCursor* m_cursor = nullptr;
};
