#include "engine/scene/cRenderSet.h"

#include <algorithm>

bool cRenderSet::insert(const cRenderEntry& e) {
    if (m_blocks.empty()) {
        m_blocks.emplace_back(1, e);
    } else {
        size_t b = std::min(blockFor(e), m_blocks.size() - 1);
        Block& block = m_blocks[b];
        auto it = std::lower_bound(block.begin(), block.end(), e);
        if (it != block.end() && *it == e) return false;
        block.insert(it, e);
        if (block.size() > 2 * kBlockSize) {
            Block upper(block.begin() + kBlockSize, block.end());
            block.resize(kBlockSize);
            m_blocks.insert(m_blocks.begin() + std::ptrdiff_t(b) + 1, std::move(upper));
        }
    }
    ++m_size;
    ++m_stamp;
    return true;
}

bool cRenderSet::erase(const cRenderEntry& e) {
    size_t b = blockFor(e);
    if (b == m_blocks.size()) return false;
    Block& block = m_blocks[b];
    auto it = std::lower_bound(block.begin(), block.end(), e);
    if (it == block.end() || !(*it == e)) return false;
    block.erase(it);
    if (block.empty()) {
        m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(b));
    } else if (block.size() < kBlockSize / 4) {
        if (b + 1 < m_blocks.size() && block.size() + m_blocks[b + 1].size() <= kBlockSize)
            joinWithNext(b);
        else if (b > 0 && m_blocks[b - 1].size() + block.size() <= kBlockSize)
            joinWithNext(b - 1);
    }
    --m_size;
    ++m_stamp;
    return true;
}

cRenderSet::Position cRenderSet::upperBound(const cRenderEntry& e) const {
    size_t b = std::partition_point(m_blocks.begin(), m_blocks.end(),
                                    [&](const Block& block) { return !(e < block.back()); }) -
               m_blocks.begin();
    if (b == m_blocks.size()) return Position{b, 0};
    const Block& block = m_blocks[b];
    return Position{b, size_t(std::upper_bound(block.begin(), block.end(), e) - block.begin())};
}

const cRenderEntry* cRenderSet::peek(const Position& p, size_t ahead) const {
    size_t index = p.index + ahead;
    for (size_t b = p.block; b < m_blocks.size() && b <= p.block + 1; ++b) {
        if (index < m_blocks[b].size()) return &m_blocks[b][index];
        index -= m_blocks[b].size();
    }
    return nullptr;
}

size_t cRenderSet::blockFor(const cRenderEntry& e) const {
    return std::partition_point(m_blocks.begin(), m_blocks.end(), [&](const Block& block) { return block.back() < e; }) -
           m_blocks.begin();
}

void cRenderSet::joinWithNext(size_t b) {
    Block& next = m_blocks[b + 1];
    m_blocks[b].insert(m_blocks[b].end(), next.begin(), next.end());
    m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(b) + 1);
}
