// Message boxes of the sdl backend. The box runs in a process of its own (this executable,
// started again with kBoxArgument), so that:
// - it never holds what the game holds: the single-instance lock and the instance socket are
//   close-on-exec, and nothing else of the game's process survives the exec;
// - the game stays responsive meanwhile: while it waits for the box it still acts on SIGTERM,
//   SIGINT and the close button of its window, by ending the box and returning at once;
// - it never outlives the game: it gets SIGTERM when the game dies, even by SIGKILL, and then
//   ends its whole process group (SDL shows the box in a forked child of its own).
#include <SDL.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Lifetime.h"
#include "platform/common/PlatformState.h"

namespace platform {

using detail::state;

namespace {

const char* const kBoxArgument = "--kestrelgate-message-box";

bool g_endRequested = false;

// Only a box that leads its own process group ends the group (never the game's group).
void endBoxGroup(int) {
    if (getpgrp() == getpid()) kill(0, SIGKILL);
    _exit(1);
}

// Pumps the game window's events; true when the program was asked to end (SIGTERM or SIGINT,
// which SDL turns into SDL_QUIT, or the window's close button). The events stay queued.
bool endAskedWhileWaiting() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_PumpEvents();
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) > 0) return true;
    SDL_Event events[64];
    int n = SDL_PeepEvents(events, 64, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < n; ++i)
        if (events[i].window.event == SDL_WINDOWEVENT_CLOSE) return true;
    return false;
}

// Shows the box in its own process and waits for it; false when that process cannot be
// started (the caller shows the box itself).
bool showInOwnProcess(const std::string& caption, const std::string& text) {
    std::string program = executablePath();
    if (program.empty()) return false;
    // Everything the child needs is made before the fork: after it only async-signal-safe
    // calls are allowed.
    const char* argv[] = {program.c_str(), kBoxArgument, caption.c_str(), text.c_str(), nullptr};
    const pid_t parent = getpid();
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(0);  // the game died before the line above
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        signal(SIGTERM, SIG_DFL);
        signal(SIGINT, SIG_DFL);
        execv(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    setpgid(child, child);  // also here, so the group exists whichever process runs first
    for (;;) {
        int status = 0;
        pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child || (done < 0 && errno != EINTR)) return true;
        if (endAskedWhileWaiting()) {
            g_endRequested = true;
            kill(-child, SIGKILL);
            kill(child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return true;
        }
        detail::serveInstanceRequests();
        sleepMs(20);
    }
}

}  // namespace

void showMessageBox(const std::string& caption, const std::string& text) {
    auto& s = state();
    if (backend() == Backend::Headless) {
        s.messageBoxes.push_back(caption + "\n" + text);
        return;
    }
    // The user asked the program to end: no box waits for an answer any more.
    if (g_endRequested) return;
    // Without a display the box cannot be shown; the caller has written the text elsewhere.
    if (!showInOwnProcess(caption, text))
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption.c_str(), text.c_str(), s.handle.sdl);
}

int runMessageBoxProcess(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[1], kBoxArgument) != 0) return -1;
    // SIGTERM comes when the game ends or dies: the box goes with it, SDL's child included.
    struct sigaction action {};
    action.sa_handler = endBoxGroup;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    if (getpgrp() != getpid()) setpgid(0, 0);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, argv[2], argv[3], nullptr);
    return 0;
}

const std::vector<std::string>& shownMessageBoxes() { return state().messageBoxes; }
void clearShownMessageBoxes() { state().messageBoxes.clear(); }

}  // namespace platform
