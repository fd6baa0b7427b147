// Archives: the byte layout written by cPackWriter, reading back in any chunking, clamped
// seeks, string reads inside an entry, and damaged archives each giving their text.

#include <gtest/gtest.h>

#include <memory>

#include "engine/core/cPackFile.h"
#include "engine/core/cPackStream.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cPackWriter.h"
#include "tests/engine/core/test_file_env.h"

using namespace file_test;

namespace {

std::vector<uint8_t> pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 13);
    return bytes;
}

struct Archive {
    TempWorld world;
    fs::path path;
    std::unique_ptr<cPackFile> pack;
    void open(const cPackWriter& writer) {
        path = world.root / "test.kbf";
        writer.writeFile(cStringA(path.string()));
        pack = std::make_unique<cPackFile>(cStringA(path.string()));
    }
};

}  // namespace

TEST(PackFile, RoundTripEveryEntryInAnyChunking) {
    const size_t sizes[] = {0, 1, 3, 10, 19, 20, 21, 100, 5000};
    cPackWriter writer(0xDEADBEEF);
    std::vector<std::vector<uint8_t>> contents;
    std::vector<std::string> names;
    for (size_t i = 0; i < std::size(sizes); ++i) {
        names.push_back("Folder/Entry" + std::to_string(i) + ".BIN");
        contents.push_back(pattern(sizes[i], static_cast<uint8_t>(i)));
        writer.add(cStringA(names.back()), contents.back(), 0x100u * i + 0x5Bu + i);
    }
    Archive a;
    a.open(writer);
    ASSERT_EQ(a.pack->getNames().size(), std::size(sizes));
    EXPECT_EQ(a.pack->getNames()[2], "folder/entry2.bin");   // lower-cased

    for (uint32_t chunk : {1u, 7u, 13u, 20u, 4096u, 100000u}) {
        SCOPED_TRACE("chunk " + std::to_string(chunk));
        for (size_t i = 0; i < names.size(); ++i) {
            cPackStream stream(cStringA(names[i]), a.pack.get());   // any case finds it
            ASSERT_EQ(stream.getSize(), contents[i].size());
            std::vector<uint8_t> got;
            std::vector<uint8_t> buffer(chunk);
            while (uint32_t n = stream.read(buffer.data(), chunk)) got.insert(got.end(), buffer.begin(), buffer.begin() + n);
            EXPECT_EQ(got, contents[i]) << names[i];
            EXPECT_EQ(stream.read(buffer.data(), chunk), 0u);
        }
    }
}

TEST(PackFile, NamesAndDataHeadsAreScrambledOnDisk) {
    const uint32_t nameKey = 0x44332211u;
    cPackWriter writer(nameKey);
    writer.add(cStringA("abc"), std::string("0123456789"), 0x1234u);          // 3: plain; 10 bytes: all scrambled
    writer.add(cStringA("abcdef"), pattern(100, 1), 0xFF5Au);
    writer.add(cStringA(""), std::string("x"), 0u);                           // empty name, key 0
    writer.add(cStringA("abcdefgh"), std::string(), 0x77u);                   // 8: two words scrambled
    std::vector<uint8_t> raw = writer.build();

    ASSERT_EQ(std::string(raw.begin(), raw.begin() + 4), std::string("QZ\0\0", 4));
    size_t at = 16;
    EXPECT_EQ(raw[at], 3);
    EXPECT_EQ(std::string(raw.begin() + at + 1, raw.begin() + at + 4), "abc");
    at += 4;
    EXPECT_EQ(raw[at], 6);
    const uint8_t key[4] = {0x11, 0x22, 0x33, 0x44};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(raw[at + 1 + k], static_cast<uint8_t>("abcdef"[k] ^ key[k])) << k;
    EXPECT_EQ(raw[at + 5], 'e');
    EXPECT_EQ(raw[at + 6], 'f');
    at += 7;
    EXPECT_EQ(raw[at], 0);
    at += 1;
    EXPECT_EQ(raw[at], 8);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(raw[at + 1 + k], static_cast<uint8_t>("abcdefgh"[k] ^ key[k % 4])) << k;

    // Data: the low byte of the key scrambles the first 20 bytes only.
    size_t data = writer.dataOffset();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(raw[data + i], static_cast<uint8_t>(('0' + i) ^ 0x34)) << i;
    std::vector<uint8_t> hundred = pattern(100, 1);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(raw[data + 10 + i], static_cast<uint8_t>(i < 20 ? hundred[i] ^ 0x5A : hundred[i])) << i;

    Archive a;
    a.open(writer);
    EXPECT_EQ(a.pack->getNames(), (std::vector<cStringA>{cStringA("abc"), cStringA("abcdef"), cStringA(""), cStringA("abcdefgh")}));
    cPackStream s(cStringA("abc"), a.pack.get());
    char buffer[10];
    EXPECT_EQ(s.read(buffer, 10), 10u);
    EXPECT_EQ(std::string(buffer, 10), "0123456789");
}

TEST(PackFile, SeeksAreClampedToTheEntry) {
    cPackWriter writer;
    writer.add(cStringA("three"), std::string("abc"));
    writer.add(cStringA("long"), std::string(40, 'q'));
    Archive a;
    a.open(writer);
    cPackStream s(cStringA("three"), a.pack.get());
    char c;
    EXPECT_EQ(s.seek(5, SEEK_FROM_END), 3u);
    EXPECT_EQ(s.read(&c, 1), 0u);
    EXPECT_EQ(s.seek(-1, SEEK_FROM_START), 3u);      // negative counts as past the end
    EXPECT_EQ(s.seek(-2, SEEK_FROM_END), 1u);
    EXPECT_EQ(s.read(&c, 1), 1u);
    EXPECT_EQ(c, 'b');
    EXPECT_EQ(s.seek(1, 7), 2u);                      // unknown mode leaves the position

    // Reading from the middle of the scrambled head unscrambles by position.
    cPackStream l(cStringA("long"), a.pack.get());
    EXPECT_EQ(l.seek(18, SEEK_FROM_START), 18u);
    char four[4];
    EXPECT_EQ(l.read(four, 4), 4u);
    EXPECT_EQ(std::string(four, 4), "qqqq");
}

TEST(PackFile, DuplicateNamesUnknownNamesAndWrites) {
    cPackWriter writer;
    writer.add(cStringA("Same.txt"), std::string("first"));
    writer.add(cStringA("same.TXT"), std::string("second"));
    Archive a;
    a.open(writer);
    cPackStream s(cStringA("SAME.txt"), a.pack.get());
    char buffer[16];
    EXPECT_EQ(std::string(buffer, s.read(buffer, 16)), "second");   // the later record wins

    EXPECT_EQ(thrownText([&] { cPackStream(cStringA("Nope.txt"), a.pack.get()); }),
              "Can't open the file \"Nope.txt\". No such file.");
    EXPECT_EQ(thrownText([&] { s.write("x", 1); }), "wide:This function is unsupported.");
    EXPECT_EQ(thrownText([&] { s.writeString(cStringA("x")); }), "wide:This function is unsupported.");
    EXPECT_EQ(thrownText([&] { s.flush(); }), "wide:This function is unsupported.");
    EXPECT_EQ(thrownText([&] { s.checksum(); }), "wide:This function is unsupported.");
}

TEST(PackFile, StringReadsStayInsideTheEntryAndUnscramble) {
    std::string strings = le32(3) + "abc" + le32(2) + std::string("h\0i\0", 4);
    cPackWriter writer;
    writer.add(cStringA("strings"), strings, 0xC3u);
    writer.add(cStringA("forged"), le32(1000) + "abc", 0x11u);    // length beyond the entry
    writer.add(cStringA("next"), std::string(2000, 'z'));         // ... though not beyond the file
    writer.add(cStringA("wideforged"), le32(3) + "abcd", 0x11u);
    Archive a;
    a.open(writer);

    cPackStream s(cStringA("strings"), a.pack.get());
    cStringA narrow;
    cStringW wide;
    EXPECT_EQ(s.readString(narrow), 7u);
    EXPECT_EQ(narrow, "abc");
    EXPECT_EQ(s.readWString(wide), 8u);
    EXPECT_EQ(wide, L"hi");
    EXPECT_EQ(s.readString(narrow), 0u);   // nothing left

    std::string readError = "An error has occurred while reading the pack file \"" + a.path.string() + "\".";
    cPackStream f(cStringA("forged"), a.pack.get());
    narrow = cStringA("keep");
    EXPECT_EQ(thrownText([&] { f.readString(narrow); }), readError);
    EXPECT_EQ(narrow, "keep");
    cPackStream w(cStringA("wideforged"), a.pack.get());
    EXPECT_EQ(thrownText([&] { w.readWString(wide); }), readError);
}

TEST(PackFile, DamagedArchivesGiveTheirText) {
    cPackWriter writer(0x01020304u);
    writer.add(cStringA("a.txt"), std::string("alpha"));
    writer.add(cStringA("b.txt"), std::string("beta"));
    const std::vector<uint8_t> good = writer.build();
    const size_t records = writer.recordsOffset();

    auto patched = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<uint8_t>(value >> (8 * k));
        return bytes;
    };
    auto cut = [&](size_t length) { return std::vector<uint8_t>(good.begin(), good.begin() + length); };

    enum Text { WRONG_FORMAT, READ_ERROR, OPENS };
    struct Case { const char* what; std::vector<uint8_t> bytes; Text text; };
    const Case cases[] = {
        {"magic QZ with other bytes", patched(0, 0x01005A51u), WRONG_FORMAT},
        {"magic of another format", patched(0, 0x04034B50u), WRONG_FORMAT},
        {"empty file", {}, READ_ERROR},
        {"short head", cut(10), READ_ERROR},
        {"count beyond the file", patched(4, 0x10000000u), READ_ERROR},
        {"count one too many", patched(4, 3), READ_ERROR},
        {"table cut in the names", cut(20), READ_ERROR},
        {"table cut in the records", cut(records + 20), READ_ERROR},
        {"entry past the end", patched(records + 8, 0x1000u), READ_ERROR},
        {"entry offset past the end", patched(records + 4, 0xFFFFFFF0u), READ_ERROR},
        {"offset plus size wraps 32 bits", [&] {
             std::vector<uint8_t> b = patched(records + 4, 0xFFFFFFFFu);
             for (int k = 0; k < 4; ++k) b[records + 8 + k] = k == 0 ? 2 : 0;
             return b;
         }(), READ_ERROR},
        {"data cut short", cut(good.size() - 1), READ_ERROR},
        {"no entries", patched(4, 0), OPENS},
    };
    TempWorld world;
    fs::path path = world.root / "broken.kbf";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeDiskFile(path, c.bytes);
        std::string text = thrownText([&] { cPackFile pack(cStringA(path.string())); });
        switch (c.text) {
        case WRONG_FORMAT: EXPECT_EQ(text, "The pack file \"" + path.string() + "\" is in wrong format."); break;
        case READ_ERROR: EXPECT_EQ(text, "An error has occurred while reading the pack file \"" + path.string() + "\"."); break;
        case OPENS: EXPECT_EQ(text, "(nothing thrown)"); break;
        }
    }
    fs::path missing = world.root / "missing.kbf";
    EXPECT_EQ(thrownText([&] { cPackFile pack(cStringA(missing.string())); }),
              "Can't open pack file \"" + missing.string() + "\".");
}

TEST(PackFile, PackedFolderServesTheSameFilesAsTheLooseFolder) {
    TempWorld world;
    fs::path source = world.root / "source";
    writeDiskFile(source / "Config/Game/Sounds.INI", "sounds");
    writeDiskFile(source / "textures/a.png", std::string(300, 'p'));
    writeDiskFile(source / "empty.txt", "");
    writeDiskFile(source / ".git/ignored", "x");
    cPackWriter writer;
    EXPECT_EQ(writer.addFolder(cStringA(source.string())), 3u);
    writer.writeFile(cStringA((world.data / "data.kbf").string()));

    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
    EXPECT_EQ(files.getTable().size(), 3u);
    for (const char* name : {"config/game/sounds.ini", "textures/a.png", "empty.txt"}) {
        std::unique_ptr<cStream> stream(files.openRead(cStringA(name)));
        std::vector<uint8_t> bytes = readWholeStream(*stream);
        std::string real = name == std::string("config/game/sounds.ini") ? "Config/Game/Sounds.INI" : name;
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), readDiskFile(source / real)) << name;
    }
}
