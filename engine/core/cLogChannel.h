#pragma once
// One log channel: the text file "<common folder><name>.log". Each creation in a run writes
// the header "\n--- Log started at MM/DD/YY - HH:MM:SS ---\n\n"; each write appends one entry
// "<H:M:S>\t" + text + "\n" (hours, minutes and seconds without leading zeros). The file is
// open only during a write. Texts of any length are written whole.
//
// A channel whose file cannot be opened throws that failure once and is silent from then on:
// every later write does nothing, so one unwritable folder gives one report, not one per line.

#include <cstdarg>
#include <ctime>
#include <functional>

#include "engine/core/cString.h"

class cLogChannel {
public:
    // Creates the channel; truncate empties the file, otherwise it is appended to. Throws a
    // narrow cString: the error call stack's text + "Unable to open [<path>] log file.\n".
    cLogChannel(const cStringA& name, bool truncate);
    virtual ~cLogChannel() = default;

    // One entry; format is a printf format (pass arbitrary text as the argument of "%s").
    // Throws a narrow cString "Unable to open [<path>] log file.\n" (also stored as the error
    // call stack) when the file cannot be opened; the channel is silent afterwards.
    virtual void write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The same with a wide format; the text is stored as UTF-8.
    virtual void writeWide(const wchar_t* format, ...);
    void writeV(const char* format, va_list args);
    // Writes text unchanged as one entry (no format).
    void writeText(const cStringA& text);

    const cStringA& getPath() const { return m_path; }
    // True once the file could not be opened: writes do nothing.
    bool isSilent() const { return m_silent; }

    // The clock of the entries and headers (local time by default); tests set a fixed one.
    // An empty function restores the default.
    using Clock = std::function<std::tm()>;
    static void setClock(Clock clock);
    static std::tm now();

private:
    friend class cLogManager;
    // A channel that stays silent from the start (its file could not be created).
    struct Silent {};
    cLogChannel(const cStringA& name, Silent);
    static cStringA pathOf(const cStringA& name);
    void append(const std::string& text);

    cStringA m_path;
    bool m_silent = false;
};
