#pragma once
// Builds archives in the "kbf" format (see cPackFile.h): used by tests and by the data build.

#include <cstdint>
#include <vector>

#include "engine/core/cString.h"

class cPackWriter {
public:
    explicit cPackWriter(uint32_t nameKey = 0x5A3C96E1u) : m_name_key(nameKey) {}

    // Adds an entry; names longer than 255 bytes throw. Names are stored as given (readers
    // lower-case them). dataKey's low byte scrambles the entry's first 20 bytes.
    void add(const cStringA& name, const std::vector<uint8_t>& data, uint32_t dataKey = 0xA7u);
    void add(const cStringA& name, const std::string& data, uint32_t dataKey = 0xA7u);

    // Adds every file under a folder (recursively, sorted, names beginning with "." skipped)
    // as prefix + its path relative to the folder, lower-cased, "/"-separated. Returns the
    // number of files added; a file that cannot be read throws "Can't open file \"<path>\".".
    size_t addFolder(const cStringA& folder, const cStringA& prefix = cStringA());
    size_t getEntryCount() const { return m_items.size(); }

    // The whole archive: head, names, records, then the data of every entry in order.
    std::vector<uint8_t> build() const;
    // Writes build() to a file; throws "File \"<path>\" cannot be created." on failure.
    void writeFile(const cStringA& path) const;

    // Byte offsets inside build() (for tests that damage archives on purpose).
    size_t recordsOffset() const;       // first entry record
    size_t dataOffset() const;          // first byte of the first entry's data

private:
    struct Item {
        cStringA name;
        std::vector<uint8_t> data;
        uint32_t dataKey;
    };
    uint32_t m_name_key;
    std::vector<Item> m_items;
};
