#pragma once
// Named log channels, one file each in the common folder. Channels used: "game" (emptied by
// the core at every start; start-up and shutdown steps, managers' reports) and "call_stack"
// (fatal error reports, grows across runs).

#include <map>
#include <memory>

#include "engine/core/cLogChannel.h"
#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"

class cLogManager : public cSingleton<cLogManager> {
public:
    cLogManager() = default;
    // Deletes every channel.
    ~cLogManager() override = default;

    // The channel of that name (case-sensitive), created when missing; truncate matters only
    // at creation (true empties the file). Throws the channel's failure when its file cannot be
    // created; the name then stands for a silent channel, returned without a failure later.
    virtual cLogChannel* getChannel(const cStringA& name, bool truncate = false);

private:
    std::map<cStringA, std::unique_ptr<cLogChannel>> m_channels;
};

cLogManager* getLogManager();

// Writes text unchanged as one entry of a channel when a log manager exists; false otherwise.
// Failures of the file are thrown as by cLogChannel::write.
bool logText(const char* channel, const cStringA& text);
