// Reads the input as an INI document, looks values up, changes them and writes the document
// back: any input must give a text failure or a document that reads back as it was written.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/core/cIniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<cIniFile> doc;
    try {
        doc = cIniFile::fromBytes(data, size, cStringA("fuzz.ini"));
    } catch (const cStringA&) {
        return 0;
    }
    for (const auto& e : doc->getEntries()) {
        if (!doc->hasSection(e.section)) std::abort();
        doc->getValue(e.section, e.key);
    }
    if (!doc->isEmpty()) {
        const auto& first = doc->getEntries().front();
        cStringW changed = first.value + L"\"x\\";
        doc->setValue(first.section, first.key, changed);
    }
    // Every stored value survives the writer.
    std::string bytes = doc->toBytes();
    auto back = cIniFile::fromBytes(bytes.data(), bytes.size(), cStringA("written.ini"));
    const auto& a = doc->getEntries();
    const auto& b = back->getEntries();
    bool writable = true;
    for (const auto& e : a)
        if (e.section.find(L']') != std::wstring::npos || !cIniFile::canStore(e.value)) writable = false;
    if (writable && !a.empty()) {
        if (a.size() != b.size()) std::abort();
        for (size_t i = 0; i < a.size(); ++i)
            if (!a[i].value.equals(b[i].value) || !a[i].key.equals(b[i].key)) std::abort();
    }
    return 0;
}
