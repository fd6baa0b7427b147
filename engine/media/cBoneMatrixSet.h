#pragma once
// One mesh part of one model instance: the part, the instance's generated mesh (its own posed
// vertices for a skinned part, the part's shared buffer otherwise) and one bone matrix per bone
// (the identity at creation).

#include <cstddef>
#include <vector>

#include "engine/media/cModelMath.h"

class cModelMesh;
class cModelMeshBuffer;

class cBoneMatrixSet {
public:
    // Made by cModelMesh::addBoneMatrixSet, which enters it in the part's list.
    cBoneMatrixSet(cModelMesh* part, cModelMeshBuffer* mesh);
    // Leaves the part and releases a generated skinned mesh.
    virtual ~cBoneMatrixSet();
    cBoneMatrixSet(const cBoneMatrixSet&) = delete;
    cBoneMatrixSet& operator=(const cBoneMatrixSet&) = delete;

    // Null once the model is gone.
    cModelMesh* getPart() const { return m_part; }
    // Null while the device is lost (skinned parts).
    cModelMeshBuffer* getMesh() const { return m_mesh; }
    const std::vector<cMatrix4>& getBoneMatrices() const { return m_matrices; }

    // Bone matrices from the posed frames, then the skinned vertices.
    void update();
    // Bone matrices from the caller (the first count, at most one per bone), then the skinned
    // vertices.
    void refresh(const cMatrix4* matrices, size_t count);
    // Device loss: a skinned part's generated mesh is released; a shared mesh is kept.
    void releaseMesh();
    // Device reset: the new mesh, skinned at once with the current matrices.
    void setMesh(cModelMesh* part, cModelMeshBuffer* mesh);
    // The part is being deleted: forget it and its mesh.
    void detach();

private:
    void skinIntoMesh();

    cModelMesh* m_part;
    cModelMeshBuffer* m_mesh;
    bool m_ownsMesh;   // a skinned part's mesh belongs to the set
    std::vector<cMatrix4> m_matrices;
};
