#include "engine/media/cModel.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/media/XFileReader.h"
#include "engine/media/cBoneMatrixSet.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cModelAnimationSet.h"
#include "engine/media/cModelFrame.h"
#include "engine/media/cModelInstance.h"
#include "engine/media/cModelMesh.h"
#include "engine/media/cModelTrack.h"
#include "platform/device/Device.h"

cModel::cModel(const cStringA& name, int group, const void* data, size_t size)
    : cResource(RESOURCE_MODEL, name, group) {
    build(data, size);
}

cModel::~cModel() {
    for (cModelInstance* instance : m_instances) instance->detachModel();
    m_instances.clear();
    delete m_root;   // its frames delete the mesh parts
    m_root = nullptr;
    m_meshes.clear();
    for (auto& entry : m_sets) delete entry.second;
    m_sets.clear();
}

void cModel::build(const void* data, size_t size) {
    cModelLoadRecord record;
    try {
        loadXModel(data, size, record);
    } catch (const std::string& text) {
        throw std::string("Model '" + getName().str() + "': " + text);
    }
    try {
        m_root = buildFrame(record.root);
        for (cModelMesh* mesh : m_meshes) mesh->bindBones(*this);

        int unnamed = 0;
        for (const auto& setRecord : record.animationSets) {
            cStringA name(setRecord->name);
            name.makeLower();
            if (name.isEmpty()) name = cStringA("unnamed_" + std::to_string(++unnamed));
            if (m_sets.count(name)) continue;   // the first set of a name wins
            auto* set = new cModelAnimationSet(name);
            m_sets.emplace(name, set);
            for (const auto& animation : setRecord->animations) set->addTrack(new cModelTrack(*animation, *this));
        }
    } catch (...) {
        delete m_root;
        m_root = nullptr;
        m_meshes.clear();
        for (auto& entry : m_sets) delete entry.second;
        m_sets.clear();
        throw;
    }
}

cModelFrame* cModel::buildFrame(cModelFrameRecord& record) {
    auto* frame = new cModelFrame(cStringA(record.name), record.matrix);
    try {
        for (auto& child : record.children) frame->addChild(buildFrame(*child));
        for (auto& meshRecord : record.meshes) {
            auto* mesh = new cModelMesh(*meshRecord, frame);
            frame->addMesh(mesh);
            m_meshes.push_back(mesh);
        }
    } catch (...) {
        delete frame;
        throw;
    }
    return frame;
}

void cModel::onLostDevice() {
    for (cModelMesh* mesh : m_meshes) mesh->onLostDevice();
}

void cModel::onResetDevice() {
    for (cModelMesh* mesh : m_meshes) mesh->onResetDevice();
}

cModelInstance* cModel::createInstance() {
    std::vector<cBoneMatrixSet*> sets;
    sets.reserve(m_meshes.size());
    for (cModelMesh* mesh : m_meshes) sets.push_back(mesh->addBoneMatrixSet());
    auto* instance = new cModelInstance(this, std::move(sets));
    m_instances.push_back(instance);
    return instance;
}

void cModel::removeInstance(cModelInstance* instance) {
    m_instances.erase(std::remove(m_instances.begin(), m_instances.end(), instance), m_instances.end());
}

cModelFrame* cModel::findFrame(const cStringA& name) const { return m_root ? m_root->find(name) : nullptr; }

cModelAnimationSet* cModel::findAnimationSet(const cStringA& name) const {
    cStringA key(name);
    key.makeLower();
    auto found = m_sets.find(key);
    return found == m_sets.end() ? nullptr : found->second;
}

void cModel::resetPose() {
    if (m_root) m_root->resetPose();
}

void cModel::updateCombined() {
    if (m_root) m_root->updateCombined(m_root->getLocalMatrix());
}

// ---- Drawing ---------------------------------------------------------------------------------

namespace {
DeviceMatrix toDevice(const cMatrix4& m) {
    DeviceMatrix d;
    std::memcpy(d.m, m.m, sizeof(d.m));
    return d;
}
}  // namespace

bool queryModelMeshParts(cDevice* device, cModelInstance* instance, DeviceMatrix* world,
                         std::vector<MeshDrawPart>* parts) {
    if (!device || !instance || !parts) return false;
    parts->clear();
    if (world) *world = toDevice(*instance->getWorldMatrix());
    for (cBoneMatrixSet* set : instance->getBoneMatrixSets()) {
        if (!set || !set->getMesh() || !set->getPart()) continue;
        cModelMesh* part = set->getPart();
        cVertexBuffer* vertices = set->getMesh()->getDeviceBuffer(device);
        cIndexBuffer* indices = part->getDeviceIndices(device);
        if (!vertices || !indices) continue;
        MeshDrawPart draw;
        draw.vertexFormat = kSpriteVertexFormat;
        draw.vertices = vertices;
        draw.indices = indices;
        vertices->addRef();
        indices->addRef();
        for (const cModelAttributeRange& r : part->getRanges())
            draw.ranges.push_back({r.attribute, r.faceStart, r.faceCount, r.vertexStart, r.vertexCount});
        parts->push_back(std::move(draw));
    }
    return !parts->empty();
}

unsigned drawModelInstance(cDevice* device, cModelInstance* instance) {
    std::vector<MeshDrawPart> parts;
    DeviceMatrix world;
    if (!queryModelMeshParts(device, instance, &world, &parts)) return 0;
    unsigned triangles = 0;
    device->setTransform(TransformKind::World, world);
    device->setVertexFormat(kSpriteVertexFormat);
    for (MeshDrawPart& part : parts) {
        for (const MeshAttributeRange& r : part.ranges) {
            device->setIndices(part.indices, 0);
            device->setStreamSource(0, part.vertices, vertexFormatSize(part.vertexFormat));
            device->drawIndexedPrimitive(PrimitiveType::TriangleList, r.vertexStart, r.vertexCount, r.faceStart * 3,
                                         r.faceCount);
            triangles += r.faceCount;
        }
        part.vertices->release();
        part.indices->release();
    }
    // Unbound, so that the device holds no reference to buffers a device loss gives back.
    device->setStreamSource(0, nullptr, 0);
    device->setIndices(nullptr, 0);
    device->setVertexFormat(kSpriteVertexFormat);
    device->setTransform(TransformKind::World, DeviceMatrix::identity());
    return triangles;
}
