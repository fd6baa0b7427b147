// The INI reader on tiny UTF-16 documents, and the writer's round trip.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cLogManager.h"
#include "tests/engine/core/test_file_env.h"

namespace {

// UTF-16LE text, with or without the byte-order mark.
std::string utf16(const std::wstring& text, bool mark = true) {
    std::string bytes = file_test::utf16(text);
    return mark ? bytes : bytes.substr(2);
}

std::unique_ptr<cIniFile> read(const std::string& bytes) {
    return cIniFile::fromBytes(bytes.data(), bytes.size(), "test.ini");
}

struct Expected {
    std::wstring section, key, value;
};

struct ReaderCase {
    const char* name;
    std::wstring text;
    std::vector<Expected> entries;
};

class IniReader : public testing::TestWithParam<ReaderCase> {};

TEST_P(IniReader, ReadsTheEntriesInFileOrder) {
    const ReaderCase& c = GetParam();
    auto doc = read(utf16(c.text));
    const auto& entries = doc->getEntries();
    ASSERT_EQ(entries.size(), c.entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].section.str(), c.entries[i].section) << "entry " << i;
        EXPECT_EQ(entries[i].key.str(), c.entries[i].key) << "entry " << i;
        EXPECT_EQ(entries[i].value.str(), c.entries[i].value) << "entry " << i;
    }
}

const ReaderCase kReaderCases[] = {
    {"plain", L"[S]\r\nk=\"v\"\r\nn=\"1 2\"\r\n", {{L"S", L"k", L"v"}, {L"S", L"n", L"1 2"}}},
    {"text_before_first_header_ignored", L"k=\"x\"\r\n[S]\r\nk=\"v\"\r\n", {{L"S", L"k", L"v"}}},
    {"lf_only_lines_give_nothing", L"[S]\nk=\"v\"\nm=\"w\"\n", {}},
    {"escaped_quote_does_not_close", L"[S]\r\nk=\"a\\\"b c\"\r\n", {{L"S", L"k", L"a\"b c"}}},
    {"backslash_before_letter_stays", L"[S]\r\nk=\"C:\\dir\\n\"\r\n", {{L"S", L"k", L"C:\\dir\\n"}}},
    {"two_backslashes_escape_next", L"[S]\r\nk=\"a\\\\b\"\r\n", {{L"S", L"k", L"a\\\\b"}}},
    {"tab_inside_quotes_dropped", L"[S]\r\nk=\"a\tb\"\r\n", {{L"S", L"k", L"ab"}}},
    {"comment_after_value", L"[S]\r\nk=\"x y\"   // note\r\n", {{L"S", L"k", L"x y"}}},
    {"comment_line", L"[S]\r\n// k=\"x\"\r\nm=\"y\"\r\n", {{L"S", L"m", L"y"}}},
    {"single_slash_after_quote_kept", L"[S]\r\nk=\"x\"/y\r\n", {{L"S", L"k", L"x/"}}},
    {"unquoted_words_joined", L"[S]\r\nk= a b  c \r\n", {{L"S", L"k", L"abc"}}},
    {"unquoted_slash_and_comment", L"[S]\r\nk=a/b\r\nm=c//d\r\n", {{L"S", L"k", L"a/b"}, {L"S", L"m", L"c"}}},
    {"unquoted_backslash_quote_is_text", L"[S]\r\nk=a\\\"b\r\n", {{L"S", L"k", L"a\\\"b"}}},
    {"blanks_dropped_from_key", L"[S]\r\n  a b\t= \"v\"\r\n", {{L"S", L"ab", L"v"}}},
    {"line_without_equals_joins_next_key", L"[S]\r\nab\r\ncd=\"v\"\r\n", {{L"S", L"abcd", L"v"}}},
    {"line_break_ends_open_quote", L"[S]\r\nk=\"ab\r\nm=\"c\"\r\n", {{L"S", L"k", L"ab"}, {L"S", L"m", L"c"}}},
    {"duplicates_kept", L"[S]\r\nk=\"1\"\r\nk=\"2\"\r\n", {{L"S", L"k", L"1"}, {L"S", L"k", L"2"}}},
    {"section_name_kept_whole", L"[My Section] junk\r\nk=\"v\"\r\n", {{L"My Section", L"k", L"v"}}},
    {"empty_section_then_entries", L"[E]\r\n[S]\r\nk=\"v\"\r\n", {{L"S", L"k", L"v"}}},
    {"last_line_without_line_break", L"[S]\r\nk=\"v\"", {{L"S", L"k", L"v"}}},
    {"header_on_last_line", L"[S]\r\nk=\"v\"\r\n[T]", {{L"S", L"k", L"v"}}},
    {"header_without_bracket", L"[S]\r\nk=\"v\"\r\n[T", {{L"S", L"k", L"v"}}},
    {"key_without_value_at_end", L"[S]\r\nk=\"v\"\r\nm", {{L"S", L"k", L"v"}}},
    {"empty_value", L"[S]\r\nk=\"\"\r\nm=\r\n", {{L"S", L"k", L""}, {L"S", L"m", L""}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, IniReader, testing::ValuesIn(kReaderCases),
                         [](const testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

TEST(IniDocument, MissingMarkIsRefusedWithAClearTextAndEmptyInputIsEmpty) {
    std::string noMark = utf16(L"[S]\r\nk=\"v\"\r\n", false);
    try {
        read(noMark);
        FAIL() << "a document without the byte-order mark was accepted";
    } catch (const cStringA& text) {
        EXPECT_NE(text.find("test.ini"), std::string::npos) << text;
        EXPECT_NE(text.find("byte-order mark"), std::string::npos) << text;
    }
    EXPECT_THROW(read("[S]\r\nk=\"v\"\r\n"), cStringA);  // UTF-8
    EXPECT_THROW(read("\xFF"), cStringA);
    EXPECT_TRUE(read("")->isEmpty());
    EXPECT_TRUE(read("\xFF\xFE")->isEmpty());
    // A final odd byte is ignored.
    EXPECT_EQ(read(utf16(L"[S]\r\nk=\"v\"") + "x")->getValue(L"S", L"k").str(), L"v");
}

TEST(IniDocument, LookupsAreExactAndSetValueChangesEveryDuplicateButAddsNothing) {
    auto doc = read(utf16(L"[S]\r\nk=\"1\"\r\nk=\"2\"\r\n[E]\r\n[T]\r\nk=\"3\"\r\n"));
    EXPECT_EQ(doc->getValue(L"S", L"k").str(), L"1");
    EXPECT_EQ(doc->getValue(L"T", L"k").str(), L"3");
    EXPECT_EQ(doc->getValue(L"s", L"k").str(), L"");
    EXPECT_EQ(doc->getValue(L"S", L"K").str(), L"");
    EXPECT_TRUE(doc->hasSection(L"T"));
    EXPECT_FALSE(doc->hasSection(L"E"));
    EXPECT_FALSE(doc->hasSection(L"t"));

    EXPECT_TRUE(doc->setValue(L"S", L"k", L"9"));
    EXPECT_EQ(doc->getEntries()[0].value.str(), L"9");
    EXPECT_EQ(doc->getEntries()[1].value.str(), L"9");
    EXPECT_EQ(doc->getValue(L"T", L"k").str(), L"3");
    doc->setValue(L"S", L"missing", L"x");
    EXPECT_EQ(doc->getEntries().size(), 3u);
}

TEST(IniDocument, WriterUsesTheFileFormat) {
    cIniFile doc;
    doc.addEntry(L"A", L"k", L"1");
    doc.addEntry(L"A", L"m", L"two words");
    doc.addEntry(L"B", L"n", L"");
    EXPECT_EQ(doc.toBytes(), utf16(L"[A]\r\nk=\"1\"\r\nm=\"two words\"\r\n\r\n[B]\r\nn=\"\"\r\n"));
    EXPECT_EQ(cIniFile().toBytes(), "");
}

TEST(IniDocument, WriteThenReadKeepsEveryStorableValue) {
    const std::vector<std::wstring> values = {
        L"plain",        L"two words",    L"say \"hi\"",   L"\"",          L"a\\\"b",    L"C:\\dir\\",
        L"\\",           L"",             L"a\\nb",        L"x // y",      L"/",         L"a\\\\",
        L"\\\"",         L"[S]",          L"k=\"v\"",      L"\x0410\x0431",
    };
    cIniFile doc;
    for (size_t i = 0; i < values.size(); ++i) doc.addEntry(L"S", cStringW(L"k") + std::to_wstring(i), values[i]);
    std::string bytes = doc.toBytes();
    auto back = read(bytes);
    ASSERT_EQ(back->getEntries().size(), values.size());
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(back->getEntries()[i].value.str(), values[i]) << "value " << i;
}

TEST(IniDocument, ValuesTheFormatCannotHoldAreRefusedAndKeepTheOldValue) {
    auto doc = read(utf16(L"[S]\r\nk=\"old\"\r\n"));
    for (const wchar_t* bad : {L"a b\\", L"x\"y\\", L"line\r\nbreak", L"tab\there", L"cr\ronly"}) {
        EXPECT_FALSE(cIniFile::canStore(bad)) << cStringW(bad).toNarrow();
        EXPECT_FALSE(doc->setValue(L"S", L"k", bad));
        EXPECT_EQ(doc->getValue(L"S", L"k").str(), L"old");
    }
    // Each refusal leaves a warning naming the document, the section and the key in the game log.
    {
        file_test::TempWorld world;
        cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
        cLogManager logs;
        EXPECT_FALSE(doc->setValue(L"S", L"k", L"a b\\"));
        std::string log = file_test::readDiskFile(files.getCommonPath() + "game.log");
        EXPECT_NE(log.find("warning"), std::string::npos) << log;
        EXPECT_NE(log.find("[S] k"), std::string::npos) << log;
        EXPECT_NE(log.find("test.ini"), std::string::npos) << log;
    }
    // Text that was added in code and cannot be held never breaks the lines of the file.
    cIniFile built;
    built.addEntry(L"S", L"k", L"a\r\n[X]\r\nm=\"injected\"");
    built.addEntry(L"S", L"n", L"2");
    auto back = read(built.toBytes());
    EXPECT_FALSE(back->hasSection(L"X"));
    EXPECT_EQ(back->getValue(L"S", L"n").str(), L"2");
}

}  // namespace
