#include "platform/device/ShaderTranslator.h"

#include <sstream>
#include <vector>

namespace {

enum Op : uint32_t {
    OP_NOP = 0, OP_MOV = 1, OP_ADD = 2, OP_SUB = 3, OP_MAD = 4, OP_MUL = 5, OP_RCP = 6, OP_RSQ = 7,
    OP_DP3 = 8, OP_DP4 = 9, OP_MIN = 10, OP_MAX = 11, OP_SLT = 12, OP_SGE = 13, OP_EXP = 14, OP_LOG = 15,
    OP_LIT = 16, OP_DST = 17, OP_FRC = 19, OP_M4X4 = 20, OP_M4X3 = 21, OP_M3X4 = 22, OP_M3X3 = 23,
    OP_M3X2 = 24, OP_DCL = 31, OP_EXPP = 78, OP_LOGP = 79, OP_COMMENT = 0xFFFE, OP_END = 0xFFFF,
};

enum RegType : uint32_t { REG_TEMP = 0, REG_INPUT = 1, REG_CONST = 2, REG_ADDR = 3, REG_RASTOUT = 4, REG_ATTROUT = 5, REG_TEXOUT = 6 };

constexpr uint32_t kTemps = 12, kInputs = 16, kConsts = 96, kTexOut = 8;

// Source operands of each opcode (the destination comes first); -1: not supported.
int sourceCount(uint32_t op) {
    switch (op) {
    case OP_NOP: return 0;
    case OP_MOV: case OP_RCP: case OP_RSQ: case OP_EXP: case OP_LOG: case OP_LIT: case OP_FRC:
    case OP_EXPP: case OP_LOGP: return 1;
    case OP_ADD: case OP_SUB: case OP_MUL: case OP_DP3: case OP_DP4: case OP_MIN: case OP_MAX:
    case OP_SLT: case OP_SGE: case OP_DST: case OP_M4X4: case OP_M4X3: case OP_M3X4: case OP_M3X3:
    case OP_M3X2: return 2;
    case OP_MAD: return 3;
    default: return -1;
    }
}

const char* opName(uint32_t op) {
    switch (op) {
    case OP_M4X4: return "m4x4";
    case OP_M4X3: return "m4x3";
    case OP_M3X4: return "m3x4";
    case OP_M3X3: return "m3x3";
    case OP_M3X2: return "m3x2";
    default: return "";
    }
}

uint32_t regType(uint32_t token) { return ((token >> 28) & 7) | ((token >> 8) & 0x18); }
uint32_t regNumber(uint32_t token) { return token & 0x7FF; }

struct Translator {
    std::ostringstream body;
    std::string error;
    uint32_t inputMask = 0;

    bool fail(const std::string& why) {
        if (error.empty()) error = why;
        return false;
    }

    // The register a source names, with a row offset for the matrix opcodes.
    bool sourceRegister(uint32_t token, uint32_t rowOffset, std::string* out) {
        if (!(token & 0x80000000u)) return fail("a parameter token lacks its marker bit");
        uint32_t type = regType(token), n = regNumber(token) + rowOffset;
        bool relative = (token >> 13) & 1;
        if (relative && type != REG_CONST) return fail("relative addressing of a register that is not a constant");
        switch (type) {
        case REG_TEMP:
            if (n >= kTemps) return fail("temporary register r" + std::to_string(n) + " out of range");
            *out = "r" + std::to_string(n);
            return true;
        case REG_INPUT:
            if (n >= kInputs) return fail("input register v" + std::to_string(n) + " out of range");
            inputMask |= 1u << n;
            *out = "v" + std::to_string(n);
            return true;
        case REG_CONST:
            if (relative) {
                if (n >= kConsts) return fail("constant register out of range");
                *out = "c[clamp(a0.x + " + std::to_string(n) + ", 0, " + std::to_string(kConsts - 1) + ")]";
            } else {
                if (n >= kConsts) return fail("constant register c" + std::to_string(n) + " out of range");
                *out = "c[" + std::to_string(n) + "]";
            }
            return true;
        case REG_ADDR:
            if (n != 0) return fail("address register out of range");
            *out = "vec4(a0)";
            return true;
        default:
            return fail("register type " + std::to_string(type) + " cannot be read");
        }
    }

    bool source(uint32_t token, uint32_t rowOffset, std::string* out) {
        std::string reg;
        if (!sourceRegister(token, rowOffset, &reg)) return false;
        uint32_t swizzle = (token >> 16) & 0xFF;
        uint32_t modifier = (token >> 24) & 0xF;
        if (modifier > 1) return fail("source modifier " + std::to_string(modifier) + " is not supported");
        static const char comp[] = "xyzw";
        std::string s = reg;
        if (swizzle != 0xE4) {
            s += ".";
            for (int i = 0; i < 4; ++i) s += comp[(swizzle >> (2 * i)) & 3];
        }
        if (modifier == 1) s = "(-" + s + ")";
        *out = s;
        return true;
    }

    // The destination's variable and write mask.
    bool destination(uint32_t token, std::string* reg, uint32_t* mask, bool* isAddress) {
        if (!(token & 0x80000000u)) return fail("a parameter token lacks its marker bit");
        uint32_t type = regType(token), n = regNumber(token);
        *mask = (token >> 16) & 0xF;
        *isAddress = false;
        if ((token >> 13) & 1) return fail("relative addressing of a destination");
        uint32_t resultModifier = (token >> 20) & 0xF;
        if (resultModifier != 0) return fail("result modifiers are not supported");
        switch (type) {
        case REG_TEMP:
            if (n >= kTemps) return fail("temporary register r" + std::to_string(n) + " out of range");
            *reg = "r" + std::to_string(n);
            return true;
        case REG_ADDR:
            if (n != 0) return fail("address register out of range");
            *reg = "a0";
            *isAddress = true;
            return true;
        case REG_RASTOUT:
            if (n == 0) *reg = "oPos";
            else if (n == 1) *reg = "oFog";
            else if (n == 2) *reg = "oPts";
            else return fail("output register out of range");
            return true;
        case REG_ATTROUT:
            if (n > 1) return fail("colour output out of range");
            *reg = "oD" + std::to_string(n);
            return true;
        case REG_TEXOUT:
            if (n >= kTexOut) return fail("texture output out of range");
            *reg = "oT" + std::to_string(n);
            return true;
        default:
            return fail("register type " + std::to_string(type) + " cannot be written");
        }
    }

    void assign(const std::string& reg, uint32_t mask, bool isAddress, const std::string& value) {
        static const char comp[] = "xyzw";
        body << "    t = " << value << ";\n";
        for (int i = 0; i < 4; ++i) {
            if (!(mask & (1u << i))) continue;
            if (isAddress) body << "    a0." << comp[i] << " = int(floor(t." << comp[i] << "));\n";
            else body << "    " << reg << "." << comp[i] << " = t." << comp[i] << ";\n";
        }
    }

    bool instruction(uint32_t op, const uint32_t* params, uint32_t paramCount) {
        if (op == OP_NOP) return true;
        if (op == OP_DCL) return true;   // declarations come from the vertex layout
        std::string reg;
        uint32_t mask = 0;
        bool isAddress = false;
        if (!destination(params[0], &reg, &mask, &isAddress)) return false;
        std::string s[3];
        int sources = sourceCount(op);
        bool matrix = op >= OP_M4X4 && op <= OP_M3X2;
        for (int i = 0; i < sources; ++i)
            if (!(matrix && i == 1) && !source(params[1 + i], 0, &s[i])) return false;
        if (isAddress && op != OP_MOV) return fail("only mov writes the address register");
        std::string v;
        switch (op) {
        case OP_MOV: v = "vec4(" + s[0] + ")"; break;
        case OP_ADD: v = s[0] + " + " + s[1]; break;
        case OP_SUB: v = s[0] + " - " + s[1]; break;
        case OP_MAD: v = s[0] + " * " + s[1] + " + " + s[2]; break;
        case OP_MUL: v = s[0] + " * " + s[1]; break;
        case OP_RCP: v = "vec4(rcp1(" + s[0] + ".w))"; break;
        case OP_RSQ: v = "vec4(rsq1(" + s[0] + ".w))"; break;
        case OP_DP3: v = "vec4(dot(" + s[0] + ".xyz, " + s[1] + ".xyz))"; break;
        case OP_DP4: v = "vec4(dot(" + s[0] + ", " + s[1] + "))"; break;
        case OP_MIN: v = "min(" + s[0] + ", " + s[1] + ")"; break;
        case OP_MAX: v = "max(" + s[0] + ", " + s[1] + ")"; break;
        case OP_SLT: v = "vec4(lessThan(" + s[0] + ", " + s[1] + "))"; break;
        case OP_SGE: v = "vec4(greaterThanEqual(" + s[0] + ", " + s[1] + "))"; break;
        case OP_EXP: v = "vec4(exp2(" + s[0] + ".w))"; break;
        case OP_LOG: v = "vec4(log2(abs(" + s[0] + ".w)))"; break;
        case OP_EXPP: v = "expp1(" + s[0] + ".w)"; break;
        case OP_LOGP: v = "logp1(" + s[0] + ".w)"; break;
        case OP_LIT: v = "lit1(" + s[0] + ")"; break;
        case OP_DST: v = "vec4(1.0, " + s[0] + ".y * " + s[1] + ".y, " + s[0] + ".z, " + s[1] + ".w)"; break;
        case OP_FRC: v = "fract(" + s[0] + ")"; break;
        default: break;
        }
        if (matrix) {
            uint32_t rows = (op == OP_M4X4 || op == OP_M3X4) ? 4 : (op == OP_M3X2 ? 2 : 3);
            bool three = op == OP_M3X4 || op == OP_M3X3 || op == OP_M3X2;
            if ((params[2] >> 24) & 0xF) return fail(std::string(opName(op)) + " takes no modifier on its matrix");
            std::string comps[4] = {"0.0", "0.0", "0.0", "0.0"};
            for (uint32_t r = 0; r < rows; ++r) {
                std::string row;
                if (!sourceRegister(params[2], r, &row)) return false;
                comps[r] = three ? "dot(" + s[0] + ".xyz, " + row + ".xyz)" : "dot(" + s[0] + ", " + row + ")";
            }
            v = "vec4(" + comps[0] + ", " + comps[1] + ", " + comps[2] + ", " + comps[3] + ")";
            mask &= (1u << rows) - 1;
        }
        assign(reg, mask, isAddress, v);
        return true;
    }
};

}  // namespace

bool translateVertexShader(const uint32_t* tokens, size_t count, ShaderTranslation* out) {
    Translator tr;
    auto refuse = [&](const std::string& why) {
        out->error = why;
        out->glsl.clear();
        return false;
    };
    if (!tokens || count < 2) return refuse("the shader is empty");
    uint32_t version = tokens[0];
    if ((version & 0xFFFFFF00u) != 0xFFFE0100u) return refuse("not a version 1.x vertex shader");
    size_t i = 1;
    bool ended = false;
    while (i < count) {
        uint32_t token = tokens[i++];
        uint32_t op = token & 0xFFFF;
        if (op == OP_END) {
            ended = true;
            break;
        }
        if (op == OP_COMMENT) {
            uint32_t length = (token >> 16) & 0x7FFF;
            if (length > count - i) return refuse("a comment runs past the end of the shader");
            i += length;
            continue;
        }
        int sources = op == OP_DCL ? 1 : sourceCount(op);
        if (sources < 0) return refuse("unsupported instruction " + std::to_string(op));
        uint32_t params = op == OP_NOP ? 0 : uint32_t(sources) + 1;
        uint32_t stated = (token >> 24) & 0xF;
        if (stated != 0 && stated != params) return refuse("instruction " + std::to_string(op) + " has a wrong length");
        if (params > count - i) return refuse("an instruction runs past the end of the shader");
        if (!tr.instruction(op, tokens + i, params)) return refuse(tr.error);
        i += params;
    }
    if (!ended) return refuse("the shader has no end token");

    std::ostringstream glsl;
    glsl << "#version 330 core\n";
    for (uint32_t n = 0; n < kInputs; ++n)
        if (tr.inputMask & (1u << n)) glsl << "layout(location = " << n << ") in vec4 v" << n << ";\n";
    glsl << "uniform vec4 c[" << kConsts << "];\n"
         << "uniform vec2 uPixelOffset;\n"
         << "out vec4 vColor;\nout vec4 vSpecular;\nout vec2 vTex0;\nout vec2 vTex1;\n"
         << "uniform int uTexIndex[2];\n"
         << "float rcp1(float x) { return x == 1.0 ? 1.0 : 1.0 / x; }\n"
         << "float rsq1(float x) { float a = abs(x); return a == 1.0 ? 1.0 : inversesqrt(a); }\n"
         << "vec4 expp1(float x) { float f = floor(x); return vec4(exp2(f), x - f, exp2(x), 1.0); }\n"
         << "vec4 logp1(float x) { float a = abs(x); if (a == 0.0) return vec4(-1e30, 1.0, -1e30, 1.0);\n"
         << "  float e = floor(log2(a)); return vec4(e, a / exp2(e), log2(a), 1.0); }\n"
         << "vec4 lit1(vec4 s) { vec4 r = vec4(1.0, 0.0, 0.0, 1.0);\n"
         << "  if (s.x > 0.0) { r.y = s.x; if (s.y > 0.0) r.z = pow(s.y, clamp(s.w, -128.0, 128.0)); }\n"
         << "  return r; }\n"
         << "void main() {\n"
         << "    vec4 t;\n    ivec4 a0 = ivec4(0);\n";
    for (uint32_t n = 0; n < kTemps; ++n) glsl << "    vec4 r" << n << " = vec4(0.0);\n";
    glsl << "    vec4 oPos = vec4(0.0, 0.0, 0.0, 1.0);\n    vec4 oFog = vec4(0.0);\n    vec4 oPts = vec4(0.0);\n"
         << "    vec4 oD0 = vec4(1.0);\n    vec4 oD1 = vec4(0.0);\n";
    for (uint32_t n = 0; n < kTexOut; ++n) glsl << "    vec4 oT" << n << " = vec4(0.0, 0.0, 0.0, 1.0);\n";
    glsl << tr.body.str();
    glsl << "    vColor = clamp(oD0, 0.0, 1.0);\n    vSpecular = clamp(oD1, 0.0, 1.0);\n"
         << "    vec2 tc[8] = vec2[8](oT0.xy, oT1.xy, oT2.xy, oT3.xy, oT4.xy, oT5.xy, oT6.xy, oT7.xy);\n"
         << "    vTex0 = tc[clamp(uTexIndex[0], 0, 7)];\n    vTex1 = tc[clamp(uTexIndex[1], 0, 7)];\n"
         << "    gl_Position = vec4(oPos.x + oPos.w * uPixelOffset.x, oPos.y + oPos.w * uPixelOffset.y,\n"
         << "                       oPos.z * 2.0 - oPos.w, oPos.w);\n"
         << "}\n";
    out->glsl = glsl.str();
    out->error.clear();
    out->inputMask = tr.inputMask;
    return true;
}
