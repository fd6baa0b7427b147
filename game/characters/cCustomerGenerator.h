#pragma once
// Runs a level's script of guests. At load it reads the level element's six lines of guests
// ("Line_1" to "Line_6", each "Human_1", "Human_2", ... until the first missing number) and
// the thief settings, builds every guest of the level at once (hidden) and queues it in its
// line. Every frame it counts down the front guest of each line and seats it at the line's
// table once its time has come and the table is free; in bonus mode it brings the next guest
// forward while nobody is left to serve. It sends a thief to money lying on a table without a
// guest, and it computes the level's goal and expert goal from the script's orders.
//
// The tables are registered in order: table n feeds line n.

#include <deque>
#include <vector>

#include "engine/scene/cSceneNode.h"
#include "game/data/WorldTextures.h"

class cCustomer;
class cTable;
class cXmlNode;

class cCustomerGenerator : public cSceneNode {
public:
    static constexpr int kLines = 6;
    static constexpr int kMaxGuestsPerLine = 499;
    // The wait of a patient guest's mood step, seconds.
    static constexpr float kPatientWaitStep = 1000000.0f;

    explicit cCustomerGenerator(cSceneNode* level);
    // Hands the guests still queued to the deferred deletion (seated ones belong to their
    // tables).
    ~cCustomerGenerator() override;

    void update() override;
    // Reads the current level's element of the game data (the argument is not used).
    void loadFromNode(const cXmlNode&) override { load(); }
    void load();
    // Reads the script of a level element. A guest whose order codes give no item is skipped
    // with a log line: it would have nothing to show once it has ordered.
    void loadScript(const cXmlNode& level);

    void addTable(cTable* table);
    // Goal and expert goal of the current level into the game data.
    void computeGoals();

    struct Goals {
        int32_t goal = 0;
        int32_t expert = 0;
    };
    // The goals from the level pack's minimum goal, goal and expert goal (read unsigned; the
    // latter two act as factors of the minimum) and the level time: the points of every
    // queued guest that arrives within the level time, times each factor, whole part plus
    // one, rounded down to tens (hundreds from a goal of 1000). A minimum goal of 0 keeps the
    // pack's goals (and logs it).
    Goals goalsFor(uint32_t minGoal, uint32_t goal, uint32_t expert, float levelTime) const;

    int32_t countWaitingCustomers() const;
    // A thief (6 s of pauses, 3 steps) for the first table holding money; nothing when none
    // does. Ignores the thief settings, the live thieves and the thief timer.
    void sendThief();
    void setSpawning(bool on) { m_spawning = on; }
    void setPatientCustomers(bool on) { m_patient = on; }

    // The level script's `type` to a guest kind: 1..8 stay, anything else is 0.
    static int32_t typeToKind(int32_t type);
    // An order code to an item id by the current level's stations (random picks among the
    // installed sauce stations and cotton machines); 0 for no order.
    static int32_t orderToItem(int32_t code);
    static int32_t orderToItem(int32_t code, const world_textures::Upgrades& stations);

    // For tests.
    const std::deque<cCustomer*>& getLine(int index) const { return m_lines[index]; }
    float getThiefTimer() const { return m_thief_timer; }
    bool isThiefLevel() const { return m_is_thief == 1; }

private:
    void pullForward();
    void seat(float dt);
    void stepThief(float dt);

    std::deque<cCustomer*> m_lines[kLines];
    std::vector<cTable*> m_tables;
    bool m_spawning = true;
    bool m_patient = false;
    int32_t m_is_thief = 0;
    float m_min_thief_time = 0.0f;
    float m_max_thief_time = 0.0f;
    float m_thief_timer = 0.0f;
    float m_thief_appear_time = 0.0f;
    int32_t m_thief_count = 0;
};
