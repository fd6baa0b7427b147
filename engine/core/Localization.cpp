#include "engine/core/Localization.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"

namespace {

constexpr uint32_t kDefaultCodePage = 1250;
const char* const kLanguageFile = "Config/language.ini";
const char* const kDefaultLayout = "00000409";

struct LocalizationState {
    int users = 0;
    uint32_t codePage = kDefaultCodePage;
    cStringA layout;
};

LocalizationState& state() {
    static LocalizationState s;
    return s;
}

// The iconv name of a code page number.
std::string iconvName(uint32_t codePage) {
    switch (codePage) {
        case 65001: return "UTF-8";
        case 20127: return "ASCII";
        case 28591: return "ISO-8859-1";
        case 28592: return "ISO-8859-2";
        case 28595: return "ISO-8859-5";
        case 20866: return "KOI8-R";
        case 21866: return "KOI8-U";
        default: return "CP" + std::to_string(codePage);
    }
}

// One converter per code page, kept while the code page stays the same.
class Converter {
public:
    ~Converter() { close(); }
    bool convert(uint8_t byte, uint32_t codePage, wchar_t* out) {
        if (!m_valid || codePage != m_codePage) {
            close();
            m_codePage = codePage;
            m_handle = iconv_open("UTF-16LE", iconvName(codePage).c_str());
            m_valid = m_handle != reinterpret_cast<iconv_t>(-1);
        }
        if (!m_valid) return false;
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
        char in[1] = {static_cast<char>(byte)};
        char result[8] = {};
        char* inPtr = in;
        size_t inLeft = 1;
        char* outPtr = result;
        size_t outLeft = sizeof(result);
        size_t r = iconv(m_handle, &inPtr, &inLeft, &outPtr, &outLeft);
        if (r == static_cast<size_t>(-1) || inLeft != 0 || sizeof(result) - outLeft < 2) return false;
        *out = static_cast<wchar_t>(static_cast<uint8_t>(result[0]) | (static_cast<uint8_t>(result[1]) << 8));
        return true;
    }

private:
    void close() {
        if (m_valid) iconv_close(m_handle);
        m_valid = false;
    }
    iconv_t m_handle{};
    uint32_t m_codePage = 0;
    bool m_valid = false;
};

Converter& converter() {
    static Converter c;
    return c;
}

}  // namespace

void acquireKeyboardLayout() {
    if (state().users == 0) loadLanguageSettings();
    state().users += 1;
}

void releaseKeyboardLayout() {
    if (state().users <= 0) return;
    state().users -= 1;
    if (state().users == 0) {
        state().layout.clear();
        state().codePage = kDefaultCodePage;
    }
}

void activateKeyboardLayout() {}

void loadLanguageSettings() {
    cResourceManager* resources = getResourceManager();
    resources->load(kLanguageFile, 0);
    cIniFile* document = resources->getIni(kLanguageFile);
    cStringA layout(kDefaultLayout);
    stringToUnsigned(&state().codePage, document->getValue(L"Localization", L"CodePage"));
    toNarrowWord(&layout, document->getValue(L"Localization", L"Language"));
    state().layout = layout;
    resources->unload(kLanguageFile);
}

wchar_t charToWide(uint8_t byte) { return charToWide(byte, state().codePage); }

wchar_t charToWide(uint8_t byte, uint32_t codePage) {
    if (byte == 0) return 0;
    wchar_t out = 0;
    if (!converter().convert(byte, codePage, &out)) return 0;
    return out;
}

uint32_t getCodePage() { return state().codePage; }
const cStringA& getKeyboardLayoutId() { return state().layout; }
int getKeyboardLayoutUsers() { return state().users; }
