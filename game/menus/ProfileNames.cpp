#include "game/menus/ProfileNames.h"

#include "game/data/cProfile.h"

namespace profile_names {

cStringW trimSpaces(const cStringW& name) {
    const std::wstring& s = name.str();
    const size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring::npos) return cStringW();
    const size_t last = s.find_last_not_of(L' ');
    return cStringW(s.substr(first, last - first + 1));
}

cStringW clean(const cStringW& typed) {
    char16_t field[cProfile::kNameUnits];
    copyNameField(field, cProfile::kNameUnits, trimSpaces(typed).str());
    return cStringW(nameFieldToWide(field, cProfile::kNameUnits));
}

wchar_t foldCase(wchar_t c) {
    const auto u = static_cast<uint32_t>(c);
    // ASCII and Latin-1 (not the multiplication sign U+00D7).
    if (u >= 'A' && u <= 'Z') return wchar_t(u + 0x20);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return wchar_t(u + 0x20);
    // Latin Extended-A: pairs of upper and lower case, even-odd then odd-even.
    if (u == 0x130) return L'i';  // capital I with dot above
    if (u == 0x178) return wchar_t(0xFF);
    if ((u >= 0x100 && u <= 0x12F) || (u >= 0x132 && u <= 0x137) || (u >= 0x14A && u <= 0x177))
        return wchar_t(u | 1);
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) return wchar_t((u & 1) ? u + 1 : u);
    // Greek (not the empty slot U+03A2) with its accented capitals.
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2) return wchar_t(u + 0x20);
    if (u == 0x386) return wchar_t(0x3AC);
    if (u >= 0x388 && u <= 0x38A) return wchar_t(u + 0x25);
    if (u == 0x38C) return wchar_t(0x3CC);
    if (u == 0x38E || u == 0x38F) return wchar_t(u + 0x3F);
    // Cyrillic.
    if (u >= 0x400 && u <= 0x40F) return wchar_t(u + 0x50);
    if (u >= 0x410 && u <= 0x42F) return wchar_t(u + 0x20);
    return c;
}

bool sameIgnoringCase(const cStringW& a, const cStringW& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

}  // namespace profile_names
