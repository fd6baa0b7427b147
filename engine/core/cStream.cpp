#include "engine/core/cStream.h"

#include <algorithm>
#include <cstring>

std::vector<uint8_t> readWholeStream(cStream& stream) {
    uint32_t size = stream.getSize();
    stream.seek(0, SEEK_FROM_START);
    std::vector<uint8_t> bytes(size);
    uint32_t got = 0;
    while (got < size) {
        uint32_t n = stream.read(bytes.data() + got, size - got);
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

bool cStream::readStringHead(uint32_t& value) {
    uint8_t head[4];
    if (read(head, 4) < 4) return false;
    value = readLE32(head);
    return true;
}

std::wstring cStream::wideFromUtf16Le(const uint8_t* bytes, uint32_t units) {
    std::wstring text(units, L'\0');
    for (uint32_t i = 0; i < units; ++i) text[i] = static_cast<wchar_t>(readLE16(bytes + 2 * i));
    return text;
}

// ---- cMemoryStream ----------------------------------------------------------------------

cMemoryStream::cMemoryStream(const void* data, size_t size)
    : m_bytes(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size) {}

uint32_t cMemoryStream::getSize() { return static_cast<uint32_t>(m_bytes.size()); }

uint32_t cMemoryStream::seek(int32_t offset, int mode) {
    int64_t base;
    switch (mode) {
    case SEEK_FROM_START: base = 0; break;
    case SEEK_FROM_CURRENT: base = m_position; break;
    case SEEK_FROM_END: base = static_cast<int64_t>(m_bytes.size()); break;
    default: return m_position;
    }
    int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(m_bytes.size())) target = static_cast<int64_t>(m_bytes.size());
    m_position = static_cast<uint32_t>(target);
    return m_position;
}

uint32_t cMemoryStream::read(void* buffer, uint32_t count) {
    uint32_t left = m_position < m_bytes.size() ? static_cast<uint32_t>(m_bytes.size()) - m_position : 0;
    uint32_t n = std::min(count, left);
    if (n) std::memcpy(buffer, m_bytes.data() + m_position, n);
    m_position += n;
    return n;
}

uint32_t cMemoryStream::readString(cStringA& out) {
    uint32_t length = 0;
    if (!readStringHead(length)) return 0;
    if (length > m_bytes.size() - m_position) throw std::string("An error has occurred while reading the memory stream.");
    out = cStringA(reinterpret_cast<const char*>(m_bytes.data() + m_position), length);
    m_position += length;
    return length + 4;
}

uint32_t cMemoryStream::readWString(cStringW& out) {
    uint32_t count = 0;
    if (!readStringHead(count)) return 0;
    if (count > (m_bytes.size() - m_position) / 2) throw std::string("An error has occurred while reading the memory stream.");
    out = cStringW(wideFromUtf16Le(m_bytes.data() + m_position, count));
    m_position += 2 * count;
    return 2 * count + 4;
}

uint32_t cMemoryStream::write(const void* buffer, uint32_t count) {
    if (count == 0) return 0;
    if (m_position + static_cast<size_t>(count) > m_bytes.size()) m_bytes.resize(m_position + static_cast<size_t>(count));
    std::memcpy(m_bytes.data() + m_position, buffer, count);
    m_position += count;
    return count;
}

uint32_t cMemoryStream::writeString(const cStringA& text) {
    uint32_t length = static_cast<uint32_t>(text.size());
    uint8_t head[4] = {uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
    write(head, 4);
    return write(text.data(), length) + 4;
}

uint32_t cMemoryStream::writeWString(const cStringW& text) {
    uint32_t count = static_cast<uint32_t>(text.size());
    std::vector<uint8_t> bytes(4 + 2 * static_cast<size_t>(count));
    bytes[0] = uint8_t(count); bytes[1] = uint8_t(count >> 8); bytes[2] = uint8_t(count >> 16); bytes[3] = uint8_t(count >> 24);
    for (uint32_t i = 0; i < count; ++i) {
        bytes[4 + 2 * i] = uint8_t(text[i] & 0xFF);
        bytes[5 + 2 * i] = uint8_t((text[i] >> 8) & 0xFF);
    }
    write(bytes.data(), 4);
    return write(bytes.data() + 4, 2 * count) + 4;
}

uint32_t cMemoryStream::checksum() {
    uint32_t sum = 0;
    for (size_t i = 0; i < m_bytes.size(); i += 4) {
        uint32_t word = 0;
        for (size_t k = 0; k < 4 && i + k < m_bytes.size(); ++k) word |= static_cast<uint32_t>(m_bytes[i + k]) << (8 * k);
        sum ^= word;
    }
    m_position = static_cast<uint32_t>(m_bytes.size());
    return sum;
}
