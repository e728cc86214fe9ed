// The release dispatcher: every release that no overlay window takes acts
// here, on the screen state and the name of the HUD button under the pointer.
#include "Game/Level/NQMap.h"

#include "Core/App/Application.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/ParticleEmitter.h"
#include "Framework/GameApplication.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Game.h"
#include "Game/GameSounds.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Hud/OptionsDialog.h"
#include "Game/Hud/TMessageBox.h"
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

// Loaded and pushed on the application's frame manager; a level without a
// running application (built by a test) shows no dialog.
void PushDialog(widget::Dialog* dialog)
{
    framework::GameApplication* application = framework::GameApplication::Current();
    if (!application || !application->mFrameManager)
    {
        delete dialog;
        return;
    }
    dialog->Load();
    application->mFrameManager->PushDialog(dialog, true);
}

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
void CastSpellOf(NQMap& map, HUDSpellButton* button, float x, float y)
{
    const NQSpellEntry* entry = map.mSpellTable ? map.mSpellTable->FindBySlot(button->mSpellSlot) : nullptr;
    if (!entry || !map.mBullets)
        return;
    PlaySoundTag(L"spell", button->mSpellSlot, L"");
    auto* spell = new NQSpell(entry->protoId, x, y);
    map.mBullets->Add(spell);
    spell->Cast();
    button->StartCooldown();
}

// Steps 1 to 5 of a release during play; true when the HUD step follows.
bool ReleaseWhilePlaying(NQMap& map, HUD& hud, int x, int y, float mapX, float mapY)
{
    if (map.mArmedSpell && hud.HitTest(x, y) == kNoHudTarget)
    {
        CastSpellOf(map, map.mArmedSpell, mapX, mapY);
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
            if (hud.mBlockUI == kBlockNone || hud.mBlockUI == kBlockAllButPlay)
            {
                map.mSpeed = 1.0f;
                map.UpdateSpeedButtons();
                NQTutorial::Instance()->OnEvent(L"game_play");
            }
            return false;
        }
        if (name == L"speed_btn")
        {
            if (hud.mBlockUI == kBlockNone)
            {
                map.mSpeed = 2.0f;
                map.UpdateSpeedButtons();
            }
            return false;
        }
    }

    const int k = hud.HitTest(x, y);
    const int buttons = int(hud.mSpellButtons.size());
    // A release on the armed button itself disarms it.
    if (map.mArmedSpell && k >= 0 && k < buttons && hud.mSpellButtons[size_t(k)] == map.mArmedSpell)
    {
        map.mArmedSpell = nullptr;
        return false;
    }
    if (k != kNoHudTarget)
    {
        if (hud.mBlockUI != kBlockNone || k < 0 || k >= buttons)
            return false;
        HUDSpellButton* button = hud.mSpellButtons[size_t(k)];
        map.mArmedSpell = button;
        PlaySoundTag(L"simple");
        if (map.mSpellEmitter)
        {
            const float position[2] = {button->mCenterX, button->mCenterY};
            map.mSpellEmitter->SetPosition(position, kEmitterPositionMode);
        }
        // This spell needs no target: it is cast at once where the pointer is.
        if (button->mSpellSlot == HUDSpellButton::kTowerSpellSlot)
        {
            CastSpellOf(map, button, float(x), float(y));
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

void CloseAndShowByGemShopTarget(HUD& hud, NQMap& map)
{
    const std::wstring& target = NQMap::sGemShopReturnTarget;
    if (target == L"game")
    {
        hud.CloseTopWindow();
        hud.mBackdropState = HUD::kBackdropOff;
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

void CloseAndShowByShopTarget(HUD& hud)
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

// The rows of every screen state but play; true when the HUD step follows.
bool ReleaseOnScreen(NQMap& map, HUD& hud, NQScreenState state, const std::wstring& name, int x, int y)
{
    const std::wstring profile = map.mProgress ? map.mProgress->GetCurrentName() : std::wstring();
    switch (state)
    {
    case screen::kWon:
    case screen::kLost:
        if (name == L"done" || name == L"close")
        {
            hud.CloseTopWindow();
            hud.ShowShop(true);
            NQMap::sShopReturnTarget = L"game";
        }
        else if (name == L"restart")
        {
            map.ResetLevel();
            hud.mBackdropState = HUD::kBackdropOff;
        }
        else if (name == L"menu")
        {
            hud.CloseTopWindow();
            hud.ShowLevelSelect();
        }
        return true;
    case screen::kIngameMenu:
        if (name == L"resume" || name == L"close")
        {
            NQTutorial::Instance()->Show();
            hud.CloseTopWindow();
            hud.mBackdropState = HUD::kBackdropOff;
            map.mScreenState = screen::kPlaying;
            return false;
        }
        if (name == L"restart" || name == L"mmenu" || name == L"levels")
        {
            PushDialog(new TMessageBox(L"progress_confirm_text", name));
            return name == L"levels";
        }
        if (name == L"options")
        {
            PushDialog(new OptionsDialog);
            return false;
        }
        return true;
    case screen::kEpisodeSelect:
    {
        // Asked before the names: every release hit-tests the plates once.
        const int episode = hud.HitTest(x, y);
        if (name == L"back")
        {
            hud.CloseTopWindow();
            hud.ShowMainMenu();
            return false;
        }
        if (name == L"shop")
        {
            hud.CloseTopWindow();
            hud.ShowShop(false);
            NQMap::sShopReturnTarget = L"episodes";
            return false;
        }
        if (episode >= 0 && map.IsEpisodeOpen(episode))
        {
            map.mEpisode = episode;
            hud.CloseTopWindow();
            hud.ShowLevelSelect();
        }
        return true;
    }
    case screen::kLevelSelect:
        if (name.empty())
        {
            const int level = hud.HitTest(x, y);
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
            hud.CloseTopWindow();
            map.StartLevel();
            return false;
        }
        if (name == L"back")
        {
            hud.CloseTopWindow();
            if (map.mMode == kHardcoreMode)
            {
                if (map.mProgress)
                    map.mMode = map.mProgress->GetMode();
                hud.ShowLevelSelect();
            }
            else
                hud.ShowEpisodeSelect();
            return true;
        }
        if (name == L"upgrade")
        {
            hud.CloseTopWindow();
            hud.ShowShop(false);
            NQMap::sShopReturnTarget = L"levels";
            return false;
        }
        if (name == L"unlocked_d")
        {
            hud.CloseTopWindow();
            map.mMode = kHardcoreMode;
            hud.ShowLevelSelect();
            return false;
        }
        if (name == L"locked_d")
        {
            hud.ShowModalMessage(LocalText(L"HardcoreTitle"), LocalText(L"HardcoreUnlockMessage"),
                                 screen::kLevelSelect);
            if (map.mProgress)
                map.mProgress->SetEpisodeVisited(map.mEpisode, kHardcoreMode,
                                                 map.GetHardcoreLevelCount(map.mEpisode));
            return false;
        }
        return true;
    case screen::kMainMenu:
        if (name == L"play" || name == L"shop")
        {
            if (profile.empty())
            {
                map.mCurrentMenu = name == L"play" ? L"mmenu" : L"shop";
                map.mScreenState = screen::kNewProfileName;
                hud.ShowModalInput();
            }
            else if (name == L"play")
            {
                hud.CloseTopWindow();
                hud.ShowEpisodeSelect();
            }
            else
            {
                hud.CloseTopWindow();
                hud.ShowShop(false);
                NQMap::sShopReturnTarget = L"mmenu";
            }
        }
        else if (name == L"cloze")
        {
            // The window is a child task of the application: it closes with it.
            if (app::Application* application = app::Application::Existing())
                application->Stop();
        }
        else if (name == L"options")
            PushDialog(new OptionsDialog);
        else if (name == L"profile")
        {
            hud.CloseTopWindow();
            hud.ShowProfiles();
        }
        return true;
    case screen::kShop:
        if (name == L"back_ac")
        {
            NQTutorial::Instance()->OnEvent(L"shop_state_changed");
            CloseAndShowByShopTarget(hud);
            return false;
        }
        if (name == L"gem_shop0" || name == L"gem_shop1")
        {
            hud.CloseTopWindow();
            hud.ShowGemShop(name == L"gem_shop0" ? L"shop0" : L"shop1");
        }
        else if (name == L"return_ac")
        {
            NQTutorial::Instance()->OnEvent(L"shop_state_changed");
            hud.CloseTopWindow();
            if (map.mPendingResult == 1)
                map.ResetLevel();
            else if (map.mPendingResult == 2)
                hud.NextLevel();
            map.mPendingResult = -1;
        }
        return true;
    case screen::kUnlockMessage:
        if (name == L"ok")
        {
            hud.CloseTopWindow();
            hud.mBackdropState = HUD::kBackdropOff;
            map.mScreenState = screen::kPlaying;
            map.mSpeed = 1.0f;
            map.EndLevelIntro();
        }
        return true;
    case screen::kProfiles:
        if (name == L"create")
        {
            const size_t count = map.mProgress ? map.mProgress->GetProfileNames().size() : 0;
            if (count < kMaxProfiles)
            {
                map.mScreenState = screen::kNewProfileName;
                hud.ShowModalInput();
            }
            else
                hud.ShowModalMessage(LocalText(L"profiles_error"), LocalText(L"profiles_maxcount"), screen::kProfiles);
        }
        else if (name == L"back" || name == L"confirm")
        {
            hud.CloseTopWindow();
            hud.ShowMainMenu();
        }
        else if (name == L"rename" && !profile.empty())
        {
            map.mScreenState = screen::kRenameProfileName;
            hud.ShowModalInput();
        }
        return true;
    case screen::kNewProfileName:
        if (name == L"cancel")
        {
            hud.CloseTopWindow();
            const bool fromMainMenu = map.mCurrentMenu == L"mmenu" || map.mCurrentMenu == L"shop";
            map.mScreenState = fromMainMenu ? screen::kMainMenu : screen::kProfiles;
        }
        return true;
    case screen::kModalMessage:
        if (name == L"ok")
        {
            hud.CloseTopWindow();
            map.mScreenState = map.mPendingDialog;
        }
        return true;
    case screen::kGemShop:
        if (name == L"back_in")
            CloseAndShowByGemShopTarget(hud, map);
        else if (!name.empty())
            BuyProduct(name);
        return true;
    case screen::kGemsForGold:
        if (name == L"ok" || name == L"cancel")
        {
            if (name == L"ok")
                AcceptGemsForGold(map);
            // Nothing waits once the question is answered.
            map.mPendingUpgrade = {};
            map.mPendingBuild = {};
            hud.CloseTopWindow();
            hud.mBackdropState = HUD::kBackdropOff;
            map.mScreenState = screen::kPlaying;
        }
        return true;
    case screen::kPurchaseResult:
        if (name == L"ok")
        {
            hud.CloseTopWindow();
            hud.mBackdropState = HUD::kBackdropOff;
            map.mScreenState = screen::kWaitingForStore;
            BuyProduct(L"buy_health");
        }
        else if (name == L"cancel")
        {
            hud.CloseTopWindow();
            hud.mBackdropState = HUD::kBackdropOff;
            map.Lose();
        }
        return true;
    case screen::kResetUpgrades:
        if (name == L"ok" || name == L"cancel")
        {
            hud.CloseTopWindow();
            hud.mBackdropState = HUD::kBackdropOff;
            map.mScreenState = screen::kShop;
            if (name == L"ok")
            {
                map.ResetUpgrades();
                hud.RefreshTopWindow();
            }
        }
        return true;
    default:
        return true;
    }
}
} // namespace

void NQMap::OnMouseUp(int x, int y)
{
    NQTutorial::Instance()->OnMouseUp(x, y);
    const float mapX = (float(x) - mViewOffsetX) / mZoom;
    const float mapY = (float(y) - mViewOffsetY) / mZoom;
    // Read before any Click: a window's Click may change it.
    const NQScreenState state = mScreenState;
    if (!mHud)
        return;
    HUD& hud = *mHud;
    const bool hudStep = state == screen::kPlaying ? ReleaseWhilePlaying(*this, hud, x, y, mapX, mapY)
                                                   : ReleaseOnScreen(*this, hud, state, hud.Click(x, y), x, y);
    if (!hudStep)
        return;
    hud.OnMouseUp(x, y);
    // Clears every hover.
    hud.OnMouseMove(-1, -1);
}
