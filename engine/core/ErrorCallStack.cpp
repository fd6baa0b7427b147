#include "engine/core/ErrorCallStack.h"

#include <cstdio>

#include "engine/core/FatalReportCount.h"
#include "engine/core/LogHooks.h"
#include "platform/Platform.h"

cStringA& getErrorCallStack() {
    static cStringA callStack;
    return callStack;
}

bool failureText(const std::exception_ptr& failure, std::string* text) {
    try {
        std::rethrow_exception(failure);
    } catch (const char* s) {
        *text = s ? s : "";
    } catch (const wchar_t* s) {
        *text = cStringA::narrow(s ? std::wstring_view(s) : std::wstring_view());
    } catch (const cStringA& s) {
        *text = s;
    } catch (const cStringW& s) {
        *text = s.toNarrow();
    } catch (const std::string& s) {
        *text = s;
    } catch (const std::wstring& s) {
        *text = cStringA::narrow(s);
    } catch (const std::exception& e) {
        *text = e.what();
    } catch (...) {
        return false;
    }
    return true;
}

void reportCaughtFailure(const char* signature) {
    try {
        std::string text;
        cStringA& stack = getErrorCallStack();
        if (failureText(std::current_exception(), &text))
            stack = cStringA(text + "\n" + signature);
        else
            stack.append(std::string("\n") + signature);
    } catch (...) {
    }
    reportFatalError(getErrorCallStack(), "Error call stack:");
}

namespace {
unsigned g_fatalReports = 0;
}  // namespace

unsigned fatalReportCount() { return g_fatalReports; }

void reportFatalError(const cStringA& callStack, const cStringA& caption) {
    ++g_fatalReports;
    bool logged = false;
    try {
        logged = writeCallStackLog(callStack);
    } catch (...) {
        logged = false;
    }
    // Standard error always carries the report, so it is never lost.
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), callStack.c_str());
    std::fflush(stderr);
    (void)logged;
    try {
        platform::showMessageBox(caption, callStack);
    } catch (...) {
    }
    try {
        platform::postQuitMessage(0);
    } catch (...) {
    }
}
