#pragma once
// What the renderer reads of a sprite: four corners with colours, offsets, a 3 x 3 transform
// (row-major, applied to row vectors (x, y, 1)), the subdivision grid, the depth word, the
// vertex shader with its constants and the UV rects of both texture layers.
//
// The renderer computes each drawn corner as (vertex + vertex offset) * matrix + view offset,
// subtracts 0.5 from x and y (pixel centres), subdivides the quad into grid x grid cells
// interpolating positions, colours and UVs bilinearly, and takes the depth of every vertex
// from the stencil value (stencilToDepth).

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/core/cRect.h"
#include "engine/core/cVector2.h"

class cVertexShader;

// One corner of the quad: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
struct cQuadVertex {
    float x = 0.0f;
    float y = 0.0f;
    uint32_t color = 0xFFFFFFFFu;  // 0xAARRGGBB
};

// A block of vertex-shader constants applied before the sprite's chunk is drawn.
struct cShaderConstant {
    uint32_t startRegister = 0;
    const float* values = nullptr;  // count float4 registers
    uint32_t count = 0;
};
using cShaderConstantList = std::vector<cShaderConstant>;

// The largest grid the sprite batch draws: a quad of grid n takes (n + 1)^2 vertices and 6 n^2
// indices, and the batch holds at most 16384 quads' worth (65536 vertices with 16-bit numbers,
// 98304 indices). A larger grid is not drawn at all; loaders clamp to this.
constexpr uint32_t kMaxQuadGrid = 128;

struct cRenderQuad {
    cQuadVertex vertices[4];
    cVector2 vertexOffsets[4];
    cVector2 viewOffset;
    float matrix[9] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    uint32_t grid = 1;          // the quad is drawn as grid x grid cells, 1..kMaxQuadGrid
    uint32_t stencilValue = 0;  // the depth word; see stencilToDepth
    cVertexShader* vertexShader = nullptr;
    const cShaderConstantList* shaderConstants = nullptr;
    cRect uvRects[2];           // per layer, in 0..1 of the image

    // The transformed corner k before the half-pixel shift:
    // (vertex + offset) * matrix + view offset.
    cVector2 transformedCorner(int k) const {
        float x = vertices[k].x + vertexOffsets[k].x;
        float y = vertices[k].y + vertexOffsets[k].y;
        return cVector2(x * matrix[0] + y * matrix[3] + matrix[6] + viewOffset.x,
                        x * matrix[1] + y * matrix[4] + matrix[7] + viewOffset.y);
    }
};

// The vertex written into the sprite batch: 32 bytes, position with depth, colour 0xAARRGGBB,
// the UVs of layer 0 and of layer 1.
struct cSpriteVertex {
    float x, y, z;
    uint32_t color;
    float u0, v0;
    float u1, v1;
};
static_assert(sizeof(cSpriteVertex) == 32, "the batch relies on 32-byte sprite vertices");

// The depth of every vertex of a quad: the float whose bits are (stencil OR 0xFFF1A000)
// shifted left by 10 within 32 bits: -16384.0 for 0, -(16384 + 2w) for w = 0..8191.
inline float stencilToDepth(uint32_t stencilValue) {
    uint32_t bits = (stencilValue | 0xFFF1A000u) << 10;
    float depth;
    std::memcpy(&depth, &bits, sizeof depth);
    return depth;
}
