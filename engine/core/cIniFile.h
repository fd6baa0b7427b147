#pragma once
// INI documents: UTF-16 little-endian text with a byte-order mark, "[section]" headers and
// key="value" lines, read into an ordered list of (section, key, value) entries.
//
// The reader works character by character (the rules are in cIniFile.cpp, at readEntry):
// everything before the first "[" is ignored, lines end with CR LF, values may be quoted with
// \" escapes, "//" starts a comment, duplicate keys are all kept in file order.
//
// As a resource (type 3) a document is loaded by the resource manager from a file with the
// extension "ini"; the settings manager writes its document back with write().

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cResource.h"
#include "engine/core/cString.h"

class cIniFile : public cResource {
public:
    struct Entry {
        cStringW section;
        cStringW key;
        cStringW value;
    };

    // An empty document named name (used in failure texts), group 0; fill it with parse().
    explicit cIniFile(const cStringA& name = cStringA());
    // Reads the file path through the file manager; its "File \"...\" has not found." and a
    // text for a file that is not a UTF-16 INI document are thrown.
    cIniFile(const cStringA& path, int group);
    // A document read from the bytes of a whole file in memory.
    static std::unique_ptr<cIniFile> fromBytes(const void* data, size_t size, const cStringA& name = cStringA());
    ~cIniFile() override;

    // Resource type 3; getName() is the lower-cased path, getGroup() the load group.
    cIniFile* asIni() override { return this; }
    // Registers the factory of type 3 with the resource manager (repeating it does no harm).
    static void registerResourceFactory();

    // ---- access ----
    // The value of the first entry of that section and key (case-sensitive); empty when none.
    cStringW getValue(const wchar_t* section, const wchar_t* key) const;
    cStringW getValue(const cStringW& section, const cStringW& key) const;
    // Replaces the value of every entry of that section and key; adds nothing. A value that
    // the file format cannot hold (see canStore) is refused with a warning on the log
    // channel "game": the entries keep their values and false is returned.
    bool setValue(const wchar_t* section, const wchar_t* key, const wchar_t* value);
    bool setValue(const cStringW& section, const cStringW& key, const cStringW& value);
    // True when some entry has this section (a header without entries does not count).
    bool hasSection(const wchar_t* name) const;
    bool hasSection(const cStringW& name) const;

    const std::vector<Entry>& getEntries() const { return m_entries; }
    bool isEmpty() const { return m_entries.empty(); }
    // Appends an entry (documents built in code: tools and tests).
    void addEntry(const cStringW& section, const cStringW& key, const cStringW& value);

    // ---- reading and writing ----
    // Replaces the entries by those read from the bytes of a whole file. Throws a text naming
    // the document when the bytes are not empty and do not start with the UTF-16LE mark.
    void parse(const void* data, size_t size);
    // True when value reads back unchanged after write(). Values are written in quotes with
    // \" for a double quote; a value ending in a backslash cannot end a quoted value and is
    // written without quotes, which holds it only when it has no blanks, no "//" and no double
    // quote that does not follow a backslash. CR, LF and TAB can never be held.
    static bool canStore(const cStringW& value);
    // The document in the file format: the mark U+FEFF, then "[section]\r\n" and
    // key="value"\r\n lines, "\r\n[section]\r\n" before each further section; a double quote
    // in a value is written as \". Empty when the document has no entries.
    std::string toBytes() const;
    // Writes toBytes() to path with the file manager's replaceFile (nothing when there are no
    // entries): the file is replaced whole or, on a thrown failure, left as it was.
    void write(const cStringA& path) const;

private:
    std::vector<Entry> m_entries;
};
