#pragma once
// Translates the token stream of a version 1.x vertex shader into a GLSL 3.30 vertex shader.
//
// Token stream: a version token (0xFFFE0100 | minor), instructions, the end token 0x0000FFFF.
// An instruction token holds the opcode in its low 16 bits (comment tokens, opcode 0xFFFE,
// carry their length in bits 16 to 30); its parameter tokens follow, destination first. A
// parameter token has bit 31 set, the register number in bits 0 to 10, the register type in
// bits 28 to 30 (and 11 to 12), the write mask (destinations) in bits 16 to 19, or the swizzle
// in bits 16 to 23 and the modifier in bits 24 to 27 (sources), and bit 13 for c[a0.x + n].
//
// Supported: mov add sub mad mul rcp rsq dp3 dp4 min max slt sge exp log lit dst frc expp logp
// m4x4 m4x3 m3x4 m3x3 m3x2 and nop; registers v0-v15, r0-r11, c0-c95 (also relative), a0.x,
// oPos, oFog, oPts, oD0-oD1, oT0-oT7; negated sources. Anything else is refused.
//
// The GLSL program reads the inputs v<n> from attribute location n, the constants from the
// uniform array "c", and writes gl_Position from oPos converted to OpenGL's conventions by the
// uniform "uPixelOffset" (see the device), and the varyings vColor, vSpecular, vTex0, vTex1.

#include <cstddef>
#include <cstdint>
#include <string>

struct ShaderTranslation {
    std::string glsl;
    std::string error;     // why the stream was refused
    uint32_t inputMask = 0; // bit n set: v<n> is read
};

// True on success; otherwise out->error says why.
bool translateVertexShader(const uint32_t* tokens, size_t count, ShaderTranslation* out);
