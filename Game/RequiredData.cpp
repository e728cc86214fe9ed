#include "Game/RequiredData.h"

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Data/LocalStrings.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"

#include <memory>

namespace
{
constexpr const wchar_t* kParticleLibrary = L"nq/fx/fx2.ptc";
} // namespace

std::wstring FindDamagedGameData(const GameWindow& board)
{
    if (!LocalStrings::Instance()->IsLoaded())
        return LocalStrings::kFileName;
    // Every effect the game plays comes from the one library.
    if (render::ParticleSystem::Instance()->mEmitters.empty())
        return kParticleLibrary;
    for (const wchar_t* name : GameWindow::kFontNames)
    {
        const resource::ResourceHandle<render::BMFont> font = board.GetFont(name);
        if (!font || !font->IsLoaded())
            return name;
    }
    const std::unique_ptr<file::ImageContainer> layout(
        file::FileManager::Instance()->OpenImageContainer(HUD::kLayout));
    if (!layout)
        return HUD::kLayout;
    return std::wstring();
}

std::wstring DamagedDataMessage(const std::wstring& name, const std::wstring& dataFolder)
{
    return L"The game's data are damaged or incomplete: " + name + L". Reinstall the game.\n\nData folder: " +
           dataFolder;
}
