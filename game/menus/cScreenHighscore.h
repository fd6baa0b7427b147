#pragma once
// Menu screen 4: the highscore table as two columns of text lines on a menu panel, "k. name"
// on the left and the score on the right, with OK (or Enter, not with Alt held) to return.
// The lines are built once, when the screen is made: entries with an empty name or a score
// of 0 are left out and use up no rank; scores are ordered highest first as unsigned 32-bit
// numbers (and shown so); equal scores appear in the reverse of their order in the table; at
// most num_lines lines are shown (none when it is absent). The screen finishes once the
// panel has slid out after OK; always complete.
//
// Layout: "Config/Menu/screen_highscore.ini" (COMMON with num_lines, PANEL, PANEL_ADD, TITLE,
// TEXT_TITLE, BUTTON_OK, and NAME and SCORE: the text keys of every line, start_position of
// the first line and offset_y between lines).

#include <cstdint>
#include <vector>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "game/menus/cMenuScreen.h"

class cButton;
class cMenuPanel;
class cPicture;
class cText;

class cScreenHighscore : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_highscore.ini";
    // The entries the game data's table can hold.
    static constexpr int kTableSize = 10;

    struct Line {
        cStringW name;  // "k. name"
        cStringW score;
    };
    // The lines the table gives under a line limit: reads getHighscore(0..9) of the game data.
    static std::vector<Line> buildLines(uint32_t limit);

    explicit cScreenHighscore(cSceneNode* parent);
    ~cScreenHighscore() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Bind and remove Enter.
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return true; }

    cMenuPanel* getPanel() const { return m_panel; }
    cButton* getOkButton() const { return m_ok; }
    const std::vector<cText*>& getNameTexts() const { return m_names; }
    const std::vector<cText*>& getScoreTexts() const { return m_scores; }
    uint32_t getLineLimit() const { return m_line_limit; }
    bool isClosing() const { return m_closing; }

private:
    void close();
    static bool onOk(cSceneNode* button);
    static void onEnterKey(void* screen);

    cMenuPanel* m_panel = nullptr;
    cPicture* m_title_picture = nullptr;
    cText* m_title_text = nullptr;
    cButton* m_ok = nullptr;
    uint32_t m_line_limit = 0;
    std::vector<cText*> m_names;
    std::vector<cText*> m_scores;
    cVector2 m_name_position;
    cVector2 m_score_position;
    float m_name_step = 0.0f;
    float m_score_step = 0.0f;
    bool m_closing = false;
};
