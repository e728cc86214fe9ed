#include "Game/StartupPictures.h"

#include "Core/Base/FileFunctions.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/PictureDecodePool.h"
#include "Core/Resource/ResourceTexture.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Hud/NQSplashScreens.h"

#include <algorithm>
#include <thread>

namespace startup
{
namespace
{
// The main thread uploads meanwhile; a few threads are enough to keep ahead of it.
constexpr unsigned kMaxDecodeThreads = 3;

std::unique_ptr<file::ImageContainer> OpenLayered(const std::wstring& path)
{
    return std::unique_ptr<file::ImageContainer>(file::FileManager::Instance()->OpenImageContainer(path));
}
} // namespace

std::unique_ptr<render::PictureDecodePool> DecodeStartupPicturesAhead()
{
    const unsigned spare = std::max(1u, std::thread::hardware_concurrency()) - 1;
    auto pool = std::make_unique<render::PictureDecodePool>(std::clamp(spare, 1u, kMaxDecodeThreads));
    for (const std::string& logo : NQSplashScreens::ParseLogoList(base::ReadTextFile(NQSplashScreens::kListFile)))
    {
        if (!logo.empty())
            resource::ResourceTexture::QueuePicture(NQSplashScreens::kFolder + base::Utf8ToWide(logo), nullptr, *pool);
    }
    if (auto sides = OpenLayered(kSidesPath))
    {
        for (const wchar_t* side : kSides)
            resource::ResourceTexture::QueuePicture(side, sides.get(), *pool);
    }
    resource::ResourceTexture::QueuePicture(kLoadingPath, nullptr, *pool);
    for (const wchar_t* folder : kUnitSpriteFolders)
    {
        auto sheet = OpenLayered(folder);
        if (!sheet)
            continue;
        std::vector<std::wstring> groups;
        sheet->ListGroups(std::wstring(), groups, false);
        for (const std::wstring& group : groups)
            for (const std::wstring& layer : NQSpriteSet::FrameLayers(*sheet, group))
                resource::ResourceTexture::QueuePicture(layer, sheet.get(), *pool);
    }
    return pool;
}
} // namespace startup
