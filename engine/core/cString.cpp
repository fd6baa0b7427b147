#include "engine/core/cString.h"

#include <cctype>
#include <cwctype>
#include <locale>
#include <sstream>

template <class S>
cString<S>& cString<S>::makeLower() {
    for (auto& c : *this) {
        if constexpr (std::is_same_v<Char, char>)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else
            c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return *this;
}

template <class S>
std::wstring cString<S>::widen(std::string_view narrow) {
    std::wstring out;
    out.reserve(narrow.size());
    for (char c : narrow) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

template <class S>
std::string cString<S>::narrow(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (wchar_t c : wide) {
        uint32_t u = static_cast<uint32_t>(c);
        out.push_back(u <= 0xFF ? static_cast<char>(static_cast<unsigned char>(u)) : '?');
    }
    return out;
}

template <class S>
cString<std::wstring> cString<S>::toWide() const {
    if constexpr (std::is_same_v<Char, char>)
        return cString<std::wstring>(widen(*this));
    else
        return cString<std::wstring>(static_cast<const S&>(*this));
}

template <class S>
cString<std::string> cString<S>::toNarrow() const {
    if constexpr (std::is_same_v<Char, wchar_t>)
        return cString<std::string>(narrow(*this));
    else
        return cString<std::string>(static_cast<const S&>(*this));
}

template class cString<std::string>;
template class cString<std::wstring>;

std::string wideToUtf8(std::wstring_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]) & 0xFFFF;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            uint32_t low = static_cast<uint32_t>(text[i + 1]) & 0xFFFF;
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | c >> 6));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | c >> 12));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | c >> 18));
            out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

namespace {

// A wide input stream on the text in the classic locale.
struct Reader {
    std::wistringstream in;
    explicit Reader(const std::wstring& text) : in(text) { in.imbue(std::locale::classic()); }
    // Reads one value; the target changes only when the read succeeds.
    template <class T>
    bool read(T& target) {
        T value{};
        if (!(in >> value)) return false;
        target = value;
        return true;
    }
    void skipOne() { in.get(); }
};

template <class T>
T* readNumber(T* target, const cStringW& text) {
    if (!target) return target;
    Reader r(text);
    r.read(*target);
    return target;
}

template <class T>
cString<std::basic_string<T>> formatInt(int64_t value) {
    std::basic_ostringstream<T> out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

}  // namespace

cStringW intToString(int value) { return formatInt<wchar_t>(value); }
cStringA intToNarrowString(int value) { return formatInt<char>(value); }
cStringA int64ToNarrowString(int64_t value) { return formatInt<char>(value); }

int32_t* stringToInt(int32_t* target, const cStringW& text) { return readNumber(target, text); }
uint32_t* stringToUnsigned(uint32_t* target, const cStringW& text) { return readNumber(target, text); }
int32_t* stringToLong(int32_t* target, const cStringW& text) { return readNumber(target, text); }
uint32_t* stringToULong(uint32_t* target, const cStringW& text) { return readNumber(target, text); }
int64_t* stringToInt64(int64_t* target, const cStringW& text) { return readNumber(target, text); }
float* stringToFloat(float* target, const cStringW& text) { return readNumber(target, text); }
double* stringToDouble(double* target, const cStringW& text) { return readNumber(target, text); }

bool* stringToBool(bool* target, const cStringW& text) {
    if (!target) return target;
    int64_t value = 0;
    Reader r(text);
    if (r.read(value)) {
        if (value == 0) *target = false;
        else if (value == 1) *target = true;
    }
    return target;
}

void assignFirstToken(cStringW* target, const cStringW& value) {
    if (!target) return;
    std::wistringstream in(value);
    std::wstring word;
    if (in >> word) *target = word;
}

void toNarrowWord(cStringA* target, const cStringW& value) {
    if (!target) return;
    std::istringstream in(value.toNarrow());
    std::string word;
    if (in >> word) *target = word;
}

cStringA toNarrowWord(const cStringW& value) {
    cStringA word;
    toNarrowWord(&word, value);
    return word;
}

cStringW replaceAll(const cStringW& source, const cStringW& pattern, const cStringW& replacement) {
    if (pattern.empty()) return source;
    std::wstring result;
    size_t pos = 0;
    for (;;) {
        size_t found = source.find(pattern, pos);
        if (found == std::wstring::npos) break;
        result.append(source, pos, found - pos);
        result.append(replacement);
        pos = found + pattern.size();
    }
    result.append(source, pos, std::wstring::npos);
    return result;
}

bool startsWith(const char* text, const char* prefix, bool ignoreCase) {
    if (!prefix || !*prefix) return true;
    if (!text || !*text) return false;
    for (; *prefix; ++prefix, ++text) {
        if (!*text) return false;
        int a = static_cast<unsigned char>(*text), b = static_cast<unsigned char>(*prefix);
        if (ignoreCase) { a = std::tolower(a); b = std::tolower(b); }
        if (a != b) return false;
    }
    return true;
}

bool startsWith(const std::string& text, const std::string& prefix, bool ignoreCase) {
    if (prefix.empty()) return true;
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        int a = static_cast<unsigned char>(text[i]), b = static_cast<unsigned char>(prefix[i]);
        if (ignoreCase) { a = std::tolower(a); b = std::tolower(b); }
        if (a != b) return false;
    }
    return true;
}

void replaceChar(cStringA* target, char from, char to) {
    if (!target) return;
    for (auto& c : *target)
        if (c == from) c = to;
}

uint32_t parseColor(uint32_t defaultColour, const cStringW& value) {
    uint32_t rgb[3] = {(defaultColour >> 16) & 0xFF, (defaultColour >> 8) & 0xFF, defaultColour & 0xFF};
    Reader r(value);
    for (int i = 0; i < 3; ++i) {
        if (i > 0) r.skipOne();
        if (!r.read(rgb[i])) break;
    }
    return (rgb[0] & 0xFF) << 16 | (rgb[1] & 0xFF) << 8 | (rgb[2] & 0xFF);
}

namespace {
void parseFloats(float* target, int count, const cStringW& value) {
    Reader r(value);
    for (int i = 0; i < count; ++i) {
        if (i > 0) r.skipOne();
        if (!r.read(target[i])) break;
    }
}
}  // namespace

void parseVector2(float target[2], const cStringW& value) { parseFloats(target, 2, value); }
void parseRect(float target[4], const cStringW& value) { parseFloats(target, 4, value); }
