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
#include <map>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/sdl/SdlTypes.h"
#include "platform/device/DeviceMatrixMath.h"
#include "platform/device/FramePacer.h"
#include "platform/device/ShaderTranslator.h"
#include "platform/device/StateDevice.h"

namespace {

// Set while the device's context lives; objects released later skip their GL calls.
using AliveFlag = std::shared_ptr<bool>;

class cGlVertexBuffer : public cVertexBuffer {
public:
    cGlVertexBuffer(uint32_t bytes, uint32_t format, MemoryPool pool, AliveFlag alive)
        : m_staging(bytes, 0), m_format(format), m_pool(pool), m_alive(std::move(alive)) {
        glGenBuffers(1, &m_name);
        glBindBuffer(GL_ARRAY_BUFFER, m_name);
        glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_DYNAMIC_DRAW);
    }
    ~cGlVertexBuffer() override {
        if (*m_alive) glDeleteBuffers(1, &m_name);
    }
    uint32_t getSize() const override { return uint32_t(m_staging.size()); }
    uint32_t getFormat() const override { return m_format; }
    MemoryPool getPool() const override { return m_pool; }
    int32_t lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) override {
        if (!data || m_locked || offset > m_staging.size()) return DEVERR_INVALIDCALL;
        if (size == 0) size = uint32_t(m_staging.size()) - offset;
        if (size > m_staging.size() - offset) return DEVERR_INVALIDCALL;
        m_lockOffset = offset;
        m_lockSize = size;
        m_discard = (flags & LOCK_DISCARD) != 0;
        m_locked = true;
        *data = m_staging.data() + offset;
        return DEV_OK;
    }
    int32_t unlock() override {
        if (!m_locked) return DEVERR_INVALIDCALL;
        m_locked = false;
        // Uploads happen at the first draw after the unlock, so a buffer filled only partly
        // sends only what is drawn.
        m_dirtyBegin = std::min(m_dirtyBegin, m_lockOffset);
        m_dirtyEnd = std::max(m_dirtyEnd, m_lockOffset + m_lockSize);
        if (m_discard) m_orphan = true;
        return DEV_OK;
    }
    // Sends the changed bytes up to end (the rest waits for a later draw).
    void sync(GLenum target, uint64_t end) {
        if (m_dirtyBegin >= m_dirtyEnd) return;
        uint32_t stop = uint32_t(std::min<uint64_t>(end, m_dirtyEnd));
        glBindBuffer(target, m_name);
        if (m_orphan) {
            glBufferData(target, m_staging.size(), nullptr, GL_DYNAMIC_DRAW);
            m_orphan = false;
            // After orphaning the whole buffer must be resent up to what was written.
            m_dirtyBegin = 0;
        }
        if (stop > m_dirtyBegin) {
            glBufferSubData(target, m_dirtyBegin, stop - m_dirtyBegin, m_staging.data() + m_dirtyBegin);
            m_dirtyBegin = stop;
        }
        if (m_dirtyBegin >= m_dirtyEnd) {
            m_dirtyBegin = UINT32_MAX;
            m_dirtyEnd = 0;
        }
    }
    GLuint name() const { return m_name; }

private:
    std::vector<uint8_t> m_staging;
    uint32_t m_format;
    MemoryPool m_pool;
    AliveFlag m_alive;
    GLuint m_name = 0;
    bool m_locked = false, m_discard = false, m_orphan = false;
    uint32_t m_lockOffset = 0, m_lockSize = 0;
    uint32_t m_dirtyBegin = UINT32_MAX, m_dirtyEnd = 0;
};

class cGlIndexBuffer : public cIndexBuffer {
public:
    cGlIndexBuffer(uint32_t bytes, IndexFormat format, MemoryPool pool, AliveFlag alive)
        : m_buffer(bytes, 0, pool, std::move(alive)), m_format(format) {}
    uint32_t getSize() const override { return m_buffer.getSize(); }
    IndexFormat getFormat() const override { return m_format; }
    MemoryPool getPool() const override { return m_buffer.getPool(); }
    int32_t lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) override {
        return m_buffer.lock(offset, size, data, flags);
    }
    int32_t unlock() override { return m_buffer.unlock(); }
    cGlVertexBuffer& store() { return m_buffer; }

private:
    cGlVertexBuffer m_buffer;
    IndexFormat m_format;
};

class cGlTexture : public cDeviceTexture {
public:
    cGlTexture(uint32_t w, uint32_t h, AliveFlag alive, std::shared_ptr<uint64_t> generation)
        : m_width(w), m_height(h), m_alive(std::move(alive)), m_generation(std::move(generation)) {
        glGenTextures(1, &m_name);
        glBindTexture(GL_TEXTURE_2D, m_name);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(w), GLsizei(h), 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    }
    ~cGlTexture() override {
        if (*m_alive) glDeleteTextures(1, &m_name);
    }
    uint32_t getWidth() const override { return m_width; }
    uint32_t getHeight() const override { return m_height; }
    int32_t upload(const uint32_t* argb) override {
        if (!argb) return DEVERR_INVALIDCALL;
        if (!*m_alive) return DEVERR_INVALIDCALL;
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
    AliveFlag m_alive;
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
    cGlDevice(std::unique_ptr<cGlContext> context, bool headless) : m_context(std::move(context)), m_headless(headless) {}

    ~cGlDevice() override {
        m_context->makeCurrent();
        unbindAll();
        for (auto& [key, program] : m_programs) glDeleteProgram(program.name);
        for (auto& [key, fragment] : m_fragments) glDeleteShader(fragment);
        for (auto& [handle, vs] : m_vertexShaders) glDeleteShader(vs);
        if (m_fixedVs) glDeleteShader(m_fixedVs);
        if (m_upBuffer) m_upBuffer->release();
        destroyTarget();
        if (m_samplers[0]) glDeleteSamplers(2, m_samplers);
        if (m_vao) glDeleteVertexArrays(1, &m_vao);
        *m_alive = false;
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
        glGenSamplers(2, m_samplers);
        GLint maxSize = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        m_caps.maxTextureWidth = m_caps.maxTextureHeight = uint32_t(std::max(maxSize, 64));
        m_caps.vertexShaderVersion = 0x0101;
        m_upBuffer = new cGlVertexBuffer(64 * 1024, 0, MemoryPool::Default, m_alive);
        return reset(params);
    }

    const char* getName() const override { return m_headless ? "opengl-headless" : "opengl"; }
    DeviceCaps getCaps() const override { return m_caps; }
    const PresentParams& getPresentParams() const override { return m_params; }

    int32_t createVertexBuffer(uint32_t bytes, uint32_t, uint32_t format, MemoryPool pool, cVertexBuffer** out) override {
        if (!out || bytes == 0) return DEVERR_INVALIDCALL;
        m_context->makeCurrent();
        *out = new cGlVertexBuffer(bytes, format, pool, m_alive);
        return DEV_OK;
    }
    int32_t createIndexBuffer(uint32_t bytes, uint32_t, IndexFormat format, MemoryPool pool, cIndexBuffer** out) override {
        if (!out || bytes == 0) return DEVERR_INVALIDCALL;
        m_context->makeCurrent();
        *out = new cGlIndexBuffer(bytes, format, pool, m_alive);
        return DEV_OK;
    }
    int32_t createTexture(uint32_t width, uint32_t height, MemoryPool, cDeviceTexture** out) override {
        if (!out || width == 0 || height == 0) return DEVERR_INVALIDCALL;
        *out = nullptr;
        if (width > m_caps.maxTextureWidth || height > m_caps.maxTextureHeight) return DEVERR_INVALIDCALL;
        m_context->makeCurrent();
        contentChanged();
        *out = new cGlTexture(width, height, m_alive, generationCounter());
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
        if (!vb || !streamStride() || count == 0) return DEVERR_INVALIDCALL;
        uint64_t vertices = primitiveVertexCount(type, count);
        uint64_t end = (uint64_t(start) + vertices) * streamStride();
        if (end > vb->getSize()) return DEVERR_INVALIDCALL;
        if (!prepareDraw(vb, end)) return DEVERR_INVALIDCALL;
        glDrawArrays(primitiveMode(type), GLint(start), GLsizei(vertices));
        return DEV_OK;
    }

    int32_t drawIndexedPrimitive(PrimitiveType type, uint32_t minIndex, uint32_t vertexCount, uint32_t startIndex,
                                 uint32_t count) override {
        auto* vb = static_cast<cGlVertexBuffer*>(streamBuffer());
        auto* ib = static_cast<cGlIndexBuffer*>(indexBuffer());
        if (!vb || !ib || !streamStride() || count == 0) return DEVERR_INVALIDCALL;
        uint32_t indexSize = ib->getFormat() == IndexFormat::Index16 ? 2 : 4;
        uint64_t indices = primitiveVertexCount(type, count);
        uint64_t indexEnd = (uint64_t(startIndex) + indices) * indexSize;
        uint64_t vertexEnd = (uint64_t(baseVertex()) + minIndex + vertexCount) * streamStride();
        if (indexEnd > ib->getSize() || vertexEnd > vb->getSize()) return DEVERR_INVALIDCALL;
        if (!prepareDraw(vb, vertexEnd)) return DEVERR_INVALIDCALL;
        ib->store().sync(GL_ELEMENT_ARRAY_BUFFER, indexEnd);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib->store().name());
        glDrawElementsBaseVertex(primitiveMode(type), GLsizei(indices), indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                                 reinterpret_cast<const void*>(uintptr_t(startIndex) * indexSize), GLint(baseVertex()));
        return DEV_OK;
    }

    int32_t drawPrimitiveUp(PrimitiveType type, uint32_t count, const void* vertices, uint32_t stride) override {
        if (!vertices || stride == 0 || count == 0) return DEVERR_INVALIDCALL;
        uint64_t bytes = uint64_t(primitiveVertexCount(type, count)) * stride;
        // Caller memory of more than 64 MB is no vertex list of this program.
        if (bytes == 0 || bytes > (uint64_t(64) << 20)) return DEVERR_INVALIDCALL;
        if (bytes > m_upBuffer->getSize()) {
            m_upBuffer->release();
            m_upBuffer = new cGlVertexBuffer(uint32_t(bytes * 2), 0, MemoryPool::Default, m_alive);
        }
        void* data = nullptr;
        if (devFailed(m_upBuffer->lock(0, uint32_t(bytes), &data, LOCK_DISCARD))) return DEVERR_INVALIDCALL;
        std::memcpy(data, vertices, bytes);
        m_upBuffer->unlock();
        cStateDevice::setStreamSource(0, m_upBuffer, stride);
        int32_t r = drawPrimitive(type, 0, count);
        cStateDevice::setStreamSource(0, nullptr, 0);
        return r;
    }

    int32_t clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override {
        m_context->makeCurrent();
        glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);
        glViewport(0, 0, GLsizei(m_params.width), GLsizei(m_params.height));
        GLbitfield mask = 0;
        if (flags & CLEAR_TARGET) {
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            glClearColor(float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
                         float(color & 0xFF) / 255.0f, float(color >> 24) / 255.0f);
            mask |= GL_COLOR_BUFFER_BIT;
        }
        if (flags & CLEAR_ZBUFFER) {
            glDepthMask(GL_TRUE);
            glClearDepth(std::clamp(z, 0.0f, 1.0f));
            mask |= GL_DEPTH_BUFFER_BIT;
        }
        if (flags & CLEAR_STENCIL) {
            glStencilMask(0xFF);
            glClearStencil(GLint(stencil));
            mask |= GL_STENCIL_BUFFER_BIT;
        }
        glDisable(GL_SCISSOR_TEST);
        if (mask) glClear(mask);
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
        m_context->makeCurrent();
        if (m_headless) {
            glFlush();
            return DEV_OK;
        }
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
    void destroyTarget() {
        if (m_fbo) glDeleteFramebuffers(1, &m_fbo);
        if (m_renderbuffers[0]) glDeleteRenderbuffers(2, m_renderbuffers);
        m_fbo = 0;
        m_renderbuffers[0] = m_renderbuffers[1] = 0;
    }

    // Binds the program, the states and the vertex layout of the current stream.
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

    bool prepareDraw(cGlVertexBuffer* vb, uint64_t vertexEnd) {
        m_context->makeCurrent();
        glBindFramebuffer(GL_FRAMEBUFFER, m_fbo);
        glViewport(0, 0, GLsizei(m_params.width), GLsizei(m_params.height));
        glBindVertexArray(m_vao);
        const Program* program = programFor(getVertexShader(), stageKey());
        if (!program) return false;
        const uint32_t shader = getVertexShader();
        glUseProgram(program->name);
        const float pixelOffset[2] = {1.0f / float(m_params.width), -1.0f / float(m_params.height)};
        glUniform2fv(program->pixelOffset, 1, pixelOffset);

        // Vertex layout.
        vb->sync(GL_ARRAY_BUFFER, vertexEnd);
        glBindBuffer(GL_ARRAY_BUFFER, vb->name());
        const uint32_t stride = streamStride();
        for (GLuint i = 0; i < 16; ++i) glDisableVertexAttribArray(i);
        auto attribute = [&](GLuint location, GLint size, GLenum type, bool normalized, uint32_t offset, uint32_t bytes) {
            if (offset + bytes > stride) return false;   // the stream's vertices are shorter
            glEnableVertexAttribArray(location);
            glVertexAttribPointer(location, size, type, normalized ? GL_TRUE : GL_FALSE, GLsizei(stride),
                                  reinterpret_cast<const void*>(uintptr_t(offset)));
            return true;
        };
        if (shader) {
            // The sprite declaration: v0 position, v5 colour, v7 and v8 texture coordinates.
            glVertexAttrib4f(0, 0, 0, 0, 1);
            glVertexAttrib4f(5, 1, 1, 1, 1);
            attribute(0, 3, GL_FLOAT, false, 0, 12);
            attribute(5, GL_BGRA, GL_UNSIGNED_BYTE, true, 12, 4);
            attribute(7, 2, GL_FLOAT, false, 16, 8);
            attribute(8, 2, GL_FLOAT, false, 24, 8);
            glUniform4fv(program->constants, GLsizei(kMaxShaderConstants), shaderConstants());
        } else {
            const uint32_t format = vertexFormat();
            uint32_t offset = 0;
            if (format & VF_POSITION) {
                attribute(0, 3, GL_FLOAT, false, offset, 12);
                offset += 12;
            }
            if (format & VF_NORMAL) offset += 12;
            bool hasColor = false;
            if (format & VF_DIFFUSE) {
                hasColor = attribute(2, GL_BGRA, GL_UNSIGNED_BYTE, true, offset, 4);
                offset += 4;
            }
            glVertexAttrib4f(3, 0, 0, 0, 1);
            glVertexAttrib4f(4, 0, 0, 0, 1);
            uint32_t texCount = vertexFormatTexCount(format);
            for (uint32_t t = 0; t < texCount && t < 2; ++t) {
                attribute(3 + t, 2, GL_FLOAT, false, offset, 8);
                offset += 8;
            }
            glUniform1i(program->hasColor, hasColor ? 1 : 0);
            DeviceMatrix wv =
                multiplyDeviceMatrices(getTransform(TransformKind::World), getTransform(TransformKind::View));
            DeviceMatrix wvp = multiplyDeviceMatrices(wv, getTransform(TransformKind::Projection));
            glUniformMatrix4fv(program->transform, 1, GL_FALSE, &wvp.m[0][0]);
        }

        // Texture stages.
        GLint texIndex[2];
        for (uint32_t s = 0; s < 2; ++s) {
            auto* texture = static_cast<cGlTexture*>(getTexture(s));
            texIndex[s] = GLint(getStageState(s, StageState::TexCoordIndex));
            glActiveTexture(GL_TEXTURE0 + s);
            glBindTexture(GL_TEXTURE_2D, texture ? texture->name() : 0);
            GLuint sampler = m_samplers[s];
            glBindSampler(s, sampler);
            GLint mag = getStageState(s, StageState::MagFilter) == TEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
            GLint min = getStageState(s, StageState::MinFilter) == TEXF_LINEAR ? GL_LINEAR : GL_NEAREST;
            glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, mag);
            glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, min);
            glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GLint(addressMode(getStageState(s, StageState::AddressU))));
            glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GLint(addressMode(getStageState(s, StageState::AddressV))));
        }
        glUniform1iv(program->texIndex, 2, texIndex);
        uint32_t factor = getRenderState(RenderState::TextureFactor);
        glUniform4f(program->textureFactor, float((factor >> 16) & 0xFF) / 255.0f, float((factor >> 8) & 0xFF) / 255.0f,
                    float(factor & 0xFF) / 255.0f, float(factor >> 24) / 255.0f);
        glUniform1f(program->alphaRef, float(getRenderState(RenderState::AlphaRef) & 0xFF));

        // Fixed states.
        if (getRenderState(RenderState::AlphaBlendEnable)) {
            glEnable(GL_BLEND);
            glBlendFunc(blendFactor(getRenderState(RenderState::SrcBlend)), blendFactor(getRenderState(RenderState::DestBlend)));
            switch (getRenderState(RenderState::BlendOp)) {
            case BLENDOP_SUBTRACT: glBlendEquation(GL_FUNC_SUBTRACT); break;
            case BLENDOP_REVSUBTRACT: glBlendEquation(GL_FUNC_REVERSE_SUBTRACT); break;
            case BLENDOP_MIN: glBlendEquation(GL_MIN); break;
            case BLENDOP_MAX: glBlendEquation(GL_MAX); break;
            default: glBlendEquation(GL_FUNC_ADD); break;
            }
        } else {
            glDisable(GL_BLEND);
        }
        if (getRenderState(RenderState::ZEnable)) {
            glEnable(GL_DEPTH_TEST);
            glDepthFunc(compareFunc(getRenderState(RenderState::ZFunc)));
            glDepthMask(getRenderState(RenderState::ZWriteEnable) ? GL_TRUE : GL_FALSE);
        } else {
            glDisable(GL_DEPTH_TEST);
        }
        switch (getRenderState(RenderState::CullMode)) {
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
        switch (getRenderState(RenderState::FillMode)) {
        case FILL_POINT: glPolygonMode(GL_FRONT_AND_BACK, GL_POINT); break;
        case FILL_WIREFRAME: glPolygonMode(GL_FRONT_AND_BACK, GL_LINE); break;
        default: glPolygonMode(GL_FRONT_AND_BACK, GL_FILL); break;
        }
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        return true;
    }

    std::unique_ptr<cGlContext> m_context;
    bool m_headless;
    AliveFlag m_alive = std::make_shared<bool>(true);
    PresentParams m_params;
    DeviceCaps m_caps;
    GLuint m_fixedVs = 0;
    std::map<uint32_t, GLuint> m_vertexShaders;
    std::map<StageKey, GLuint> m_fragments;
    std::map<std::pair<uint32_t, StageKey>, Program> m_programs;
    uint32_t m_nextShader = 1;
    GLuint m_vao = 0;
    GLuint m_samplers[2] = {0, 0};
    GLuint m_fbo = 0;
    GLuint m_renderbuffers[2] = {0, 0};
    cGlVertexBuffer* m_upBuffer = nullptr;
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
