#include "engine/core/cPackStream.h"

#include <algorithm>
#include <vector>

namespace {
[[noreturn]] void unsupported() { throw L"This function is unsupported."; }
}  // namespace

cPackStream::cPackStream(const cStringA& name, const cPackFile* archive)
    : m_archive(archive), m_entry(&archive->findArchiveEntry(name)) {}

uint32_t cPackStream::getSize() { return m_entry->size; }

uint32_t cPackStream::seek(int32_t offset, int mode) {
    int64_t target;
    switch (mode) {
    case 0: target = offset; break;
    case 1: target = static_cast<int64_t>(m_position) + offset; break;
    case 2: target = static_cast<int64_t>(m_entry->size) + offset; break;
    default: return m_position;
    }
    // Outside [0, size] (a negative result included) the position becomes the size.
    if (target < 0 || target > static_cast<int64_t>(m_entry->size)) target = m_entry->size;
    m_position = static_cast<uint32_t>(target);
    return m_position;
}

uint32_t cPackStream::read(void* buffer, uint32_t count) {
    if (count == 0 || m_position >= m_entry->size) return 0;
    uint32_t n = std::min(count, m_entry->size - m_position);
    m_archive->readAt(buffer, static_cast<uint64_t>(m_entry->offset) + m_position, n);
    cPackFile::scrambleData(static_cast<uint8_t*>(buffer), n, m_position, m_entry->dataKey);
    m_position += n;
    return n;
}

uint32_t cPackStream::readString(cStringA& out) {
    uint32_t length = 0;
    if (!readStringHead(length)) return 0;
    if (length > m_entry->size - m_position) throw std::string(m_archive->readErrorText());
    std::string text(length, '\0');
    if (length) read(text.data(), length);
    out = cStringA(std::move(text));
    return length + 4;
}

uint32_t cPackStream::readWString(cStringW& out) {
    uint32_t count = 0;
    if (!readStringHead(count)) return 0;
    if (count > (m_entry->size - m_position) / 2) throw std::string(m_archive->readErrorText());
    std::vector<uint8_t> bytes(2 * static_cast<size_t>(count));
    if (count) read(bytes.data(), 2 * count);
    out = cStringW(wideFromUtf16Le(bytes.data(), count));
    return 2 * count + 4;
}

uint32_t cPackStream::writeWString(const cStringW&) { unsupported(); }
uint32_t cPackStream::writeString(const cStringA&) { unsupported(); }
uint32_t cPackStream::write(const void*, uint32_t) { unsupported(); }
bool cPackStream::flush() { unsupported(); }
uint32_t cPackStream::checksum() { unsupported(); }
