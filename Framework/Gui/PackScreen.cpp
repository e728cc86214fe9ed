#include "Framework/Gui/PackScreen.h"

#include "Core/File/FileManager.h"
#include "Framework/Gui/PackBuilder.h"

namespace gui
{
PackScreen::PackScreen(const std::wstring& folder) : mFolder(folder)
{
}

HVResultEnum PackScreen::Load()
{
    // A copy: the table may not change under the walk.
    const file::MountTable mounts = file::FileManager::Instance()->mountTable;
    for (const auto& [prefix, packPath] : mounts)
    {
        const HVResultEnum result = BuildPack(prefix, packPath);
        if (result != HV_OK)
            return result;
    }
    return HV_OK;
}

HVResultEnum PackScreen::BuildPack(const std::wstring& prefix, const std::wstring& packPath)
{
    return gui::BuildPack(prefix, packPath, &mFailure);
}
} // namespace gui
