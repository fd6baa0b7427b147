#pragma once
// A mesh part of a model, bound to the frame it was found in: the vertices and triangles from
// the file, the attribute ranges the renderer draws, and - for a skinned part - the bones with
// their names, frames, offset matrices and per-vertex weights. Skinning is done on the CPU:
// each instance of the model gets its own posed copy of the vertices (cModelMeshBuffer) through
// its cBoneMatrixSet; an unskinned part shares one buffer between all instances.

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/cString.h"
#include "engine/media/XFileReader.h"
#include "engine/media/cModelMath.h"

class cModel;
class cModelFrame;
class cBoneMatrixSet;
class cDevice;
class cVertexBuffer;
class cIndexBuffer;

// The vertex of a drawn model mesh, laid out as the sprite vertex (position, colour, two pairs
// of texture coordinates, both holding the file's coordinates): 32 bytes.
struct cModelVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    uint32_t colour = 0xFFFFFFFFu;
    float u0 = 0.0f, v0 = 0.0f, u1 = 0.0f, v1 = 0.0f;
};
static_assert(sizeof(cModelVertex) == 32, "model vertices share the sprite vertex layout");

// A drawable mesh: the posed vertices in memory and, once drawn, their copy in a device
// vertex buffer (refreshed when the vertices change, released when the device is lost).
class cModelMeshBuffer {
public:
    explicit cModelMeshBuffer(std::vector<cModelVertex> vertices) : m_vertices(std::move(vertices)) {}
    ~cModelMeshBuffer() { releaseDevice(); }
    cModelMeshBuffer(const cModelMeshBuffer&) = delete;
    cModelMeshBuffer& operator=(const cModelMeshBuffer&) = delete;

    const std::vector<cModelVertex>& getVertices() const { return m_vertices; }
    std::vector<cModelVertex>& editVertices() {
        m_changed = true;
        return m_vertices;
    }
    // The device copy, made or refreshed as needed; null when the device refuses.
    cVertexBuffer* getDeviceBuffer(cDevice* device);
    void releaseDevice();

private:
    std::vector<cModelVertex> m_vertices;
    cVertexBuffer* m_buffer = nullptr;
    cDevice* m_bufferDevice = nullptr;
    bool m_changed = true;
};

class cModelMesh {
public:
    // Takes the geometry and bones of the record.
    cModelMesh(cModelMeshRecord& record, cModelFrame* frame);
    // Detaches the bone-matrix sets still alive (their instances may be deleted later).
    virtual ~cModelMesh();
    cModelMesh(const cModelMesh&) = delete;
    cModelMesh& operator=(const cModelMesh&) = delete;

    // Device loss releases the generated meshes of the instances (a skinned part) and the device
    // copies; a reset generates them again in the instances' last pose.
    virtual void onLostDevice();
    virtual void onResetDevice();

    const cStringA& getName() const { return m_name; }
    cModelFrame* getFrame() const { return m_frame; }
    bool isSkinned() const { return !m_boneNames.empty(); }
    // False when the file gave no drawable geometry: instances get no set for the part.
    bool hasGeometry() const { return !m_vertices.empty() && !m_indices.empty(); }

    size_t getBoneCount() const { return m_boneNames.size(); }
    const cStringA& getBoneName(size_t bone) const { return m_boneNames[bone]; }
    const cMatrix4& getBoneOffset(size_t bone) const { return m_boneOffsets[bone]; }
    cModelFrame* getBoneFrame(size_t bone) const { return m_boneFrames[bone]; }

    const std::vector<cModelVertex>& getRestVertices() const { return m_vertices; }
    const std::vector<uint32_t>& getIndices() const { return m_indices; }
    const std::vector<cModelAttributeRange>& getRanges() const { return m_ranges; }
    uint32_t getMaterialCount() const { return m_materialCount; }
    const std::vector<cBoneMatrixSet*>& getBoneMatrixSets() const { return m_sets; }

    // Bone i's frame = the model's frame named like the bone (null when none matches).
    void bindBones(cModel& model);
    // A skinned part: a new buffer for one instance (the caller owns it); an unskinned part:
    // the part's shared buffer. Null without geometry.
    cModelMeshBuffer* generateMesh();
    // A new set for one instance, registered with this part; null without geometry.
    cBoneMatrixSet* addBoneMatrixSet();
    // target[i] = offset i x the combined matrix of bone i's frame, for each bound bone;
    // bones without a frame keep their matrix.
    void computeBoneMatrices(std::vector<cMatrix4>& target) const;
    // Writes the rest vertices blended by the bone matrices into the buffer. A vertex that no
    // bone weighs keeps its rest position.
    void skin(const std::vector<cMatrix4>& bones, cModelMeshBuffer& target) const;

    // The index buffer on the device (32-bit indices), made on first use.
    cIndexBuffer* getDeviceIndices(cDevice* device);

    // Called by cBoneMatrixSet.
    void removeBoneMatrixSet(cBoneMatrixSet* set);

private:
    void releaseDeviceIndices();

    cStringA m_name;
    cModelFrame* m_frame;
    std::vector<cModelVertex> m_vertices;
    std::vector<uint32_t> m_indices;
    std::vector<cModelAttributeRange> m_ranges;
    uint32_t m_materialCount = 0;
    std::vector<cStringA> m_boneNames;
    std::vector<cModelFrame*> m_boneFrames;
    std::vector<cMatrix4> m_boneOffsets;
    // Influences per vertex: entries m_influenceStart[v] .. m_influenceStart[v + 1] - 1.
    std::vector<uint32_t> m_influenceStart;
    std::vector<uint32_t> m_influenceBone;
    std::vector<float> m_influenceWeight;
    std::unique_ptr<cModelMeshBuffer> m_shared;   // unskinned parts
    std::vector<cBoneMatrixSet*> m_sets;
    cIndexBuffer* m_deviceIndices = nullptr;
    cDevice* m_indicesDevice = nullptr;
};
