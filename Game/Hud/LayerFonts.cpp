#include "Game/Hud/LayerFonts.h"

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"

namespace
{
constexpr int kAlignCentre = 2;
constexpr int kTextLayoutOption = 2;
} // namespace

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

layer::TextLayer* MakeCentredText(int font, const std::wstring& text, float wrapWidth)
{
    auto* label = new layer::TextLayer(LayerFont(font), text, wrapWidth, 0.0f, kTextLayoutOption, true);
    label->SetAlignment(kAlignCentre, kAlignCentre);
    return label;
}
