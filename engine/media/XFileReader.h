#pragma once
// Reader of the text form of .x files, and the model loader built on it.
//
// The document: after the 16-byte header ("xof 0302txt 0032" or "xof 0303txt 0064"), template
// declarations (skipped) and data objects. A data object is "Type [name] [<guid>] { ... }";
// its body holds numbers and quoted strings separated by ";" and ",", nested data objects and
// references "{ name }" to objects named elsewhere in the file. "//" and "#" start comments.
// Binary ("bin ") and compressed ("tzip", "bzip") files are refused.
//
// Every failure is thrown as a std::string describing what is wrong and where.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/media/cModelMath.h"

// ---- The generic document ----------------------------------------------------------------

struct cXValue {
    double number = 0.0;
    std::string text;   // the contents of a quoted string
    bool isString = false;
    int line = 0;
};

struct cXObject;

// A child of a data object: a nested object, or a reference resolved to the object it names
// (target is null when no object of that name exists in the file).
struct cXChild {
    cXObject* object = nullptr;
    bool isReference = false;
    std::string referenceName;
};

struct cXObject {
    std::string type;
    std::string name;   // empty for an unnamed object
    int line = 0;
    std::vector<cXValue> values;   // the object's own data, in order, separators dropped
    std::vector<cXChild> children;
};

class cXDocument {
public:
    // Parses the whole file; throws a std::string on any fault.
    void parse(const void* data, size_t size);

    const std::vector<cXObject*>& topLevel() const { return m_topLevel; }
    cXObject* findNamed(const std::string& name) const;

private:
    std::vector<std::unique_ptr<cXObject>> m_objects;   // every object, in file order
    std::vector<cXObject*> m_topLevel;
};

// Sequential reading of an object's values with checks: every read names what it reads, so a
// short or malformed object gives a clear text.
class cXValueReader {
public:
    explicit cXValueReader(const cXObject& object) : m_object(object) {}

    uint32_t readUnsigned(const char* what);
    float readFloat(const char* what);
    std::string readString(const char* what);
    // Reads a count and checks that at least count * valuesPerItem values follow.
    uint32_t readCount(const char* what, size_t valuesPerItem);
    cMatrix4 readMatrix(const char* what);
    size_t remaining() const { return m_object.values.size() - m_position; }

    [[noreturn]] void fail(const std::string& message) const;

private:
    const cXValue& next(const char* what);

    const cXObject& m_object;
    size_t m_position = 0;
};

// ---- Model load records --------------------------------------------------------------------

// One drawn range of a mesh: triangles faceStart .. faceStart + faceCount - 1 (in the index
// list, three indices each), using vertices vertexStart .. vertexStart + vertexCount - 1.
struct cModelAttributeRange {
    uint32_t attribute = 0;
    uint32_t faceStart = 0;
    uint32_t faceCount = 0;
    uint32_t vertexStart = 0;
    uint32_t vertexCount = 0;
};

struct cModelBoneRecord {
    std::string name;
    cMatrix4 offset;
    std::vector<uint32_t> vertices;
    std::vector<float> weights;
};

struct cModelMeshRecord {
    std::string name;
    std::vector<cModelVec3> positions;
    std::vector<cModelVec2> texCoords;   // empty, or one per vertex
    std::vector<uint32_t> colours;       // empty, or one 0xAARRGGBB per vertex (default white)
    std::vector<uint32_t> indices;       // three per triangle, sorted by attribute
    std::vector<cModelAttributeRange> ranges;
    uint32_t materialCount = 0;
    std::vector<cModelBoneRecord> bones;
};

struct cModelFrameRecord {
    std::string name;
    cMatrix4 matrix;
    std::vector<std::unique_ptr<cModelMeshRecord>> meshes;
    std::vector<std::unique_ptr<cModelFrameRecord>> children;
};

struct cModelKeyRecord {
    uint32_t time = 0;
    // rotation x, y, z, w (the conjugate of the file's quaternion); scale or position x, y, z;
    // or a matrix
    float values[16] = {};
};

struct cModelAnimationRecord {
    std::string name;
    std::string frameName;
    std::vector<cModelKeyRecord> rotationKeys;
    std::vector<cModelKeyRecord> scaleKeys;
    std::vector<cModelKeyRecord> positionKeys;
    std::vector<cModelKeyRecord> matrixKeys;
    uint32_t options[2] = {0, 0};
};

struct cModelAnimationSetRecord {
    std::string name;
    std::vector<std::unique_ptr<cModelAnimationRecord>> animations;
};

struct cModelLoadRecord {
    cModelFrameRecord root;   // named "<root>", identity matrix
    std::vector<std::unique_ptr<cModelAnimationSetRecord>> animationSets;

    cModelLoadRecord() { root.name = "<root>"; }
};

// Key types of an AnimationKey object.
enum ModelKeyType : uint32_t { KEY_ROTATION = 0, KEY_SCALE = 1, KEY_POSITION = 2, KEY_MATRIX = 4 };

// Fills the load record from the bytes of an .x file. Throws on a malformed file: the texts
// "No animaton keys are loaded." and "Unknown type of keys was found." as plain narrow texts,
// every other fault as a std::string.
void loadXModel(const void* data, size_t size, cModelLoadRecord& record);
