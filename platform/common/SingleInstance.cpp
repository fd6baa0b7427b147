// One running copy of the program: a lock file held with flock, and a local socket on which a
// second start asks the first to restore and raise its window.
#include <fcntl.h>
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

void askRunningInstance(const std::string& lockPath) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    socklen_t length = 0;
    sockaddr_un addr = socketAddress(lockPath, &length);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), length) == 0) {
        const char request[] = "raise\n";
        ssize_t ignored = send(fd, request, sizeof request - 1, MSG_NOSIGNAL);
        (void)ignored;
    }
    close(fd);
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
        askRunningInstance(path);
        return false;
    }
    g_lockFd = fd;
    g_lockedName = name;
    listenForRequests(path);
    return true;
}

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
        (void)ignored;
        close(client);
        // Any connection is a request to come to the front.
        if (isMinimized())
            restoreWindow();
        else
            raiseWindow();
    }
}

}  // namespace detail

}  // namespace platform
