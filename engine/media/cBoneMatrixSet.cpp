#include "engine/media/cBoneMatrixSet.h"

#include <algorithm>

#include "engine/media/cModelMesh.h"

cBoneMatrixSet::cBoneMatrixSet(cModelMesh* part, cModelMeshBuffer* mesh)
    : m_part(part), m_mesh(mesh), m_ownsMesh(part->isSkinned()), m_matrices(part->getBoneCount()) {}

cBoneMatrixSet::~cBoneMatrixSet() {
    if (m_part) m_part->removeBoneMatrixSet(this);
    releaseMesh();
}

void cBoneMatrixSet::update() {
    if (!m_part) return;
    m_part->computeBoneMatrices(m_matrices);
    skinIntoMesh();
}

void cBoneMatrixSet::refresh(const cMatrix4* matrices, size_t count) {
    if (!m_part || !matrices) return;
    std::copy(matrices, matrices + std::min(count, m_matrices.size()), m_matrices.begin());
    skinIntoMesh();
}

void cBoneMatrixSet::releaseMesh() {
    if (m_ownsMesh) delete m_mesh;
    if (m_ownsMesh || !m_part) m_mesh = nullptr;
}

void cBoneMatrixSet::setMesh(cModelMesh* part, cModelMeshBuffer* mesh) {
    if (m_ownsMesh && mesh != m_mesh) delete m_mesh;
    m_part = part;
    m_mesh = mesh;
    skinIntoMesh();
}

void cBoneMatrixSet::detach() {
    releaseMesh();
    m_mesh = nullptr;
    m_part = nullptr;
}

void cBoneMatrixSet::skinIntoMesh() {
    if (m_part && m_mesh && m_part->isSkinned()) m_part->skin(m_matrices, *m_mesh);
}
