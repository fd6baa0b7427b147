#pragma once
// A read-only stream over one archive entry. It shares the archive's file and must not outlive
// the archive. Reads unscramble by position, so any chunking gives the same bytes; seeks are
// clamped to [0, size]; string reads stay inside the entry.

#include "engine/core/cPackFile.h"
#include "engine/core/cStream.h"

class cPackStream : public cStream {
public:
    // Looks the entry up (lower-cased); its failure text propagates.
    cPackStream(const cStringA& name, const cPackFile* archive);

    uint32_t position() const { return m_position; }

    uint32_t getSize() override;
    uint32_t seek(int32_t offset, int mode) override;
    uint32_t readWString(cStringW& out) override;
    uint32_t readString(cStringA& out) override;
    uint32_t read(void* buffer, uint32_t count) override;
    // Writing, flush and checksum throw the wide text "This function is unsupported.".
    uint32_t writeWString(const cStringW& text) override;
    uint32_t writeString(const cStringA& text) override;
    uint32_t write(const void* buffer, uint32_t count) override;
    bool flush() override;
    uint32_t checksum() override;

private:
    const cPackFile* m_archive;
    const cPackEntry* m_entry;
    uint32_t m_position = 0;
};
