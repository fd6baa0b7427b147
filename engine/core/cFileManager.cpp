#include "engine/core/LogHooks.h"
#include "engine/core/cFileManager.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <utility>

#include "engine/core/FileSystem.h"
#include "engine/core/cDiskStream.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cPackFile.h"
#include "engine/core/cPackStream.h"
#include "platform/Platform.h"

namespace {

cStringA slashed(const cStringA& text) {
    cStringA copy(text);
    std::replace(copy.begin(), copy.end(), '\\', '/');
    return copy;
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool isDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool pathExists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

// The XDG base folder named by variable (used only when absolute), else HOME + fallback.
std::string xdgFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    std::string base = (value && value[0] == '/') ? std::string(value) : homeFolder() + fallback;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base;
}

// A plain folder name, or the fixed name of our own: the user-data reset deletes the whole
// common folder, so it must never be the bare XDG folder or lie outside it.
cStringA sanitiseAppFolder(const cStringA& value) {
    if (value.empty() || value == "." || value == ".." || value.find('/') != std::string::npos ||
        value.find('\\') != std::string::npos || value.find('\0') != std::string::npos)
        return cStringA(cFileManager::DEFAULT_APP_FOLDER);
    return value;
}

// base (a real folder with a trailing "/") + rest, with every component of rest that exists
// on disk in another case written in the disk's case.
cStringA resolveUnder(const std::string& base, const std::string& rest) {
    std::string out = base;
    size_t i = 0;
    bool known = isDirectory(base.empty() ? "." : base);
    while (i < rest.size()) {
        size_t slash = rest.find('/', i);
        std::string part = rest.substr(i, slash == std::string::npos ? std::string::npos : slash - i);
        if (!part.empty() && known && !pathExists(out + part)) {
            std::string want = cStringA(part).toLower();
            for (const std::string& entry : listFolder(out)) {
                if (cStringA(entry).toLower() == want) {
                    part = entry;
                    break;
                }
            }
        }
        out += part;
        if (slash == std::string::npos) break;
        out += '/';
        known = known && isDirectory(out);
        i = slash + 1;
    }
    return cStringA(out);
}

}  // namespace

cFileManager* getFileManager() { return cFileManager::instance(); }

// ---- free helpers ----------------------------------------------------------------------------

void createFolder(const cStringA& path) {
    for (size_t i = 1; i < path.size(); ++i)
        if (path[i] == '/') ::mkdir(path.substr(0, i).c_str(), 0777);
}

size_t skipSeparators(const cStringA& text, size_t position) {
    while (position < text.size() && isSeparator(text[position])) ++position;
    return position;
}

bool isPathUnder(const cStringA& name, const cStringA& folder) {
    if (name.empty() || folder.empty()) return true;
    size_t i = skipSeparators(name, 0), j = skipSeparators(folder, 0);
    while (i < name.size() && j < folder.size()) {
        if (name[i] == '.') { i = skipSeparators(name, i + 1); continue; }
        if (folder[j] == '.') { j = skipSeparators(folder, j + 1); continue; }
        bool a = isSeparator(name[i]), b = isSeparator(folder[j]);
        if (a && b) {
            i = skipSeparators(name, i);
            j = skipSeparators(folder, j);
            continue;
        }
        if (a || b || std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(folder[j])))
            return false;
        ++i;
        ++j;
    }
    i = skipSeparators(name, i);
    j = skipSeparators(folder, j);
    return !(i >= name.size() && j < folder.size());
}

cStringA getFullPath(const cStringA& path) {
    std::string p = slashed(path);
    if (p.empty() || p[0] != '/') {
        char cwd[4096];
        std::string base = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
        p = base + "/" + p;
    }
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= p.size()) {
        size_t slash = p.find('/', i);
        if (slash == std::string::npos) slash = p.size();
        std::string part = p.substr(i, slash - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = slash + 1;
    }
    std::string out;
    for (const std::string& part : parts) out += "/" + part;
    if (out.empty()) out = "/";
    if (p.back() == '/' && out.back() != '/') out += '/';
    return cStringA(out);
}

cStringA commonFolderFor(const cStringA& appFolder) {
    return cStringA(xdgFolder("XDG_DATA_HOME", "/.local/share") + "/" + sanitiseAppFolder(appFolder) + "/");
}

cStringA userFolderFor(const cStringA& appFolder) {
    return cStringA(xdgFolder("XDG_CONFIG_HOME", "/.config") + "/" + sanitiseAppFolder(appFolder) + "/");
}

// ---- cFileManager ---------------------------------------------------------------------------

cFileManager::cFileManager(const cStringA& root, const cStringA& archiveExtension) {
    m_archive_extension = archiveExtension.toLower();
    std::string folder = slashed(root);
    if (folder.empty() || folder[0] != '/') folder = platform::executableDir() + folder;
    folder = getFullPath(cStringA(folder));
    if (folder.back() != '/') folder += '/';
    // The data folder is found whatever the case of its name on disk ("Data" or "data").
    m_root_path = resolveUnder("/", folder.substr(1));
    if (m_root_path.back() != '/') m_root_path += '/';

    mountFolder(m_root_path, cStringA());
    mergeArchives();
    m_app_folder = readAppFolder();
    m_common_path = commonFolderFor(m_app_folder);
    createFolder(m_common_path);
    mountFolder(m_common_path, cStringA("$common$/"));
    m_user_path = userFolderFor(m_app_folder);
    mountFolder(m_user_path, cStringA("$user$/"));
}

cFileManager::~cFileManager() {
    logGameQuietly(cStringA("  free pack files"));
    m_table.clear();
    m_real_paths.clear();
    m_archives.clear();
}

cStringA cFileManager::readAppFolder() {
    const cStringA name("config/config.ini");
    if (!m_table.count(name)) return cStringA();
    std::unique_ptr<cStream> stream(openRead(name));
    std::vector<uint8_t> bytes = readWholeStream(*stream);
    try {
        std::unique_ptr<cIniFile> ini = cIniFile::fromBytes(bytes.data(), bytes.size(), name);
        return ini->getValue(L"Game", L"app_folder").toNarrow();
    } catch (...) {
        // A document that is not UTF-16 INI text reads as empty here; the settings manager
        // reports it when it loads the same file.
        return cStringA();
    }
}

void cFileManager::mountFolder(const cStringA& realFolder, const cStringA& prefix) {
    std::vector<std::string> stack{std::string()};
    std::set<std::pair<dev_t, ino_t>> visited;   // a folder linked into itself is walked once
    while (!stack.empty()) {
        std::string relative = stack.back();
        stack.pop_back();
        std::string folder = realFolder + relative;
        struct stat st;
        if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
        if (!visited.insert({st.st_dev, st.st_ino}).second) continue;
        for (const std::string& name : listFolder(folder)) {
            if (name.empty() || name[0] == '.') continue;
            std::string path = folder + name;
            struct stat entry;
            if (::stat(path.c_str(), &entry) != 0) continue;
            if (S_ISDIR(entry.st_mode)) {
                stack.push_back(relative + name + "/");
            } else if (S_ISREG(entry.st_mode)) {
                if (getExtension(cStringA(name)) == m_archive_extension) {
                    m_archives.push_back(std::make_unique<cPackFile>(cStringA(path)));
                } else {
                    cStringA key = cStringA(prefix + relative + name).toLower();
                    m_table[key] = nullptr;
                    m_real_paths[key] = cStringA(path);
                }
            }
        }
    }
}

void cFileManager::mergeArchives() {
    for (const auto& archive : m_archives)
        for (const cStringA& name : archive->getNames()) m_table.emplace(name, archive.get());
}

void cFileManager::rescan() {
    m_table.clear();
    m_real_paths.clear();
    m_archives.clear();
    mountFolder(m_root_path, cStringA());
    mergeArchives();
    createFolder(m_common_path);
    mountFolder(m_common_path, cStringA("$common$/"));
    createFolder(m_user_path);
    mountFolder(m_user_path, cStringA("$user$/"));
}

cStringA cFileManager::resolvePath(const cStringA& name) const {
    if (startsWith(name, "$user$", false)) return resolveUnder(m_user_path, name.size() > 7 ? name.substr(7) : std::string());
    if (startsWith(name, "$common$", false))
        return resolveUnder(m_common_path, name.size() > 9 ? name.substr(9) : std::string());
    if (!name.empty() && name[0] == '/') return resolveUnder("/", name.substr(1));
    return resolveUnder(m_root_path, name);
}

cStringA cFileManager::getRealPath(const cStringA& name) const {
    auto it = m_real_paths.find(name.toLower());
    return it == m_real_paths.end() ? cStringA() : it->second;
}

cStream* cFileManager::openRead(const cStringA& path) {
    cStringA name = path.toLower();
    auto it = m_table.find(name);
    if (it == m_table.end()) throw std::string("File \"" + name + "\" has not found.");
    if (it->second) return new cPackStream(name, it->second);
    auto real = m_real_paths.find(name);
    cStringA realPath = real != m_real_paths.end() ? real->second : resolvePath(name);
    return new cDiskStream(realPath, cDiskStream::ACCESS_READ, cDiskStream::OPEN_EXISTING);
}

cStringA cFileManager::prepareWrite(const cStringA& path, cStringA& name) const {
    name = slashed(path).toLower();
    auto known = m_real_paths.find(name);
    cStringA realPath = known != m_real_paths.end() ? known->second : resolvePath(slashed(path));
    createFolder(realPath);
    return realPath;
}

cStream* cFileManager::openWrite(const cStringA& path) {
    cStringA name;
    cStringA realPath = prepareWrite(path, name);
    int fd = ::open(realPath.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw std::string("File \"" + path + "\" cannot be created.");
    m_table[name] = nullptr;
    m_real_paths[name] = realPath;
    return new cDiskStream(fd, realPath);
}

void cFileManager::replaceFile(const cStringA& path, const void* data, size_t size) {
    cStringA name;
    cStringA realPath = prepareWrite(path, name);
    size_t slash = path.rfind('/');
    cStringA folder = slash == std::string::npos ? cStringA() : cStringA(path.substr(0, slash + 1));
    cStringA tempName = folder + "." + cStringA(path.substr(folder.size())) + ".tmp";
    size_t realSlash = realPath.rfind('/');
    std::string realTemp = realPath.substr(0, realSlash + 1) + "." + realPath.substr(realSlash + 1) + ".tmp";
    FileReplaceFailure failure;
    if (!::replaceFile(realPath, realTemp, data, size, &failure)) {
        switch (failure.step) {
        case FileReplaceFailure::CREATE: throw std::string("File \"" + tempName + "\" cannot be created.");
        case FileReplaceFailure::WRITE: throw cStringA("The file \"" + tempName + "\" could not be written completely.");
        case FileReplaceFailure::REPLACE: throw cStringA("The file \"" + path + "\" could not be replaced.");
        }
    }
    m_table[name] = nullptr;
    m_real_paths[name] = realPath;
}

bool cFileManager::exists(const cStringA& path) {
    try {
        cStringA name = slashed(path).toLower();
        if (m_table.count(name)) return true;
        return isRegularFile(resolvePath(slashed(path)));
    } catch (...) {
        return false;
    }
}

cStringA cFileManager::getExtension(const cStringA& path) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos) return cStringA();
    return cStringA(path.substr(dot + 1)).toLower();
}

void cFileManager::findFiles(std::vector<cStringA>& list, const cStringA& folder, bool recursive) {
    list.clear();
    for (const auto& [name, archive] : m_table)
        if (isPathUnder(name, folder)) list.push_back(name);

    // The disk under the data folder, as paths relative to it in the disk's case.
    std::string start = slashed(folder);
    while (!start.empty() && start.back() == '/') start.pop_back();
    while (!start.empty() && start.front() == '/') start.erase(0, 1);
    std::string startReal = resolveUnder(m_root_path, start);
    std::string startRelative = startReal.substr(m_root_path.size());
    std::vector<std::string> stack{startRelative};
    std::set<std::pair<dev_t, ino_t>> visited;
    while (!stack.empty()) {
        std::string relative = stack.back();
        stack.pop_back();
        std::string real = m_root_path + relative;
        struct stat st;
        if (::stat(real.empty() ? "." : real.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
        if (!visited.insert({st.st_dev, st.st_ino}).second) continue;
        std::string prefix = relative.empty() || relative.back() == '/' ? relative : relative + "/";
        for (const std::string& name : listFolder(real)) {
            if (name.empty() || name[0] == '.') continue;
            struct stat entry;
            if (::stat((m_root_path + prefix + name).c_str(), &entry) != 0) continue;
            if (S_ISDIR(entry.st_mode)) {
                if (recursive) stack.push_back(prefix + name);
            } else {
                list.push_back(cStringA(prefix + name));
            }
        }
    }
}
