#pragma once
// A vertex shader resource (type 5; files "sh"): the compiled token stream of a version 1.x
// vertex shader for the sprite vertex layout (v0 position, v5 colour, v7 and v8 texture
// coordinates). The renderer supplies the transposed view-projection matrix in c0 to c3 and the
// sprite's own constants after it. The device shader is deleted when the device is lost and
// made again from the kept code after the reset.

#include <cstdint>
#include <vector>

#include "engine/core/cResource.h"
#include "engine/core/cString.h"

class cVertexShader : public cResource {
public:
    // Reads the file through the file manager and creates the device shader. A stream the
    // device refuses leaves the handle 0 (the batch then draws with the fixed vertex format).
    cVertexShader(const cStringA& name, int group);
    // The same from bytes in memory (tests).
    cVertexShader(const cStringA& name, int group, const void* code, uint32_t size);
    // Deletes the device shader, then frees the code.
    ~cVertexShader() override;

    cVertexShader* asShader() override { return this; }
    void onLostDevice() override;
    void onResetDevice() override;

    uint32_t getHandle() const { return m_handle; }
    // The result of the last creation (0 on success).
    int32_t getCreateResult() const { return m_create_result; }
    const std::vector<uint8_t>& getCode() const { return m_code; }

    // Registers the factory of type 5 with the resource manager (repeating it does no harm).
    static void registerResourceFactory();

private:
    void create();

    uint32_t m_handle = 0;
    int32_t m_create_result = 0;
    std::vector<uint8_t> m_code;
};
