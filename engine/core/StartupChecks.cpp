#include "engine/core/LogHooks.h"
#include "engine/core/StartupChecks.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <memory>
#include <system_error>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "platform/Platform.h"

namespace {

const char* const kShippedVersion = "Config/version.ini";
const char* const kStoredVersion = "$common$/version.ini";
const char* const kPerformanceFile = "Config/performance.ini";

GraphicsTest g_graphicsTest = nullptr;
cStringA g_graphicsFailure;

// The lower-cased version of a version file; throws the loader's text when the file cannot be
// read as an INI document.
cStringW readVersion(const char* path) {
    cResourceManager* resources = getResourceManager();
    resources->load(path, 0);
    cStringW version = resources->getIni(path)->getValue(L"UserData", L"version");
    version.makeLower();
    return version;
}

void resetUserData() {
    cFileManager* files = getFileManager();
    const cStringA& common = files->getCommonPath();
    // The whole folder goes: only ever a named sub-folder (the game's own), never a root.
    std::string trimmed = common;
    while (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
    size_t slash = trimmed.rfind('/');
    std::string last = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    bool ownFolder = slash != std::string::npos && slash > 0 && !last.empty() && last != "." && last != "..";
    if (ownFolder) {
        deleteFolder(common);
    } else {
        logGameQuietly("  warning: the user data folder \"" + common + "\" is not the game's own folder; nothing is deleted\n");
    }
    files->rescan();
    copyVersionFile();
}

}  // namespace

bool canCreateOpenGL33() {
    // The video system stays started (the window follows at once); stopping it here would
    // unload and reload the driver for nothing.
    g_graphicsFailure = cStringA(platform::probeOpenGL33());
    return g_graphicsFailure.isEmpty();
}

void setGraphicsTest(GraphicsTest test) { g_graphicsTest = test; }

void checkDirectX() {
    bool ok = g_graphicsTest ? g_graphicsTest() : canCreateOpenGL33();
    if (!ok) {
        logGameQuietly("  no OpenGL 3.3 has been found.\n");
        cStringA text("The game requires OpenGL 3.3 or higher.\n");
        if (!g_graphicsFailure.isEmpty()) text += "The graphics system reports: " + g_graphicsFailure + "\n";
        text += "Please make sure that a graphics driver with OpenGL 3.3 support is installed.\n";
        throw text;
    }
    logGameQuietly("  OpenGL 3.3 or better has been found.\n");
}

void checkUserDataVersion() {
    cFileManager* files = getFileManager();
    if (!files->exists(kStoredVersion)) {
        resetUserData();
        return;
    }
    cStringW shipped = readVersion(kShippedVersion), stored;
    try {
        stored = readVersion(kStoredVersion);
    } catch (...) {
        // A damaged copy counts as missing: the reset writes a good one.
        std::string text;
        failureText(std::current_exception(), &text);
        logGameQuietly("  warning: \"" + cStringA(kStoredVersion) + "\" cannot be read (" + text + ")\n");
        resetUserData();
        return;
    }
    if (!shipped.equals(stored)) resetUserData();
}

bool copyVersionFile() {
    for (int attempt = 0; attempt < 11; ++attempt) {
        try {
            std::unique_ptr<cStream> source(getFileManager()->openRead(kShippedVersion));
            std::vector<uint8_t> bytes = readWholeStream(*source);
            source.reset();
            std::unique_ptr<cStream> target(getFileManager()->openWrite(kStoredVersion));
            if (!bytes.empty() && target->write(bytes.data(), static_cast<uint32_t>(bytes.size())) != bytes.size())
                throw "short write";
            return true;
        } catch (...) {
            platform::sleepMs(100);
        }
    }
    return false;
}

bool deleteFolder(const cStringA& path) {
    namespace fs = std::filesystem;
    fs::path folder(static_cast<const std::string&>(path));
    std::error_code ec;
    std::vector<fs::path> entries;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        entries.push_back(it->path());
    for (const auto& entry : entries) {
        std::string name = entry.filename().string();
        if (!name.empty() && name[0] == '.') continue;
        std::error_code e;
        // Links are removed as links, never followed.
        auto status = fs::symlink_status(entry, e);
        if (fs::is_directory(status)) deleteFolder(cStringA(entry.string() + "/"));
        else fs::remove(entry, e);
    }
    std::string target = folder.string();
    while (target.size() > 1 && target.back() == '/') target.pop_back();
    return fs::remove(fs::path(target), ec) && !ec;
}

cStringA getSystemErrorText() {
    int error = errno;
    return cStringA(std::error_code(error, std::generic_category()).message());
}

HardwareFigures readRequirements(const cIniFile& document, const cStringW& section) {
    HardwareFigures required;
    required.cpuMhz = 100;
    int64_t memoryMb = 512, videoMb = 32;
    stringToULong(&required.cpuMhz, document.getValue(section, L"cpu_frequency"));
    stringToInt64(&memoryMb, document.getValue(section, L"system_memory"));
    stringToInt64(&videoMb, document.getValue(section, L"video_memory"));
    auto bytes = [](int64_t mb) -> int64_t {
        const int64_t unit = 1048576;
        if (mb > INT64_MAX / unit) return INT64_MAX;
        if (mb < INT64_MIN / unit) return INT64_MIN;
        return mb * unit;
    };
    required.systemMemory = bytes(memoryMb);
    required.videoMemory = bytes(videoMb);
    required.hasCpu = required.hasSystemMemory = required.hasVideoMemory = true;
    return required;
}

void checkHardwareRequirements() {
    HardwareProbe* probe = getHardwareProbe();
    int osClass = probe->getOsClass();
    if (osClass == 0) return;
    cSettingsManager* settings = getSettingsManager();
    bool check = true;
    settings->getBool(L"Performance", L"check_hardware_requirements", check);
    if (!check) {
        logGameQuietly("  using previously stored values.\n");
        return;
    }
    cStringW section = L"HardwareRequirements_";
    section += osClass == 2 ? L"Vista" : L"NT";
    section += probe->isLaptop() ? L"Laptop" : L"Desktop";

    cResourceManager* resources = getResourceManager();
    resources->load(kPerformanceFile, 0);
    HardwareFigures required = readRequirements(*resources->getIni(kPerformanceFile), section);

    HardwareFigures measured;
    if (!probe->query(measured)) {
        logGameQuietly("  can't determine installed hardware.\n");
        return;
    }
    auto figure = [](bool known, int64_t value) {
        return known ? int64ToNarrowString(value) : cStringA("unknown");
    };
    logGameQuietly("  CPU frequency:        " + figure(measured.hasCpu, measured.cpuMhz));
    logGameQuietly("  system memory size:   " + figure(measured.hasSystemMemory, measured.systemMemory));
    logGameQuietly("  video memory size:    " + figure(measured.hasVideoMemory, measured.videoMemory));

    if (meetsRequirements(required, measured)) {
        logGameQuietly("  good performance.\n");
    } else {
        logGameQuietly("  bad performance.\n");
        platform::showMessageBox("Warning",
                                 "This computer may have insufficient memory to display the game properly. "
                                 "Unevenness in the animation may occur.");
        settings->setBool(L"Performance", L"enable_full_effects", false);
        settings->setBool(L"Performance", L"perform_performance_test", false);
    }
    settings->setBool(L"Performance", L"check_hardware_requirements", false);
}
