#include "engine/media/cModelMesh.h"

#include <algorithm>
#include <cstring>

#include "engine/media/cBoneMatrixSet.h"
#include "engine/media/cModel.h"
#include "engine/media/cModelFrame.h"
#include "platform/device/Device.h"

// ---- cModelMeshBuffer ----------------------------------------------------------------------

cVertexBuffer* cModelMeshBuffer::getDeviceBuffer(cDevice* device) {
    if (!device || m_vertices.empty()) return nullptr;
    if (m_buffer && m_bufferDevice != device) releaseDevice();
    const uint32_t bytes = static_cast<uint32_t>(m_vertices.size() * sizeof(cModelVertex));
    if (!m_buffer) {
        if (devFailed(device->createVertexBuffer(bytes, USAGE_DYNAMIC | USAGE_WRITEONLY, kSpriteVertexFormat,
                                                 MemoryPool::Default, &m_buffer)) ||
            !m_buffer) {
            m_buffer = nullptr;
            return nullptr;
        }
        m_bufferDevice = device;
        m_changed = true;
    }
    if (m_changed) {
        void* data = nullptr;
        if (devFailed(m_buffer->lock(0, bytes, &data, LOCK_DISCARD)) || !data) return nullptr;
        std::memcpy(data, m_vertices.data(), bytes);
        m_buffer->unlock();
        m_changed = false;
    }
    return m_buffer;
}

void cModelMeshBuffer::releaseDevice() {
    if (m_buffer) m_buffer->release();
    m_buffer = nullptr;
    m_bufferDevice = nullptr;
    m_changed = true;
}

// ---- cModelMesh ----------------------------------------------------------------------------

cModelMesh::cModelMesh(cModelMeshRecord& record, cModelFrame* frame)
    : m_name(record.name), m_frame(frame), m_materialCount(record.materialCount) {
    const size_t count = record.positions.size();
    m_vertices.resize(count);
    for (size_t i = 0; i < count; ++i) {
        cModelVertex& v = m_vertices[i];
        v.x = record.positions[i].x;
        v.y = record.positions[i].y;
        v.z = record.positions[i].z;
        if (i < record.colours.size()) v.colour = record.colours[i];
        if (i < record.texCoords.size()) {
            v.u0 = v.u1 = record.texCoords[i].x;
            v.v0 = v.v1 = record.texCoords[i].y;
        }
    }
    m_indices = std::move(record.indices);
    m_ranges = std::move(record.ranges);

    // Bones and their weights, regrouped per vertex (indices were checked by the reader).
    const size_t bones = record.bones.size();
    m_boneNames.reserve(bones);
    m_boneOffsets.reserve(bones);
    m_boneFrames.assign(bones, nullptr);
    std::vector<uint32_t> perVertex(count + 1, 0);
    for (const auto& bone : record.bones) {
        m_boneNames.emplace_back(bone.name);
        m_boneOffsets.push_back(bone.offset);
        for (uint32_t v : bone.vertices)
            if (v < count) ++perVertex[v + 1];
    }
    if (bones > 0) {
        for (size_t v = 0; v < count; ++v) perVertex[v + 1] += perVertex[v];
        m_influenceStart = perVertex;
        m_influenceBone.resize(perVertex[count]);
        m_influenceWeight.resize(perVertex[count]);
        std::vector<uint32_t> fill(perVertex.begin(), perVertex.end() - 1);
        for (size_t b = 0; b < bones; ++b) {
            const auto& bone = record.bones[b];
            for (size_t k = 0; k < bone.vertices.size() && k < bone.weights.size(); ++k) {
                const uint32_t v = bone.vertices[k];
                if (v >= count) continue;
                m_influenceBone[fill[v]] = static_cast<uint32_t>(b);
                m_influenceWeight[fill[v]] = bone.weights[k];
                ++fill[v];
            }
        }
    } else if (hasGeometry()) {
        m_shared = std::make_unique<cModelMeshBuffer>(m_vertices);
    }
}

cModelMesh::~cModelMesh() {
    for (cBoneMatrixSet* set : m_sets) set->detach();
    m_sets.clear();
    releaseDeviceIndices();
}

void cModelMesh::onLostDevice() {
    for (cBoneMatrixSet* set : m_sets) set->releaseMesh();
    if (m_shared) m_shared->releaseDevice();
    releaseDeviceIndices();
}

void cModelMesh::onResetDevice() {
    for (cBoneMatrixSet* set : m_sets) set->setMesh(this, generateMesh());
}

void cModelMesh::bindBones(cModel& model) {
    for (size_t i = 0; i < m_boneNames.size(); ++i) m_boneFrames[i] = model.findFrame(m_boneNames[i]);
}

cModelMeshBuffer* cModelMesh::generateMesh() {
    if (!hasGeometry()) return nullptr;
    if (isSkinned()) return new cModelMeshBuffer(m_vertices);
    return m_shared.get();
}

cBoneMatrixSet* cModelMesh::addBoneMatrixSet() {
    cModelMeshBuffer* mesh = generateMesh();
    if (!mesh) return nullptr;
    auto* set = new cBoneMatrixSet(this, mesh);
    m_sets.push_back(set);
    return set;
}

void cModelMesh::removeBoneMatrixSet(cBoneMatrixSet* set) {
    m_sets.erase(std::remove(m_sets.begin(), m_sets.end(), set), m_sets.end());
}

void cModelMesh::computeBoneMatrices(std::vector<cMatrix4>& target) const {
    if (target.size() < m_boneFrames.size()) target.resize(m_boneFrames.size());
    for (size_t i = 0; i < m_boneFrames.size(); ++i)
        if (m_boneFrames[i]) target[i] = multiply(m_boneOffsets[i], m_boneFrames[i]->getCombinedMatrix());
}

void cModelMesh::skin(const std::vector<cMatrix4>& bones, cModelMeshBuffer& target) const {
    std::vector<cModelVertex>& out = target.editVertices();
    if (out.size() != m_vertices.size()) out = m_vertices;
    for (size_t v = 0; v < m_vertices.size(); ++v) {
        const cModelVertex& rest = m_vertices[v];
        const cModelVec3 p{rest.x, rest.y, rest.z};
        cModelVec3 sum{0.0f, 0.0f, 0.0f};
        float total = 0.0f;
        for (uint32_t k = m_influenceStart[v]; k < m_influenceStart[v + 1]; ++k) {
            const uint32_t b = m_influenceBone[k];
            if (b >= bones.size()) continue;
            const float w = m_influenceWeight[k];
            const cModelVec3 q = transformPoint(p, bones[b]);
            sum.x += w * q.x;
            sum.y += w * q.y;
            sum.z += w * q.z;
            total += w;
        }
        if (total == 0.0f) sum = p;
        out[v].x = sum.x;
        out[v].y = sum.y;
        out[v].z = sum.z;
    }
}

cIndexBuffer* cModelMesh::getDeviceIndices(cDevice* device) {
    if (!device || m_indices.empty()) return nullptr;
    if (m_deviceIndices && m_indicesDevice != device) releaseDeviceIndices();
    if (m_deviceIndices) return m_deviceIndices;
    const uint32_t bytes = static_cast<uint32_t>(m_indices.size() * sizeof(uint32_t));
    if (devFailed(device->createIndexBuffer(bytes, USAGE_WRITEONLY, IndexFormat::Index32, MemoryPool::Default,
                                            &m_deviceIndices)) ||
        !m_deviceIndices) {
        m_deviceIndices = nullptr;
        return nullptr;
    }
    void* data = nullptr;
    if (devFailed(m_deviceIndices->lock(0, bytes, &data, 0)) || !data) {
        releaseDeviceIndices();
        return nullptr;
    }
    std::memcpy(data, m_indices.data(), bytes);
    m_deviceIndices->unlock();
    m_indicesDevice = device;
    return m_deviceIndices;
}

void cModelMesh::releaseDeviceIndices() {
    if (m_deviceIndices) m_deviceIndices->release();
    m_deviceIndices = nullptr;
    m_indicesDevice = nullptr;
}
