#pragma once
// The program's string class over the standard narrow and wide strings, the conversions
// between narrow and wide text and between numbers and text, and the value parsers with
// which objects read their configuration values.
//
// Wide text holds one UTF-16 unit per wchar_t. Narrow text is 8-bit; a narrow character
// becomes the wide character of the same value and back.

#include <cstdint>
#include <string>
#include <string_view>

template <class S>
class cString : public S {
public:
    using Char = typename S::value_type;

    cString() = default;
    cString(const Char* text) : S(text ? S(text) : S()) {}
    cString(const Char* text, size_t length) : S(text, length) {}
    cString(const S& text) : S(text) {}
    cString(S&& text) : S(std::move(text)) {}
    cString(std::basic_string_view<Char> text) : S(text) {}
    cString(size_t count, Char c) : S(count, c) {}
    cString(const cString&) = default;
    cString(cString&&) noexcept = default;
    cString& operator=(const cString&) = default;
    cString& operator=(cString&&) noexcept = default;
    virtual ~cString() = default;

    // A wide string made from narrow text (each byte becomes the character of the same value).
    template <class T = S, class = std::enable_if_t<std::is_same_v<typename T::value_type, wchar_t>>>
    cString(const char* narrow) : S(widen(narrow ? std::string_view(narrow) : std::string_view())) {}

    cString& assign(const cString& other) { S::assign(other); return *this; }
    bool equals(const cString& other) const { return static_cast<const S&>(*this) == other; }
    bool isEmpty() const { return S::empty(); }
    const S& str() const { return *this; }

    // Lower-cases the string in place, character by character, and returns it.
    cString& makeLower();
    // A lower-cased copy (as makeLower).
    cString toLower() const { return cString(*this).makeLower(); }

    // Narrow only: the same characters as a wide string.
    cString<std::wstring> toWide() const;
    // Wide only: the same characters as a narrow string; characters above 255 become '?'.
    cString<std::string> toNarrow() const;

    static std::wstring widen(std::string_view narrow);
    static std::string narrow(std::wstring_view wide);
};

using cStringA = cString<std::string>;   // paths, file keys, log and failure texts
using cStringW = cString<std::wstring>;  // configuration values and display texts

extern template class cString<std::string>;
extern template class cString<std::wstring>;

// Number to text, default formatting.
cStringW intToString(int value);
cStringA intToNarrowString(int value);
cStringA int64ToNarrowString(int64_t value);

// Wide text (one UTF-16 unit per wchar_t, surrogate pairs joined) as UTF-8.
std::string wideToUtf8(std::wstring_view text);

// Text to number. Each reads the leading number of the text (leading blanks skipped) in the
// classic locale; when nothing can be read the target keeps its previous value. Returns target.
int32_t* stringToInt(int32_t* target, const cStringW& text);
uint32_t* stringToUnsigned(uint32_t* target, const cStringW& text);
int32_t* stringToLong(int32_t* target, const cStringW& text);
uint32_t* stringToULong(uint32_t* target, const cStringW& text);
int64_t* stringToInt64(int64_t* target, const cStringW& text);
float* stringToFloat(float* target, const cStringW& text);
double* stringToDouble(double* target, const cStringW& text);
// "0" gives false and "1" true; anything else leaves the target unchanged.
bool* stringToBool(bool* target, const cStringW& text);

// The first blank-delimited word of value replaces target; no word leaves target unchanged.
void assignFirstToken(cStringW* target, const cStringW& value);
// As assignFirstToken, into a narrow target (file names, ids).
void toNarrowWord(cStringA* target, const cStringW& value);
// The first blank-delimited word of value as a narrow string (empty when there is none).
cStringA toNarrowWord(const cStringW& value);
// Every occurrence of pattern (never empty) replaced; replacements are not searched again.
cStringW replaceAll(const cStringW& source, const cStringW& pattern, const cStringW& replacement);
bool startsWith(const char* text, const char* prefix, bool ignoreCase);
bool startsWith(const std::string& text, const std::string& prefix, bool ignoreCase);
void replaceChar(cStringA* target, char from, char to);

// Configuration values: "r g b" (one separator character between the numbers) over a default
// colour, "x y" and "x1 y1 x2 y2". Unreadable components keep their previous values.
uint32_t parseColor(uint32_t defaultColour, const cStringW& value);
void parseVector2(float target[2], const cStringW& value);
void parseRect(float target[4], const cStringW& value);
