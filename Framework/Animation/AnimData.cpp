#include "Framework/Animation/AnimData.h"

#include "Core/Base/Paths.h"
#include "Core/Base/ReadString.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/Lightwave/ReadFile.h"
#include "Framework/Lightwave/StreamFields.h"

namespace animation
{
namespace
{
bool NamesNoMesh(const AnimLayer& layer)
{
    return layer.mLibraryName == "null" || layer.mLibraryName == "screen_res" || layer.mObjectName == "null";
}
} // namespace

HVResultEnum AnimData::Release() { return resource::ResourceManager::Instance()->Remove(this); }

HVResultEnum AnimData::DoLoad()
{
    HVResultEnum result = lightwave::ReadFile(GetName(), [this](base::Stream& stream) { return Read(stream); });
    if (result == HV_OK)
        result = BindObjects();
    if (result != HV_OK)
        FreeAll();
    return result;
}

HVResultEnum AnimData::DoUnLoad()
{
    FreeAll();
    return HV_OK;
}

void AnimData::FreeAll()
{
    mLayers.clear();
    mLibraries.clear();
}

HVResultEnum AnimData::Read(base::Stream& stream)
{
    FreeAll();
    uint32_t count;
    if (base::ReadString(stream, mName) != HV_OK || !lightwave::ReadFloat(stream, mStartTime) ||
        !lightwave::ReadFloat(stream, mEndTime) || !lightwave::ReadUInt32(stream, count) ||
        !lightwave::CountFits(stream, count, AnimLayer::kMinFileSize))
        return HV_FAIL;
    mLayers.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
    {
        mLayers.push_back(std::make_unique<AnimLayer>(this));
        if (mLayers.back()->Read(stream) != HV_OK)
            return HV_FAIL;
    }
    return HV_OK;
}

HVResultEnum AnimData::BindObjects()
{
    // The resource name, not the exporter's name in the file, which may be
    // an absolute path of the machine that wrote it.
    const std::wstring directory = base::GetRelativeDirectory(GetName());
    for (const std::unique_ptr<AnimLayer>& layer : mLayers)
    {
        if (NamesNoMesh(*layer))
            continue;
        resource::ResourceHandle<lightwave::MeshLibrary>& library = mLibraries[layer->mLibraryName];
        if (!library)
        {
            library = resource::ResourceManager::Instance()->Get<lightwave::MeshLibrary>(
                directory + base::BytesToWide(layer->mLibraryName) + L".lib");
            if (!library)
                return HV_FAIL;
        }
        if (!library->IsLoaded())
        {
            library->SetRender(mRender);
            const HVResultEnum result = library->Load();
            if (result != HV_OK)
                return result;
        }
        layer->mObject = library->FindObject(layer->mObjectName);
        if (!layer->mObject)
            return HV_FAIL;
    }
    return HV_OK;
}
} // namespace animation
