#pragma once
// One frame of a model's frame tree: a name, the rest matrix from the file, the local matrix
// that animations overwrite, the combined matrix (local x parent's combined), the mesh parts
// bound to the frame and the child frames. All instances of a model share the frames; an
// instance poses them and reads the pose out at once.

#include <vector>

#include "engine/core/cString.h"
#include "engine/media/cModelMath.h"

class cModelMesh;

class cModelFrame {
public:
    cModelFrame(const cStringA& name, const cMatrix4& matrix);
    // Deletes the frame's mesh parts and children.
    ~cModelFrame();
    cModelFrame(const cModelFrame&) = delete;
    cModelFrame& operator=(const cModelFrame&) = delete;

    const cStringA& getName() const { return m_name; }
    const cMatrix4& getRestMatrix() const { return m_rest; }
    const cMatrix4& getLocalMatrix() const { return m_local; }
    void setLocalMatrix(const cMatrix4& matrix) { m_local = matrix; }
    const cMatrix4& getCombinedMatrix() const { return m_combined; }
    const std::vector<cModelMesh*>& getMeshes() const { return m_meshes; }
    const std::vector<cModelFrame*>& getChildren() const { return m_children; }

    // Takes ownership.
    void addChild(cModelFrame* child) { m_children.push_back(child); }
    void addMesh(cModelMesh* mesh) { m_meshes.push_back(mesh); }

    // This frame or a descendant with exactly this name, depth first (a frame before its
    // children, children in order); null when none.
    cModelFrame* find(const cStringA& name);
    // Local = rest, for this frame and every descendant.
    void resetPose();
    // Combined = local x parent (the parent's combined matrix), down the tree.
    void updateCombined(const cMatrix4& parent);

private:
    cStringA m_name;
    cMatrix4 m_rest;
    cMatrix4 m_local;
    cMatrix4 m_combined;
    std::vector<cModelMesh*> m_meshes;
    std::vector<cModelFrame*> m_children;
};
