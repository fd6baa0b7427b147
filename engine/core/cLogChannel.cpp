#include "engine/core/cLogChannel.h"

#include <cstdio>
#include <cwchar>
#include <vector>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/cFileManager.h"
#include "platform/Platform.h"

namespace {

cLogChannel::Clock& clockHook() {
    static cLogChannel::Clock clock;
    return clock;
}

std::string formatV(const char* format, va_list args) {
    if (!format) return std::string();
    va_list copy;
    va_copy(copy, args);
    char small[1024];
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::vector<char> big(static_cast<size_t>(n) + 1);
    va_copy(copy, args);
    std::vsnprintf(big.data(), big.size(), format, copy);
    va_end(copy);
    return std::string(big.data(), static_cast<size_t>(n));
}

}  // namespace

void cLogChannel::setClock(Clock clock) { clockHook() = std::move(clock); }

std::tm cLogChannel::now() {
    if (clockHook()) return clockHook()();
    return platform::localTime();
}

cStringA cLogChannel::pathOf(const cStringA& name) {
    cFileManager* files = getFileManager();
    return cStringA((files ? files->getCommonPath() : cStringA()) + name + ".log");
}

cLogChannel::cLogChannel(const cStringA& name, Silent) : m_path(pathOf(name)), m_silent(true) {}

cLogChannel::cLogChannel(const cStringA& name, bool truncate) : m_path(pathOf(name)) {
    FILE* f = std::fopen(m_path.c_str(), truncate ? "w" : "a");
    if (!f) throw cStringA(getErrorCallStack() + "Unable to open [" + m_path + "] log file.\n");
    std::tm t = now();
    std::fprintf(f, "\n--- Log started at %02d/%02d/%02d - %02d:%02d:%02d ---\n\n", t.tm_mon + 1, t.tm_mday,
                 t.tm_year % 100, t.tm_hour, t.tm_min, t.tm_sec);
    std::fclose(f);
}

void cLogChannel::append(const std::string& text) {
    if (m_silent) return;
    FILE* f = std::fopen(m_path.c_str(), "a");
    if (!f) {
        m_silent = true;
        cStringA message("Unable to open [" + m_path + "] log file.\n");
        getErrorCallStack() = message;
        throw message;
    }
    std::tm t = now();
    std::fprintf(f, "<%d:%d:%d>\t", t.tm_hour, t.tm_min, t.tm_sec);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fputc('\n', f);
    std::fclose(f);
}

void cLogChannel::writeV(const char* format, va_list args) { append(formatV(format, args)); }

void cLogChannel::write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text;
    try {
        text = formatV(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    append(text);
}

void cLogChannel::writeWide(const wchar_t* format, ...) {
    std::wstring text;
    if (format) {
        std::vector<wchar_t> buffer(1024);
        for (;;) {
            va_list args;
            va_start(args, format);
            int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
            va_end(args);
            if (n >= 0) {
                text.assign(buffer.data(), static_cast<size_t>(n));
                break;
            }
            // vswprintf reports no length: grow until the text fits (a broken format stops).
            if (buffer.size() >= (size_t(1) << 24)) break;
            buffer.resize(buffer.size() * 4);
        }
    }
    append(wideToUtf8(text));
}

void cLogChannel::writeText(const cStringA& text) { append(text); }
