#include "engine/media/cModelFrame.h"

#include "engine/media/cModelMesh.h"

cModelFrame::cModelFrame(const cStringA& name, const cMatrix4& matrix)
    : m_name(name), m_rest(matrix), m_local(matrix), m_combined(matrix) {}

cModelFrame::~cModelFrame() {
    for (cModelMesh* mesh : m_meshes) delete mesh;
    for (cModelFrame* child : m_children) delete child;
}

cModelFrame* cModelFrame::find(const cStringA& name) {
    // Iterative, so that a deep tree costs no stack.
    std::vector<cModelFrame*> pending{this};
    while (!pending.empty()) {
        cModelFrame* frame = pending.back();
        pending.pop_back();
        if (frame->m_name.str() == name.str()) return frame;
        for (auto it = frame->m_children.rbegin(); it != frame->m_children.rend(); ++it) pending.push_back(*it);
    }
    return nullptr;
}

void cModelFrame::resetPose() {
    m_local = m_rest;
    for (cModelFrame* child : m_children) child->resetPose();
}

void cModelFrame::updateCombined(const cMatrix4& parent) {
    m_combined = multiply(m_local, parent);
    for (cModelFrame* child : m_children) child->updateCombined(m_combined);
}
