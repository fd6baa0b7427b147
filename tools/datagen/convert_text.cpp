// The configuration sources of data/ (UTF-8) become the game's text files in the Data folder:
// UTF-16LE with a byte-order mark and CR LF line ends. Every other file is copied as it is,
// except the descriptions other steps generate from.
// Output names are lower-cased; outputs newer than their sources are left alone.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/core/cString.h"
#include "tools/datagen/DataGen.h"

namespace fs = std::filesystem;

namespace {

std::string lower(const std::string& text) { return cStringA(text).makeLower(); }

// Descriptions that other generator steps read (level lists, sound and font lists) are sources
// only: they are not part of the game's data. Extensions are given lower-cased.
bool isGeneratorInput(const std::string& ext) { return ext == ".lvl" || ext == ".txt"; }

bool isTextSource(const std::string& ext) {
    return ext == ".ini" || ext == ".xml" || ext == ".qpk" || ext == ".crv";
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// UTF-8 to UTF-16 units; a malformed sequence is an error naming the file and the byte.
std::u16string decodeUtf8(const std::string& bytes, const fs::path& source) {
    std::u16string out;
    size_t i = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
    while (i < bytes.size()) {
        size_t start = i;
        auto fail = [&] {
            throw std::runtime_error(source.string() + ": invalid UTF-8 at byte " + std::to_string(start));
        };
        uint32_t c = static_cast<unsigned char>(bytes[i++]);
        int extra = 0;
        uint32_t min = 0;
        if (c < 0x80) {
        } else if ((c & 0xE0) == 0xC0) { c &= 0x1F; extra = 1; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { c &= 0x0F; extra = 2; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { c &= 0x07; extra = 3; min = 0x10000; }
        else fail();
        for (int k = 0; k < extra; ++k) {
            if (i >= bytes.size() || (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) fail();
            c = (c << 6) | (static_cast<unsigned char>(bytes[i++]) & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) fail();
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

// Every line end (LF, CR LF or a lone CR) becomes CR LF.
std::u16string toCrLf(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r') {
            out += u"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else if (c == u'\n') {
            out += u"\r\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// An XML declaration that names UTF-8 names UTF-16 after the conversion.
void fixXmlDeclaration(std::u16string& text) {
    if (text.compare(0, 5, u"<?xml") != 0) return;
    size_t end = text.find(u"?>");
    if (end == std::u16string::npos) return;
    for (size_t i = 0; i + 5 <= end; ++i) {
        std::u16string part = text.substr(i, 5);
        bool utf8 = (part[0] == u'U' || part[0] == u'u') && (part[1] == u'T' || part[1] == u't') &&
                    (part[2] == u'F' || part[2] == u'f') && part[3] == u'-' && part[4] == u'8';
        if (utf8) {
            text.replace(i, 5, u"UTF-16");
            return;
        }
    }
}

void convertData(const DataGenContext& context) {
    if (!fs::is_directory(context.source)) return;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::recursive_directory_iterator(context.source))
        if (entry.is_regular_file()) sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());

    std::map<std::string, fs::path> outputs;  // lower-cased name -> its source
    for (const auto& source : sources) {
        std::string relative = lower(fs::relative(source, context.source).generic_string());
        auto [it, added] = outputs.emplace(relative, source);
        if (!added)
            throw std::runtime_error("two sources give the same output " + relative + ": " + it->second.string() +
                                     " and " + source.string());
        fs::path target = context.out / relative;
        const std::string ext = lower(source.extension().string());
        if (isGeneratorInput(ext)) {
            std::error_code ignored;
            fs::remove(target, ignored);  // left by an older build
            continue;
        }
        if (!isOutOfDate(target, {source})) continue;
        if (isTextSource(ext)) {
            std::u16string text = toCrLf(decodeUtf8(readFile(source), source));
            if (ext == ".xml" || ext == ".qpk") fixXmlDeclaration(text);
            writeUtf16File(target, text);
        } else {
            fs::create_directories(target.parent_path());
            fs::copy_file(source, target, fs::copy_options::overwrite_existing);
        }
    }
}

}  // namespace

void writeUtf16File(const fs::path& target, const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    writeFileAtomically(target, bytes.data(), bytes.size());
}

void writeFileAtomically(const fs::path& target, const void* data, size_t size) {
    fs::create_directories(target.parent_path());
    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error("cannot write " + target.string());
        out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) throw std::runtime_error("cannot write " + target.string());
    }
    fs::rename(temporary, target);
}

RW_DATAGEN_STEP(convert_text, 10, convertData);
