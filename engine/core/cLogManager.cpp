#include "engine/core/cLogManager.h"

cLogChannel* cLogManager::getChannel(const cStringA& name, bool truncate) {
    auto it = m_channels.find(name);
    if (it != m_channels.end()) return it->second.get();
    std::unique_ptr<cLogChannel> channel;
    try {
        channel = std::make_unique<cLogChannel>(name, truncate);
    } catch (...) {
        // The caller reports this failure; later asks get a channel that stays silent.
        m_channels.emplace(name, std::unique_ptr<cLogChannel>(new cLogChannel(name, cLogChannel::Silent{})));
        throw;
    }
    cLogChannel* result = channel.get();
    m_channels.emplace(name, std::move(channel));
    return result;
}

cLogManager* getLogManager() { return cLogManager::instance(); }

bool logText(const char* channel, const cStringA& text) {
    cLogManager* logs = cLogManager::instance();
    if (!logs) return false;
    logs->getChannel(channel, false)->writeText(text);
    return true;
}
