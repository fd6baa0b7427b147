// One running copy of the program: a lock file held with flock, and a local socket on which a
// second start asks the first to restore and raise its window.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Lifetime.h"
#include "platform/common/PlatformState.h"

namespace platform {

namespace {

int g_lockFd = -1;
int g_listenFd = -1;
std::string g_lockedName;

bool isDirectory(const char* path) {
    struct stat st {};
    return path && *path && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// The socket lives in the abstract namespace under a name derived from the lock file's path
// (FNV-1a), so it is the same in every process and fits the address whatever the path's length.
sockaddr_un socketAddress(const std::string& lockPath, socklen_t* length) {
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : lockPath) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "kestrelgate-instance-%016llx", static_cast<unsigned long long>(hash));
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    size_t n = std::strlen(name);
    std::memcpy(addr.sun_path + 1, name, n);  // sun_path[0] stays 0: abstract name
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
    return addr;
}

// How long a second start waits for the running copy's answer. A copy that is still starting
// answers only once its message loop runs; its request waits in the socket until then.
constexpr int kAnswerWaitMs = 1000;

const char kAnswerRaised[] = "raised\n";
const char kAnswerNoWindow[] = "no window\n";

bool g_handedOver = false;

// The process id the holder wrote into the lock file; 0 when unknown.
long lockHolder(const std::string& lockPath) {
    char text[32] = {};
    int fd = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    return n > 0 ? std::strtol(text, nullptr, 10) : 0;
}

// Asks the running copy to come to the front. True when it did or will (it answered that it
// has a window, or has not answered yet); false when no process can bring a window forward:
// nobody listens, or the holder answered that it has no window.
bool askRunningInstance(const std::string& lockPath) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return true;
    socklen_t length = 0;
    sockaddr_un addr = socketAddress(lockPath, &length);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0) {
        close(fd);
        return false;
    }
    const char request[] = "raise\n";
    ssize_t ignored = send(fd, request, sizeof request - 1, MSG_NOSIGNAL);
    (void)ignored;
    char answer[32] = {};
    pollfd waiting{fd, POLLIN, 0};
    ssize_t n = 0;
    if (poll(&waiting, 1, kAnswerWaitMs) > 0) n = recv(fd, answer, sizeof answer - 1, 0);
    close(fd);
    return !(n > 0 && std::strncmp(answer, kAnswerNoWindow, sizeof kAnswerNoWindow - 1) == 0);
}

void listenForRequests(const std::string& lockPath) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    socklen_t length = 0;
    sockaddr_un addr = socketAddress(lockPath, &length);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return;
    }
    g_listenFd = fd;
}

}  // namespace

std::string singleInstanceLockPath(const std::string& name) {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (!isDirectory(dir)) dir = std::getenv("TMPDIR");
    if (!isDirectory(dir)) dir = "/tmp";
    std::string path = dir;
    if (path.back() != '/') path += '/';
    return path + name;
}

bool acquireSingleInstance(const std::string& name) {
    g_handedOver = false;
    if (g_lockFd >= 0) {
        if (name == g_lockedName) return true;
        releaseSingleInstance();
    }
    std::string path = singleInstanceLockPath(name);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;  // no lock possible: start anyway
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        close(fd);
        if (error != EWOULDBLOCK) return true;
        if (askRunningInstance(path)) {
            g_handedOver = true;
            return false;
        }
        // Ending silently would leave the user with nothing on the screen and no clue.
        long holder = lockHolder(path);
        std::string process = holder > 0 ? " (process " + std::to_string(holder) + ")" : std::string();
        std::fprintf(stderr,
                     "Another copy of the game is running%s but has no window to bring to the front; it holds "
                     "the lock \"%s\". Wait until it ends, or end it, and start again.\n",
                     process.c_str(), path.c_str());
        std::fflush(stderr);
        return false;
    }
    g_lockFd = fd;
    g_lockedName = name;
    // The holder's process id, for the message of a start that finds the lock taken.
    std::string pid = std::to_string(static_cast<long>(getpid())) + "\n";
    if (ftruncate(fd, 0) == 0) {
        ssize_t ignored = pwrite(fd, pid.data(), pid.size(), 0);
        (void)ignored;
    }
    listenForRequests(path);
    return true;
}

bool singleInstanceHandedOver() { return g_handedOver; }

// Closing (not unlocking) lets a forked child drop its inherited copies without freeing the
// parent's lock.
void releaseSingleInstance() {
    if (g_listenFd >= 0) close(g_listenFd);
    if (g_lockFd >= 0) close(g_lockFd);
    g_listenFd = g_lockFd = -1;
    g_lockedName.clear();
}

namespace detail {

void serveInstanceRequests() {
    if (g_listenFd < 0) return;
    for (;;) {
        int client = accept4(g_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0) return;
        char buffer[64];
        ssize_t ignored = recv(client, buffer, sizeof buffer, 0);
        bool shown = hasWindow();
        const char* answer = shown ? kAnswerRaised : kAnswerNoWindow;
        ignored = send(client, answer, std::strlen(answer), MSG_NOSIGNAL | MSG_DONTWAIT);
        (void)ignored;
        close(client);
        if (!shown) continue;
        // Any connection is a request to come to the front.
        if (isMinimized())
            restoreWindow();
        else
            raiseWindow();
    }
}

}  // namespace detail

}  // namespace platform
