#include "Game/Level/LevelResultTexts.h"

#include "Game/Data/DecimalText.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDWindow.h"

namespace
{
constexpr int32_t kHardcoreMode = 3;
} // namespace

std::wstring GetModeName(int32_t mode)
{
    switch (mode)
    {
    case 0:
        return LocalText(L"diff_easy");
    case 1:
        return LocalText(L"diff_normal");
    case 2:
        return LocalText(L"diff_hard");
    default:
        return LocalText(L"");
    }
}

void SetLevelResultHeading(HUDWindow& window, int32_t episode, int32_t level, int32_t mode)
{
    if (Game* game = Game::Get(); game && game->GetRootBoard())
        window.SetFont(game->GetRootBoard()->GetFont(GameWindow::kFontNormal));
    const std::wstring episodeKey = (mode == kHardcoreMode ? L"episodeHardcore" : L"episode") + DecimalText(episode);
    window.SetText(L"levelName", LocalText(episodeKey) + L" " + DecimalText(episode + 1) + L" - " + DecimalText(level + 1));
}

void SetLevelResultTexts(HUDWindow& window, int32_t mode, int32_t gemsGained)
{
    // The score lines start at 0; the window counts them up.
    window.SetText(L"gameName", GetModeName(mode));
    window.SetText(L"killScore", LocalText(L"game_kill_score") + L"0");
    window.SetText(L"goldBonus", L"");
    window.SetText(L"lifeBonus", LocalText(L"game_life_bonus") + L"0");
    window.SetText(L"totalScore", LocalText(L"game_total_score") + L"0");
    window.SetText(L"gems", LocalText(L"gems") + L": " + DecimalText(gemsGained));
}
