#pragma once
// The bin where the waitress throws away what she carries; one per level, reached through
// getTrash (the sub counter puts its discard plate on it). Each setState call (one per emptied
// hand, one per discarded sub) plays "sounds/game/trash.ogg" at once, unqueued, so two calls
// in a frame start two voices, and starts the use run. Its state stays 0; its deep is its y.

#include "engine/core/cSingleton.h"
#include "game/restaurant/cStation.h"

class cTrash : public cStation, public cSingleton<cTrash> {
public:
    explicit cTrash(cSceneNode* parent);
    ~cTrash() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void loadFromNode(const cXmlNode& node) override;
    int32_t getKind() const override { return KIND_TRASH; }
    bool setState(int32_t value) override;

private:
    void loadConfig();
};

cTrash* getTrash();

inline constexpr const char* kTrashIni = "Config/Game/o_trash.ini";
