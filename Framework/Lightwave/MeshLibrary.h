#pragma once

// Textured triangle meshes exported from a 3D scene: one shared vertex array
// and index table, and named objects covering ranges of them.
#include "Core/Base/Result.h"
#include "Core/Resource/Resource.h"
#include "Core/Render/Vertices.h"
#include "Framework/Lightwave/MeshObject.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace base
{
class Stream;
}
namespace render
{
class Image;
class Render;
} // namespace render

namespace lightwave
{
class MeshLibrary : public resource::Resource
{
public:
    static constexpr uint32_t kEndTagA = 2011;
    static constexpr uint32_t kEndTagB = 2012;

    MeshLibrary() = default;
    ~MeshLibrary() override;
    MeshLibrary(const MeshLibrary&) = delete;
    MeshLibrary& operator=(const MeshLibrary&) = delete;

    HVResultEnum Release() override;
    // Read, then the pictures; a failure leaves nothing behind.
    HVResultEnum DoLoad() override;
    HVResultEnum DoUnLoad() override;

    // The body of a library file. Every count and range is checked before it
    // is used, so a damaged file fails with 1 and is never read out of bounds.
    HVResultEnum Read(base::Stream& stream);
    HVResultEnum LoadTextures();

    // The first object of exactly that name, in file order.
    MeshObject* FindObject(const std::string& name);

    void SetRender(render::Render* render) { mRender = render; }
    render::Render* GetRender() const { return mRender; }
    const std::vector<int32_t>& GetIndices() const { return mIndices; }
    const std::vector<render::SVertex2D>& GetVertices() const { return mVertices; }
    const std::vector<MeshObject>& GetObjects() const { return mObjects; }
    const std::map<std::wstring, render::Image*>& GetTextures() const { return mTextures; }

private:
    HVResultEnum ReadObject(base::Stream& stream, MeshObject& object, std::vector<bool>& rebased);
    void FreeAll();

    render::Render* mRender = nullptr;
    std::vector<int32_t> mIndices;
    std::vector<render::SVertex2D> mVertices;
    std::vector<MeshObject> mObjects;
    std::map<std::wstring, render::Image*> mTextures;
};
} // namespace lightwave
