// The release dispatcher: every release that no overlay window takes acts
// here, on the screen state and the name of the HUD button under the pointer.
#include "Game/Level/NQMap.h"

#include "Core/App/Application.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Game.h"
#include "Game/GameSounds.h"
#include "Game/GameWindow.h"
#include "Game/Hud/LevelHud.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQSpell.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"

#include <cmath>

namespace
{
constexpr int32_t kBlockNone = 0;
constexpr int32_t kBlockAllButPlay = 1;
constexpr int kNoHudTarget = -1;
constexpr int kEmitterPositionMode = 1;
constexpr float kGoldPerGem = 50.0f;
constexpr int32_t kHardcoreMode = 3;
constexpr size_t kMaxProfiles = 5;
constexpr int kNoPlate = -1;

void BuyProduct(const std::wstring& id)
{
    purchase::PurchaseSystem* store = purchase::PurchaseSystem::Instance();
    store->Purchase(store->FindProduct(id), nullptr);
}
} // namespace

namespace
{
// The armed button's spell at the point: sound, spell, cooldown. A slot
// without a sheet row casts nothing.
void CastSpellOf(NQMap& map, LevelHud& hud, HUDSpellButton* button, float x, float y)
{
    const int32_t slot = hud.SpellSlotOf(*button);
    const NQSpellEntry* entry = map.mSpellTable ? map.mSpellTable->FindBySlot(slot) : nullptr;
    if (!entry || !map.mBullets)
        return;
    PlaySoundTag(L"spell", slot, L"");
    auto* spell = new NQSpell(entry->protoId, x, y);
    map.mBullets->Add(spell);
    spell->Cast();
    hud.StartSpellCooldown(*button);
}

// Steps 1 to 5 of a release during play; true when the HUD step follows.
bool ReleaseWhilePlaying(NQMap& map, LevelHud& hud, int x, int y, float mapX, float mapY)
{
    if (map.mArmedSpell && hud.HitTest(x, y) == kNoHudTarget)
    {
        CastSpellOf(map, hud, map.mArmedSpell, mapX, mapY);
        map.mArmedSpell = nullptr;
        return false;
    }
    const int ix = int(std::trunc(mapX));
    const int iy = int(std::trunc(mapY));
    if (map.mDrops)
        if (NQTowerSpecial* drop = FindCollectableAt(*map.mDrops, ix, iy))
        {
            map.mEconomy->AddGems(1);
            drop->SetState(NQTowerSpecial::kCollected);
            return false;
        }

    const std::wstring name = hud.Click(x, y);
    if (!name.empty())
    {
        PlaySoundTag(L"simple");
        if (name == L"ok")
        {
            hud.CloseTopWindow();
            return false;
        }
        if (name == L"options_btn")
        {
            map.OpenIngameMenu();
            return false;
        }
        if (name == L"pause_btn_ac" || name == L"play_btn_ac" || name == L"options_btn_ac" ||
            name == L"speed_btn_ac")
            return false;
        if (name == L"pause_btn")
        {
            map.mSpeed = 0.0f;
            map.UpdateSpeedButtons();
            return false;
        }
        if (name == L"play_btn")
        {
            if (hud.GetBlockUI() == kBlockNone || hud.GetBlockUI() == kBlockAllButPlay)
            {
                map.mSpeed = 1.0f;
                map.UpdateSpeedButtons();
                LevelTutorial::Get()->OnEvent(L"game_play");
            }
            return false;
        }
        if (name == L"speed_btn")
        {
            if (hud.GetBlockUI() == kBlockNone)
            {
                map.mSpeed = 2.0f;
                map.UpdateSpeedButtons();
            }
            return false;
        }
    }

    const int k = hud.HitTest(x, y);
    HUDSpellButton* const button = hud.SpellButtonAt(k);
    // A release on the armed button itself disarms it.
    if (map.mArmedSpell && button == map.mArmedSpell)
    {
        map.mArmedSpell = nullptr;
        return false;
    }
    if (k != kNoHudTarget)
    {
        if (hud.GetBlockUI() != kBlockNone || !button)
            return false;
        map.mArmedSpell = button;
        PlaySoundTag(L"simple");
        if (map.mSpellEmitter)
        {
            float position[2] = {0.0f, 0.0f};
            hud.GetSpellButtonCentre(*button, position[0], position[1]);
            map.mSpellEmitter->SetPosition(position, kEmitterPositionMode);
        }
        // This spell needs no target: it is cast at once where the pointer is.
        if (hud.SpellSlotOf(*button) == LevelHud::kTowerSpellSlot)
        {
            CastSpellOf(map, hud, button, float(x), float(y));
            map.mArmedSpell = nullptr;
        }
    }

    const NQMap::RingOpening opening = map.OpenContextMenuAt(ix, iy);
    return opening == NQMap::RingOpening::kNothing || opening == NQMap::RingOpening::kTowerRingOpened;
}

// The gems-for-gold question's "ok": the gems pay the whole price, then the
// pending upgrade or build runs. Nothing but the close when the gems fall short.
void AcceptGemsForGold(NQMap& map)
{
    const NQMap::PendingUpgrade upgrade = map.mPendingUpgrade;
    const NQMap::PendingBuild build = map.mPendingBuild;
    map.mPendingUpgrade = {};
    map.mPendingBuild = {};
    const bool isUpgrade = upgrade.tower != nullptr;
    if (!isUpgrade && !build.proto)
        return;
    const float price = isUpgrade ? upgrade.price : build.price;
    const int32_t gems = int32_t(std::ceil(price / kGoldPerGem));
    if (map.mEconomy->mGems < gems)
        return;
    map.mEconomy->SpendGems(gems);
    map.mEconomy->AddGold(gems * int32_t(kGoldPerGem));
    if (isUpgrade)
        upgrade.tower->UpgradeTo(upgrade.key, upgrade.price);
    else
        map.BuildTower(build.proto, build.spot);
}

void CloseAndShowByGemShopTarget(LevelHud& hud, NQMap& map)
{
    const std::wstring& target = NQMap::sGemShopReturnTarget;
    if (target == L"game")
    {
        hud.CloseTopWindow();
        hud.SetBackdropState(LevelHud::kBackdropOff);
        map.mScreenState = screen::kPlaying;
    }
    else if (target == L"shop0" || target == L"shop1")
    {
        hud.CloseTopWindow();
        hud.ShowShop(target == L"shop1");
    }
    else if (target == L"episodes")
    {
        hud.CloseTopWindow();
        hud.ShowEpisodeSelect();
    }
    else if (target == L"levels")
    {
        hud.CloseTopWindow();
        hud.ShowLevelSelect();
    }
}

void CloseAndShowByShopTarget(LevelHud& hud)
{
    const std::wstring& target = NQMap::sShopReturnTarget;
    if (target == L"mmenu")
    {
        hud.CloseTopWindow();
        hud.ShowMainMenu();
    }
    else if (target == L"levels")
    {
        hud.CloseTopWindow();
        hud.ShowLevelSelect();
    }
    else if (target == L"episodes")
    {
        hud.CloseTopWindow();
        hud.ShowEpisodeSelect();
    }
}

// One release on a screen: the level, its HUD and the name of the button
// under the pointer ("" when none).
struct Release
{
    NQMap& map;
    LevelHud& hud;
    const std::wstring& name;
    int x;
    int y;
    // The episode plate under the pointer, on the episode select only.
    int plate;
};

// A handler answers true when the HUD's own release step follows.
using ReleaseHandler = bool (*)(const Release&);

std::wstring CurrentProfile(const NQMap& map)
{
    return map.mProgress ? map.mProgress->GetCurrentName() : std::wstring();
}

void CloseWindowAndPlay(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.SetBackdropState(LevelHud::kBackdropOff);
    r.map.mScreenState = screen::kPlaying;
}

// --- the level result ---

bool ShopAfterResult(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.ShowShop(true);
    NQMap::sShopReturnTarget = L"game";
    return true;
}

bool RestartAfterResult(const Release& r)
{
    r.map.ResetLevel();
    r.hud.SetBackdropState(LevelHud::kBackdropOff);
    return true;
}

bool LevelSelectAfterResult(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.ShowLevelSelect();
    return true;
}

// --- the in-game menu ---

bool ResumeFromMenu(const Release& r)
{
    LevelTutorial::Get()->Show();
    CloseWindowAndPlay(r);
    return false;
}

// Restarting or leaving the level asks first.
bool ConfirmLeavingLevel(const Release& r)
{
    r.hud.ShowMessageBox(L"progress_confirm_text", r.name);
    return r.name == L"levels";
}

bool OptionsFromMenu(const Release& r)
{
    r.hud.ShowOptionsDialog();
    return false;
}

// --- the episode select ---

bool MainMenuFromEpisodes(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.ShowMainMenu();
    return false;
}

bool ShopFromEpisodes(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.ShowShop(false);
    NQMap::sShopReturnTarget = L"episodes";
    return false;
}

bool OpenEpisodeAt(const Release& r)
{
    if (r.plate >= 0 && r.map.IsEpisodeOpen(r.plate))
    {
        r.map.mEpisode = r.plate;
        r.hud.CloseTopWindow();
        r.hud.ShowLevelSelect();
    }
    return true;
}

// --- the level select ---

bool StartLevelAt(const Release& r)
{
    NQMap& map = r.map;
    const int level = r.hud.HitTest(r.x, r.y);
    if (level < 0 || !map.mProgress || !map.mProgress->IsLevelOpen(map.mEpisode, level, map.mMode))
        return true;
    const int32_t shown = map.mLevel;
    map.mLevel = level;
    // A damaged level file is refused here, while the level select still stands.
    if (!map.CanOpenLevel())
    {
        map.mLevel = shown;
        map.ShowLevelRefused();
        return false;
    }
    r.hud.CloseTopWindow();
    map.StartLevel();
    return false;
}

// Back from the hardcore levels to the mode's own, else to the episodes.
bool BackFromLevelSelect(const Release& r)
{
    r.hud.CloseTopWindow();
    if (r.map.mMode != kHardcoreMode)
    {
        r.hud.ShowEpisodeSelect();
        return true;
    }
    if (r.map.mProgress)
        r.map.mMode = r.map.mProgress->GetMode();
    r.hud.ShowLevelSelect();
    return true;
}

bool ShopFromLevelSelect(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.ShowShop(false);
    NQMap::sShopReturnTarget = L"levels";
    return false;
}

bool EnterHardcore(const Release& r)
{
    r.hud.CloseTopWindow();
    r.map.mMode = kHardcoreMode;
    r.hud.ShowLevelSelect();
    return false;
}

bool ExplainHardcoreLock(const Release& r)
{
    NQMap& map = r.map;
    r.hud.ShowModalMessage(LocalText(L"HardcoreTitle"), LocalText(L"HardcoreUnlockMessage"), screen::kLevelSelect);
    if (map.mProgress)
        map.mProgress->SetEpisodeVisited(map.mEpisode, kHardcoreMode, map.GetHardcoreLevelCount(map.mEpisode));
    return false;
}

// --- the main menu ---

// Without a player the name comes first; the menu is where it returns.
bool AskedForProfileName(const Release& r, const wchar_t* menu)
{
    if (!CurrentProfile(r.map).empty())
        return false;
    r.map.mCurrentMenu = menu;
    r.map.mScreenState = screen::kNewProfileName;
    r.hud.ShowModalInput();
    return true;
}

bool PlayFromMainMenu(const Release& r)
{
    if (AskedForProfileName(r, L"mmenu"))
        return true;
    r.hud.CloseTopWindow();
    r.hud.ShowEpisodeSelect();
    return true;
}

bool ShopFromMainMenu(const Release& r)
{
    if (AskedForProfileName(r, L"shop"))
        return true;
    r.hud.CloseTopWindow();
    r.hud.ShowShop(false);
    NQMap::sShopReturnTarget = L"mmenu";
    return true;
}

bool QuitFromMainMenu(const Release&)
{
    // The window is a child task of the application: it closes with it.
    if (app::Application* application = app::Application::Existing())
        application->Stop();
    return true;
}

bool OptionsFromMainMenu(const Release& r)
{
    r.hud.ShowOptionsDialog();
    return true;
}

bool ProfilesFromMainMenu(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.ShowProfiles();
    return true;
}

// --- the shop ---

bool LeaveShop(const Release& r)
{
    LevelTutorial::Get()->OnEvent(L"shop_state_changed");
    CloseAndShowByShopTarget(r.hud);
    return false;
}

bool GemShopFromShop(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.ShowGemShop(r.name == L"gem_shop0" ? L"shop0" : L"shop1");
    return true;
}

// Back to the level the result left: played again after a loss, the next
// one after a win.
bool ReturnFromShop(const Release& r)
{
    LevelTutorial::Get()->OnEvent(L"shop_state_changed");
    r.hud.CloseTopWindow();
    if (r.map.mPendingResult == 1)
        r.map.ResetLevel();
    else if (r.map.mPendingResult == 2)
        r.hud.NextLevel();
    r.map.mPendingResult = -1;
    return true;
}

// --- the messages and questions ---

bool CloseUnlockMessage(const Release& r)
{
    CloseWindowAndPlay(r);
    r.map.mSpeed = 1.0f;
    r.map.EndLevelIntro();
    return true;
}

bool CreateProfile(const Release& r)
{
    const size_t count = r.map.mProgress ? r.map.mProgress->GetProfileNames().size() : 0;
    if (count >= kMaxProfiles)
    {
        r.hud.ShowModalMessage(LocalText(L"profiles_error"), LocalText(L"profiles_maxcount"), screen::kProfiles);
        return true;
    }
    r.map.mScreenState = screen::kNewProfileName;
    r.hud.ShowModalInput();
    return true;
}

bool MainMenuFromProfiles(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.ShowMainMenu();
    return true;
}

bool RenameProfile(const Release& r)
{
    if (CurrentProfile(r.map).empty())
        return true; // no player to rename
    r.map.mScreenState = screen::kRenameProfileName;
    r.hud.ShowModalInput();
    return true;
}

bool CancelProfileName(const Release& r)
{
    r.hud.CloseTopWindow();
    const bool fromMainMenu = r.map.mCurrentMenu == L"mmenu" || r.map.mCurrentMenu == L"shop";
    r.map.mScreenState = fromMainMenu ? screen::kMainMenu : screen::kProfiles;
    return true;
}

bool CloseModalMessage(const Release& r)
{
    r.hud.CloseTopWindow();
    r.map.mScreenState = r.map.mPendingDialog;
    return true;
}

bool LeaveGemShop(const Release& r)
{
    CloseAndShowByGemShopTarget(r.hud, r.map);
    return true;
}

bool BuyGemShopProduct(const Release& r)
{
    if (!r.name.empty())
        BuyProduct(r.name);
    return true;
}

// Nothing waits once the question is answered.
bool AnswerGemsForGold(const Release& r)
{
    if (r.name == L"ok")
        AcceptGemsForGold(r.map);
    r.map.mPendingUpgrade = {};
    r.map.mPendingBuild = {};
    CloseWindowAndPlay(r);
    return true;
}

bool BuyHealth(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.SetBackdropState(LevelHud::kBackdropOff);
    r.map.mScreenState = screen::kWaitingForStore;
    BuyProduct(L"buy_health");
    return true;
}

bool DeclineHealth(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.SetBackdropState(LevelHud::kBackdropOff);
    r.map.Lose();
    return true;
}

bool AnswerResetUpgrades(const Release& r)
{
    r.hud.CloseTopWindow();
    r.hud.SetBackdropState(LevelHud::kBackdropOff);
    r.map.mScreenState = screen::kShop;
    if (r.name != L"ok")
        return true;
    r.map.ResetUpgrades();
    r.hud.RefreshTopWindow();
    return true;
}

struct ReleaseRow
{
    NQScreenState state;
    // The button's name; kAnyButton takes what the state's other rows leave.
    const wchar_t* button;
    ReleaseHandler handler;
};
constexpr const wchar_t* kAnyButton = nullptr;

// Every screen state but play. A release that no row takes only goes on to
// the HUD's own step.
constexpr ReleaseRow kReleaseRows[] = {
    {screen::kWon, L"done", ShopAfterResult},
    {screen::kWon, L"close", ShopAfterResult},
    {screen::kWon, L"restart", RestartAfterResult},
    {screen::kWon, L"menu", LevelSelectAfterResult},
    {screen::kLost, L"done", ShopAfterResult},
    {screen::kLost, L"close", ShopAfterResult},
    {screen::kLost, L"restart", RestartAfterResult},
    {screen::kLost, L"menu", LevelSelectAfterResult},
    {screen::kIngameMenu, L"resume", ResumeFromMenu},
    {screen::kIngameMenu, L"close", ResumeFromMenu},
    {screen::kIngameMenu, L"restart", ConfirmLeavingLevel},
    {screen::kIngameMenu, L"mmenu", ConfirmLeavingLevel},
    {screen::kIngameMenu, L"levels", ConfirmLeavingLevel},
    {screen::kIngameMenu, L"options", OptionsFromMenu},
    {screen::kEpisodeSelect, L"back", MainMenuFromEpisodes},
    {screen::kEpisodeSelect, L"shop", ShopFromEpisodes},
    {screen::kEpisodeSelect, kAnyButton, OpenEpisodeAt},
    {screen::kLevelSelect, L"", StartLevelAt},
    {screen::kLevelSelect, L"back", BackFromLevelSelect},
    {screen::kLevelSelect, L"upgrade", ShopFromLevelSelect},
    {screen::kLevelSelect, L"unlocked_d", EnterHardcore},
    {screen::kLevelSelect, L"locked_d", ExplainHardcoreLock},
    {screen::kMainMenu, L"play", PlayFromMainMenu},
    {screen::kMainMenu, L"shop", ShopFromMainMenu},
    {screen::kMainMenu, L"cloze", QuitFromMainMenu},
    {screen::kMainMenu, L"options", OptionsFromMainMenu},
    {screen::kMainMenu, L"profile", ProfilesFromMainMenu},
    {screen::kShop, L"back_ac", LeaveShop},
    {screen::kShop, L"gem_shop0", GemShopFromShop},
    {screen::kShop, L"gem_shop1", GemShopFromShop},
    {screen::kShop, L"return_ac", ReturnFromShop},
    {screen::kUnlockMessage, L"ok", CloseUnlockMessage},
    {screen::kProfiles, L"create", CreateProfile},
    {screen::kProfiles, L"back", MainMenuFromProfiles},
    {screen::kProfiles, L"confirm", MainMenuFromProfiles},
    {screen::kProfiles, L"rename", RenameProfile},
    {screen::kNewProfileName, L"cancel", CancelProfileName},
    {screen::kModalMessage, L"ok", CloseModalMessage},
    {screen::kGemShop, L"back_in", LeaveGemShop},
    {screen::kGemShop, kAnyButton, BuyGemShopProduct},
    {screen::kGemsForGold, L"ok", AnswerGemsForGold},
    {screen::kGemsForGold, L"cancel", AnswerGemsForGold},
    {screen::kPurchaseResult, L"ok", BuyHealth},
    {screen::kPurchaseResult, L"cancel", DeclineHealth},
    {screen::kResetUpgrades, L"ok", AnswerResetUpgrades},
    {screen::kResetUpgrades, L"cancel", AnswerResetUpgrades},
};

// The state's row for the button, else its any-button row, else none.
ReleaseHandler FindReleaseHandler(NQScreenState state, const std::wstring& name)
{
    ReleaseHandler any = nullptr;
    for (const ReleaseRow& row : kReleaseRows)
    {
        if (row.state != state)
            continue;
        if (row.button == kAnyButton)
            any = row.handler;
        else if (name == row.button)
            return row.handler;
    }
    return any;
}

// Every screen state but play; true when the HUD step follows.
bool ReleaseOnScreen(NQMap& map, LevelHud& hud, NQScreenState state, const std::wstring& name, int x, int y)
{
    // The plates are asked before the names: every release hit-tests them once.
    const int plate = state == screen::kEpisodeSelect ? hud.HitTest(x, y) : kNoPlate;
    const ReleaseHandler handler = FindReleaseHandler(state, name);
    if (!handler)
        return true; // no action of its own here
    return handler(Release{map, hud, name, x, y, plate});
}
} // namespace

void NQMap::OnMouseUp(int x, int y)
{
    LevelTutorial::Get()->OnMouseUp(x, y);
    const float mapX = (float(x) - mViewOffsetX) / mZoom;
    const float mapY = (float(y) - mViewOffsetY) / mZoom;
    // Read before any Click: a window's Click may change it.
    const NQScreenState state = mScreenState;
    if (!mHud)
        return;
    LevelHud& hud = *mHud;
    const bool hudStep = state == screen::kPlaying ? ReleaseWhilePlaying(*this, hud, x, y, mapX, mapY)
                                                   : ReleaseOnScreen(*this, hud, state, hud.Click(x, y), x, y);
    if (!hudStep)
        return;
    hud.OnMouseUp(x, y);
    // Clears every hover.
    hud.OnMouseMove(-1, -1);
}
