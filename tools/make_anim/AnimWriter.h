#pragma once

// Writes animation (".anim") and mesh-library (".lib") files from plain
// descriptions. The make_anim tool and the engine's tests share it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace animfile
{
// Little-endian fields appended to a byte string.
class ByteWriter
{
public:
    ByteWriter& U32(uint32_t value);
    ByteWriter& I32(int32_t value) { return U32(static_cast<uint32_t>(value)); }
    ByteWriter& F32(float value);
    // A uint32 byte count, then the bytes.
    ByteWriter& String(const std::string& text);
    const std::string& Bytes() const { return mBytes; }

private:
    std::string mBytes;
};

struct KeyDesc
{
    float value = 0;
    float time = 0;
    int32_t shape = 3; // linear
    float p[4] = {0, 0, 0, 0};
};

struct EnvelopeDesc
{
    int32_t pre = 1;  // constant
    int32_t post = 1; // constant
    std::vector<KeyDesc> keys;
};

// Channels: position x, y, z, heading, pitch, bank, scale x, y, z, dissolve.
struct LayerDesc
{
    std::string layerName = "layer";
    std::string library = "screen_res";
    std::string object = "null";
    uint32_t parent = 0;
    uint32_t flagA = 0;
    uint32_t flagB = 0;
    bool hasColour = false;
    std::array<EnvelopeDesc, 4> colour;
    std::array<EnvelopeDesc, 10> motion;
};

struct AnimDesc
{
    std::string name;
    float start = 0;
    float end = 1;
    std::vector<LayerDesc> layers;
};

struct MeshObjectDesc
{
    std::string name;
    std::string texture;
    uint32_t firstVertex = 0;
    uint32_t vertexCount = 0;
    uint32_t firstIndex = 0;
    uint32_t indexCount = 0;
};

struct MeshLibraryDesc
{
    // Stored 1-based absolute vertex numbers.
    std::vector<int32_t> indices;
    // x, y, z, u, v.
    std::vector<std::array<float, 5>> vertices;
    std::vector<MeshObjectDesc> objects;
    uint32_t endTag = 2011;
};

void WriteEnvelope(ByteWriter& out, const EnvelopeDesc& envelope);
std::string WriteAnim(const AnimDesc& anim);
std::string WriteMeshLibrary(const MeshLibraryDesc& library);
} // namespace animfile
