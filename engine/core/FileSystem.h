#pragma once
// Small POSIX file helpers shared by the file manager, the settings writer and the save file:
// folder listing, whole-file reading and the safe replacement of a file. Paths are real disk
// paths, never file-manager names.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The entry names of a folder ("." and ".." left out), sorted by their bytes; empty when the
// folder cannot be listed. An empty folder name lists the current folder.
std::vector<std::string> listFolder(const std::string& folder);

// Writes size bytes, going on after short writes and interrupts; returns the bytes written
// (fewer only on an error, with errno telling which).
size_t writeFully(int fd, const void* data, size_t size);
// Reads until size bytes came, the end of the file or an error; returns the bytes read.
size_t readFully(int fd, void* data, size_t size);

// Reads a whole file, at most limit bytes (a longer file is cut there). Returns 0, or the
// errno of the failure: ENOENT when there is no such file, anything else when a file is there
// but cannot be opened or read (a folder in its place, an I/O error).
int readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit);

// Why replaceFile failed: the step, and the system's text.
struct FileReplaceFailure {
    enum Step { CREATE, WRITE, REPLACE } step = CREATE;
    std::string reason;
};

// Replaces the file target by the bytes so that it is never seen partly written: the bytes
// go to temp (created or truncated, readable and writable by everyone the umask allows),
// are forced to disk, and temp is then moved over target. Creating temp is tried `attempts`
// times, with pause() run after each failed attempt. On failure target is as it was, temp is
// gone, false is returned and *failure says why. The folders must exist.
bool replaceFile(const std::string& target, const std::string& temp, const void* data, size_t size,
                 FileReplaceFailure* failure, int attempts = 1, const std::function<void()>& pause = {});

// Creates the file path, which must not exist yet, with the bytes, forced to disk. Returns 0, or
// the errno of the failure (EEXIST when the name is taken); a file it could not fill is removed.
int writeNewFile(const std::string& path, const void* data, size_t size);

// Moves from to to unless something already stands at to. Returns 0, or the errno of the
// failure (EEXIST when to is taken).
int moveWithoutReplacing(const std::string& from, const std::string& to);
