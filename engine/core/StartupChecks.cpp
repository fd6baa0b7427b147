#include "engine/core/LogHooks.h"
#include "engine/core/StartupChecks.h"

#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <climits>
#include <filesystem>
#include <memory>
#include <system_error>

#include "engine/core/DamagedCopy.h"
#include "engine/core/ErrorCallStack.h"
#include "engine/core/FileSystem.h"
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

// Names (fnmatch patterns) of the files of "$common$/" that a reset keeps: the settings'
// kept copies, and what the game adds (its save file).
std::vector<std::string>& keptNames() {
    static std::vector<std::string> names{"config.ini.damaged*"};
    return names;
}

// The dot-named folder inside "$common$/" where kept files wait while the rest is deleted;
// deleteFolder leaves dot-named entries alone, and a rename there never copies a byte.
const char* const kKeptFolder = ".kept-by-reset";

bool isKeptName(const std::string& name) {
    for (const std::string& pattern : keptNames())
        if (fnmatch(pattern.c_str(), name.c_str(), 0) == 0) return true;
    return false;
}

// Moves the files waiting in the kept folder back under their own names (never over a file
// that is there again) and removes the folder when it is empty. Also finishes a reset that
// was interrupted between the two moves. Returns the names moved back.
std::vector<std::string> restoreKeptFiles(const std::string& common) {
    std::vector<std::string> restored;
    const std::string folder = common + kKeptFolder + "/";
    for (const std::string& name : listFolder(folder)) {
        int error = moveWithoutReplacing(folder + name, common + name);
        if (error == 0)
            restored.push_back(name);
        else
            logGameQuietly("  warning: \"" + cStringA(folder + name) + "\" cannot be moved back (" +
                           cStringA(std::strerror(error)) + "); it stays there");
    }
    ::rmdir(folder.c_str());
    return restored;
}

// Sets the kept files aside in the kept folder; a file that cannot be set aside stops the
// reset (thrown text), since deleting the folder would take it with it.
void setKeptFilesAside(const std::string& common) {
    const std::string folder = common + kKeptFolder + "/";
    for (const std::string& name : listFolder(common)) {
        if (!isKeptName(name)) continue;
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            throw cStringA("The user data in \"" + cStringA(common) + "\" must be reset, but \"" + cStringA(name) +
                           "\" cannot be kept: " + getSystemErrorText() + ". Nothing was deleted.");
        int error = moveWithoutReplacing(common + name, folder + name);
        if (error != 0)
            throw cStringA("The user data in \"" + cStringA(common) + "\" must be reset, but \"" + cStringA(name) +
                           "\" cannot be kept: " + cStringA(std::strerror(error)) + ". Nothing was deleted.");
    }
}

// A damaged settings copy would be deleted with the folder unseen: it is kept as the settings
// manager keeps one.
void keepDamagedSettings() {
    cFileManager* files = getFileManager();
    const cStringA path(cSettingsManager::STORED_PATH);
    if (!files->exists(path)) return;
    cStringA problem;
    try {
        std::unique_ptr<cStream> in(files->openRead(path));
        std::vector<uint8_t> bytes = readWholeStream(*in);
        in.reset();
        if (!cIniFile::fromBytes(bytes.data(), bytes.size(), path)->isEmpty()) return;
        problem = "it holds no settings";
    } catch (...) {
        std::string text;
        failureText(std::current_exception(), &text);
        problem = cStringA(text);
    }
    logGameQuietly("  warning: the settings file \"" + path + "\" is damaged (" + problem + ")");
    keepDamagedCopy(path, "settings");
}

// A reset never loses the player's save: the kept files are set aside first and come back
// under their own names. The log is deleted with the folder, so the reset is logged after it.
void resetUserData(const cStringA& reason) {
    // The stored copy is deleted and written anew.
    if (cResourceManager* resources = getResourceManager()) resources->unload(kStoredVersion);
    cFileManager* files = getFileManager();
    const cStringA& common = files->getCommonPath();
    // The whole folder goes: only ever a named sub-folder (the game's own), never a root.
    std::string trimmed = common;
    while (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
    size_t slash = trimmed.rfind('/');
    std::string last = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    bool ownFolder = slash != std::string::npos && slash > 0 && !last.empty() && last != "." && last != "..";
    std::vector<std::string> kept;
    if (ownFolder) {
        const std::string folder = trimmed + "/";
        keepDamagedSettings();
        setKeptFilesAside(folder);
        deleteFolder(common);   // leaves the dot-named kept folder, so the folder stays
        kept = restoreKeptFiles(folder);
        files->rescan();
    } else {
        logGameQuietly("  warning: the user data folder \"" + common + "\" is not the game's own folder; nothing is deleted\n");
        files->rescan();
    }
    copyVersionFile();
    cStringA keptText;
    for (const std::string& name : kept) keptText += (keptText.isEmpty() ? "" : ", ") + cStringA(name);
    logGameQuietly("  the user data was reset: " + reason + "; kept: " + (kept.empty() ? cStringA("nothing") : keptText));
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

void setUserFilesKeptByReset(const std::vector<std::string>& patterns) {
    keptNames() = {"config.ini.damaged*"};
    keptNames().insert(keptNames().end(), patterns.begin(), patterns.end());
}

void checkUserDataVersion() {
    cFileManager* files = getFileManager();
    {
        // A reset that was cut short left the kept files aside: bring them back first.
        std::string common = files->getCommonPath();
        if (!common.empty() && common.back() != '/') common += '/';
        if (!restoreKeptFiles(common).empty()) files->rescan();
    }
    if (!files->exists(kStoredVersion)) {
        resetUserData("\"" + cStringA(kStoredVersion) + "\" is missing");
        return;
    }
    cStringW shipped = readVersion(kShippedVersion), stored;
    try {
        stored = readVersion(kStoredVersion);
    } catch (...) {
        // A damaged copy counts as missing: the reset writes a good one.
        std::string text;
        failureText(std::current_exception(), &text);
        resetUserData("\"" + cStringA(kStoredVersion) + "\" cannot be read (" + cStringA(text) + ")");
        return;
    }
    if (!shipped.equals(stored)) {
        resetUserData("the stored user-data version \"" + stored.toNarrow() + "\" is not the game's \"" +
                      shipped.toNarrow() + "\"");
    }
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
