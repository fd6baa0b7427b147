// The document types through the resource manager: XML (and level packs), INI and curve sets
// load by extension from a data folder, and broken files are refused without entering anything.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/core/cCurveSet.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"
#include "tests/engine/core/test_file_env.h"

namespace {

namespace fs = std::filesystem;

using file_test::utf16;

class DocumentResources : public testing::Test {
protected:
    void SetUp() override {
        write("packs/1/pack.qpk", utf16(L"<Pack count_levels=\"1\"><Level_1 goal=\"5\"/></Pack>"));
        write("paths/graph.xml", utf16(L"<g><node id=\"1\"/></g>"));
        write("config/menu/panel.ini", utf16(L"[COMMON]\r\nposition=\"400,300\"\r\n"));
        write("curves/fx.crv", utf16(L"<c count=\"1\"><Curve1 name=\"Scale\" point_count=\"1\">"
                                     L"<Point1 position=\"0 2\"/></Curve1></c>"));
        write("broken/bad.xml", utf16(L"<a><b></a>"));
        write("broken/bad.ini", "[S]\r\nk=\"v\"\r\n");
        write("broken/bad.crv", utf16(L"<c count=\"1\"><Curve1 name=\"x\" point_count=\"2\"/></c>"));
        files = std::make_unique<cFileManager>(cStringA(world.dataArg()), cStringA("kbf"));
        resources = std::make_unique<cResourceManager>();
    }
    void TearDown() override {
        resources.reset();
        files.reset();
    }
    void write(const std::string& name, const std::string& bytes) { world.put(name, bytes); }

    file_test::TempWorld world;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
};

TEST_F(DocumentResources, LoadByExtensionAndFetchTyped) {
    resources->registerExtension("qpk", RESOURCE_XML);
    resources->load("Packs/1/Pack.qpk", 16);
    resources->load("Paths/graph.xml", 16);
    resources->load("Config/Menu/panel.ini", 11);
    resources->load("Curves/FX.crv", 16);

    cXmlNode* pack = resources->getXml("packs/1/pack.qpk");
    EXPECT_EQ(pack->getName(), "packs/1/pack.qpk");
    EXPECT_EQ(pack->getGroup(), 16);
    EXPECT_EQ(pack->getAttribute(L"count_levels").str(), L"1");
    EXPECT_EQ(pack->countChildren("Level_1"), 1);
    EXPECT_EQ(resources->getXml("PATHS/GRAPH.XML")->countChildren("node"), 1);

    cIniFile* panel = resources->getIni("config/menu/panel.ini");
    EXPECT_EQ(panel->getType(), RESOURCE_INI);
    EXPECT_EQ(panel->getGroup(), 11);
    EXPECT_EQ(panel->getValue(L"COMMON", L"position").str(), L"400,300");

    EXPECT_FLOAT_EQ(resources->getCurve("curves/fx.crv", "scale")->getValue(10.0f), 2.0f);
    try {
        resources->getCurve("curves/fx.crv", "missing");
        FAIL() << "a missing curve was found";
    } catch (const std::string& text) {
        EXPECT_NE(text.find("does not contain"), std::string::npos);
    }
    EXPECT_THROW(resources->getIni("paths/graph.xml"), const char*);
}

TEST_F(DocumentResources, BrokenDocumentsAreRefusedWithTheirTexts) {
    try {
        resources->load("broken/bad.xml", 0);
        FAIL() << "a malformed XML document was loaded";
    } catch (const cStringA& text) {
        EXPECT_EQ(text.find("mismatched tag line 1"), 0u) << text;
    }
    try {
        resources->load("broken/bad.ini", 0);
        FAIL() << "an INI file without the byte-order mark was loaded";
    } catch (const cStringA& text) {
        EXPECT_NE(text.find("broken/bad.ini"), std::string::npos) << text;
    }
    try {
        resources->load("broken/bad.crv", 0);
        FAIL() << "a curve with missing points was loaded";
    } catch (const cStringA& text) {
        // The loader's plain text, passed on with the frame that names the file.
        EXPECT_EQ(text, "Cant't load the curve points.\ncCurveSet::cCurveSet(\"broken/bad.crv\")");
    }
    EXPECT_FALSE(resources->isLoaded("broken/bad.xml"));
    EXPECT_FALSE(resources->isLoaded("broken/bad.ini"));
    EXPECT_FALSE(resources->isLoaded("broken/bad.crv"));
    EXPECT_EQ(resources->getLoadedCount(), 0u);
}

}  // namespace
