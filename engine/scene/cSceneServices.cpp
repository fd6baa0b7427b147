#include "engine/scene/cSceneServices.h"

namespace {
cSceneServices g_defaultServices;
cSceneServices* g_services = nullptr;
}  // namespace

cSceneServices* getSceneServices() { return g_services ? g_services : &g_defaultServices; }

cSceneServices* setSceneServices(cSceneServices* services) {
    cSceneServices* previous = g_services;
    g_services = services;
    return previous;
}
