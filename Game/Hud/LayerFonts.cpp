#include "Game/Hud/LayerFonts.h"

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"

layer::TextLayer::FontHandle LayerFont(int index)
{
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard() || index < 0 || index >= GameWindow::kFontCount)
        return {};
    const render::BMFont* font = game->GetRootBoard()->GetFont(index).Get();
    if (!font)
        return {};
    for (auto& [name, entry] : resource::ResourceManager::Instance()->GetMap<render::BMFont>())
    {
        if (entry.first != font)
            continue;
        ++*entry.second;
        return layer::TextLayer::FontHandle(entry.first, entry.second);
    }
    return {};
}
