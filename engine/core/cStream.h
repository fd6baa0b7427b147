#pragma once
// The byte-stream interface through which every file is read and written. The file manager
// hands streams out; the receiver owns the stream and deletes it through the virtual
// destructor.
//
// Strings on a stream: a narrow string is a 32-bit little-endian length L followed by L bytes;
// a wide string is a 32-bit character count C followed by C UTF-16 little-endian units. No
// terminator in either case.

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/cString.h"

enum SeekMode : int {
    SEEK_FROM_START = 0,
    SEEK_FROM_CURRENT = 1,
    SEEK_FROM_END = 2,   // the offset is added to the size (a negative offset counts backward)
};

class cStream {
public:
    virtual ~cStream() = default;

    // Size in bytes.
    virtual uint32_t getSize() = 0;
    // Moves the position; returns the new position.
    virtual uint32_t seek(int32_t offset, int mode) = 0;
    // Fills out; returns the bytes consumed (4 + 2 x characters), 0 when fewer than 4 bytes
    // of the count came. A count that runs past the end of the data throws the stream's
    // read error and leaves out unchanged.
    virtual uint32_t readWString(cStringW& out) = 0;
    // As readWString, with a byte length and one byte per character.
    virtual uint32_t readString(cStringA& out) = 0;
    // Reads up to count bytes; returns the number read (short at the end of the data).
    virtual uint32_t read(void* buffer, uint32_t count) = 0;
    // Return the bytes of the text written + 4.
    virtual uint32_t writeWString(const cStringW& text) = 0;
    virtual uint32_t writeString(const cStringA& text) = 0;
    // Returns the bytes written.
    virtual uint32_t write(const void* buffer, uint32_t count) = 0;
    // True when the data reached the disk.
    virtual bool flush() = 0;
    // XOR of the stream's 32-bit little-endian words (the last word padded with zero bytes).
    virtual uint32_t checksum() = 0;

protected:
    // Reads the 32-bit little-endian length or count that starts a stored string; false when
    // fewer than 4 bytes came.
    bool readStringHead(uint32_t& value);
    // units UTF-16 little-endian units as wide text (zero units included).
    static std::wstring wideFromUtf16Le(const uint8_t* bytes, uint32_t units);
};

// Little-endian values stored at bytes (the caller has checked that they are there).
inline uint16_t readLE16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }
inline uint32_t readLE32(const uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Reads the whole stream from its start into a byte vector (the position ends at the end).
std::vector<uint8_t> readWholeStream(cStream& stream);

// A stream over bytes held in memory: reads, writes (growing the buffer), seeks clamped to
// [0, size]. Handy for parsers and tests that need a cStream without a file.
class cMemoryStream : public cStream {
public:
    cMemoryStream() = default;
    explicit cMemoryStream(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    cMemoryStream(const void* data, size_t size);

    const std::vector<uint8_t>& bytes() const { return m_bytes; }
    uint32_t position() const { return m_position; }

    uint32_t getSize() override;
    uint32_t seek(int32_t offset, int mode) override;
    uint32_t readWString(cStringW& out) override;
    uint32_t readString(cStringA& out) override;
    uint32_t read(void* buffer, uint32_t count) override;
    uint32_t writeWString(const cStringW& text) override;
    uint32_t writeString(const cStringA& text) override;
    uint32_t write(const void* buffer, uint32_t count) override;
    bool flush() override { return true; }
    uint32_t checksum() override;

private:
    std::vector<uint8_t> m_bytes;
    uint32_t m_position = 0;
};
