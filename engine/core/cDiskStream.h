#pragma once
// A stream over a file on disk.

#include "engine/core/cStream.h"

class cDiskStream : public cStream {
public:
    enum Access : int { ACCESS_READ = 1, ACCESS_WRITE = 2, ACCESS_READ_WRITE = 3 };
    enum Creation : int {
        OPEN_EXISTING = 0,   // fails when the file is missing
        CREATE_ALWAYS = 1,   // creates or truncates
        OPEN_ALWAYS = 2,     // opens, creating a missing file
    };

    // Opens the file; throws the standard string "Can't open file \"" + path + "\"." on failure.
    cDiskStream(const cStringA& path, int access, int creation);
    // Takes over an open file descriptor (closed by the destructor); path names the file in
    // error texts.
    cDiskStream(int fd, const cStringA& path);
    ~cDiskStream() override;
    cDiskStream(const cDiskStream&) = delete;
    cDiskStream& operator=(const cDiskStream&) = delete;

    const cStringA& getPath() const { return m_path; }
    bool isOpen() const { return m_fd >= 0; }

    uint32_t getSize() override;
    uint32_t seek(int32_t offset, int mode) override;
    uint32_t readWString(cStringW& out) override;
    uint32_t readString(cStringA& out) override;
    uint32_t read(void* buffer, uint32_t count) override;
    uint32_t writeWString(const cStringW& text) override;
    uint32_t writeString(const cStringA& text) override;
    uint32_t write(const void* buffer, uint32_t count) override;
    bool flush() override;
    uint32_t checksum() override;

private:
    [[noreturn]] void throwReadError() const;

    int m_fd = -1;
    cStringA m_path;
};
