#pragma once
// The user's engine settings (window, graphics mode, debug display, cursor, volumes, effect
// level, statistics) in one INI document, read and changed by section and key, typed.
//
// The shipped defaults are "config/config.ini" in the data folder; the working copy is
// "$common$/config.ini". The first start makes the working copy from the defaults; store()
// (also run by the destructor) writes the document back. Only keys already in the document
// can be changed.

#include <cstdint>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"

class cIniFile;

class cSettingsManager : public cSingleton<cSettingsManager> {
public:
    static constexpr const char* STORED_PATH = "$common$/config.ini";
    static constexpr const char* DEFAULT_PATH = "config/config.ini";

    // Needs the file manager and the resource manager. Logs "  open settings file" on the
    // channel "game"; loads the working copy when it exists, else the defaults (group 0) and
    // stores them at once. A damaged or empty defaults file throws a text naming it; a damaged
    // working copy is set aside as "$common$/config.ini.damaged" with a logged warning and the
    // defaults are used instead.
    cSettingsManager();
    // Logs "  store setting to file" and stores the document.
    ~cSettingsManager() override;

    // Getters: out := the value; numbers and bools are parsed as a wide input stream reads
    // them and out stays unchanged when nothing can be read (a missing key included); bools
    // are "1" or "0". getWString/getString make out empty for a missing key. All return true.
    virtual bool getWString(const cStringW& section, const cStringW& key, cStringW& out);
    virtual bool getString(const cStringW& section, const cStringW& key, cStringA& out);
    virtual bool getFloat(const cStringW& section, const cStringW& key, float& out);
    virtual bool getInt64(const cStringW& section, const cStringW& key, int64_t& out);
    virtual bool getULong(const cStringW& section, const cStringW& key, uint32_t& out);
    virtual bool getLong(const cStringW& section, const cStringW& key, int32_t& out);
    virtual bool getUnsigned(const cStringW& section, const cStringW& key, unsigned& out);
    virtual bool getInt(const cStringW& section, const cStringW& key, int& out);
    virtual bool getBool(const cStringW& section, const cStringW& key, bool& out);

    // Setters: format the value as a default wide output stream does (bool "1"/"0", integers
    // in decimal, floats with six significant digits: 0.5 -> "0.5", 1.0 -> "1") and change
    // every entry of that section and key; a key that is not in the document is not added.
    virtual void setWString(const cStringW& section, const cStringW& key, const cStringW& value);
    virtual void setString(const cStringW& section, const cStringW& key, const cStringA& value);
    virtual void setFloat(const cStringW& section, const cStringW& key, float value);
    virtual void setInt64(const cStringW& section, const cStringW& key, int64_t value);
    virtual void setULong(const cStringW& section, const cStringW& key, uint32_t value);
    virtual void setLong(const cStringW& section, const cStringW& key, int32_t value);
    virtual void setUnsigned(const cStringW& section, const cStringW& key, unsigned value);
    virtual void setInt(const cStringW& section, const cStringW& key, int value);
    virtual void setBool(const cStringW& section, const cStringW& key, bool value);

    // Writes the document to "$common$/config.ini" (nothing when it has no entries).
    void store();
    cIniFile* getDocument() const { return m_document; }

private:
    cIniFile* m_document = nullptr;  // owned by the resource manager (group 0)
    cStringA m_stored_path;
    cStringA m_default_path;
};

cSettingsManager* getSettingsManager();
