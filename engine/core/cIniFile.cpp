#include "engine/core/LogHooks.h"
#include "engine/core/cIniFile.h"

#include <memory>

#include "engine/core/cFileManager.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cStream.h"

namespace {

constexpr wchar_t kMark = 0xFEFF;
constexpr wchar_t kTab = 9, kLf = 10, kCr = 13, kSpace = 32;

bool isBlank(wchar_t c) { return c == kTab || c == kLf || c == kCr || c == kSpace; }

// Reads 16-bit little-endian code units from a byte buffer. Reading stops when fewer than two
// bytes remain, so a final odd byte is never read.
class UnitReader {
public:
    UnitReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool more() const { return m_size - m_pos >= 2; }
    wchar_t get() {
        wchar_t c = static_cast<wchar_t>(readLE16(m_data + m_pos));
        m_pos += 2;
        return c;
    }
    // The next unit without consuming it; false at the end.
    bool peek(wchar_t* c) const {
        if (!more()) return false;
        *c = static_cast<wchar_t>(readLE16(m_data + m_pos));
        return true;
    }
    void back() { m_pos -= 2; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Skips up to and including the next "[" and reads the section name up to "]" (or the end of
// the text); the rest of the header's line is skipped up to and including the next CR.
// False when the text ends before a "[".
bool readSection(UnitReader& in, cStringW& section) {
    section.clear();
    for (;;) {
        if (!in.more()) return false;
        if (in.get() == L'[') break;
    }
    while (in.more()) {
        wchar_t c = in.get();
        if (c == L']') {
            while (in.more())
                if (in.get() == kCr) break;
            break;
        }
        section.push_back(c);
    }
    return true;
}

enum EntryResult { kNoEntry = 0, kEntry = 1, kNextSection = 2 };

// Skips the rest of a comment line up to and including the next CR.
void skipComment(UnitReader& in) {
    while (in.more())
        if (in.get() == kCr) break;
}

// One key="value" entry. The value is read up to a CR immediately followed by LF, or the end:
// - before the opening quote blanks are dropped, "//" starts a comment, a single "/" and every
//   other character are kept, and a double quote that does not follow a backslash opens;
// - inside the quotes TAB, CR and LF are dropped, a backslash escapes the next character: \"
//   is a double quote, any other escaped character keeps its backslash; an unescaped double
//   quote closes;
// - after the closing quote everything is ignored except a single "/", which is kept.
EntryResult readEntry(UnitReader& in, cStringW& key, cStringW& value) {
    key.clear();
    value.clear();
    wchar_t c = 0;
    for (;;) {
        if (!in.more()) return kNoEntry;
        c = in.get();
        if (!isBlank(c)) break;
    }
    if (c == L'[') {
        in.back();
        return kNextSection;
    }
    for (;;) {
        if (c == L'/') {
            skipComment(in);
            return kNoEntry;
        }
        if (c == L'=' && !key.empty()) break;
        if (!isBlank(c)) key.push_back(c);
        if (!in.more()) return kNoEntry;
        c = in.get();
    }

    wchar_t previous = L'=';
    int quotes = 0;
    bool escaped = false;
    bool comment = false;
    while (in.more()) {
        c = in.get();
        wchar_t next = 0;
        // Outside quotes "//" starts a comment that runs to the end of the line; a lone slash
        // belongs to the value.
        auto slash = [&] {
            if (in.peek(&next) && next == L'/') {
                in.get();
                comment = true;
            } else {
                value.push_back(c);
            }
        };
        if (c == kCr && in.peek(&next) && next == kLf) {
            in.get();
            break;
        }
        wchar_t current = c;
        if (comment) {
            previous = current;
            continue;
        }
        if (quotes == 0) {
            if (isBlank(c)) {
            } else if (c == L'/') {
                slash();
            } else if (c == L'"' && previous != L'\\') {
                quotes = 1;
            } else {
                value.push_back(c);
            }
        } else if (quotes == 1) {
            bool handled = false;
            if (escaped) {
                escaped = false;
                if (c == L'"') {
                    value.push_back(c);
                    handled = true;
                } else {
                    value.push_back(L'\\');
                }
            }
            if (!handled) {
                if (c == kTab || c == kLf || c == kCr) {
                } else if (c == L'\\') {
                    escaped = true;
                } else if (c == L'"') {
                    quotes = 2;
                } else {
                    value.push_back(c);
                }
            }
        } else if (c == L'/') {
            slash();
        }
        previous = current;
    }
    return kEntry;
}

void appendUnits(std::string& out, const std::wstring& text) {
    for (wchar_t c : text) {
        uint32_t u = static_cast<uint32_t>(c) & 0xFFFF;
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    }
}

// The value as the reader reads it back from key=<encoded>\r\n.
std::wstring readBack(const std::wstring& encoded) {
    std::string bytes;
    appendUnits(bytes, L"[s]\r\nk=" + encoded + L"\r\n");
    UnitReader in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    cStringW section, key, value;
    readSection(in, section);
    if (readEntry(in, key, value) != kEntry) return L"\x1";  // never equals a stored value
    return value;
}

std::wstring quotedValue(const std::wstring& value) {
    std::wstring out = L"\"";
    for (wchar_t c : value) {
        if (c == L'"') out.push_back(L'\\');
        out.push_back(c);
    }
    out.push_back(L'"');
    return out;
}

// The text that reads back as value: quoted with \" escapes, or, when that cannot hold it
// (a value that ends in a backslash), unquoted. False when neither form reads back.
bool encodeValue(const std::wstring& value, std::wstring* out) {
    std::wstring q = quotedValue(value);
    if (readBack(q) == value) {
        *out = q;
        return true;
    }
    if (!value.empty() && readBack(value) == value) {
        *out = value;
        return true;
    }
    return false;
}

cStringA describe(const cStringW& section, const cStringW& key) {
    return cStringA("[") + section.toNarrow() + "] " + key.toNarrow();
}

}  // namespace

cIniFile::cIniFile(const cStringA& name) : cResource(RESOURCE_INI, name, 0) {}

cIniFile::cIniFile(const cStringA& path, int group) : cResource(RESOURCE_INI, path, group) {
    std::unique_ptr<cStream> stream(getFileManager()->openRead(path));
    std::vector<uint8_t> bytes = readWholeStream(*stream);
    parse(bytes.data(), bytes.size());
}

std::unique_ptr<cIniFile> cIniFile::fromBytes(const void* data, size_t size, const cStringA& name) {
    auto file = std::make_unique<cIniFile>(name);
    file->parse(data, size);
    return file;
}

cIniFile::~cIniFile() = default;

void cIniFile::registerResourceFactory() {
    cResourceManager::registerFactory(RESOURCE_INI, [](const cStringA& name, int group) -> cResource* {
        return new cIniFile(name, group);
    });
}

void cIniFile::parse(const void* data, size_t size) {
    m_entries.clear();
    if (size == 0) return;
    UnitReader in(static_cast<const uint8_t*>(data), size);
    if (!in.more() || in.get() != kMark)
        throw cStringA("The INI file \"" + getName() +
                       "\" is damaged: it does not start with the UTF-16 little-endian byte-order mark.");
    cStringW section, key, value;
    while (in.more()) {
        if (!readSection(in, section)) break;
        while (in.more()) {
            EntryResult r = readEntry(in, key, value);
            if (r == kEntry) m_entries.push_back({section, key, value});
            else if (r == kNextSection) break;
        }
    }
}

cStringW cIniFile::getValue(const wchar_t* section, const wchar_t* key) const {
    return getValue(cStringW(section), cStringW(key));
}

cStringW cIniFile::getValue(const cStringW& section, const cStringW& key) const {
    for (const auto& e : m_entries)
        if (e.section.equals(section) && e.key.equals(key)) return e.value;
    return cStringW();
}

bool cIniFile::setValue(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    return setValue(cStringW(section), cStringW(key), cStringW(value));
}

bool cIniFile::setValue(const cStringW& section, const cStringW& key, const cStringW& value) {
    if (!canStore(value)) {
        logGameQuietly("  warning: the value of " + describe(section, key) + " in \"" + getName() +
               "\" cannot be stored in an INI file and was not changed\n");
        return false;
    }
    for (auto& e : m_entries)
        if (e.section.equals(section) && e.key.equals(key)) e.value = value;
    return true;
}

bool cIniFile::hasSection(const wchar_t* name) const { return hasSection(cStringW(name)); }

bool cIniFile::hasSection(const cStringW& name) const {
    for (const auto& e : m_entries)
        if (e.section.equals(name)) return true;
    return false;
}

void cIniFile::addEntry(const cStringW& section, const cStringW& key, const cStringW& value) {
    m_entries.push_back({section, key, value});
}

bool cIniFile::canStore(const cStringW& value) {
    std::wstring encoded;
    return encodeValue(value, &encoded);
}

std::string cIniFile::toBytes() const {
    std::string out;
    if (m_entries.empty()) return out;
    out.push_back(static_cast<char>(0xFF));
    out.push_back(static_cast<char>(0xFE));
    std::wstring text = L"[" + m_entries.front().section + L"]\r\n";
    const cStringW* last = &m_entries.front().section;
    for (const auto& e : m_entries) {
        if (!e.section.equals(*last)) text += L"\r\n[" + e.section + L"]\r\n";
        last = &e.section;
        std::wstring encoded;
        if (!encodeValue(e.value, &encoded)) {
            // Only entries added in code can get here; never let one break the file's lines.
            logGameQuietly("  warning: the value of " + describe(e.section, e.key) + " in \"" + getName() +
                   "\" cannot be stored in an INI file exactly\n");
            std::wstring clean;
            for (wchar_t c : e.value)
                if (c != kCr && c != kLf) clean.push_back(c);
            encoded = quotedValue(clean);
        }
        text += e.key + L"=" + encoded + L"\r\n";
    }
    appendUnits(out, text);
    return out;
}

void cIniFile::write(const cStringA& path) const {
    std::string bytes = toBytes();
    if (bytes.empty()) return;
    getFileManager()->replaceFile(path, bytes.data(), bytes.size());
}
