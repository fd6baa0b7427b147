#include "engine/media/XFileReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace {

// Limits that keep a hostile file from exhausting the stack or the memory.
constexpr int kMaxNesting = 64;
constexpr size_t kMaxFrameRecords = 20000;       // frames are copied again for each reference
constexpr size_t kMaxLoadedElements = 1u << 22;  // vertices, indices and weights of all meshes

std::string at(int line) { return "line " + std::to_string(line) + ": "; }

// ---- Tokens ----------------------------------------------------------------------------------

enum TokenKind { T_END, T_OPEN, T_CLOSE, T_SEPARATOR, T_GUID, T_STRING, T_WORD };

struct Token {
    TokenKind kind = T_END;
    std::string text;
    int line = 0;
};

class Lexer {
public:
    Lexer(const char* begin, const char* end, int line) : m_p(begin), m_end(end), m_line(line) {}

    Token next() {
        if (m_hasPeek) {
            m_hasPeek = false;
            return m_peek;
        }
        return scan();
    }
    const Token& peek() {
        if (!m_hasPeek) {
            m_peek = scan();
            m_hasPeek = true;
        }
        return m_peek;
    }

private:
    static bool isDelimiter(char c) {
        return c == '{' || c == '}' || c == ';' || c == ',' || c == '<' || c == '>' || c == '"' || c == '#' ||
               c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == '\0';
    }

    bool startsComment() const {
        return *m_p == '#' || (*m_p == '/' && m_p + 1 < m_end && m_p[1] == '/');
    }

    void skipSpaceAndComments() {
        while (m_p < m_end) {
            const char c = *m_p;
            if (c == '\n') {
                ++m_line;
                ++m_p;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == '\0') {
                ++m_p;
            } else if (startsComment()) {
                while (m_p < m_end && *m_p != '\n') ++m_p;
            } else {
                break;
            }
        }
    }

    Token scan() {
        skipSpaceAndComments();
        Token t;
        t.line = m_line;
        if (m_p >= m_end) return t;
        const char c = *m_p;
        switch (c) {
        case '{': ++m_p; t.kind = T_OPEN; return t;
        case '}': ++m_p; t.kind = T_CLOSE; return t;
        case ';':
        case ',': ++m_p; t.kind = T_SEPARATOR; return t;
        case '>': throw at(m_line) + "unexpected '>'";
        case '<': {
            const char* start = ++m_p;
            while (m_p < m_end && *m_p != '>' && *m_p != '\n') ++m_p;
            if (m_p >= m_end || *m_p != '>') throw at(m_line) + "unterminated <guid>";
            t.text.assign(start, m_p);
            ++m_p;
            t.kind = T_GUID;
            return t;
        }
        case '"': {
            const char* start = ++m_p;
            while (m_p < m_end && *m_p != '"') {
                if (*m_p == '\n') ++m_line;
                ++m_p;
            }
            if (m_p >= m_end) throw at(t.line) + "unterminated string";
            t.text.assign(start, m_p);
            ++m_p;
            t.kind = T_STRING;
            return t;
        }
        default: break;
        }
        const char* start = m_p;
        while (m_p < m_end && !isDelimiter(*m_p) && !startsComment()) ++m_p;
        t.text.assign(start, m_p);
        t.kind = T_WORD;
        return t;
    }

    const char* m_p;
    const char* m_end;
    int m_line;
    Token m_peek;
    bool m_hasPeek = false;
};

bool parseNumber(const std::string& text, double* value) {
    if (text.empty()) return false;
    const char* first = text.data();
    const char* last = first + text.size();
    if (*first == '+') ++first;
    if (first == last) return false;
    auto result = std::from_chars(first, last, *value);
    return result.ec == std::errc() && result.ptr == last && std::isfinite(*value);
}

// ---- Model loading ---------------------------------------------------------------------------

struct LoadState {
    size_t frameRecords = 0;
    size_t elements = 0;
    std::vector<const cXObject*> framePath;   // frames being loaded, to refuse reference cycles

    void addElements(size_t count, int line) {
        if (count > kMaxLoadedElements - elements) throw at(line) + "the model is too large";
        elements += count;
    }
};

uint32_t toColour(float r, float g, float b, float a) {
    auto channel = [](float v) -> uint32_t {
        if (!(v > 0.0f)) return 0;
        if (v >= 1.0f) return 255;
        return static_cast<uint32_t>(v * 255.0f + 0.5f);
    };
    return channel(a) << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
}

void loadMesh(const cXObject& object, cModelFrameRecord& frame, LoadState& state) {
    auto record = std::make_unique<cModelMeshRecord>();
    record->name = object.name;
    cXValueReader reader(object);

    const uint32_t vertexCount = reader.readCount("vertex count", 3);
    state.addElements(vertexCount, object.line);
    record->positions.resize(vertexCount);
    for (auto& p : record->positions) {
        p.x = reader.readFloat("vertex x");
        p.y = reader.readFloat("vertex y");
        p.z = reader.readFloat("vertex z");
    }

    // Faces are fanned into triangles; each triangle remembers its face for the material list.
    const uint32_t faceCount = reader.readCount("face count", 4);
    std::vector<uint32_t> triangles;   // three indices each
    std::vector<uint32_t> triangleFace;
    for (uint32_t f = 0; f < faceCount; ++f) {
        const uint32_t corners = reader.readCount("face corner count", 1);
        if (corners < 3) reader.fail("face " + std::to_string(f) + " has fewer than 3 corners");
        state.addElements(size_t(corners - 2) * 3, object.line);
        uint32_t first = 0, previous = 0;
        for (uint32_t c = 0; c < corners; ++c) {
            const uint32_t index = reader.readUnsigned("face vertex index");
            if (index >= vertexCount)
                reader.fail("face " + std::to_string(f) + " uses vertex " + std::to_string(index) + " of " +
                            std::to_string(vertexCount));
            if (c == 0) {
                first = index;
            } else if (c >= 2) {
                triangles.insert(triangles.end(), {first, previous, index});
                triangleFace.push_back(f);
            }
            previous = index;
        }
    }

    std::vector<uint32_t> faceAttribute(faceCount, 0);
    for (const cXChild& child : object.children) {
        if (!child.object) continue;
        const cXObject& part = *child.object;
        cXValueReader data(part);
        if (part.type == "MeshTextureCoords") {
            const uint32_t count = data.readCount("texture coordinate count", 2);
            if (count != vertexCount)
                data.fail(std::to_string(count) + " texture coordinates for " + std::to_string(vertexCount) +
                          " vertices");
            record->texCoords.resize(count);
            for (auto& uv : record->texCoords) {
                uv.x = data.readFloat("u");
                uv.y = data.readFloat("v");
            }
        } else if (part.type == "MeshVertexColors") {
            const uint32_t count = data.readCount("vertex colour count", 5);
            record->colours.assign(vertexCount, 0xFFFFFFFFu);
            for (uint32_t i = 0; i < count; ++i) {
                const uint32_t index = data.readUnsigned("vertex colour index");
                if (index >= vertexCount)
                    data.fail("vertex colour for vertex " + std::to_string(index) + " of " +
                              std::to_string(vertexCount));
                const float r = data.readFloat("red"), g = data.readFloat("green");
                const float b = data.readFloat("blue"), a = data.readFloat("alpha");
                record->colours[index] = toColour(r, g, b, a);
            }
        } else if (part.type == "MeshMaterialList") {
            const uint32_t materials = data.readUnsigned("material count");
            const uint32_t count = data.readCount("face material count", 1);
            if (count > faceCount)
                data.fail(std::to_string(count) + " face materials for " + std::to_string(faceCount) + " faces");
            for (uint32_t i = 0; i < count; ++i) {
                const uint32_t m = data.readUnsigned("face material");
                if (m >= materials)
                    data.fail("face material " + std::to_string(m) + " of " + std::to_string(materials));
                faceAttribute[i] = m;
            }
            // Faces beyond the list keep the last material given.
            for (uint32_t i = count; count > 0 && i < faceCount; ++i) faceAttribute[i] = faceAttribute[count - 1];
            record->materialCount = materials;
        } else if (part.type == "SkinWeights") {
            cModelBoneRecord bone;
            bone.name = data.readString("bone name");
            const uint32_t count = data.readCount("weight count", 2);
            state.addElements(count, part.line);
            bone.vertices.resize(count);
            bone.weights.resize(count);
            for (auto& v : bone.vertices) {
                v = data.readUnsigned("weighted vertex");
                if (v >= vertexCount)
                    data.fail("bone '" + bone.name + "' weighs vertex " + std::to_string(v) + " of " +
                              std::to_string(vertexCount));
            }
            for (auto& w : bone.weights) w = data.readFloat("weight");
            bone.offset = data.readMatrix("bone offset matrix");
            record->bones.push_back(std::move(bone));
        }
        // Normals, materials, the skin header and unknown objects are not used.
    }

    // Triangles sorted by attribute (stable), one range per attribute.
    const size_t triangleCount = triangleFace.size();
    std::vector<uint32_t> order(triangleCount);
    for (size_t i = 0; i < triangleCount; ++i) order[i] = static_cast<uint32_t>(i);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return faceAttribute[triangleFace[a]] < faceAttribute[triangleFace[b]];
    });
    record->indices.reserve(triangleCount * 3);
    for (size_t i = 0; i < triangleCount; ++i) {
        const uint32_t t = order[i];
        const uint32_t attribute = faceAttribute[triangleFace[t]];
        if (record->ranges.empty() || record->ranges.back().attribute != attribute) {
            cModelAttributeRange range;
            range.attribute = attribute;
            range.faceStart = static_cast<uint32_t>(i);
            record->ranges.push_back(range);
        }
        record->ranges.back().faceCount++;
        record->indices.insert(record->indices.end(), triangles.begin() + t * 3, triangles.begin() + t * 3 + 3);
    }
    for (auto& range : record->ranges) {
        uint32_t low = UINT32_MAX, high = 0;
        for (size_t i = size_t(range.faceStart) * 3; i < size_t(range.faceStart + range.faceCount) * 3; ++i) {
            low = std::min(low, record->indices[i]);
            high = std::max(high, record->indices[i]);
        }
        range.vertexStart = low;
        range.vertexCount = high - low + 1;
    }
    frame.meshes.push_back(std::move(record));
}

void loadFrame(const cXObject& object, cModelFrameRecord& parent, LoadState& state) {
    if (std::find(state.framePath.begin(), state.framePath.end(), &object) != state.framePath.end())
        throw at(object.line) + "frame '" + object.name + "' contains itself through a reference";
    if (++state.frameRecords > kMaxFrameRecords) throw at(object.line) + "too many frames";
    if (state.framePath.size() >= size_t(kMaxNesting)) throw at(object.line) + "frames nested too deeply";
    state.framePath.push_back(&object);

    auto record = std::make_unique<cModelFrameRecord>();
    cModelFrameRecord& frame = *record;
    parent.children.push_back(std::move(record));
    frame.name = object.name;
    for (const cXChild& child : object.children) {
        if (!child.object) continue;
        const cXObject& part = *child.object;
        if (part.type == "Frame") {
            loadFrame(part, frame, state);
        } else if (part.type == "Mesh") {
            loadMesh(part, frame, state);
        } else if (part.type == "FrameTransformMatrix") {
            cXValueReader data(part);
            frame.matrix = data.readMatrix("frame matrix");
        }
    }
    state.framePath.pop_back();
}

void loadKeys(const cXObject& object, cModelAnimationRecord& animation, LoadState& state) {
    cXValueReader data(object);
    const uint32_t type = data.readUnsigned("key type");
    size_t valueCount;
    std::vector<cModelKeyRecord>* target;
    switch (type) {
    case KEY_ROTATION: valueCount = 4; target = &animation.rotationKeys; break;
    case KEY_SCALE: valueCount = 3; target = &animation.scaleKeys; break;
    case KEY_POSITION: valueCount = 3; target = &animation.positionKeys; break;
    case KEY_MATRIX: valueCount = 16; target = &animation.matrixKeys; break;
    default: throw "Unknown type of keys was found.";
    }
    const uint32_t count = data.readCount("key count", 2 + valueCount);
    state.addElements(count, object.line);
    std::vector<cModelKeyRecord> keys(count);
    for (uint32_t k = 0; k < count; ++k) {
        cModelKeyRecord& key = keys[k];
        key.time = data.readUnsigned("key time");
        const uint32_t values = data.readUnsigned("key value count");
        if (values != valueCount)
            data.fail("key " + std::to_string(k) + " has " + std::to_string(values) + " values, " +
                      std::to_string(valueCount) + " expected");
        for (size_t v = 0; v < valueCount; ++v) key.values[v] = data.readFloat("key value");
        if (type == KEY_ROTATION) {
            // The file holds w, x, y, z; the quaternion is kept as x, y, z, w, conjugated. A
            // file's rotation key turns the other way from the same quaternion in the math kit
            // (rotationMatrix): exporters write, for a frame at rest, the quaternion whose
            // conjugate gives that frame's own matrix. Conjugated here, a key equal to a
            // frame's rest rotation reproduces the frame's rest matrix.
            const float w = key.values[0];
            key.values[0] = -key.values[1];
            key.values[1] = -key.values[2];
            key.values[2] = -key.values[3];
            key.values[3] = w;
        }
    }
    *target = std::move(keys);
}

void loadAnimation(const cXObject& object, cModelAnimationSetRecord& set, LoadState& state) {
    auto record = std::make_unique<cModelAnimationRecord>();
    cModelAnimationRecord& animation = *record;
    set.animations.push_back(std::move(record));
    animation.name = object.name;
    for (const cXChild& child : object.children) {
        if (child.isReference) {
            if (!child.object)
                animation.frameName = child.referenceName;   // names no frame: the track moves nothing
            else if (child.object->type == "Frame")
                animation.frameName = child.object->name;
            continue;
        }
        const cXObject& part = *child.object;
        if (part.type == "AnimationOptions") {
            cXValueReader data(part);
            animation.options[0] = data.readUnsigned("open or closed option");
            animation.options[1] = data.readUnsigned("position quality option");
        } else if (part.type == "AnimationKey") {
            loadKeys(part, animation, state);
        }
    }
    if (animation.rotationKeys.empty() && animation.scaleKeys.empty() && animation.positionKeys.empty() &&
        animation.matrixKeys.empty())
        throw "No animaton keys are loaded.";
}

void loadAnimationSet(const cXObject& object, cModelLoadRecord& record, LoadState& state) {
    auto set = std::make_unique<cModelAnimationSetRecord>();
    cModelAnimationSetRecord& target = *set;
    record.animationSets.push_back(std::move(set));
    target.name = object.name;
    for (const cXChild& child : object.children)
        if (child.object && child.object->type == "Animation") loadAnimation(*child.object, target, state);
}

}  // namespace

// ---- cXDocument ----------------------------------------------------------------------------

void cXDocument::parse(const void* data, size_t size) {
    m_objects.clear();
    m_topLevel.clear();
    const char* text = static_cast<const char*>(data);
    if (size < 16 || std::memcmp(text, "xof ", 4) != 0) throw std::string("not an .x file (no \"xof \" header)");
    const std::string format(text + 8, 4);
    if (format == "bin " || format == "tzip" || format == "bzip")
        throw std::string("binary and compressed .x files are not supported (format \"" + format + "\")");
    if (format != "txt ") throw std::string("unknown .x file format \"" + format + "\"");

    Lexer lexer(text + 16, text + size, 1);
    std::unordered_map<std::string, cXObject*> named;

    // Reads the rest of an object header after its type word: [name] [<guid>] '{'.
    auto openObject = [&](const Token& typeToken) {
        auto object = std::make_unique<cXObject>();
        object->type = typeToken.text;
        object->line = typeToken.line;
        if (lexer.peek().kind == T_WORD) object->name = lexer.next().text;
        if (lexer.peek().kind == T_GUID) lexer.next();
        const Token open = lexer.next();
        if (open.kind != T_OPEN) throw at(open.line) + "'{' expected after " + object->type;
        cXObject* raw = object.get();
        m_objects.push_back(std::move(object));
        if (!raw->name.empty()) named.emplace(raw->name, raw);
        return raw;
    };

    // The body of an object, up to and including its closing brace; iterative so that deep
    // nesting is refused by a count, not by the stack.
    auto parseBody = [&](cXObject* root) {
        std::vector<cXObject*> stack{root};
        while (!stack.empty()) {
            cXObject* current = stack.back();
            const Token t = lexer.next();
            switch (t.kind) {
            case T_END: throw at(t.line) + "unexpected end of file inside " + current->type;
            case T_CLOSE: stack.pop_back(); break;
            case T_SEPARATOR: break;
            case T_GUID: throw at(t.line) + "unexpected <" + t.text + ">";
            case T_STRING: {
                cXValue v;
                v.text = t.text;
                v.isString = true;
                v.line = t.line;
                current->values.push_back(std::move(v));
                break;
            }
            case T_OPEN: {
                // A reference: { name }, { name <guid> } or { <guid> }.
                cXChild child;
                child.isReference = true;
                Token r = lexer.next();
                if (r.kind == T_WORD) {
                    child.referenceName = r.text;
                    r = lexer.next();
                }
                if (r.kind == T_GUID) r = lexer.next();
                if (r.kind != T_CLOSE) throw at(r.line) + "'}' expected to end a reference";
                current->children.push_back(child);
                break;
            }
            case T_WORD: {
                double number;
                if (parseNumber(t.text, &number)) {
                    cXValue v;
                    v.number = number;
                    v.line = t.line;
                    current->values.push_back(std::move(v));
                    break;
                }
                if (stack.size() >= size_t(kMaxNesting)) throw at(t.line) + "objects nested too deeply";
                cXObject* child = openObject(t);
                cXChild entry;
                entry.object = child;
                current->children.push_back(entry);
                stack.push_back(child);
                break;
            }
            }
        }
    };

    for (;;) {
        const Token t = lexer.next();
        if (t.kind == T_END) break;
        if (t.kind == T_SEPARATOR) continue;
        if (t.kind != T_WORD) throw at(t.line) + "a template or data object expected";
        if (t.text == "template") {
            const Token name = lexer.next();
            if (name.kind != T_WORD) throw at(name.line) + "template name expected";
            const Token open = lexer.next();
            if (open.kind != T_OPEN) throw at(open.line) + "'{' expected after template " + name.text;
            int depth = 1;
            while (depth > 0) {
                const Token s = lexer.next();
                if (s.kind == T_END) throw at(s.line) + "unexpected end of file inside template " + name.text;
                if (s.kind == T_OPEN) ++depth;
                if (s.kind == T_CLOSE) --depth;
            }
            continue;
        }
        double number;
        if (parseNumber(t.text, &number)) throw at(t.line) + "a number outside any data object";
        cXObject* object = openObject(t);
        m_topLevel.push_back(object);
        parseBody(object);
    }

    // Resolve the references by name, the first object of a name winning.
    for (auto& object : m_objects)
        for (cXChild& child : object->children)
            if (child.isReference) {
                auto found = named.find(child.referenceName);
                child.object = found == named.end() ? nullptr : found->second;
            }
}

cXObject* cXDocument::findNamed(const std::string& name) const {
    for (const auto& object : m_objects)
        if (object->name == name) return object.get();
    return nullptr;
}

// ---- cXValueReader -------------------------------------------------------------------------

void cXValueReader::fail(const std::string& message) const {
    const int line = m_position < m_object.values.size() ? m_object.values[m_position].line
                     : m_object.values.empty()            ? m_object.line
                                                          : m_object.values.back().line;
    throw at(line) + m_object.type + (m_object.name.empty() ? "" : " '" + m_object.name + "'") + ": " + message;
}

const cXValue& cXValueReader::next(const char* what) {
    if (m_position >= m_object.values.size()) fail(std::string(what) + " missing");
    return m_object.values[m_position++];
}

uint32_t cXValueReader::readUnsigned(const char* what) {
    const cXValue& v = next(what);
    if (v.isString || v.number < 0.0 || v.number > 4294967295.0 || v.number != std::floor(v.number)) {
        --m_position;
        fail(std::string(what) + " is not an unsigned whole number");
    }
    return static_cast<uint32_t>(v.number);
}

float cXValueReader::readFloat(const char* what) {
    const cXValue& v = next(what);
    if (v.isString) {
        --m_position;
        fail(std::string(what) + " is not a number");
    }
    if (!(std::fabs(v.number) <= double(std::numeric_limits<float>::max()))) {
        --m_position;
        fail(std::string(what) + " is outside the range of a float");
    }
    return static_cast<float>(v.number);
}

std::string cXValueReader::readString(const char* what) {
    const cXValue& v = next(what);
    if (!v.isString) {
        --m_position;
        fail(std::string(what) + " is not a quoted string");
    }
    return v.text;
}

uint32_t cXValueReader::readCount(const char* what, size_t valuesPerItem) {
    const uint32_t count = readUnsigned(what);
    if (valuesPerItem > 0 && count > remaining() / valuesPerItem) {
        --m_position;   // the fault is the count itself
        fail(std::string(what) + " " + std::to_string(count) + " is more than the data that follows");
    }
    return count;
}

cMatrix4 cXValueReader::readMatrix(const char* what) {
    float values[16];
    for (float& v : values) v = readFloat(what);
    return cMatrix4::fromFloats(values);
}

// ---- loadXModel ----------------------------------------------------------------------------

void loadXModel(const void* data, size_t size, cModelLoadRecord& record) {
    cXDocument document;
    document.parse(data, size);
    LoadState state;
    for (const cXObject* object : document.topLevel()) {
        if (object->type == "Frame")
            loadFrame(*object, record.root, state);
        else if (object->type == "Mesh")
            loadMesh(*object, record.root, state);
        else if (object->type == "AnimationSet")
            loadAnimationSet(*object, record, state);
    }
}
