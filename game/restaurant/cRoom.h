#pragma once
// The painted restaurant around the stations: floor, wall, doors and windows, hand rail and
// its lamps, the table pictures, the sub counter, the sub and sauce tables, the cotton-stand
// tables, two background layers and the light that falls in. Pure decor: no click target.
// Each world has its room (cRoom1, cRoom2, cRoom3) with its own moving scenery.
//
// What the level does with it: buildRoom(level) once, after the stations (it reads nothing of the counter)
// (the graphics set chooses the world: 2 and 3 are themselves, anything else is world 1); the
// room is a child of the level and steps with it (scroll, decor, then its pictures); the level
// deletes it. The decor reads the level's time left (getRestaurantHost()->getTimeLeft(), 0
// without a level) and draws from the program's one random generator.
//
// Everything that depends on the upgrades, the installed sub places and sauces and the level
// number (the time of day) is decided once, at construction. Textures by upgrade take "01"
// below 2 and "02" from 2, by the same rules as the world file lists. A level outside the
// room's own world keeps the background and light textures of its sections.
//
// Configuration: "Config/Game/o_room_<world>.ini"; a missing file or curve set throws the
// resource manager's text and the room is not built.

#include <string>
#include <vector>

#include "engine/scene/cSceneNode.h"
#include "game/data/WorldTextures.h"
#include "game/restaurant/cScrollLayer.h"

class cDevice;
class cIniFile;
class cPicture;

class cRoom : public cSceneNode {
public:
    ~cRoom() override;

    int getWorld() const { return m_world; }
    world_textures::TimeOfDay getTimeOfDay() const { return m_time; }
    cPicture* getPart(const char* section) const;
    const std::vector<cPicture*>& getLamps() const { return m_lamps; }
    const cScrollLayer& getLayer(int index) const { return m_layers[index]; }
    cScrollLayer& layer(int index) { return m_layers[index]; }
    cPicture* getSubTable() const { return m_sub_table; }
    cPicture* getSouseTable() const { return m_souse_table; }
    // Every picture of the room, in creation order.
    const std::vector<cPicture*>& getPictures() const { return m_pictures; }

    // The begin-draw callback of the lights: the colour blends by texture alpha between the
    // texture and the vertex colour.
    static void setTextureAlphaBlend(cDevice* device);

protected:
    cRoom(cSceneNode* parent, int world);
    // A new empty picture of the room.
    cPicture* addPicture();
    // The picture loads the section, then takes the texture (empty: the section's own).
    void loadPart(const cIniFile& ini, cPicture* p, const char* section, const std::string& texture);
    // The shared loading, in order: floor, wall, doors and windows, loadAfterDoors, hand rail
    // and lamps, tables, counter, sub and sauce tables, cotton tables, both layers.
    void loadCommon(const cIniFile& ini);
    virtual void loadAfterDoors(const cIniFile& ini) {}
    // The time of day from the level number; then the layers and the lamps take it (None:
    // nothing changes).
    void applyTimeOfDay();
    // Pictures of the section, each then at "position" + its number.
    std::vector<cPicture*> loadNumbered(const cIniFile& ini, const wchar_t* section, int count);
    float timeLeft() const;
    const cIniFile& roomIni() const;

    int m_world;
    world_textures::TimeOfDay m_time = world_textures::TimeOfDay::None;
    world_textures::Upgrades m_upgrades;
    int m_level = 0;
    cPicture *m_floor, *m_wall, *m_doors_windows, *m_hand_rail, *m_table_upper, *m_subs_counter, *m_table_lower;
    cPicture *m_sub_table, *m_souse_table, *m_table_cotton_lower, *m_table_cotton_upper;
    cScrollLayer m_layers[2];
    std::vector<cPicture*> m_lamps;
    std::vector<cPicture*> m_pictures;
    std::vector<const char*> m_part_names;
};

// The room of the current level's graphics set, under the level.
cRoom* buildRoom(cSceneNode* level);

// "Config/Game/o_room_<world>.ini".
std::string roomIniName(int world);
