#pragma once

// A key-framed animation of layers, loaded from an ".anim" file, with the
// mesh libraries its records name.
#include "Core/Base/Result.h"
#include "Core/Resource/Resource.h"
#include "Framework/Animation/AnimLayer.h"
#include "Framework/Lightwave/LibraryMap.h"

#include <memory>
#include <string>
#include <vector>

namespace base
{
class Stream;
}
namespace render
{
class Render;
}

namespace animation
{
class AnimData : public resource::Resource
{
public:
    AnimData() = default;
    ~AnimData() override = default;
    AnimData(const AnimData&) = delete;
    AnimData& operator=(const AnimData&) = delete;

    HVResultEnum Release() override;
    // Reads the file and binds the records to their mesh objects. A failure
    // leaves no record and no library handle behind: a resource whose load
    // fails is never unloaded.
    HVResultEnum DoLoad() override;
    HVResultEnum DoUnLoad() override;

    // The file body; every count is checked against the bytes left.
    HVResultEnum Read(base::Stream& stream);

    void SetRender(render::Render* render) { mRender = render; }

    render::Render* mRender = nullptr;
    std::string mName;
    float mStartTime = 0;
    float mEndTime = 0;
    std::vector<std::unique_ptr<AnimLayer>> mLayers;
    lightwave::LibraryMap mLibraries;

private:
    HVResultEnum BindObjects();
    void FreeAll();
};
} // namespace animation
