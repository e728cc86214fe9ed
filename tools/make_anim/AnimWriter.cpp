#include "AnimWriter.h"

#include <cstring>

namespace animfile
{
ByteWriter& ByteWriter::U32(uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        mBytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return *this;
}

ByteWriter& ByteWriter::F32(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return U32(bits);
}

ByteWriter& ByteWriter::String(const std::string& text)
{
    U32(static_cast<uint32_t>(text.size()));
    mBytes += text;
    return *this;
}

void WriteEnvelope(ByteWriter& out, const EnvelopeDesc& envelope)
{
    out.U32(static_cast<uint32_t>(envelope.keys.size())).I32(envelope.pre).I32(envelope.post);
    for (const KeyDesc& key : envelope.keys)
    {
        out.F32(key.value).F32(key.time).I32(key.shape);
        for (float p : key.p)
            out.F32(p);
        out.U32(0).U32(0);
    }
}

std::string WriteAnim(const AnimDesc& anim)
{
    ByteWriter out;
    out.String(anim.name).F32(anim.start).F32(anim.end).U32(static_cast<uint32_t>(anim.layers.size()));
    for (const LayerDesc& layer : anim.layers)
    {
        out.String(layer.layerName).String(layer.library).String(layer.object);
        out.U32(layer.parent).U32(layer.flagA).U32(layer.flagB).U32(layer.hasColour ? 1 : 0);
        if (layer.hasColour)
            for (const EnvelopeDesc& envelope : layer.colour)
                WriteEnvelope(out, envelope);
        for (const EnvelopeDesc& envelope : layer.motion)
            WriteEnvelope(out, envelope);
    }
    return out.Bytes();
}

std::string WriteMeshLibrary(const MeshLibraryDesc& library)
{
    ByteWriter out;
    out.U32(static_cast<uint32_t>(library.indices.size()));
    for (int32_t index : library.indices)
        out.I32(index);
    out.U32(static_cast<uint32_t>(library.vertices.size()));
    for (const auto& vertex : library.vertices)
        for (float f : vertex)
            out.F32(f);
    out.U32(static_cast<uint32_t>(library.objects.size()));
    for (const MeshObjectDesc& object : library.objects)
    {
        out.String(object.name).String(object.texture);
        out.U32(object.firstVertex).U32(object.vertexCount).U32(object.firstIndex).U32(object.indexCount);
    }
    out.U32(library.endTag);
    return out.Bytes();
}
} // namespace animfile
