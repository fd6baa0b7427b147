// Disk and memory streams: string encodings, bounds on stored lengths, seeks, checksum.

#include <gtest/gtest.h>

#include <memory>

#include "engine/core/cDiskStream.h"
#include "engine/core/cStream.h"
#include "tests/engine/core/test_file_env.h"

using namespace file_test;

TEST(DiskStream, StringStopsAtZeroByteAndCountsWholeLength) {
    TempWorld world;
    fs::path file = world.root / "s.bin";
    writeDiskFile(file, le32(5) + std::string("ab\0cd", 5));
    cDiskStream stream(cStringA(file.string()), cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING);
    cStringA text("old");
    EXPECT_EQ(stream.readString(text), 9u);
    EXPECT_EQ(text, "ab");
    // Nothing left: fewer than 4 bytes of a length give 0 and leave the string alone.
    EXPECT_EQ(stream.readString(text), 0u);
    EXPECT_EQ(text, "ab");
}

TEST(DiskStream, StoredLengthPastEndIsRefusedWithoutAllocating) {
    TempWorld world;
    struct Case { const char* what; std::string bytes; bool wide; };
    const Case cases[] = {
        {"narrow, one byte short", le32(4) + "abc", false},
        {"narrow, forged 4 GB", le32(0xFFFFFFFFu) + "abc", false},
        {"wide, one unit short", le32(2) + std::string("a\0", 2), true},
        {"wide, forged count", le32(0x80000001u) + "abcd", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::path file = world.root / "bad.bin";
        writeDiskFile(file, c.bytes);
        cDiskStream stream(cStringA(file.string()), cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING);
        cStringA narrow("keep");
        cStringW wide(L"keep");
        std::string text = thrownText([&] { c.wide ? stream.readWString(wide) : stream.readString(narrow); });
        EXPECT_EQ(text, "An error has occurred while reading the file \"" + file.string() + "\".");
        EXPECT_EQ(narrow, "keep");
        EXPECT_EQ(wide, L"keep");
    }
}

TEST(DiskStream, StringsRoundTripAndWriteSizes) {
    TempWorld world;
    fs::path file = world.root / "rt.bin";
    {
        cDiskStream out(cStringA(file.string()), cDiskStream::ACCESS_WRITE, cDiskStream::CREATE_ALWAYS);
        EXPECT_EQ(out.writeString(cStringA("hello")), 9u);
        EXPECT_EQ(out.writeWString(cStringW(std::wstring{L'x', wchar_t(0x20AC), L'y'})), 10u);
        EXPECT_EQ(out.writeString(cStringA("")), 4u);
    }
    EXPECT_EQ(readDiskFile(file), le32(5) + "hello" + le32(3) + std::string("x\0\xAC\x20y\0", 6) + le32(0));
    cDiskStream in(cStringA(file.string()), cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING);
    cStringA a;
    cStringW w;
    EXPECT_EQ(in.readString(a), 9u);
    EXPECT_EQ(in.readWString(w), 10u);
    EXPECT_EQ(a, "hello");
    EXPECT_EQ(w, (std::wstring{L'x', wchar_t(0x20AC), L'y'}));
    EXPECT_EQ(in.readString(a), 4u);
    EXPECT_EQ(a, "");
}

TEST(DiskStream, ChecksumPadsTheLastWordWithZeros) {
    TempWorld world;
    fs::path file = world.root / "c.bin";
    writeDiskFile(file, std::string("\x01\x02\x03\x04\x05", 5));
    cDiskStream stream(cStringA(file.string()), cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING);
    EXPECT_EQ(stream.checksum(), 0x04030201u ^ 0x00000005u);
    EXPECT_EQ(stream.seek(0, SEEK_FROM_CURRENT), 5u);   // left at the end

    // Across the reader's internal chunks the words keep their alignment.
    std::string big(70001, '\0');
    uint32_t expected = 0;
    for (size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7 + 3);
        expected ^= static_cast<uint32_t>(static_cast<uint8_t>(big[i])) << (8 * (i % 4));
    }
    writeDiskFile(file, big);
    cDiskStream large(cStringA(file.string()), cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING);
    EXPECT_EQ(large.checksum(), expected);

    writeDiskFile(file, std::string());
    cDiskStream empty(cStringA(file.string()), cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING);
    EXPECT_EQ(empty.checksum(), 0u);
}

TEST(DiskStream, OpenFailuresAndSeeks) {
    TempWorld world;
    fs::path missing = world.root / "missing.bin";
    EXPECT_EQ(thrownText([&] { cDiskStream(cStringA(missing.string()), cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING); }),
              "Can't open file \"" + missing.string() + "\".");
    EXPECT_EQ(thrownText([&] { cDiskStream(cStringA(world.root.string()), cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING); }),
              "Can't open file \"" + world.root.string() + "\".");

    fs::path file = world.root / "seek.bin";
    writeDiskFile(file, "0123456789");
    cDiskStream stream(cStringA(file.string()), cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING);
    EXPECT_EQ(stream.getSize(), 10u);
    EXPECT_EQ(stream.seek(4, SEEK_FROM_START), 4u);
    EXPECT_EQ(stream.seek(2, SEEK_FROM_CURRENT), 6u);
    EXPECT_EQ(stream.seek(-3, SEEK_FROM_END), 7u);
    EXPECT_EQ(stream.seek(-100, SEEK_FROM_CURRENT), 7u);   // before the start: refused
    char buffer[8];
    EXPECT_EQ(stream.read(buffer, 8), 3u);                 // short read at the end is no failure
    EXPECT_EQ(std::string(buffer, 3), "789");
}

TEST(MemoryStream, ReadsWritesAndClampsLikeTheOtherStreams) {
    cMemoryStream stream;
    EXPECT_EQ(stream.writeString(cStringA("abc")), 7u);
    EXPECT_EQ(stream.writeWString(cStringW(L"hi")), 8u);
    EXPECT_EQ(stream.getSize(), 15u);
    EXPECT_EQ(stream.seek(0, SEEK_FROM_START), 0u);
    cStringA a;
    cStringW w;
    EXPECT_EQ(stream.readString(a), 7u);
    EXPECT_EQ(stream.readWString(w), 8u);
    EXPECT_EQ(a, "abc");
    EXPECT_EQ(w, L"hi");
    EXPECT_EQ(stream.seek(50, SEEK_FROM_START), 15u);
    cMemoryStream forged(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 'a'});
    EXPECT_THROW(forged.readString(a), std::string);
    EXPECT_EQ(a, "abc");
}
