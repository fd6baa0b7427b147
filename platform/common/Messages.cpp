#include <algorithm>

#include "platform/common/PlatformState.h"

namespace platform {

namespace detail {
State& state() {
    static State s;
    return s;
}
}  // namespace detail

using detail::state;

bool peekMessage(Message* out) {
    auto& s = state();
    detail::serveInstanceRequests();
    detail::pumpSdlEvents();
    if (!s.timed.empty()) {
        uint32_t now = timeMs();
        // Due messages join the queue in the order of their due times.
        std::stable_sort(s.timed.begin(), s.timed.end(),
                         [](const detail::TimedMessage& a, const detail::TimedMessage& b) { return a.due < b.due; });
        while (!s.timed.empty() && s.timed.front().due <= now) {
            s.queue.push_back(s.timed.front().message);
            s.timed.pop_front();
        }
    }
    if (s.queue.empty()) return false;
    if (out) *out = s.queue.front();
    s.queue.pop_front();
    return true;
}

intptr_t dispatchMessage(const Message& msg) {
    auto& s = state();
    if (!s.wndProc) return 0;
    return s.wndProc(msg.message, msg.wParam, msg.lParam);
}

void postMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    state().queue.push_back(Message{message, wParam, lParam});
}

void postQuitMessage(int exitCode) {
    postMessage(MSG_QUIT, static_cast<uintptr_t>(static_cast<intptr_t>(exitCode)), 0);
}

intptr_t sendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return dispatchMessage(Message{message, wParam, lParam});
}

void clearMessages() {
    state().queue.clear();
    state().timed.clear();
}

void postMessageAt(uint32_t time, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    state().timed.push_back(detail::TimedMessage{time, Message{message, wParam, lParam}});
}

intptr_t defWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case MSG_CLOSE:
        // Closing destroys the window: the window procedure learns it from the destroy message.
        return sendMessage(MSG_DESTROY, 0, 0);
    case MSG_SYSCOMMAND:
        switch (wParam) {
        case SYSCMD_MINIMIZE: minimizeWindow(); break;
        case SYSCMD_RESTORE: restoreWindow(); break;
        case SYSCMD_CLOSE: postMessage(MSG_CLOSE); break;
        default: break;
        }
        return 0;
    default:
        return 0;
    }
}

void setRawEventListener(RawEventListener listener, void* user) {
    state().rawListener = listener;
    state().rawUser = user;
}

}  // namespace platform
