#pragma once
// The storage of the render set (see cSceneNode.h): shown sprites ordered by depth key, equal
// keys by creation serial, kept in blocks of contiguous entries. The frame walks every entry
// and reads the sprite each one names, so the entries lie densely in drawing order (a walk
// streams through them and can fetch sprites ahead), and a show, hide or depth change moves
// at most one block's entries.
//
// Positions are a block number and an index in it; any insertion or erasure invalidates them
// (and changes stamp()), so a walk that lets others change the set keeps its current entry by
// value and goes on from upperBound(current).

#include <cstddef>
#include <cstdint>
#include <vector>

class cSprite;

struct cRenderEntry {
    float key;        // the depth; never NaN
    uint64_t serial;  // the sprite's creation serial
    cSprite* sprite;
    bool operator<(const cRenderEntry& o) const { return key < o.key || (key == o.key && serial < o.serial); }
    bool operator==(const cRenderEntry& o) const { return serial == o.serial && key == o.key; }
};

class cRenderSet {
public:
    struct Position {
        size_t block = 0;
        size_t index = 0;
    };

    size_t size() const { return m_size; }
    // Changes with every insertion and erasure.
    uint64_t stamp() const { return m_stamp; }
    // False when an equal entry is there already.
    bool insert(const cRenderEntry& e);
    // False when no equal entry is there.
    bool erase(const cRenderEntry& e);

    Position begin() const { return Position{}; }
    // The position of the first entry above e.
    Position upperBound(const cRenderEntry& e) const;
    bool atEnd(const Position& p) const { return p.block >= m_blocks.size(); }
    const cRenderEntry& at(const Position& p) const { return m_blocks[p.block][p.index]; }
    void advance(Position& p) const {
        if (++p.index == m_blocks[p.block].size()) {
            ++p.block;
            p.index = 0;
        }
    }
    // The entry `ahead` places after p within p's block or the next one, or null.
    const cRenderEntry* peek(const Position& p, size_t ahead) const;

private:
    using Block = std::vector<cRenderEntry>;
    // A block splits in two above twice this size; below a quarter it joins a neighbour.
    static constexpr size_t kBlockSize = 256;

    // The first block whose last entry is not below e (the block that holds or would hold e),
    // or the block count.
    size_t blockFor(const cRenderEntry& e) const;
    void joinWithNext(size_t block);

    std::vector<Block> m_blocks;  // none empty
    size_t m_size = 0;
    uint64_t m_stamp = 0;
};
