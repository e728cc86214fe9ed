// The bytes as a mesh-library file body (no pictures).
#include "Core/Base/MemoryStream.h"
#include "Framework/Lightwave/MeshLibrary.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    base::MemoryStream stream(data, size);
    lightwave::MeshLibrary library;
    if (library.Read(stream) != HV_OK)
        return 0;
    // Every object's rebased indices must name its own vertices.
    volatile float sink = 0;
    for (const lightwave::MeshObject& object : library.GetObjects())
        for (uint32_t k = 0; k < object.indexCount; ++k)
            sink = sink + object.vertices[object.indices[k]].x;
    return 0;
}
