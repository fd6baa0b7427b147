#include "engine/core/LogHooks.h"
#include "engine/core/cSettingsManager.h"

#include <locale>
#include <memory>
#include <sstream>

#include "engine/core/DamagedCopy.h"
#include "engine/core/ErrorCallStack.h"
#include "engine/core/cCurveSet.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cResourceManager.h"

namespace {

template <class T>
cStringW formatValue(T value) {
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return cStringW(out.str());
}

}  // namespace

cSettingsManager::cSettingsManager() : m_stored_path(STORED_PATH), m_default_path(DEFAULT_PATH) {
    logGameQuietly("  open settings file");
    cResourceManager* resources = getResourceManager();
    if (getFileManager()->exists(m_stored_path)) {
        try {
            resources->load(m_stored_path, 0);
            m_document = resources->getIni(m_stored_path);
            if (m_document->isEmpty()) throw cStringA("it holds no settings");
        } catch (...) {
            std::string text;
            failureText(std::current_exception(), &text);
            logGameQuietly("  warning: the settings file \"" + m_stored_path + "\" is damaged (" + text +
                        "); the shipped settings are used");
            m_document = nullptr;
            resources->unload(m_stored_path);
            keepDamagedCopy(m_stored_path, "settings");
        }
    }
    if (!m_document) {
        resources->load(m_default_path, 0);
        m_document = resources->getIni(m_default_path);
        if (m_document->isEmpty())
            throw cStringA("The settings file \"" + m_default_path +
                           "\" holds no settings: it must be UTF-16 text with a byte-order mark, CR LF line "
                           "ends and key=\"value\" lines under [section] headers.");
        store();
    }
}

cSettingsManager::~cSettingsManager() {
    logGameQuietly("  store setting to file");
    try {
        store();
    } catch (...) {
        std::string text;
        failureText(std::current_exception(), &text);
        logGameQuietly("  cannot store the settings: " + text);
    }
}

void cSettingsManager::store() {
    if (!m_document || m_document->isEmpty()) return;
    m_document->write(m_stored_path);
}

bool cSettingsManager::getWString(const cStringW& section, const cStringW& key, cStringW& out) {
    out = m_document->getValue(section, key);
    return true;
}

bool cSettingsManager::getString(const cStringW& section, const cStringW& key, cStringA& out) {
    out = m_document->getValue(section, key).toNarrow();
    return true;
}

bool cSettingsManager::getFloat(const cStringW& section, const cStringW& key, float& out) {
    stringToFloat(&out, m_document->getValue(section, key));
    return true;
}

bool cSettingsManager::getInt64(const cStringW& section, const cStringW& key, int64_t& out) {
    stringToInt64(&out, m_document->getValue(section, key));
    return true;
}

bool cSettingsManager::getULong(const cStringW& section, const cStringW& key, uint32_t& out) {
    stringToULong(&out, m_document->getValue(section, key));
    return true;
}

bool cSettingsManager::getLong(const cStringW& section, const cStringW& key, int32_t& out) {
    stringToLong(&out, m_document->getValue(section, key));
    return true;
}

bool cSettingsManager::getUnsigned(const cStringW& section, const cStringW& key, unsigned& out) {
    uint32_t v = out;
    stringToUnsigned(&v, m_document->getValue(section, key));
    out = v;
    return true;
}

bool cSettingsManager::getInt(const cStringW& section, const cStringW& key, int& out) {
    int32_t v = out;
    stringToInt(&v, m_document->getValue(section, key));
    out = v;
    return true;
}

bool cSettingsManager::getBool(const cStringW& section, const cStringW& key, bool& out) {
    stringToBool(&out, m_document->getValue(section, key));
    return true;
}

void cSettingsManager::setWString(const cStringW& section, const cStringW& key, const cStringW& value) {
    m_document->setValue(section, key, value);
}

void cSettingsManager::setString(const cStringW& section, const cStringW& key, const cStringA& value) {
    m_document->setValue(section, key, value.toWide());
}

void cSettingsManager::setFloat(const cStringW& section, const cStringW& key, float value) {
    m_document->setValue(section, key, formatValue(value));
}

void cSettingsManager::setInt64(const cStringW& section, const cStringW& key, int64_t value) {
    m_document->setValue(section, key, formatValue(static_cast<long long>(value)));
}

void cSettingsManager::setULong(const cStringW& section, const cStringW& key, uint32_t value) {
    m_document->setValue(section, key, formatValue(value));
}

void cSettingsManager::setLong(const cStringW& section, const cStringW& key, int32_t value) {
    m_document->setValue(section, key, formatValue(value));
}

void cSettingsManager::setUnsigned(const cStringW& section, const cStringW& key, unsigned value) {
    m_document->setValue(section, key, formatValue(value));
}

void cSettingsManager::setInt(const cStringW& section, const cStringW& key, int value) {
    m_document->setValue(section, key, formatValue(value));
}

void cSettingsManager::setBool(const cStringW& section, const cStringW& key, bool value) {
    m_document->setValue(section, key, value ? cStringW(L"1") : cStringW(L"0"));
}

cSettingsManager* getSettingsManager() { return cSettingsManager::instance(); }
