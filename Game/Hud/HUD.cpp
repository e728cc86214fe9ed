#include "Game/Hud/HUD.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/Format.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Paths.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQUnlockTable.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDBuyGemScreen.h"
#include "Game/Hud/HUDConfirmProfileDeletionDialog.h"
#include "Game/Hud/HUDConfirmProfileResetDialog.h"
#include "Game/Hud/HUDConfirmTutorialCancelDialog.h"
#include "Game/Hud/HUDEpisodeSelectIOS.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDMainMenu.h"
#include "Game/Hud/HUDModalDialog.h"
#include "Game/Hud/HUDModalInput.h"
#include "Game/Hud/HUDModalMessage.h"
#include "Game/Hud/HUDProfiles.h"
#include "Game/Hud/HUDShopWindow.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Hud/HUDUnlockMessage.h"
#include "Game/Hud/NQSplashScreens.h"
#include "Game/Hud/NQVideoIntro.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Psd/PsdTypes.h"

#include <algorithm>

namespace
{
constexpr int kBlendNormal = 1;
constexpr int32_t kHardcoreMode = 3;
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// Show operations write into the running level; none while it is being built.
void SetScreenState(NQScreenState state)
{
    if (NQMap* map = Game::GetMap())
        map->mScreenState = state;
}

bool ShowsSideImages(NQScreenState state)
{
    switch (state)
    {
    case screen::kEpisodeSelect:
    case screen::kLevelSelect:
    case screen::kShop:
    case screen::kProfiles:
    case screen::kNewProfileName:
    case screen::kRenameProfileName:
    case screen::kModalMessage:
    case screen::kGemShop:
    case screen::kResetUpgrades:
        return true;
    default:
        return false;
    }
}

// The counter's number as the formatter writes it with no format text.
template <class T>
std::wstring FormatNumber(T value)
{
    base::Format format;
    format % value;
    return format.GetText();
}
} // namespace

HUD::HUD()
{
    file::ImageContainer* container = file::FileManager::Instance()->OpenImageContainer(kLayout);
    mSpellCursor = new NQSpriteAnimation(kSpellCursorSet, L"");
    if (Game* game = Game::Get(); game && game->GetRootBoard())
        SetFont(game->GetRootBoard()->GetFont(GameWindow::kFontNormal));
    if (!container)
    {
        HV_LOG(L"HUD layout %s cannot be opened\n") % std::wstring(kLayout);
        return;
    }
    LoadPanel(container);
    delete container;
}

HUD* HUD::Of(const NQMap* map)
{
    return map ? dynamic_cast<HUD*>(map->mHud) : nullptr;
}

void HUD::LoadPanel(file::ImageContainer* container)
{
    // Listing order throughout: the panel's pictures are not sorted.
    LoadImageFrames(container);
    LoadButtonFrames(container);
    std::vector<std::wstring> names;
    container->ListLayers(L"spell/", false, names, false);
    for (const std::wstring& name : names)
    {
        const base::ImageInfo* info = container->FindLayer(name);
        if (!info)
            continue;
        auto* slot = new NQFrameEntry;
        slot->mRect[0] = info->x;
        slot->mRect[1] = info->y;
        slot->mRect[2] = info->w;
        slot->mRect[3] = info->h;
        slot->mLayerIndex = info->index;
        slot->mName = base::GetBaseName(info->name);
        mSpellSlots.push_back(slot);
    }
    LoadTextSlots(container, true);
}

HUD::~HUD()
{
    delete mSpellCursor;
    mSpellCursor = nullptr;
    base::DeleteAll(mSpellButtons);
    base::DeleteAll(mSpellSlots);
    base::DeleteAll(mWindows);
    // Pushed but never adopted: still the HUD's to delete.
    base::DeleteAll(mPendingWindows);
}

void HUD::Draw(render::Graphics* graphics)
{
    if (!graphics)
        return;
    const NQMap* map = Game::GetMap();
    const NQScreenState state = map ? map->mScreenState : screen::kNone;
    // The panel belongs to the battlefield: a screen without it shows no stale counters.
    if (screen::ShowsBattlefield(state))
    {
        Game* game = Game::Get();
        GameWindow* board = game ? game->GetRootBoard() : nullptr;
        if (map && map->mArmedSpell && mSpellCursor && board)
            mSpellCursor->Draw(graphics, float(board->GetPointerX()), float(board->GetPointerY()), 0.0f);
        for (HUDSpellButton* button : mSpellButtons)
            button->Draw(graphics);
        HUDWindow::Draw(graphics);
    }
    if (ShowsSideImages(state))
    {
        if (Game* game = Game::Get())
            game->DrawSideImages(graphics);
    }
    graphics->SetBlendMode(kBlendNormal);
    graphics->SetColor(kWhite);
}

void HUD::Update(float dt)
{
    HUDWindow::Update(dt);
    if (mSpellCursor)
        mSpellCursor->Advance(dt);
    for (HUDSpellButton* button : mSpellButtons)
        button->Update(dt);

    // By index over a snapshot: a window's Update or OnClose may push
    // windows, and the stack must not be walked by iterator across that.
    // A window closed meanwhile (CloseTopWindow inside a call) is skipped.
    const std::vector<HUDWindow*> stack = mWindows;
    for (size_t i = 0; i < stack.size(); ++i)
    {
        if (IsOnStack(stack[i]))
            stack[i]->Update(dt);
    }
    for (size_t i = 0; i < stack.size(); ++i)
    {
        if (IsOnStack(stack[i]) && !stack[i]->mAlive)
            stack[i]->OnClose();
    }
    for (size_t i = 0; i < mWindows.size();)
    {
        HUDWindow* window = mWindows[i];
        if (window->mAlive)
        {
            ++i;
            continue;
        }
        mWindows.erase(mWindows.begin() + std::ptrdiff_t(i));
        delete window;
    }
    if (mPendingWindows.empty())
        return;
    mWindows.insert(mWindows.end(), mPendingWindows.begin(), mPendingWindows.end());
    mPendingWindows.clear();
}

void HUD::OnMouseMove(int x, int y)
{
    HUDWindow::OnMouseMove(x, y);
    if (HUDWindow* top = GetTopWindow())
        top->OnMouseMove(x, y);
    for (HUDSpellButton* button : mSpellButtons)
        button->OnMouseMove(x, y);
}

void HUD::OnMouseUp(int x, int y)
{
    if (HUDWindow* top = GetTopWindow())
        top->OnMouseUp(x, y);
}

void HUD::OnMouseDown(int x, int y)
{
    if (HUDWindow* top = GetTopWindow())
        top->OnMouseDown(x, y);
}

void HUD::OnMouseWheel(int delta)
{
    const std::vector<HUDWindow*> stack = mWindows;
    for (HUDWindow* window : stack)
    {
        if (IsOnStack(window))
            window->OnMouseWheel(delta);
    }
}

void HUD::OnChar(int character)
{
    const std::vector<HUDWindow*> stack = mWindows;
    for (HUDWindow* window : stack)
    {
        if (IsOnStack(window))
            window->OnChar(character);
    }
}

void HUD::OnKeyDown(int key)
{
    const std::vector<HUDWindow*> stack = mWindows;
    for (HUDWindow* window : stack)
    {
        if (IsOnStack(window))
            window->OnKeyDown(key);
    }
}

int HUD::HitTest(int x, int y)
{
    if (!mWindows.empty())
    {
        for (size_t i = mWindows.size(); i > 0; --i)
        {
            const int hit = mWindows[i - 1]->HitTest(x, y);
            if (hit != -1)
                return hit;
        }
        return -1;
    }
    if (const int hit = HUDWindow::HitTest(x, y); hit != -1)
        return hit;
    for (HUDSpellButton* button : mSpellButtons)
    {
        if (button->AcceptsClick(x, y))
            return button->mIndex;
        if (button->Contains(x, y))
            return kSpellNotReady;
    }
    return -1;
}

std::wstring HUD::Click(int x, int y)
{
    // The window's answer by value: the name input deletes itself inside its Click.
    if (HUDWindow* top = GetTopWindow())
        return top->Click(x, y);
    for (HUDSpellButton* button : mSpellButtons)
    {
        if (button->AcceptsClick(x, y))
            return button->mName;
    }
    return HUDWindow::Click(x, y);
}

void HUD::AddSpellButton(int32_t slot)
{
    const NQMap* map = Game::GetMap();
    const NQSpellEntry* entry = map && map->mSpellTable ? map->mSpellTable->FindBySlot(slot) : nullptr;
    if (!entry)
        return;
    if (!map->mUnlockTable || !map->mUnlockTable->IsUnlocked(entry->protoId))
        return;
    const size_t n = mSpellButtons.size();
    if (n >= mSpellSlots.size())
    {
        HV_LOG(L"spell slot %d has no free spell frame in the HUD layout\n") % slot;
        return;
    }
    const NQFrameEntry* frame = mSpellSlots[n];
    auto* button = new HUDSpellButton(slot);
    button->mCenterX = frame->mRect[0] + frame->mRect[2] * 0.5f;
    button->mCenterY = frame->mRect[1] + frame->mRect[3] * 0.5f;
    button->mIndex = int(n);
    button->mName = frame->mName;
    mSpellButtons.push_back(button);
}

void HUD::RemoveSpellButtons()
{
    base::DeleteAll(mSpellButtons);
}

void HUD::FinishSpellCooldowns()
{
    for (HUDSpellButton* button : mSpellButtons)
        button->FinishCooldown();
}

HUDSpellButton* HUD::SpellButtonAt(int index) const
{
    if (index < 0 || index >= int(mSpellButtons.size()))
        return nullptr;
    return mSpellButtons[size_t(index)];
}

int32_t HUD::SpellSlotOf(const HUDSpellButton& button) const
{
    return button.mSpellSlot;
}

void HUD::GetSpellButtonCentre(const HUDSpellButton& button, float& x, float& y) const
{
    x = button.mCenterX;
    y = button.mCenterY;
}

void HUD::StartSpellCooldown(HUDSpellButton& button)
{
    button.StartCooldown();
}

void HUD::PushWindow(HUDWindow* window)
{
    if (!window)
        return;
    if (mWindows.empty())
        mBackdropState = kBackdropFadingIn;
    mPendingWindows.push_back(window);
    // The screen has loaded its pictures: the decoder's kept blocks go back.
    psdr_release_cache();
}

void HUD::CloseTopWindow()
{
    if (mWindows.empty())
        return;
    HUDWindow* top = mWindows.back();
    mWindows.pop_back();
    delete top;
}

void HUD::CloseAllWindows()
{
    for (size_t open = mWindows.size(); open > 0 && HasWindows(); --open)
        CloseTopWindow();
}

void HUD::RefreshTopWindow()
{
    if (HUDWindow* top = GetTopWindow())
        top->Refresh();
}

void HUD::DrawWindows(render::Graphics* graphics, int layer)
{
    const std::vector<HUDWindow*> stack = mWindows;
    for (HUDWindow* window : stack)
    {
        if (window->mLayer == layer && IsOnStack(window))
            window->Draw(graphics);
    }
}

void HUD::ResetSpellCooldowns()
{
    for (HUDSpellButton* button : mSpellButtons)
    {
        button->mTimer = 0.0f;
        button->mPressed = 0;
    }
}

void HUD::NextLevel()
{
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    ++map->mLevel;
    if (map->mMode == kHardcoreMode)
    {
        if (map->mLevel < map->GetHardcoreLevelCount(map->mEpisode))
        {
            StartOrRefuseLevel(*map);
            return;
        }
        // Past the last hardcore level: back to the player's own difficulty.
        if (map->mProgress)
            map->mMode = map->mProgress->GetMode();
        ShowEpisodeSelect();
        return;
    }
    if (map->mLevel >= map->GetLevelCount(map->mEpisode))
    {
        ShowEpisodeSelect();
        return;
    }
    StartOrRefuseLevel(*map);
}

void HUD::StartOrRefuseLevel(NQMap& map)
{
    if (map.CanOpenLevel())
    {
        map.StartLevel();
        return;
    }
    // The player chooses again from the level select, told why.
    ShowLevelSelect();
    map.ShowLevelRefused();
}

void HUD::UpdateGoldText()
{
    const NQMap* map = Game::GetMap();
    const int32_t gold = map && map->mEconomy ? map->mEconomy->mShownGold : 0;
    SetText(L"text/coins", FormatNumber(gold));
}

void HUD::UpdateGemsText()
{
    const NQMap* map = Game::GetMap();
    const int32_t gems = map && map->mEconomy ? map->mEconomy->mGems : 0;
    SetText(L"text/crystals", FormatNumber(gems));
}

void HUD::UpdateLivesText()
{
    const NQMap* map = Game::GetMap();
    if (!map)
        return;
    // The last leak may take the lives below 0 before the defeat sets them to 0.
    SetText(L"text/mana", FormatNumber(std::max(map->mLives, 0.0f)) + L"/" + FormatNumber(map->mMaxLives));
}

void HUD::UpdateWavesText()
{
    const NQMap* map = Game::GetMap();
    if (!map || !map->mWaveManager)
        return;
    const int32_t count = map->mWaveManager->GetWaveCount();
    const float current = float(std::min(map->mWaveManager->mNextWave + 1, count));
    SetText(L"text/waves", LocalStrings::Instance()->Get(L"game_wave") + L" " + FormatNumber(current) + L"/" +
                               FormatNumber(count));
}

void HUD::ShowSplashScreens()
{
    // The logos have been showing since the start-up's first frame.
    std::unique_ptr<NQSplashScreens> shown = Game::Get() ? Game::Get()->TakeStartupSplash() : nullptr;
    auto* window = shown ? shown.release() : new NQSplashScreens;
    SetScreenState(screen::kSplashScreens);
    PushWindow(window);
}

void HUD::ShowVideoIntro()
{
    auto* window = new NQVideoIntro;
    SetScreenState(screen::kIntroVideo);
    PushWindow(window);
}

void HUD::ShowMainMenu()
{
    auto* window = new HUDMainMenu;
    SetScreenState(screen::kMainMenu);
    PushWindow(window);
}

void HUD::ShowProfiles()
{
    auto* window = new HUDProfiles;
    SetScreenState(screen::kProfiles);
    if (NQMap* map = Game::GetMap())
        map->mCurrentMenu.clear();
    PushWindow(window);
}

void HUD::ShowModalInput()
{
    // The caller has set the state (new profile or rename).
    PushWindow(new HUDModalInput);
}

void HUD::ShowEpisodeSelect()
{
    auto* window = new HUDEpisodeSelectIOS;
    SetScreenState(screen::kEpisodeSelect);
    PushWindow(window);
}

void HUD::ShowLevelSelect()
{
    auto* window = new HUDLevelSelect;
    SetScreenState(screen::kLevelSelect);
    PushWindow(window);
}

void HUD::ShowShop(bool fromLevel)
{
    SetScreenState(screen::kShop);
    PushWindow(new HUDShopWindow(fromLevel));
}

void HUD::ShowGemShop(const std::wstring& returnTo)
{
    SetScreenState(screen::kGemShop);
    NQMap::sGemShopReturnTarget = returnTo;
    PushWindow(new HUDBuyGemScreen);
}

void HUD::ShowUnlockMessage(const std::vector<int32_t>& ids)
{
    PushWindow(new HUDUnlockMessage(ids));
    SetScreenState(screen::kUnlockMessage);
    if (NQMap* map = Game::GetMap())
        map->mSpeed = 0.0f;
}

void HUD::ShowModalMessage(const std::wstring& caption, const std::wstring& message, int32_t returnState)
{
    PushWindow(new HUDModalMessage(caption, message, returnState));
    SetScreenState(screen::kModalMessage);
    if (NQMap* map = Game::GetMap())
        map->mPendingDialog = returnState;
}

void HUD::ShowModalDialog(const std::wstring& caption, const std::wstring& message, int32_t dialogId)
{
    PushWindow(new HUDModalDialog(caption, message));
    SetScreenState(screen::kModalMessage);
    if (NQMap* map = Game::GetMap())
        map->mPendingDialog = dialogId;
}

void HUD::ConfirmProfileDeletion()
{
    // Outside the stack: the overlay takes every pointer event while it exists.
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return;
    game->GetRootBoard()->SetConfirmOverlay(new HUDConfirmProfileDeletionDialog);
}

void HUD::ConfirmProfileReset()
{
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return;
    game->GetRootBoard()->SetConfirmOverlay(new HUDConfirmProfileResetDialog);
}

void HUD::ConfirmTutorialCancel()
{
    // Outside the stack, like the profile questions; the screen state stays.
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return;
    game->GetRootBoard()->SetConfirmOverlay(new HUDConfirmTutorialCancelDialog);
}
