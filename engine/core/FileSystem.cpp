#include "engine/core/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A rename is durable only once the folder that holds the names is on disk.
void syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Fills an open file and forces it to disk; closes it in every case. Returns 0 or an errno.
int fillAndClose(int fd, const void* data, size_t size) {
    int error = 0;
    if (writeFully(fd, data, size) != size || ::fsync(fd) != 0) error = errno ? errno : EIO;
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

}  // namespace

std::vector<std::string> listFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return names;
    while (dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

size_t writeFully(int fd, const void* data, size_t size) {
    const uint8_t* in = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, in + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

size_t readFully(int fd, void* data, size_t size) {
    uint8_t* out = static_cast<uint8_t*>(data);
    size_t got = 0;
    while (got < size) {
        ssize_t n = ::read(fd, out + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    return got;
}

int readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit) {
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    uint8_t buffer[65536];
    while (bytes.size() < limit) {
        ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    if (error) bytes.clear();
    return error;
}

bool replaceFile(const std::string& target, const std::string& temp, const void* data, size_t size,
                 FileReplaceFailure* failure, int attempts, const std::function<void()>& pause) {
    auto fail = [&](FileReplaceFailure::Step step, int error) {
        if (failure) *failure = {step, std::strerror(error)};
        return false;
    };
    int fd = -1;
    for (int attempt = 0; attempt < std::max(attempts, 1); ++attempt) {
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd >= 0) break;
        if (pause) pause();
    }
    if (fd < 0) return fail(FileReplaceFailure::CREATE, errno);
    // The old file stays whole until the new one is complete on disk.
    if (int error = fillAndClose(fd, data, size)) {
        ::unlink(temp.c_str());
        return fail(FileReplaceFailure::WRITE, error);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(temp.c_str());
        return fail(FileReplaceFailure::REPLACE, error);
    }
    syncFolder(folderOf(target));
    return true;
}

int writeNewFile(const std::string& path, const void* data, size_t size) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    if (int error = fillAndClose(fd, data, size)) {
        ::unlink(path.c_str());
        return error;
    }
    syncFolder(folderOf(path));
    return 0;
}

int moveWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        syncFolder(folderOf(to));
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system that cannot refuse a replacing move: look first.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) return EEXIST;
    if (::rename(from.c_str(), to.c_str()) != 0) return errno;
    syncFolder(folderOf(to));
    return 0;
}
