// The OpenGL 3.3 core device. Everything is drawn into an offscreen framebuffer of the
// back-buffer size; present copies it to the window (letterboxed when the sizes differ) or, on
// a headless context, keeps it for read-back.
//
// Conventions kept from the device interface: row-vector matrices; clip depth 0..1 (mapped to
// OpenGL's -1..1 in the vertex shader); pixel centres on integer coordinates (the vertex shader
// shifts by half a pixel: one pixel in normalized x, minus one in y, because OpenGL's rows run
// bottom-up while ours run top-down; read-back flips the rows).

#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/Platform.h"
#include "platform/sdl/SdlTypes.h"
#include "platform/device/DeviceMatrixMath.h"
#include "platform/device/FramePacer.h"
#include "platform/device/ShaderTranslator.h"
#include "platform/device/StateDevice.h"

namespace {

// What the device's objects share with it: whether its context still lives (objects released
// later skip their GL calls) and the hook that runs the kept draws using a texture before its
// pixels change or it goes.
struct DeviceLink {
    bool alive = true;
    std::function<void(GLuint)> textureChanging;
};
using Link = std::shared_ptr<DeviceLink>;

// Vertices and indices stay in memory: a draw copies what it uses into the draws the device
// keeps (see cGlDevice), so a buffer may be written again right after a draw.
class cGlVertexBuffer : public cVertexBuffer {
public:
    cGlVertexBuffer(uint32_t bytes, uint32_t format, MemoryPool pool) : m_bytes(bytes, 0), m_format(format), m_pool(pool) {}
    uint32_t getSize() const override { return uint32_t(m_bytes.size()); }
    uint32_t getFormat() const override { return m_format; }
    MemoryPool getPool() const override { return m_pool; }
    int32_t lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) override {
        if (!data || m_locked || offset > m_bytes.size()) return DEVERR_INVALIDCALL;
        if (size == 0) size = uint32_t(m_bytes.size()) - offset;
        if (size > m_bytes.size() - offset) return DEVERR_INVALIDCALL;
        m_locked = true;
        *data = m_bytes.data() + offset;
        return DEV_OK;
    }
    int32_t unlock() override {
        if (!m_locked) return DEVERR_INVALIDCALL;
        m_locked = false;
        return DEV_OK;
    }
    const uint8_t* bytes() const { return m_bytes.data(); }

private:
    std::vector<uint8_t> m_bytes;
    uint32_t m_format;
    MemoryPool m_pool;
    bool m_locked = false;
};

class cGlIndexBuffer : public cIndexBuffer {
public:
    cGlIndexBuffer(uint32_t bytes, IndexFormat format, MemoryPool pool) : m_buffer(bytes, 0, pool), m_format(format) {}
    uint32_t getSize() const override { return m_buffer.getSize(); }
    IndexFormat getFormat() const override { return m_format; }
    MemoryPool getPool() const override { return m_buffer.getPool(); }
    int32_t lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) override {
        return m_buffer.lock(offset, size, data, flags);
    }
    int32_t unlock() override { return m_buffer.unlock(); }
    const uint8_t* bytes() const { return m_buffer.bytes(); }

private:
    cGlVertexBuffer m_buffer;
    IndexFormat m_format;
};

class cGlTexture : public cDeviceTexture {
public:
    cGlTexture(uint32_t w, uint32_t h, Link link, std::shared_ptr<uint64_t> generation)
        : m_width(w), m_height(h), m_link(std::move(link)), m_generation(std::move(generation)) {
        glGenTextures(1, &m_name);
        glBindTexture(GL_TEXTURE_2D, m_name);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(w), GLsizei(h), 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    }
    ~cGlTexture() override {
        if (!m_link->alive) return;
        m_link->textureChanging(m_name);
        glDeleteTextures(1, &m_name);
    }
    uint32_t getWidth() const override { return m_width; }
    uint32_t getHeight() const override { return m_height; }
    int32_t upload(const uint32_t* argb) override {
        if (!argb) return DEVERR_INVALIDCALL;
        if (!m_link->alive) return DEVERR_INVALIDCALL;
        m_link->textureChanging(m_name);
        ++*m_generation;
        glBindTexture(GL_TEXTURE_2D, m_name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLsizei(m_width), GLsizei(m_height), GL_BGRA,
                        GL_UNSIGNED_INT_8_8_8_8_REV, argb);
        return DEV_OK;
    }
    GLuint name() const { return m_name; }

private:
    uint32_t m_width, m_height;
    Link m_link;
    std::shared_ptr<uint64_t> m_generation;
    GLuint m_name = 0;
};

// ---- Shaders -----------------------------------------------------------------------------

const char* kFixedVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 2) in vec4 aColor;
layout(location = 3) in vec2 aTex0;
layout(location = 4) in vec2 aTex1;
uniform mat4 uTransform;
uniform vec2 uPixelOffset;
uniform int uHasColor;
uniform int uTexIndex[2];
out vec4 vColor;
out vec4 vSpecular;
out vec2 vTex0;
out vec2 vTex1;
void main() {
    vec4 p = uTransform * vec4(aPosition, 1.0);
    gl_Position = vec4(p.x + p.w * uPixelOffset.x, p.y + p.w * uPixelOffset.y, p.z * 2.0 - p.w, p.w);
    vColor = uHasColor != 0 ? aColor : vec4(1.0);
    vSpecular = vec4(0.0);
    vec2 tc[2] = vec2[2](aTex0, aTex1);
    vTex0 = tc[clamp(uTexIndex[0], 0, 1)];
    vTex1 = tc[clamp(uTexIndex[1], 0, 1)];
}
)";

// Two texture stages as the device describes them; operation and argument numbers are those of
// Device.h.
const char* kFragmentShader = R"(#version 330 core
in vec4 vColor;
in vec4 vSpecular;
in vec2 vTex0;
in vec2 vTex1;
uniform sampler2D uTex0;
uniform sampler2D uTex1;
uniform vec4 uTextureFactor;
uniform float uAlphaRef;
@STAGES@
out vec4 fragColor;

vec4 arg(int a, vec4 current, vec4 texel) {
    if (a == 0) return vColor;
    if (a == 1) return current;
    if (a == 2) return texel;
    return uTextureFactor;
}
vec4 combine(int op, vec4 a1, vec4 a2, vec4 texel) {
    if (op == 2) return a1;
    if (op == 3) return a2;
    if (op == 4) return a1 * a2;
    if (op == 5) return clamp(a1 * a2 * 2.0, 0.0, 1.0);
    if (op == 6) return clamp(a1 + a2, 0.0, 1.0);
    if (op == 7) return a1 * texel.a + a2 * (1.0 - texel.a);
    if (op == 8) return a1 * vColor.a + a2 * (1.0 - vColor.a);
    return a1;
}
bool passes(int func, float value, float ref) {
    if (func == 1) return false;
    if (func == 2) return value < ref;
    if (func == 3) return value == ref;
    if (func == 4) return value <= ref;
    if (func == 5) return value > ref;
    if (func == 6) return value != ref;
    if (func == 7) return value >= ref;
    return true;
}
void main() {
    vec4 current = vColor;
    for (int s = 0; s < 2; ++s) {
        if (uColorOp[s] == 1) break;
        vec4 texel = vec4(1.0);
        if (uHasTex[s] != 0) texel = s == 0 ? texture(uTex0, vTex0) : texture(uTex1, vTex1);
        vec4 c = combine(uColorOp[s], arg(uColorArg1[s], current, texel), arg(uColorArg2[s], current, texel), texel);
        float a = current.a;
        if (uAlphaOp[s] != 1)
            a = combine(uAlphaOp[s], arg(uAlphaArg1[s], current, texel), arg(uAlphaArg2[s], current, texel), texel).a;
        current = clamp(vec4(c.rgb, a), 0.0, 1.0);
    }
    if (uAlphaTest != 0 && !passes(uAlphaFunc, floor(current.a * 255.0 + 0.5), uAlphaRef)) discard;
    fragColor = current;
}
)";

GLuint compile(GLenum kind, const std::string& source, std::string* log) {
    GLuint shader = glCreateShader(kind);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char buffer[2048] = {};
        glGetShaderInfoLog(shader, sizeof buffer, nullptr, buffer);
        if (log) *log = buffer;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// The texture-stage states the fragment shader follows, as constants of its text: a program is
// made for each combination a frame uses, so a software rasterizer runs only the operations of
// that combination for every pixel (with the states as uniforms it ran every branch of both
// stages, most of an idle frame's time). In order: has texture, colour operation, colour
// arguments 1 and 2, alpha operation, alpha arguments 1 and 2 (each for stages 0 and 1), then
// the alpha test and its function.
using StageKey = std::array<GLint, 16>;

std::string fragmentSource(const StageKey& k) {
    std::string stages;
    const char* arrays[] = {"uHasTex", "uColorOp", "uColorArg1", "uColorArg2", "uAlphaOp", "uAlphaArg1", "uAlphaArg2"};
    for (size_t i = 0; i < 7; ++i)
        stages += "const int " + std::string(arrays[i]) + "[2] = int[2](" + std::to_string(k[2 * i]) + ", " +
                  std::to_string(k[2 * i + 1]) + ");\n";
    stages += "const int uAlphaTest = " + std::to_string(k[14]) + ";\nconst int uAlphaFunc = " + std::to_string(k[15]) + ";\n";
    std::string source = kFragmentShader;
    source.replace(source.find("@STAGES@"), 8, stages);
    return source;
}

struct Program {
    GLuint name = 0;
    GLint transform = -1, pixelOffset = -1, hasColor = -1, texIndex = -1, constants = -1;
    GLint tex0 = -1, tex1 = -1, textureFactor = -1, alphaRef = -1;
};

bool link(GLuint vs, GLuint fs, Program* p) {
    p->name = glCreateProgram();
    glAttachShader(p->name, vs);
    glAttachShader(p->name, fs);
    glLinkProgram(p->name);
    GLint ok = 0;
    glGetProgramiv(p->name, GL_LINK_STATUS, &ok);
    glDetachShader(p->name, vs);
    glDetachShader(p->name, fs);
    if (!ok) {
        glDeleteProgram(p->name);
        p->name = 0;
        return false;
    }
    auto u = [p](const char* n) { return glGetUniformLocation(p->name, n); };
    p->transform = u("uTransform");
    p->pixelOffset = u("uPixelOffset");
    p->hasColor = u("uHasColor");
    p->texIndex = u("uTexIndex");
    p->constants = u("c");
    p->tex0 = u("uTex0");
    p->tex1 = u("uTex1");
    p->textureFactor = u("uTextureFactor");
    p->alphaRef = u("uAlphaRef");
    glUseProgram(p->name);
    glUniform1i(p->tex0, 0);
    glUniform1i(p->tex1, 1);
    return true;
}

GLenum blendFactor(uint32_t f) {
    switch (f) {
    case BLEND_ZERO: return GL_ZERO;
    case BLEND_ONE: return GL_ONE;
    case BLEND_SRCCOLOR: return GL_SRC_COLOR;
    case BLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case BLEND_SRCALPHA: return GL_SRC_ALPHA;
    case BLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case BLEND_DESTALPHA: return GL_DST_ALPHA;
    case BLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case BLEND_DESTCOLOR: return GL_DST_COLOR;
    case BLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
    }
}

GLenum compareFunc(uint32_t f) {
    switch (f) {
    case CMP_NEVER: return GL_NEVER;
    case CMP_LESS: return GL_LESS;
    case CMP_EQUAL: return GL_EQUAL;
    case CMP_LESSEQUAL: return GL_LEQUAL;
    case CMP_GREATER: return GL_GREATER;
    case CMP_NOTEQUAL: return GL_NOTEQUAL;
    case CMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
    }
}

GLenum primitiveMode(PrimitiveType t) {
    switch (t) {
    case PrimitiveType::PointList: return GL_POINTS;
    case PrimitiveType::LineList: return GL_LINES;
    case PrimitiveType::LineStrip: return GL_LINE_STRIP;
    case PrimitiveType::TriangleStrip: return GL_TRIANGLE_STRIP;
    case PrimitiveType::TriangleFan: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
    }
}

GLenum addressMode(uint32_t a) {
    switch (a) {
    case TADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case TADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    default: return GL_REPEAT;
    }
}

// ---- Contexts ----------------------------------------------------------------------------

class cGlContext {
public:
    virtual ~cGlContext() = default;
    virtual bool makeCurrent() = 0;
    virtual void swap() {}
    virtual bool drawableSize(int* w, int* h) { return false; }
    // The refresh rate of the display showing the window, in Hz; 0 when unknown.
    virtual int refreshRate() { return 0; }
};

class cSdlContext : public cGlContext {
public:
    cSdlContext(SDL_Window* window, SDL_GLContext context) : m_window(window), m_context(context) {}
    ~cSdlContext() override { SDL_GL_DeleteContext(m_context); }
    bool makeCurrent() override { return SDL_GL_MakeCurrent(m_window, m_context) == 0; }
    void swap() override { SDL_GL_SwapWindow(m_window); }
    bool drawableSize(int* w, int* h) override {
        SDL_GL_GetDrawableSize(m_window, w, h);
        return true;
    }
    int refreshRate() override {
        SDL_DisplayMode mode;
        const int display = SDL_GetWindowDisplayIndex(m_window);
        if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
        return mode.refresh_rate;
    }

private:
    SDL_Window* m_window;
    SDL_GLContext m_context;
};

class cEglContext : public cGlContext {
public:
    cEglContext(EGLDisplay display, EGLContext context) : m_display(display), m_context(context) {}
    ~cEglContext() override {
        eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(m_display, m_context);
    }
    bool makeCurrent() override { return eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context) == EGL_TRUE; }

private:
    EGLDisplay m_display;
    EGLContext m_context;
};

std::unique_ptr<cGlContext> makeEglContext() {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay display = EGL_NO_DISPLAY;
    if (getPlatformDisplay) display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return nullptr;
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) return nullptr;
    if (!eglBindAPI(EGL_OPENGL_API)) return nullptr;
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) return nullptr;
    auto result = std::make_unique<cEglContext>(display, context);
    if (!result->makeCurrent()) return nullptr;
    return result;
}

std::unique_ptr<cGlContext> makeSdlContext(SDL_Window* window) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return nullptr;
    auto result = std::make_unique<cSdlContext>(window, context);
    if (!result->makeCurrent()) return nullptr;
    return result;
}

// ---- The device ----------------------------------------------------------------------------

class cGlDevice : public cStateDevice {
public:
    cGlDevice(std::unique_ptr<cGlContext> context, bool headless) : m_context(std::move(context)), m_headless(headless) {
        m_link->textureChanging = [this](GLuint texture) {
            if (m_keptTextures.count(texture)) runKeptDraws();
        };
    }

    ~cGlDevice() override {
        m_context->makeCurrent();
        dropKeptDraws();
        unbindAll();
        for (auto& [key, program] : m_programs) glDeleteProgram(program.name);
        for (auto& [key, fragment] : m_fragments) glDeleteShader(fragment);
        for (auto& [handle, vs] : m_vertexShaders) glDeleteShader(vs);
        if (m_fixedVs) glDeleteShader(m_fixedVs);
        destroyTarget();
        if (m_streams[0]) glDeleteBuffers(2, m_streams);
        if (m_samplers[0]) glDeleteSamplers(2, m_samplers);
        if (m_vao) glDeleteVertexArrays(1, &m_vao);
        m_link->alive = false;
        m_link->textureChanging = nullptr;
        m_context.reset();
    }

    int32_t init(const PresentParams& params) {
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        if (!version) return DEVERR_CONTEXTFAILED;
        std::string log;
        m_fixedVs = compile(GL_VERTEX_SHADER, kFixedVertexShader, &log);
        if (!m_fixedVs || !programFor(0, stageKey())) return DEVERR_SHADERCOMPILE;
        glGenVertexArrays(1, &m_vao);
        glBindVertexArray(m_vao);
        glGenBuffers(2, m_streams);
        glGenSamplers(2, m_samplers);
        GLint maxSize = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        m_caps.maxTextureWidth = m_caps.maxTextureHeight = uint32_t(std::max(maxSize, 64));
        m_caps.vertexShaderVersion = 0x0101;
        return reset(params);
    }

    const char* getName() const override { return m_headless ? "opengl-headless" : "opengl"; }
    DeviceCaps getCaps() const override { return m_caps; }
    const PresentParams& getPresentParams() const override { return m_params; }

    int32_t createVertexBuffer(uint32_t bytes, uint32_t, uint32_t format, MemoryPool pool, cVertexBuffer** out) override {
        if (!out || bytes == 0) return DEVERR_INVALIDCALL;
        *out = new cGlVertexBuffer(bytes, format, pool);
        return DEV_OK;
    }
    int32_t createIndexBuffer(uint32_t bytes, uint32_t, IndexFormat format, MemoryPool pool, cIndexBuffer** out) override {
        if (!out || bytes == 0) return DEVERR_INVALIDCALL;
        *out = new cGlIndexBuffer(bytes, format, pool);
        return DEV_OK;
    }
    int32_t createTexture(uint32_t width, uint32_t height, MemoryPool, cDeviceTexture** out) override {
        if (!out || width == 0 || height == 0) return DEVERR_INVALIDCALL;
        *out = nullptr;
        if (width > m_caps.maxTextureWidth || height > m_caps.maxTextureHeight) return DEVERR_INVALIDCALL;
        m_context->makeCurrent();
        contentChanged();
        *out = new cGlTexture(width, height, m_link, generationCounter());
        return glGetError() == GL_OUT_OF_MEMORY ? DEVERR_OUTOFVIDEOMEMORY : DEV_OK;
    }
    int32_t createVertexShader(const uint32_t* tokens, size_t count, uint32_t, uint32_t* handle) override {
        if (!handle) return DEVERR_INVALIDCALL;
        *handle = 0;
        ShaderTranslation translation;
        if (!translateVertexShader(tokens, count, &translation)) return DEVERR_INVALIDCALL;
        m_context->makeCurrent();
        GLuint vs = compile(GL_VERTEX_SHADER, translation.glsl, nullptr);
        if (!vs) return DEVERR_SHADERCOMPILE;
        contentChanged();
        const uint32_t made = m_nextShader++;
        m_vertexShaders[made] = vs;
        if (!programFor(made, stageKey())) {
            glDeleteShader(vs);
            m_vertexShaders.erase(made);
            return DEVERR_SHADERCOMPILE;
        }
        *handle = made;
        return DEV_OK;
    }
    int32_t deleteVertexShader(uint32_t handle) override {
        auto it = m_vertexShaders.find(handle);
        if (it == m_vertexShaders.end()) return DEVERR_INVALIDCALL;
        runKeptDraws();   // they may use the programs deleted here
        m_context->makeCurrent();
        contentChanged();
        for (auto p = m_programs.begin(); p != m_programs.end();) {
            if (p->first.first != handle) {
                ++p;
                continue;
            }
            glDeleteProgram(p->second.name);
            p = m_programs.erase(p);
        }
        glDeleteShader(it->second);
        m_vertexShaders.erase(it);
        if (getVertexShader() == handle) cStateDevice::setVertexShader(0);
        return DEV_OK;
    }

    int32_t drawPrimitive(PrimitiveType type, uint32_t start, uint32_t count) override {
        auto* vb = static_cast<cGlVertexBuffer*>(streamBuffer());
        const uint32_t stride = streamStride();
        if (!vb || !stride || count == 0) return DEVERR_INVALIDCALL;
        const uint64_t vertices = primitiveVertexCount(type, count);
        const uint64_t first = uint64_t(start) * stride, end = (uint64_t(start) + vertices) * stride;
        if (end > vb->getSize()) return DEVERR_INVALIDCALL;
        return keepDraw(type, vertices, vb->bytes() + first, end - first, stride, nullptr, 0, 0);
    }

    int32_t drawIndexedPrimitive(PrimitiveType type, uint32_t minIndex, uint32_t vertexCount, uint32_t startIndex,
                                 uint32_t count) override {
        auto* vb = static_cast<cGlVertexBuffer*>(streamBuffer());
        auto* ib = static_cast<cGlIndexBuffer*>(indexBuffer());
        const uint32_t stride = streamStride();
        if (!vb || !ib || !stride || count == 0) return DEVERR_INVALIDCALL;
        const uint32_t indexSize = ib->getFormat() == IndexFormat::Index16 ? 2 : 4;
        const uint64_t indices = primitiveVertexCount(type, count);
        const uint64_t indexStart = uint64_t(startIndex) * indexSize, indexEnd = (uint64_t(startIndex) + indices) * indexSize;
        const uint64_t vertexEnd = (uint64_t(baseVertex()) + minIndex + vertexCount) * stride;
        if (indexEnd > ib->getSize() || vertexEnd > vb->getSize()) return DEVERR_INVALIDCALL;
        // The vertices the indices name, from the base vertex on; an index past the buffer's end
        // is refused rather than left to read what follows it.
        const uint8_t* at = ib->bytes() + indexStart;
        uint32_t highest = 0;
        for (uint64_t i = 0; i < indices; ++i) {
            uint32_t index = 0;
            if (indexSize == 2) {
                uint16_t v;
                std::memcpy(&v, at + i * 2, 2);
                index = v;
            } else {
                std::memcpy(&index, at + i * 4, 4);
            }
            highest = std::max(highest, index);
        }
        const uint64_t first = uint64_t(baseVertex()) * stride, last = (uint64_t(baseVertex()) + highest + 1) * stride;
        if (last > vb->getSize()) return DEVERR_INVALIDCALL;
        return keepDraw(type, indices, vb->bytes() + first, last - first, stride, at, indexEnd - indexStart, indexSize);
    }

    int32_t drawPrimitiveUp(PrimitiveType type, uint32_t count, const void* vertices, uint32_t stride) override {
        if (!vertices || stride == 0 || count == 0) return DEVERR_INVALIDCALL;
        const uint64_t n = primitiveVertexCount(type, count);
        const uint64_t bytes = n * stride;
        // Caller memory of more than 64 MB is no vertex list of this program.
        if (bytes == 0 || bytes > (uint64_t(64) << 20)) return DEVERR_INVALIDCALL;
        return keepDraw(type, n, static_cast<const uint8_t*>(vertices), bytes, stride, nullptr, 0, 0);
    }

    int32_t clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override {
        // A clear of the whole target hides every draw kept before it (unless their depth is
        // still to be tested against).
        if ((flags & CLEAR_TARGET) && ((flags & CLEAR_ZBUFFER) || !m_keptDepthWrites)) dropKeptDraws();
        KeptCommand command;
        command.clear = true;
        command.clearFlags = flags;
        command.clearColor = color;
        command.clearZ = z;
        command.clearStencil = stencil;
        m_kept.push_back(command);
        return DEV_OK;
    }
    int32_t beginScene() override {
        if (m_inScene) return DEVERR_INVALIDCALL;
        m_inScene = true;
        return DEV_OK;
    }
    int32_t endScene() override {
        if (!m_inScene) return DEVERR_INVALIDCALL;
        m_inScene = false;
        return DEV_OK;
    }

    int32_t present() override {
        // Where nobody sees the frame (a headless context, or a window of the headless backend)
        // it stays kept until its pixels are read.
        if (m_headless || platform::backend() == platform::Backend::Headless) return DEV_OK;
        runKeptDraws();
        m_context->makeCurrent();
        int w = 0, h = 0;
        m_context->drawableSize(&w, &h);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, m_fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glViewport(0, 0, w, h);
        glDisable(GL_SCISSOR_TEST);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        // Letterbox: the largest uniformly scaled copy, centred.
        float scale = std::min(float(w) / float(m_params.width), float(h) / float(m_params.height));
        int dw = int(float(m_params.width) * scale + 0.5f), dh = int(float(m_params.height) * scale + 0.5f);
        int dx = (w - dw) / 2, dy = (h - dh) / 2;
        bool exact = dw == int(m_params.width) && dh == int(m_params.height);
        glBlitFramebuffer(0, 0, GLint(m_params.width), GLint(m_params.height), dx, dy, dx + dw, dy + dh,
                          GL_COLOR_BUFFER_BIT, exact ? GL_NEAREST : GL_LINEAR);
        m_context->swap();
        m_pacer.afterSwap();
        glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);
        return DEV_OK;
    }
    int32_t testCooperativeLevel() override { return DEV_OK; }

    int32_t reset(const PresentParams& params) override {
        if (params.width == 0 || params.height == 0 || params.width > 16384 || params.height > 16384)
            return DEVERR_INVALIDCALL;
        m_context->makeCurrent();
        dropKeptDraws();   // their target goes
        contentChanged();
        destroyTarget();
        glGenFramebuffers(1, &m_fbo);
        glGenRenderbuffers(2, m_renderbuffers);
        glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffers[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(params.width), GLsizei(params.height));
        glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffers[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32F, GLsizei(params.width), GLsizei(params.height));
        glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_renderbuffers[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_renderbuffers[1]);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            destroyTarget();
            return DEVERR_OUTOFVIDEOMEMORY;
        }
        m_params = params;
        // A window waits for the screen when asked, windowed as in full screen: a loop that never
        // waits burns a core on an idle screen. Where the swap does not wait after all, the pacer
        // holds the frames to the refresh rate. The headless backend never waits.
        if (!m_headless) {
            const bool wait = params.vsync && platform::backend() == platform::Backend::Sdl;
            const bool intervalSet = SDL_GL_SetSwapInterval(wait ? 1 : 0) == 0;
            m_pacer.setEnabled(wait);
            m_pacer.setRefreshRate(m_context->refreshRate());
            m_pacer.measureAgain();
            if (wait && !intervalSet) m_pacer.setSwapCannotWait();
        }
        // A reset device starts from the default states.
        if (!isRecordingStateBlock()) resetStates();
        glViewport(0, 0, GLsizei(params.width), GLsizei(params.height));
        glClearColor(0, 0, 0, 1);
        glClearDepth(1.0);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return DEV_OK;
    }

    int32_t readBackBuffer(std::vector<uint32_t>* pixels, uint32_t* width, uint32_t* height) override {
        if (!pixels || !m_fbo) return DEVERR_INVALIDCALL;
        runKeptDraws();
        m_context->makeCurrent();
        const uint32_t w = m_params.width, h = m_params.height;
        std::vector<uint32_t> raw(size_t(w) * h);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, m_fbo);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, GLsizei(w), GLsizei(h), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, raw.data());
        pixels->resize(raw.size());
        // OpenGL's rows run bottom-up; the back buffer has no alpha.
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                (*pixels)[size_t(y) * w + x] = raw[size_t(h - 1 - y) * w + x] | 0xFF000000u;
        if (width) *width = w;
        if (height) *height = h;
        return DEV_OK;
    }

private:
    // ---- Kept draws ----
    // Clears and draws are kept, with the states and the vertices they use, and run only when
    // their pixels are needed: when the frame is shown in a window or read back, before a
    // texture they use changes or goes, before a vertex shader is deleted, and when too many
    // are kept. A clear of the whole target drops what was kept before it, so frames nobody
    // looks at (most frames of a headless test) cost no rasterizing.
    struct DrawStates {
        const Program* program = nullptr;
        uint32_t shader = 0, format = 0, stride = 0;
        DeviceMatrix transform;   // world, view and projection, on the fixed path
        size_t constants = 0;     // into m_keptConstants, with a vertex shader
        GLuint textures[2] = {0, 0};
        GLint texIndex[2] = {0, 0};
        GLint filter[2][2] = {};  // magnification, minification
        GLint wrap[2][2] = {};    // u, v
        uint32_t textureFactor = 0, alphaRef = 0;
        bool blend = false;
        GLenum srcBlend = GL_ONE, destBlend = GL_ZERO, blendEquation = GL_FUNC_ADD;
        bool depthTest = false, depthWrite = false;
        GLenum depthFunc = GL_LESS;
        uint32_t cull = CULL_NONE, fill = FILL_SOLID;
    };
    struct KeptCommand {
        bool clear = false;
        uint32_t clearFlags = 0, clearColor = 0, clearStencil = 0;
        float clearZ = 1.0f;
        DrawStates states;
        GLenum mode = GL_TRIANGLES;
        GLsizei count = 0;
        size_t vertices = 0;      // offset into m_keptVertices
        size_t indices = 0;       // offset into m_keptIndices
        uint32_t indexSize = 0;   // 0: not indexed
    };
    static constexpr size_t kMaxKeptCommands = 4096;
    static constexpr size_t kMaxKeptBytes = size_t(32) << 20;

    int32_t keepDraw(PrimitiveType type, uint64_t count, const uint8_t* vertices, uint64_t vertexBytes, uint32_t stride,
                     const uint8_t* indices, uint64_t indexBytes, uint32_t indexSize) {
        KeptCommand command;
        if (!captureStates(stride, &command.states)) return DEVERR_INVALIDCALL;
        command.mode = primitiveMode(type);
        command.count = GLsizei(count);
        command.vertices = append(&m_keptVertices, vertices, vertexBytes);
        if (indexSize) {
            command.indices = append(&m_keptIndices, indices, indexBytes);
            command.indexSize = indexSize;
        }
        for (GLuint texture : command.states.textures)
            if (texture) m_keptTextures.insert(texture);
        if (command.states.depthTest && command.states.depthWrite) m_keptDepthWrites = true;
        m_kept.push_back(command);
        if (m_kept.size() >= kMaxKeptCommands || m_keptVertices.size() + m_keptIndices.size() >= kMaxKeptBytes)
            runKeptDraws();
        return DEV_OK;
    }

    // Appends bytes at a 16-byte boundary; their offset.
    static size_t append(std::vector<uint8_t>* to, const uint8_t* bytes, uint64_t size) {
        const size_t at = (to->size() + 15) & ~size_t(15);
        to->resize(at + size_t(size));
        if (size) std::memcpy(to->data() + at, bytes, size_t(size));
        return at;
    }

    void dropKeptDraws() {
        m_kept.clear();
        m_keptVertices.clear();
        m_keptIndices.clear();
        m_keptConstants.clear();
        m_keptTextures.clear();
        m_keptDepthWrites = false;
    }

    void runKeptDraws() {
        if (m_kept.empty()) return;
        m_context->makeCurrent();
        glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);
        glViewport(0, 0, GLsizei(m_params.width), GLsizei(m_params.height));
        glBindVertexArray(m_vao);
        glBindBuffer(GL_ARRAY_BUFFER, m_streams[0]);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(m_keptVertices.size()), m_keptVertices.data(), GL_STREAM_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_streams[1]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(m_keptIndices.size()), m_keptIndices.data(), GL_STREAM_DRAW);
        for (const KeptCommand& command : m_kept) {
            if (command.clear) {
                runClear(command);
                continue;
            }
            applyStates(command.states, command.vertices);
            if (command.indexSize)
                glDrawElements(command.mode, command.count, command.indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                               reinterpret_cast<const void*>(uintptr_t(command.indices)));
            else
                glDrawArrays(command.mode, 0, command.count);
        }
        dropKeptDraws();
    }

    void runClear(const KeptCommand& c) {
        GLbitfield mask = 0;
        if (c.clearFlags & CLEAR_TARGET) {
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            glClearColor(float((c.clearColor >> 16) & 0xFF) / 255.0f, float((c.clearColor >> 8) & 0xFF) / 255.0f,
                         float(c.clearColor & 0xFF) / 255.0f, float(c.clearColor >> 24) / 255.0f);
            mask |= GL_COLOR_BUFFER_BIT;
        }
        if (c.clearFlags & CLEAR_ZBUFFER) {
            glDepthMask(GL_TRUE);
            glClearDepth(std::clamp(c.clearZ, 0.0f, 1.0f));
            mask |= GL_DEPTH_BUFFER_BIT;
        }
        if (c.clearFlags & CLEAR_STENCIL) {
            glStencilMask(0xFF);
            glClearStencil(GLint(c.clearStencil));
            mask |= GL_STENCIL_BUFFER_BIT;
        }
        glDisable(GL_SCISSOR_TEST);
        if (mask) glClear(mask);
    }

    void destroyTarget() {
        if (m_fbo) glDeleteFramebuffers(1, &m_fbo);
        if (m_renderbuffers[0]) glDeleteRenderbuffers(2, m_renderbuffers);
        m_fbo = 0;
        m_renderbuffers[0] = m_renderbuffers[1] = 0;
    }

    // The fragment states of the next draw (see StageKey).
    StageKey stageKey() const {
        StageKey k{};
        for (uint32_t s = 0; s < 2; ++s) {
            k[0 + s] = getTexture(s) ? 1 : 0;
            k[2 + s] = GLint(getStageState(s, StageState::ColorOp));
            k[4 + s] = GLint(getStageState(s, StageState::ColorArg1));
            k[6 + s] = GLint(getStageState(s, StageState::ColorArg2));
            k[8 + s] = GLint(getStageState(s, StageState::AlphaOp));
            k[10 + s] = GLint(getStageState(s, StageState::AlphaArg1));
            k[12 + s] = GLint(getStageState(s, StageState::AlphaArg2));
        }
        const bool alphaTest = getRenderState(RenderState::AlphaTestEnable) != 0;
        k[14] = alphaTest ? 1 : 0;
        k[15] = alphaTest ? GLint(getRenderState(RenderState::AlphaFunc)) : 0;
        return k;
    }

    // The program of a vertex shader (0: the fixed one) with the fragment states of key, made at
    // its first use; null when it cannot be made.
    const Program* programFor(uint32_t shader, const StageKey& key) {
        const auto id = std::make_pair(shader, key);
        auto found = m_programs.find(id);
        if (found != m_programs.end()) return &found->second;
        GLuint vs = m_fixedVs;
        if (shader) {
            auto it = m_vertexShaders.find(shader);
            if (it == m_vertexShaders.end()) return nullptr;
            vs = it->second;
        }
        m_context->makeCurrent();
        auto fragment = m_fragments.find(key);
        if (fragment == m_fragments.end()) {
            GLuint fs = compile(GL_FRAGMENT_SHADER, fragmentSource(key), nullptr);
            if (!fs) return nullptr;
            fragment = m_fragments.emplace(key, fs).first;
        }
        Program program;
        if (!link(vs, fragment->second, &program)) return nullptr;
        return &m_programs.emplace(id, program).first->second;
    }

    // The device's states as the next draw uses them.
    bool captureStates(uint32_t stride, DrawStates* d) {
        d->shader = getVertexShader();
        d->program = programFor(d->shader, stageKey());
        if (!d->program) return false;
        d->format = vertexFormat();
        d->stride = stride;
        if (d->shader) {
            d->constants = m_keptConstants.size();
            const float* constants = shaderConstants();
            m_keptConstants.insert(m_keptConstants.end(), constants, constants + 4 * kMaxShaderConstants);
        } else {
            const DeviceMatrix wv =
                multiplyDeviceMatrices(getTransform(TransformKind::World), getTransform(TransformKind::View));
            d->transform = multiplyDeviceMatrices(wv, getTransform(TransformKind::Projection));
        }
        for (uint32_t s = 0; s < 2; ++s) {
            auto* texture = static_cast<cGlTexture*>(getTexture(s));
            d->textures[s] = texture ? texture->name() : 0;
            d->texIndex[s] = GLint(getStageState(s, StageState::TexCoordIndex));
            d->filter[s][0] = getStageState(s, StageState::MagFilter) == TEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
            d->filter[s][1] = getStageState(s, StageState::MinFilter) == TEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
            d->wrap[s][0] = GLint(addressMode(getStageState(s, StageState::AddressU)));
            d->wrap[s][1] = GLint(addressMode(getStageState(s, StageState::AddressV)));
        }
        d->textureFactor = getRenderState(RenderState::TextureFactor);
        d->alphaRef = getRenderState(RenderState::AlphaRef) & 0xFF;
        d->blend = getRenderState(RenderState::AlphaBlendEnable) != 0;
        d->srcBlend = blendFactor(getRenderState(RenderState::SrcBlend));
        d->destBlend = blendFactor(getRenderState(RenderState::DestBlend));
        switch (getRenderState(RenderState::BlendOp)) {
        case BLENDOP_SUBTRACT: d->blendEquation = GL_FUNC_SUBTRACT; break;
        case BLENDOP_REVSUBTRACT: d->blendEquation = GL_FUNC_REVERSE_SUBTRACT; break;
        case BLENDOP_MIN: d->blendEquation = GL_MIN; break;
        case BLENDOP_MAX: d->blendEquation = GL_MAX; break;
        default: d->blendEquation = GL_FUNC_ADD; break;
        }
        d->depthTest = getRenderState(RenderState::ZEnable) != 0;
        d->depthFunc = compareFunc(getRenderState(RenderState::ZFunc));
        d->depthWrite = getRenderState(RenderState::ZWriteEnable) != 0;
        d->cull = getRenderState(RenderState::CullMode);
        d->fill = getRenderState(RenderState::FillMode);
        return true;
    }

    // Binds the program, the states and the vertex layout of a kept draw whose vertices start
    // at offset in the kept vertex stream.
    void applyStates(const DrawStates& d, size_t offset) {
        const Program* program = d.program;
        glUseProgram(program->name);
        const float pixelOffset[2] = {1.0f / float(m_params.width), -1.0f / float(m_params.height)};
        glUniform2fv(program->pixelOffset, 1, pixelOffset);

        // Vertex layout.
        const uint32_t stride = d.stride;
        for (GLuint i = 0; i < 16; ++i) glDisableVertexAttribArray(i);
        auto attribute = [&](GLuint location, GLint size, GLenum type, bool normalized, uint32_t at, uint32_t bytes) {
            if (at + bytes > stride) return false;   // the stream's vertices are shorter
            glEnableVertexAttribArray(location);
            glVertexAttribPointer(location, size, type, normalized ? GL_TRUE : GL_FALSE, GLsizei(stride),
                                  reinterpret_cast<const void*>(uintptr_t(offset + at)));
            return true;
        };
        if (d.shader) {
            // The sprite declaration: v0 position, v5 colour, v7 and v8 texture coordinates.
            glVertexAttrib4f(0, 0, 0, 0, 1);
            glVertexAttrib4f(5, 1, 1, 1, 1);
            attribute(0, 3, GL_FLOAT, false, 0, 12);
            attribute(5, GL_BGRA, GL_UNSIGNED_BYTE, true, 12, 4);
            attribute(7, 2, GL_FLOAT, false, 16, 8);
            attribute(8, 2, GL_FLOAT, false, 24, 8);
            glUniform4fv(program->constants, GLsizei(kMaxShaderConstants), m_keptConstants.data() + d.constants);
        } else {
            uint32_t at = 0;
            if (d.format & VF_POSITION) {
                attribute(0, 3, GL_FLOAT, false, at, 12);
                at += 12;
            }
            if (d.format & VF_NORMAL) at += 12;
            bool hasColor = false;
            if (d.format & VF_DIFFUSE) {
                hasColor = attribute(2, GL_BGRA, GL_UNSIGNED_BYTE, true, at, 4);
                at += 4;
            }
            glVertexAttrib4f(3, 0, 0, 0, 1);
            glVertexAttrib4f(4, 0, 0, 0, 1);
            const uint32_t texCount = vertexFormatTexCount(d.format);
            for (uint32_t t = 0; t < texCount && t < 2; ++t) {
                attribute(3 + t, 2, GL_FLOAT, false, at, 8);
                at += 8;
            }
            glUniform1i(program->hasColor, hasColor ? 1 : 0);
            glUniformMatrix4fv(program->transform, 1, GL_FALSE, &d.transform.m[0][0]);
        }

        // Texture stages.
        for (uint32_t s = 0; s < 2; ++s) {
            glActiveTexture(GL_TEXTURE0 + s);
            glBindTexture(GL_TEXTURE_2D, d.textures[s]);
            const GLuint sampler = m_samplers[s];
            glBindSampler(s, sampler);
            glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, d.filter[s][0]);
            glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, d.filter[s][1]);
            glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, d.wrap[s][0]);
            glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, d.wrap[s][1]);
        }
        glUniform1iv(program->texIndex, 2, d.texIndex);
        const uint32_t factor = d.textureFactor;
        glUniform4f(program->textureFactor, float((factor >> 16) & 0xFF) / 255.0f, float((factor >> 8) & 0xFF) / 255.0f,
                    float(factor & 0xFF) / 255.0f, float(factor >> 24) / 255.0f);
        glUniform1f(program->alphaRef, float(d.alphaRef));

        // Fixed states.
        if (d.blend) {
            glEnable(GL_BLEND);
            glBlendFunc(d.srcBlend, d.destBlend);
            glBlendEquation(d.blendEquation);
        } else {
            glDisable(GL_BLEND);
        }
        if (d.depthTest) {
            glEnable(GL_DEPTH_TEST);
            glDepthFunc(d.depthFunc);
            glDepthMask(d.depthWrite ? GL_TRUE : GL_FALSE);
        } else {
            glDisable(GL_DEPTH_TEST);
        }
        switch (d.cull) {
        case CULL_CW:
            glEnable(GL_CULL_FACE);
            glFrontFace(GL_CW);
            glCullFace(GL_BACK);
            break;
        case CULL_CCW:
            glEnable(GL_CULL_FACE);
            glFrontFace(GL_CCW);
            glCullFace(GL_BACK);
            break;
        default: glDisable(GL_CULL_FACE); break;
        }
        switch (d.fill) {
        case FILL_POINT: glPolygonMode(GL_FRONT_AND_BACK, GL_POINT); break;
        case FILL_WIREFRAME: glPolygonMode(GL_FRONT_AND_BACK, GL_LINE); break;
        default: glPolygonMode(GL_FRONT_AND_BACK, GL_FILL); break;
        }
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    }

    std::unique_ptr<cGlContext> m_context;
    bool m_headless;
    Link m_link = std::make_shared<DeviceLink>();
    PresentParams m_params;
    DeviceCaps m_caps;
    GLuint m_fixedVs = 0;
    std::map<uint32_t, GLuint> m_vertexShaders;
    std::map<StageKey, GLuint> m_fragments;
    std::map<std::pair<uint32_t, StageKey>, Program> m_programs;
    uint32_t m_nextShader = 1;
    GLuint m_vao = 0;
    GLuint m_streams[2] = {0, 0};   // the kept vertices and indices as the GPU reads them
    GLuint m_samplers[2] = {0, 0};
    GLuint m_fbo = 0;
    GLuint m_renderbuffers[2] = {0, 0};
    std::vector<KeptCommand> m_kept;
    std::vector<uint8_t> m_keptVertices, m_keptIndices;
    std::vector<float> m_keptConstants;
    std::unordered_set<GLuint> m_keptTextures;
    bool m_keptDepthWrites = false;
    bool m_inScene = false;
    cFramePacer m_pacer = cFramePacer::system();
};

std::unique_ptr<cDevice> finish(std::unique_ptr<cGlContext> context, bool headless, const PresentParams& params,
                                int32_t* result) {
    auto device = std::make_unique<cGlDevice>(std::move(context), headless);
    int32_t r = device->init(params);
    if (result) *result = r;
    if (devFailed(r)) return nullptr;
    return device;
}

}  // namespace

std::unique_ptr<cDevice> createGlWindowDevice(platform::Window* gameWindow, const PresentParams& params, int32_t* result) {
    SDL_Window* window = platform::sdl::windowOf(gameWindow);
    if (!window) {
        if (result) *result = DEVERR_INVALIDCALL;
        return nullptr;
    }
    auto context = makeSdlContext(window);
    if (!context) {
        if (result) *result = DEVERR_CONTEXTFAILED;
        return nullptr;
    }
    return finish(std::move(context), false, params, result);
}

std::unique_ptr<cDevice> createGlHeadlessDevice(const PresentParams& params, int32_t* result) {
    auto context = makeEglContext();
    if (!context) {
        if (result) *result = DEVERR_CONTEXTFAILED;
        return nullptr;
    }
    return finish(std::move(context), true, params, result);
}

bool canCreateGlContext() {
    auto context = makeEglContext();
    if (context) return true;
    // Without EGL, try an SDL window's context (a hidden window of the current video driver).
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) return false;
    bool ok = makeSdlContext(window) != nullptr;
    SDL_DestroyWindow(window);
    return ok;
}
