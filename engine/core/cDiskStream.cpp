#include "engine/core/cDiskStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "engine/core/FileSystem.h"

namespace {

// The descriptor helpers of FileSystem.h, in the stream's 32-bit counts.
uint32_t readBytes(int fd, void* buffer, uint32_t count) { return static_cast<uint32_t>(readFully(fd, buffer, count)); }
uint32_t writeBytes(int fd, const void* buffer, uint32_t count) {
    return static_cast<uint32_t>(writeFully(fd, buffer, count));
}

}  // namespace

cDiskStream::cDiskStream(const cStringA& path, int access, int creation) : m_path(path) {
    int flags = O_CLOEXEC;
    if ((access & ACCESS_READ) && (access & ACCESS_WRITE)) flags |= O_RDWR;
    else if (access & ACCESS_WRITE) flags |= O_WRONLY;
    else flags |= O_RDONLY;
    if (creation == CREATE_ALWAYS) flags |= O_CREAT | O_TRUNC;
    else if (creation == OPEN_ALWAYS) flags |= O_CREAT;
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd >= 0) {
        struct stat st;
        if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0) throw std::string("Can't open file \"" + path + "\".");
    m_fd = fd;
}

cDiskStream::cDiskStream(int fd, const cStringA& path) : m_fd(fd), m_path(path) {}

cDiskStream::~cDiskStream() {
    if (m_fd >= 0) ::close(m_fd);
}

void cDiskStream::throwReadError() const {
    throw std::string("An error has occurred while reading the file \"" + m_path + "\".");
}

uint32_t cDiskStream::getSize() {
    if (m_fd < 0) return 0;
    struct stat st;
    if (fstat(m_fd, &st) != 0) return 0;
    return static_cast<uint32_t>(st.st_size);
}

uint32_t cDiskStream::seek(int32_t offset, int mode) {
    if (m_fd < 0) return 0;
    int whence;
    switch (mode) {
    case 0: whence = SEEK_SET; break;
    case 1: whence = SEEK_CUR; break;
    case 2: whence = SEEK_END; break;
    default: whence = SEEK_CUR; offset = 0; break;   // an unknown mode leaves the position
    }
    off_t pos = ::lseek(m_fd, offset, whence);
    if (pos < 0) pos = ::lseek(m_fd, 0, SEEK_CUR);   // a position before the start is refused
    return pos < 0 ? 0 : static_cast<uint32_t>(pos);
}

uint32_t cDiskStream::read(void* buffer, uint32_t count) {
    if (m_fd < 0 || count == 0) return 0;
    return readBytes(m_fd, buffer, count);
}

uint32_t cDiskStream::write(const void* buffer, uint32_t count) {
    if (m_fd < 0 || count == 0) return 0;
    return writeBytes(m_fd, buffer, count);
}

uint32_t cDiskStream::readString(cStringA& out) {
    if (m_fd < 0) return 0;
    uint8_t head[4];
    if (readBytes(m_fd, head, 4) < 4) return 0;
    uint32_t length = readLE32(head);
    off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    // The length is checked against what the file still holds before anything is allocated.
    if (pos < 0 || static_cast<uint64_t>(length) > static_cast<uint64_t>(getSize()) - static_cast<uint64_t>(std::min<off_t>(pos, getSize())))
        throwReadError();
    std::vector<char> bytes(static_cast<size_t>(length) + 1, '\0');
    uint32_t got = readBytes(m_fd, bytes.data(), length);
    if (got < length) throwReadError();
    out = cStringA(bytes.data());   // the text up to the first zero byte
    return got + 4;
}

uint32_t cDiskStream::readWString(cStringW& out) {
    if (m_fd < 0) return 0;
    uint8_t head[4];
    if (readBytes(m_fd, head, 4) < 4) return 0;
    uint64_t bytesWanted = 2ull * readLE32(head);
    off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0 || bytesWanted > static_cast<uint64_t>(getSize()) - static_cast<uint64_t>(std::min<off_t>(pos, getSize())))
        throwReadError();
    std::vector<uint8_t> bytes(static_cast<size_t>(bytesWanted));
    uint32_t got = readBytes(m_fd, bytes.data(), static_cast<uint32_t>(bytesWanted));
    if (got < bytesWanted) throwReadError();
    std::wstring text;
    text.reserve(got / 2);
    for (uint32_t i = 0; i + 1 < got; i += 2) {
        wchar_t c = static_cast<wchar_t>(readLE16(bytes.data() + i));
        if (c == 0) break;   // the text up to the first zero unit
        text.push_back(c);
    }
    out = cStringW(std::move(text));
    return got + 4;
}

uint32_t cDiskStream::writeString(const cStringA& text) {
    if (m_fd < 0) return 0;
    uint32_t length = static_cast<uint32_t>(text.size());
    uint8_t head[4] = {uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
    writeBytes(m_fd, head, 4);
    return writeBytes(m_fd, text.data(), length) + 4;
}

uint32_t cDiskStream::writeWString(const cStringW& text) {
    if (m_fd < 0) return 0;
    uint32_t count = static_cast<uint32_t>(text.size());
    uint8_t head[4] = {uint8_t(count), uint8_t(count >> 8), uint8_t(count >> 16), uint8_t(count >> 24)};
    writeBytes(m_fd, head, 4);
    std::vector<uint8_t> bytes(2 * static_cast<size_t>(count));
    for (uint32_t i = 0; i < count; ++i) {
        bytes[2 * i] = uint8_t(text[i] & 0xFF);
        bytes[2 * i + 1] = uint8_t((text[i] >> 8) & 0xFF);
    }
    return writeBytes(m_fd, bytes.data(), static_cast<uint32_t>(bytes.size())) + 4;
}

bool cDiskStream::flush() {
    if (m_fd < 0) return false;
    return ::fsync(m_fd) == 0;
}

uint32_t cDiskStream::checksum() {
    if (m_fd < 0) return 0;
    ::lseek(m_fd, 0, SEEK_SET);
    uint32_t sum = 0;
    uint8_t buffer[65536];
    uint64_t offset = 0;   // bytes consumed so far, so words keep their alignment across chunks
    for (;;) {
        uint32_t got = readBytes(m_fd, buffer, sizeof buffer);
        for (uint32_t i = 0; i < got; ++i) sum ^= static_cast<uint32_t>(buffer[i]) << (8 * ((offset + i) & 3));
        offset += got;
        if (got < sizeof buffer) break;
    }
    return sum;
}
