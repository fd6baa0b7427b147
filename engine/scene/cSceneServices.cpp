#include "engine/scene/cSceneServices.h"

#include "engine/scene/cEngineSceneServices.h"

namespace {
cSceneServices* g_services = nullptr;
}  // namespace

// Without an installed implementation the scene reaches the engine's managers directly; each
// operation of those services does nothing while its manager does not exist.
cSceneServices* getSceneServices() { return g_services ? g_services : getEngineSceneServices(); }

cSceneServices* setSceneServices(cSceneServices* services) {
    cSceneServices* previous = g_services;
    g_services = services;
    return previous;
}
