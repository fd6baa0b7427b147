#pragma once
// The one place through which the engine and the game open files. Three roots:
//   the data folder ("Data" beside the executable, or an absolute folder),
//   "$common$/" = $XDG_DATA_HOME/<app folder>/   (default ~/.local/share/<app folder>/),
//   "$user$/"   = $XDG_CONFIG_HOME/<app folder>/ (default ~/.config/<app folder>/).
// The app folder is Game/app_folder of "config/config.ini" in the data folder; when it is
// empty or not a plain folder name, DEFAULT_APP_FOLDER is used.
//
// The file table maps every lower-cased name ("config/config.ini", "$common$/data.ssp",
// archive entries) to a loose file on disk (its real path, whatever its case) or to the
// archive that holds it. Loose files win over archive entries; of two archives the one found
// first wins. Folder scans are sorted, so the outcome is repeatable.

#include <list>
#include <map>
#include <memory>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cStream.h"
#include "engine/core/cString.h"

class cPackFile;

class cFileManager : public cSingleton<cFileManager> {
public:
    static constexpr const char* DEFAULT_APP_FOLDER = "sandwich-restaurant";

    // root: the data folder ("Data": relative to the executable's folder; absolute paths are
    // used as they are). archiveExtension: "kbf". Throws an archive's error text when an
    // archive under the roots cannot be read.
    cFileManager(const cStringA& root, const cStringA& archiveExtension);
    // Logs "  free pack files" on the channel "game" and closes every archive.
    ~cFileManager() override;

    // Rebuilds the archives and the table (after files were deleted behind our back).
    virtual void rescan();
    // Real folders, each with a trailing "/".
    virtual const cStringA& getRootPath() const { return m_root_path; }
    virtual const cStringA& getCommonPath() const { return m_common_path; }
    virtual const cStringA& getUserPath() const { return m_user_path; }
    const cStringA& getAppFolder() const { return m_app_folder; }

    // A new stream over a known file; the caller deletes it. Throws the standard string
    // "File \"<lower-cased path>\" has not found." for a name that is not in the table.
    virtual cStream* openRead(const cStringA& path);
    // As openRead, owned.
    std::unique_ptr<cStream> openReadUnique(const cStringA& path) { return std::unique_ptr<cStream>(openRead(path)); }
    // A new stream over a created or truncated disk file (its folders are created first);
    // the name enters the table. Throws "File \"<path>\" cannot be created." on failure.
    virtual cStream* openWrite(const cStringA& path);
    // Writes a whole disk file so that it is never seen partly written: the bytes go to a
    // hidden ".<name>.tmp" beside it (its folders are created first), which then takes the
    // file's place. The name enters the table; the temporary name never does. On failure the
    // old file is left as it was and the text is thrown: "File \"<temporary name>\" cannot
    // be created.", "The file \"<temporary name>\" could not be written completely." or
    // "The file \"<path>\" could not be replaced.".
    void replaceFile(const cStringA& path, const void* data, size_t size);
    // True when the name is in the table or names an existing file on disk ("\\" separators
    // are accepted here). Never throws.
    virtual bool exists(const cStringA& path);
    // The lower-cased text after the last "." of the path (empty when there is none).
    static cStringA getExtension(const cStringA& path);
    // Fills list with the table names under folder (at any depth), then the files on disk
    // under the data folder's sub-folder (recursively when asked), as paths relative to the
    // data folder in the disk's case. A loose data file is therefore listed twice.
    virtual void findFiles(std::vector<cStringA>& list, const cStringA& folder, bool recursive);

    // The real disk path of a name: "$user$/..." and "$common$/..." under the application
    // folders, absolute paths unchanged, anything else under the data folder. Each path
    // component that exists on disk in another case is written in the disk's case.
    cStringA resolvePath(const cStringA& name) const;
    // The table as (name, archive or null); for tests and tools.
    const std::map<cStringA, cPackFile*>& getTable() const { return m_table; }
    // The real disk path of a loose table name (empty for archive entries and unknown names).
    cStringA getRealPath(const cStringA& name) const;
    size_t getArchiveCount() const { return m_archives.size(); }

private:
    void mountFolder(const cStringA& realFolder, const cStringA& prefix);
    void mergeArchives();
    cStringA readAppFolder();
    // The real path a name is written to (its folders created) and its table name.
    cStringA prepareWrite(const cStringA& path, cStringA& name) const;

    std::vector<std::unique_ptr<cPackFile>> m_archives;
    std::map<cStringA, cPackFile*> m_table;
    std::map<cStringA, cStringA> m_real_paths;   // loose names -> real disk paths
    cStringA m_archive_extension;
    cStringA m_root_path;
    cStringA m_user_path;
    cStringA m_common_path;
    cStringA m_app_folder;
};

cFileManager* getFileManager();

// Creates every folder named by the text before each "/" of the path; failures are ignored.
void createFolder(const cStringA& path);
// True when folder names a prefix of name, ignoring case, "." characters and repeated
// separators ("/" or "\\"); true when either is empty.
bool isPathUnder(const cStringA& name, const cStringA& folder);
// Moves position over "/" and "\\" characters.
size_t skipSeparators(const cStringA& text, size_t position);
// The absolute, normalised form of a path ("/" separators, no "." or ".." parts).
cStringA getFullPath(const cStringA& path);
// The folder behind "$common$/" or "$user$/" for an app folder, from the environment
// (XDG_DATA_HOME / XDG_CONFIG_HOME, else HOME), with a trailing "/".
cStringA commonFolderFor(const cStringA& appFolder);
cStringA userFolderFor(const cStringA& appFolder);
