#pragma once
// One log channel: the text file "<common folder><name>.log". Each creation in a run writes
// the header "\n--- Log started at MM/DD/YY - HH:MM:SS ---\n\n"; each write appends one entry
// "<H:M:S>\t" + text + "\n" (hours, minutes and seconds without leading zeros). The file is
// open only during a write. Texts of any length are written whole.

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
    // call stack) when the file cannot be opened.
    virtual void write(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The same with a wide format; the text is stored as UTF-8.
    virtual void writeWide(const wchar_t* format, ...);
    void writeV(const char* format, va_list args);
    // Writes text unchanged as one entry (no format).
    void writeText(const cStringA& text);

    const cStringA& getPath() const { return m_path; }

    // The clock of the entries and headers (local time by default); tests set a fixed one.
    // An empty function restores the default.
    using Clock = std::function<std::tm()>;
    static void setClock(Clock clock);
    static std::tm now();

private:
    void append(const std::string& text);

    cStringA m_path;
};
