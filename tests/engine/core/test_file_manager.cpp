// The file manager: the file table over loose files and archives, which copy wins, names in
// any case on a case-sensitive disk, the application folders, writing, scans and paths.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/core/cFileManager.h"
#include "engine/core/cPackWriter.h"
#include "tests/engine/core/test_file_env.h"

using namespace file_test;

namespace {

std::string readAll(cFileManager& files, const char* name) {
    std::unique_ptr<cStream> stream(files.openRead(cStringA(name)));
    std::vector<uint8_t> bytes = readWholeStream(*stream);
    return std::string(bytes.begin(), bytes.end());
}

void writeArchive(const fs::path& path, std::initializer_list<std::pair<const char*, const char*>> entries) {
    cPackWriter writer;
    for (const auto& [name, text] : entries) writer.add(cStringA(name), std::string(text));
    fs::create_directories(path.parent_path());
    writer.writeFile(cStringA(path.string()));
}

}  // namespace

TEST(FileManager, LooseFilesWinAndTheFirstArchiveWins) {
    TempWorld world;
    world.put("config/shared.txt", "loose");
    // Sorted scan: a.kbf is found before b.kbf in the same folder.
    writeArchive(world.data / "a.kbf", {{"config/shared.txt", "from a"}, {"Textures/Both.dds", "a copy"}});
    writeArchive(world.data / "b.kbf", {{"textures/both.dds", "b copy"}, {"only/b.txt", "b only"}});
    cFileManager files(cStringA(world.dataArg()), cStringA("KBF"));
    EXPECT_EQ(getFileManager(), &files);
    EXPECT_EQ(files.getArchiveCount(), 2u);
    EXPECT_EQ(readAll(files, "config/shared.txt"), "loose");
    EXPECT_EQ(readAll(files, "textures/both.dds"), "a copy");
    EXPECT_EQ(readAll(files, "ONLY/B.TXT"), "b only");
    EXPECT_FALSE(files.getTable().count(cStringA("a.kbf")));   // archives are not table files
    EXPECT_EQ(thrownText([&] { delete files.openRead(cStringA("Missing/File.txt")); }),
              "File \"missing/file.txt\" has not found.");
}

TEST(FileManager, MixedCaseNamesOnACaseSensitiveDisk) {
    TempWorld world;
    world.put("Textures/Menu/Big.PNG", "png bytes");
    world.put("config/config.ini", utf16Ini("[Game]\r\n"));
    // The core passes "Data"; the folder on disk may be named in another case.
    fs::rename(world.data, world.root / "data");
    cFileManager files(cStringA((world.root / "Data").string()), cStringA("kbf"));
    EXPECT_EQ(files.getRootPath(), (world.root / "data").string() + "/");
    EXPECT_TRUE(files.getTable().count(cStringA("textures/menu/big.png")));
    EXPECT_EQ(readAll(files, "textures/menu/big.png"), "png bytes");
    EXPECT_EQ(readAll(files, "TEXTURES/Menu/big.png"), "png bytes");
    EXPECT_TRUE(files.exists(cStringA("Textures\\Menu\\BIG.png")));   // exists takes "\\" too
    EXPECT_THROW(delete files.openRead(cStringA("textures\\menu\\big.png")), std::string);
    EXPECT_EQ(files.resolvePath(cStringA("textures/menu/new.png")), (world.root / "data/Textures/Menu/new.png").string());
}

TEST(FileManager, DotNamesAreSkippedAndExtensionsAreFoundAnywhere) {
    TempWorld world;
    world.put(".hidden/secret.txt", "no");
    world.put(".dot.txt", "no");
    writeArchive(world.data / ".skipped.kbf", {{"ghost.txt", "no"}});
    writeArchive(world.data / "deep/er/UPPER.KBF", {{"ghost2.txt", "yes"}});
    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
    EXPECT_EQ(files.getTable().size(), 1u);
    EXPECT_TRUE(files.exists(cStringA("ghost2.txt")));
    EXPECT_FALSE(files.exists(cStringA("ghost.txt")));
    EXPECT_FALSE(files.exists(cStringA(".dot.txt")) && files.getTable().count(cStringA(".dot.txt")));

    struct Case { const char* path; const char* extension; };
    const Case cases[] = {{"a.b/c", "b/c"}, {"noextension", ""}, {"X.KBF", "kbf"}, {"dir.d/file.Tar.GZ", "gz"}, {"end.", ""}};
    for (const Case& c : cases) EXPECT_EQ(cFileManager::getExtension(cStringA(c.path)), c.extension) << c.path;
}

TEST(FileManager, ApplicationFoldersFollowTheEnvironmentAndTheAppFolderKey) {
    struct Case { const char* what; const char* ini; const char* folder; };
    const Case cases[] = {
        {"plain name", "[Game]\r\napp_folder=\"SandwichDemo\"\r\n", "SandwichDemo"},
        {"blanks and comment", "[Other]\r\napp_folder=\"wrong\"\r\n[Game]\r\n  app_folder = \"Kit chen\" // note\r\n", "Kit chen"},
        {"missing key", "[Game]\r\nwindow_title=\"x\"\r\n", cFileManager::DEFAULT_APP_FOLDER},
        {"empty value", "[Game]\r\napp_folder=\"\"\r\n", cFileManager::DEFAULT_APP_FOLDER},
        {"climbs out", "[Game]\r\napp_folder=\"..\"\r\n", cFileManager::DEFAULT_APP_FOLDER},
        {"nested", "[Game]\r\napp_folder=\"a/b\"\r\n", cFileManager::DEFAULT_APP_FOLDER},
        {"no byte-order mark", nullptr, cFileManager::DEFAULT_APP_FOLDER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempWorld world;
        if (c.ini) world.put("config/config.ini", utf16Ini(c.ini));
        else world.put("config/config.ini", "[Game]\r\napp_folder=\"Plain8Bit\"\r\n");
        cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
        EXPECT_EQ(files.getCommonPath(), (world.xdgData / c.folder).string() + "/");
        EXPECT_EQ(files.getUserPath(), (world.xdgConfig / c.folder).string() + "/");
        EXPECT_TRUE(fs::is_directory(world.xdgData / c.folder));        // the common folder is made
        EXPECT_FALSE(fs::exists(world.xdgConfig / c.folder));           // the user folder waits for a write
    }
}

TEST(FileManager, OpenWriteCreatesFoldersTruncatesAndEntersTheTable) {
    TempWorld world;
    world.put("config/config.ini", utf16Ini("[Game]\r\napp_folder=\"Demo\"\r\n"));
    writeArchive(world.data / "pack.kbf", {{"config/override.ini", "archived"}});
    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
    {
        std::unique_ptr<cStream> out(files.openWrite(cStringA("$common$/Statistics/01_level_3/level.log")));
        out->write("first version", 13);
    }
    {
        std::unique_ptr<cStream> out(files.openWrite(cStringA("$common$/statistics/01_LEVEL_3/LEVEL.log")));
        out->write("second", 6);   // same file (any case), truncated
    }
    fs::path real = world.xdgData / "Demo/Statistics/01_level_3/level.log";
    EXPECT_EQ(readDiskFile(real), "second");
    EXPECT_EQ(readAll(files, "$common$/statistics/01_level_3/level.log"), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(world.xdgData / "Demo"), fs::directory_iterator()), 1);

    {
        std::unique_ptr<cStream> out(files.openWrite(cStringA("$user$/settings/a.bin")));
        out->write("u", 1);
    }
    EXPECT_EQ(readDiskFile(world.xdgConfig / "Demo/settings/a.bin"), "u");

    // Writing a name served by an archive makes it a loose file from then on.
    EXPECT_EQ(readAll(files, "config/override.ini"), "archived");
    delete files.openWrite(cStringA("config/override.ini"));
    EXPECT_EQ(readAll(files, "config/override.ini"), "");

    // A path blocked by a file where a folder should be cannot be created.
    world.put("blocker", "x");
    EXPECT_EQ(thrownText([&] { delete files.openWrite(cStringA("Blocker/inside.txt")); }),
              "File \"Blocker/inside.txt\" cannot be created.");
}

TEST(FileManager, ExistsSeesNewDiskFilesButOpenReadWaitsForRescan) {
    TempWorld world;
    world.put("old.txt", "old");
    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
    world.put("Later.txt", "later");
    EXPECT_TRUE(files.exists(cStringA("later.txt")));
    EXPECT_THROW(delete files.openRead(cStringA("later.txt")), std::string);
    fs::remove(world.data / "old.txt");
    files.rescan();
    EXPECT_EQ(readAll(files, "later.txt"), "later");
    EXPECT_FALSE(files.exists(cStringA("old.txt")));
    EXPECT_FALSE(files.exists(cStringA("")));
}

TEST(FileManager, ArchivesUnderApplicationFoldersServeNothing) {
    TempWorld world;
    writeArchive(world.xdgData / cFileManager::DEFAULT_APP_FOLDER / "extra.kbf", {{"config/extra.ini", "x"}});
    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
    EXPECT_EQ(files.getArchiveCount(), 1u);
    EXPECT_FALSE(files.exists(cStringA("config/extra.ini")));
}

TEST(FileManager, BrokenArchiveFailsConstructionCleanly) {
    TempWorld world;
    world.put("config/config.ini", utf16Ini("[Game]\r\napp_folder=\"Demo\"\r\n"));
    world.put("broken.kbf", std::string("QZ\0\0\x05\0\0\0", 8));
    std::string text = thrownText([&] { cFileManager files(cStringA(world.dataArg()), cStringA("kbf")); });
    EXPECT_EQ(text, "An error has occurred while reading the pack file \"" + (world.data / "broken.kbf").string() + "\".");
    EXPECT_EQ(getFileManager(), nullptr);   // a failed construction leaves no instance behind
    fs::remove(world.data / "broken.kbf");
    cFileManager again(cStringA(world.dataArg()), cStringA("kbf"));
    EXPECT_THROW(cFileManager(cStringA(world.dataArg()), cStringA("kbf")), const char*);   // "Object already exist."
}

TEST(FileManager, FindFilesListsTableNamesThenDiskFiles) {
    TempWorld world;
    world.put("Textures/A.png", "a");
    world.put("Textures/sub/B.png", "b");
    world.put("config/c.ini", "c");
    writeArchive(world.data / "p.kbf", {{"textures/packed.dds", "p"}});
    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));

    std::vector<cStringA> flat;
    files.findFiles(flat, cStringA("textures"), false);
    EXPECT_EQ(flat, (std::vector<cStringA>{cStringA("textures/a.png"), cStringA("textures/packed.dds"),
                                           cStringA("textures/sub/b.png"), cStringA("Textures/A.png")}));
    std::vector<cStringA> deep;
    files.findFiles(deep, cStringA("TEXTURES/"), true);
    EXPECT_EQ(deep.size(), 5u);
    EXPECT_NE(std::find(deep.begin(), deep.end(), cStringA("Textures/sub/B.png")), deep.end());

    std::vector<cStringA> all;
    files.findFiles(all, cStringA(""), true);
    EXPECT_EQ(all.size(), 4u + 4u);   // every table name, then every disk file (the archive too)
}

TEST(FileManager, PathHelpers) {
    struct Case { const char* name; const char* folder; bool under; };
    const Case cases[] = {
        {"textures/a.dds", "tex", true},          {"textures/a.dds", "Textures/", true},
        {"textures//a.dds", "textures/a", true},  {"textures/a.dds", "config", false},
        {"a", "abc", false},                      {"", "x", true},
        {"x", "", true},                          {"./textures/a.dds", "textures", true},
        {"con.fig/x", "config", true},            {"textures\\a.dds", "textures/a", true},
    };
    for (const Case& c : cases) EXPECT_EQ(isPathUnder(cStringA(c.name), cStringA(c.folder)), c.under) << c.name << " | " << c.folder;
    EXPECT_EQ(skipSeparators(cStringA("//\\a"), 0), 3u);
    EXPECT_EQ(getFullPath(cStringA("/a/./b/../c\\d")), "/a/c/d");
}
