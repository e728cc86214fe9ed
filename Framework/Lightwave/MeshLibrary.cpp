#include "Framework/Lightwave/MeshLibrary.h"

#include "Core/Base/Paths.h"
#include "Core/Base/ReadString.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/Lightwave/ReadFile.h"
#include "Framework/Lightwave/StreamFields.h"

namespace lightwave
{
namespace
{
constexpr uint32_t kIndexSize = 4;
constexpr uint32_t kVertexSize = 20;
// Two empty strings and four words.
constexpr uint32_t kObjectMinSize = 24;
} // namespace

MeshLibrary::~MeshLibrary() { FreeAll(); }

HVResultEnum MeshLibrary::Release() { return resource::ResourceManager::Instance()->Remove(this); }

HVResultEnum MeshLibrary::DoLoad()
{
    HVResultEnum result = ReadFile(GetName(), [this](base::Stream& stream) { return Read(stream); });
    if (result == HV_OK)
        result = LoadTextures();
    // A resource whose load fails is never unloaded: nothing may stay behind.
    if (result != HV_OK)
        FreeAll();
    return result;
}

HVResultEnum MeshLibrary::DoUnLoad()
{
    FreeAll();
    return HV_OK;
}

void MeshLibrary::FreeAll()
{
    mObjects.clear();
    mIndices.clear();
    mIndices.shrink_to_fit();
    mVertices.clear();
    mVertices.shrink_to_fit();
    for (auto& [name, picture] : mTextures)
    {
        if (picture)
        {
            picture->Release();
            delete picture;
        }
        picture = nullptr;
    }
    mTextures.clear();
}

HVResultEnum MeshLibrary::Read(base::Stream& stream)
{
    FreeAll();
    uint32_t indexCount;
    if (!ReadUInt32(stream, indexCount) || !CountFits(stream, indexCount, kIndexSize))
        return HV_FAIL;
    mIndices.resize(indexCount);
    for (int32_t& index : mIndices)
        if (!ReadInt32(stream, index))
            return HV_FAIL;

    uint32_t vertexCount;
    if (!ReadUInt32(stream, vertexCount) || !CountFits(stream, vertexCount, kVertexSize))
        return HV_FAIL;
    mVertices.resize(vertexCount);
    for (render::SVertex2D& vertex : mVertices)
    {
        float v;
        if (!ReadFloat(stream, vertex.x) || !ReadFloat(stream, vertex.y) || !ReadFloat(stream, vertex.z) ||
            !ReadFloat(stream, vertex.u) || !ReadFloat(stream, v))
            return HV_FAIL;
        vertex.w = 1.0f;
        vertex.diffuse = 0xFFFFFFFFu;
        vertex.specular = 0xFFFFFFFFu;
        vertex.v = 1.0f - v;
    }

    uint32_t objectCount;
    if (!ReadUInt32(stream, objectCount) || !CountFits(stream, objectCount, kObjectMinSize))
        return HV_FAIL;
    mObjects.resize(objectCount);
    // An index entry rebased by two objects would be rebased twice.
    std::vector<bool> rebased(mIndices.size(), false);
    for (MeshObject& object : mObjects)
    {
        if (ReadObject(stream, object, rebased) != HV_OK)
            return HV_FAIL;
        mTextures.emplace(object.texture, nullptr);
    }

    uint32_t endTag;
    if (!ReadUInt32(stream, endTag) || (endTag != kEndTagA && endTag != kEndTagB))
        return HV_FAIL;
    return HV_OK;
}

HVResultEnum MeshLibrary::ReadObject(base::Stream& stream, MeshObject& object, std::vector<bool>& rebased)
{
    std::string texture;
    uint32_t firstVertex, vertexCount, firstIndex, indexCount;
    if (base::ReadString(stream, object.name) != HV_OK || base::ReadString(stream, texture) != HV_OK ||
        !ReadUInt32(stream, firstVertex) || !ReadUInt32(stream, vertexCount) || !ReadUInt32(stream, firstIndex) ||
        !ReadUInt32(stream, indexCount))
        return HV_FAIL;
    object.texture = base::BytesToWide(texture);

    if (uint64_t(firstIndex) + indexCount > mIndices.size() ||
        uint64_t(firstVertex) + vertexCount > mVertices.size())
        return HV_FAIL;
    // Stored indices are 1-based absolute vertex numbers; each must name a
    // vertex of this object, so that the rebased index lands in [0, count).
    const int64_t lowest = int64_t(firstVertex) + 1;
    const int64_t highest = int64_t(firstVertex) + vertexCount;
    for (uint32_t k = 0; k < indexCount; ++k)
    {
        const uint32_t slot = firstIndex + k;
        const int64_t stored = mIndices[slot];
        if (stored < lowest || stored > highest || rebased[slot])
            return HV_FAIL;
        const render::SVertex2D& vertex = mVertices[size_t(stored - 1)];
        object.bounds.Extend(math::Vector3(vertex.x, vertex.y, vertex.z));
        mIndices[slot] = int32_t(stored - lowest);
        rebased[slot] = true;
    }
    object.ownsArrays = 0;
    object.indexCount = indexCount;
    object.indices = mIndices.data() + firstIndex;
    object.vertexCount = vertexCount;
    object.vertices = mVertices.data() + firstVertex;
    return HV_OK;
}

HVResultEnum MeshLibrary::LoadTextures()
{
    const std::wstring folder = base::GetRelativeDirectory(GetName()) + L"images/";
    for (auto& [name, picture] : mTextures)
    {
        std::wstring path = folder + name;
        for (wchar_t& c : path)
            if (c == L'\\')
                c = L'/';
        if (!mRender)
            return HV_FAIL;
        const HVResultEnum result = mRender->LoadTexture(path, nullptr, &picture, nullptr);
        if (result != HV_OK)
            return result;
    }
    for (MeshObject& object : mObjects)
    {
        const auto it = mTextures.find(object.texture);
        object.picture = it != mTextures.end() ? it->second : nullptr;
        if (!object.picture)
            return HV_FAIL;
    }
    return HV_OK;
}

MeshObject* MeshLibrary::FindObject(const std::string& name)
{
    for (MeshObject& object : mObjects)
        if (object.name == name)
            return &object;
    return nullptr;
}
} // namespace lightwave
