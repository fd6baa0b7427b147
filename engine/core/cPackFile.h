#pragma once
// One open archive ("kbf"): many named files in one file, with scrambled names and scrambled
// first bytes. Format (little-endian, 32-bit unsigned unless said otherwise):
//   head: magic "QZ\0\0", entry count N, name key, reserved
//   N names: one length byte L, then L bytes; the first L / 4 words XORed with the name key
//   N records of 16 bytes: reserved, offset (from the start of the file), size, data key
//   entry data anywhere; its first 20 bytes XORed with the low byte of the data key
// Every field read from the file is checked against the file's size.

#include <cstdint>
#include <map>
#include <vector>

#include "engine/core/cString.h"

struct cPackEntry {
    uint32_t reserved = 0;
    uint32_t offset = 0;
    uint32_t size = 0;
    uint32_t dataKey = 0;
};
static_assert(sizeof(cPackEntry) == 16, "archive records are 16 bytes");

struct cPackHead {
    uint32_t magic = 0;
    uint32_t count = 0;
    uint32_t nameKey = 0;
    uint32_t reserved = 0;
};
static_assert(sizeof(cPackHead) == 16, "the archive head is 16 bytes");

constexpr uint32_t PACK_MAGIC = 0x00005A51u;   // "QZ" followed by two zero bytes
constexpr uint32_t PACK_SCRAMBLED_HEAD = 20;    // bytes of each entry XORed with its key

class cPackFile {
public:
    // Opens and reads the archive. Throws (standard strings):
    //   "Can't open pack file \"<path>\"."                  the file cannot be opened
    //   "The pack file \"<path>\" is in wrong format."      the magic differs
    //   "An error has occurred while reading the pack file \"<path>\"."
    //                                                        short, truncated or forged file
    explicit cPackFile(const cStringA& path);
    ~cPackFile();
    cPackFile(const cPackFile&) = delete;
    cPackFile& operator=(const cPackFile&) = delete;

    const cStringA& getPath() const { return m_path; }
    const cPackHead& getHead() const { return m_head; }
    // The lower-cased entry names in table order (a name may repeat; the later record wins).
    const std::vector<cStringA>& getNames() const { return m_names; }
    uint64_t getFileSize() const { return m_file_size; }

    // The record of a name (lower-cased first). Throws the standard string
    // "Can't open the file \"<name>\". No such file." when it is missing.
    const cPackEntry& findArchiveEntry(const cStringA& name) const;
    bool hasEntry(const cStringA& name) const;

    // Reads exactly count bytes at offset (from the start of the file), or throws the read
    // error above.
    void readAt(void* buffer, uint64_t offset, uint32_t count) const;

    // The read error text for this archive.
    cStringA readErrorText() const;

    // Name and data scrambling, shared with the writer.
    static void scrambleName(uint8_t* bytes, size_t length, uint32_t nameKey);
    // XORs the bytes of an entry that lie at positions [position, position + length) with the
    // data key's low byte where they fall below PACK_SCRAMBLED_HEAD.
    static void scrambleData(uint8_t* bytes, size_t length, uint32_t position, uint32_t dataKey);

private:
    cStringA m_path;
    int m_fd = -1;
    uint64_t m_file_size = 0;
    cPackHead m_head;
    std::vector<cStringA> m_names;
    std::map<cStringA, cPackEntry> m_entries;
};
