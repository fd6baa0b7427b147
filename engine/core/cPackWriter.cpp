#include "engine/core/cPackWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/core/cPackFile.h"

namespace {
void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}
}  // namespace

void cPackWriter::add(const cStringA& name, const std::vector<uint8_t>& data, uint32_t dataKey) {
    if (name.size() > 255) throw std::string("The archive entry name \"" + name + "\" is longer than 255 bytes.");
    m_items.push_back(Item{name, data, dataKey});
}

void cPackWriter::add(const cStringA& name, const std::string& data, uint32_t dataKey) {
    add(name, std::vector<uint8_t>(data.begin(), data.end()), dataKey);
}

size_t cPackWriter::recordsOffset() const {
    size_t at = 16;
    for (const Item& item : m_items) at += 1 + item.name.size();
    return at;
}

size_t cPackWriter::dataOffset() const { return recordsOffset() + 16 * m_items.size(); }

std::vector<uint8_t> cPackWriter::build() const {
    std::vector<uint8_t> out;
    put32(out, PACK_MAGIC);
    put32(out, static_cast<uint32_t>(m_items.size()));
    put32(out, m_name_key);
    put32(out, 0);
    for (const Item& item : m_items) {
        out.push_back(static_cast<uint8_t>(item.name.size()));
        size_t at = out.size();
        out.insert(out.end(), item.name.begin(), item.name.end());
        cPackFile::scrambleName(out.data() + at, item.name.size(), m_name_key);
    }
    uint64_t offset = dataOffset();
    for (const Item& item : m_items) {
        if (offset + item.data.size() > 0xFFFFFFFFull) throw std::string("The archive is larger than 4 GB.");
        put32(out, 0);
        put32(out, static_cast<uint32_t>(offset));
        put32(out, static_cast<uint32_t>(item.data.size()));
        put32(out, item.dataKey);
        offset += item.data.size();
    }
    for (const Item& item : m_items) {
        size_t at = out.size();
        out.insert(out.end(), item.data.begin(), item.data.end());
        cPackFile::scrambleData(out.data() + at, item.data.size(), 0, item.dataKey);
    }
    return out;
}

void cPackWriter::writeFile(const cStringA& path) const {
    std::vector<uint8_t> bytes = build();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::string("File \"" + path + "\" cannot be created.");
    size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), f);
    bool ok = std::fclose(f) == 0 && written == bytes.size();
    if (!ok) throw std::string("File \"" + path + "\" cannot be created.");
}

size_t cPackWriter::addFolder(const cStringA& folder, const cStringA& prefix) {
    namespace fs = std::filesystem;
    std::vector<std::pair<std::string, fs::path>> files;
    std::error_code error;
    fs::path base(folder.str());
    std::vector<fs::path> stack{base};
    while (!stack.empty()) {
        fs::path current = stack.back();
        stack.pop_back();
        std::vector<fs::directory_entry> entries;
        for (fs::directory_iterator it(current, error), end; !error && it != end; it.increment(error)) entries.push_back(*it);
        for (const fs::directory_entry& entry : entries) {
            std::string name = entry.path().filename().string();
            if (name.empty() || name[0] == '.') continue;
            if (entry.is_directory(error) && !entry.is_symlink(error)) {
                stack.push_back(entry.path());
            } else if (entry.is_regular_file(error)) {
                cStringA relative(entry.path().lexically_relative(base).generic_string());
                relative = cStringA(prefix + relative);
                relative.makeLower();
                files.emplace_back(relative, entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& [name, path] : files) {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::string("Can't open file \"" + path.string() + "\".");
        std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        add(cStringA(name), data);
    }
    return files.size();
}
