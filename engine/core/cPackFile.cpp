#include "engine/core/cPackFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/core/cStream.h"

namespace {

}  // namespace

void cPackFile::scrambleName(uint8_t* bytes, size_t length, uint32_t nameKey) {
    for (size_t word = 0; word < length / 4; ++word)
        for (size_t k = 0; k < 4; ++k) bytes[4 * word + k] ^= static_cast<uint8_t>(nameKey >> (8 * k));
}

void cPackFile::scrambleData(uint8_t* bytes, size_t length, uint32_t position, uint32_t dataKey) {
    if (position >= PACK_SCRAMBLED_HEAD) return;
    size_t n = std::min<size_t>(length, PACK_SCRAMBLED_HEAD - position);
    uint8_t key = static_cast<uint8_t>(dataKey & 0xFF);
    for (size_t i = 0; i < n; ++i) bytes[i] ^= key;
}

cStringA cPackFile::readErrorText() const {
    return cStringA("An error has occurred while reading the pack file \"" + m_path + "\".");
}

cPackFile::cPackFile(const cStringA& path) : m_path(path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    if (fd < 0) throw std::string("Can't open pack file \"" + path + "\".");
    m_fd = fd;
    m_file_size = static_cast<uint64_t>(st.st_size);

    try {
        uint8_t head[16];
        readAt(head, 0, 16);
        m_head.magic = readLE32(head);
        m_head.count = readLE32(head + 4);
        m_head.nameKey = readLE32(head + 8);
        m_head.reserved = readLE32(head + 12);
        if (m_head.magic != PACK_MAGIC) throw std::string("The pack file \"" + path + "\" is in wrong format.");

        // Every name takes at least its length byte and every entry a 16-byte record: a count
        // that cannot fit in the file is refused before anything is sized by it.
        uint64_t n = m_head.count;
        if (16 + n * 17 > m_file_size) throw std::string(readErrorText());

        m_names.resize(n);
        uint64_t at = 16;
        for (uint64_t i = 0; i < n; ++i) {
            uint8_t length = 0;
            readAt(&length, at, 1);
            at += 1;
            uint8_t bytes[256];
            if (length) readAt(bytes, at, length);
            at += length;
            scrambleName(bytes, length, m_head.nameKey);
            m_names[i] = cStringA(reinterpret_cast<const char*>(bytes), length).toLower();
        }
        for (uint64_t i = 0; i < n; ++i) {
            uint8_t record[16];
            readAt(record, at, 16);
            at += 16;
            cPackEntry entry;
            entry.reserved = readLE32(record);
            entry.offset = readLE32(record + 4);
            entry.size = readLE32(record + 8);
            entry.dataKey = readLE32(record + 12);
            // An entry must lie wholly inside the file.
            if (static_cast<uint64_t>(entry.offset) + entry.size > m_file_size) throw std::string(readErrorText());
            m_entries[m_names[i]] = entry;
        }
    } catch (...) {
        ::close(m_fd);
        m_fd = -1;
        throw;
    }
}

cPackFile::~cPackFile() {
    if (m_fd >= 0) ::close(m_fd);
}

const cPackEntry& cPackFile::findArchiveEntry(const cStringA& name) const {
    auto it = m_entries.find(name.toLower());
    if (it == m_entries.end()) throw std::string("Can't open the file \"" + name + "\". No such file.");
    return it->second;
}

bool cPackFile::hasEntry(const cStringA& name) const {
    return m_entries.count(name.toLower()) != 0;
}

void cPackFile::readAt(void* buffer, uint64_t offset, uint32_t count) const {
    if (m_fd < 0) throw std::string("Cant' t read the pack file \"" + m_path + "\".");
    if (offset > m_file_size || count > m_file_size - offset) throw std::string(readErrorText());
    uint8_t* out = static_cast<uint8_t*>(buffer);
    uint32_t got = 0;
    while (got < count) {
        ssize_t r = ::pread(m_fd, out + got, count - got, static_cast<off_t>(offset + got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) throw std::string(readErrorText());
        got += static_cast<uint32_t>(r);
    }
}
