#pragma once
// The error call stack: one program-wide text in which a failure's message and the
// signatures of the core operations it passed are collected, and the fatal error report.
//
// Failures are thrown as text: const char*, const wchar_t*, std::string, std::wstring or a
// cString of either width. failureText turns any of them into narrow text.

#include <exception>
#include <string>

#include "engine/core/cString.h"

cStringA& getErrorCallStack();

// Writes the call stack to the log channel "call_stack" (standard error when there is no log
// manager or the channel cannot be written), shows it in a warning message box and posts the
// quit message. Never throws.
void reportFatalError(const cStringA& callStack, const cStringA& caption);

// The text of a thrown failure, or false when the exception is not one of the text kinds.
bool failureText(const std::exception_ptr& failure, std::string* text);

// The handler of a catching core operation: the failure's text, a line break and the
// operation's signature become the call stack (a failure without text appends the line break
// and the signature), then the fatal report runs. Call it from inside a catch block.
void reportCaughtFailure(const char* signature);
