#pragma once
// A model resource (type 1, extension "x"): an .x file in text form turned into a tree of
// frames with matrices, the mesh parts skinned to those frames, and the named animation sets.
// A sprite asks the model for an instance (createInstance), which holds its own animation
// state, placement and posed meshes.
//
// Binary and compressed .x files are refused: loading them fails with a text.

#include <cstddef>
#include <map>
#include <vector>

#include "engine/core/cResource.h"
#include "engine/core/cString.h"

class cModelFrame;
class cModelMesh;
class cModelAnimationSet;
class cModelInstance;
struct cModelLoadRecord;
struct cModelFrameRecord;
class cDevice;
struct DeviceMatrix;
struct MeshDrawPart;

class cModel : public cResource {
public:
    // Reads the file through the file manager. Throws the file manager's text when the file
    // cannot be read, and "Model '<name>': <what is wrong>" for a malformed file (the texts
    // "No animaton keys are loaded." and "Unknown type of keys was found." as they are).
    cModel(const cStringA& name, int group);
    // The same from bytes already in memory (tools and tests).
    cModel(const cStringA& name, int group, const void* data, size_t size);
    ~cModel() override;

    cModel* asModel() override { return this; }
    void onLostDevice() override;
    void onResetDevice() override;

    // A new instance with one bone-matrix set per mesh part (null where a part has no mesh);
    // the caller owns it. An instance that outlives its model stays safe to update (it poses
    // nothing) and to delete.
    cModelInstance* createInstance();
    // Called by an instance that is being deleted.
    void removeInstance(cModelInstance* instance);

    // The frame of exactly this name, depth first from the root ("<root>"); null when none.
    cModelFrame* findFrame(const cStringA& name) const;
    // The animation set of this name, in any case; null when none.
    cModelAnimationSet* findAnimationSet(const cStringA& name) const;
    // Every frame's local matrix back to its rest matrix.
    void resetPose();
    // Combined matrices from the root down.
    void updateCombined();

    cModelFrame* getRootFrame() const { return m_root; }
    // Every mesh part; a frame's children's parts come before its own.
    const std::vector<cModelMesh*>& getMeshParts() const { return m_meshes; }
    // By lower-case name.
    const std::map<cStringA, cModelAnimationSet*>& getAnimationSets() const { return m_sets; }

    // Registers the factory of resource type 1 with the resource manager and the model loader
    // with the renderer (repeating it does no harm). The renderer asks
    // queryModelMeshParts for the meshes of model chunks by default.
    static void registerResourceFactory();

private:
    void build(const void* data, size_t size);
    cModelFrame* buildFrame(cModelFrameRecord& record);

    cModelFrame* m_root = nullptr;
    std::vector<cModelMesh*> m_meshes;
    std::map<cStringA, cModelAnimationSet*> m_sets;
    std::vector<cModelInstance*> m_instances;   // alive, in creation order
};

// The renderer's view of an instance: its world matrix and, for each bone-matrix set that has
// a mesh, the mesh's device buffers and attribute ranges (the posed vertices are copied to the
// device as needed). Each buffer handed out carries one added reference: the caller releases
// both buffers of each part after drawing. Returns false when there is nothing to draw.
bool queryModelMeshParts(cModelInstance* instance, DeviceMatrix* world, std::vector<MeshDrawPart>* parts);
// The same on a given device (tests, and draw callbacks that have the device at hand).
bool queryModelMeshParts(cDevice* device, cModelInstance* instance, DeviceMatrix* world,
                         std::vector<MeshDrawPart>* parts);

// Draws an instance with the device's current states and textures: world matrix, the sprite
// vertex format, each part's attribute ranges; then the sprite format and the identity world
// matrix again, with stream 0 and the indices unbound. Returns the number of triangles drawn.
unsigned drawModelInstance(cDevice* device, cModelInstance* instance);
