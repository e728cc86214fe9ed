#include "Game/Hud/HUDModalInput.h"

#include "Core/Base/LogMessage.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/Profiles.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/ProfileName.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/HUDModalMessage.h"
#include "Game/Hud/OverButtons.h"
#include "Game/Level/NQMap.h"

#include <algorithm>

namespace
{
constexpr const wchar_t* kCancel = L"cancel";
constexpr const wchar_t* kOk = L"ok";
constexpr int kAlignLeft = 0;
constexpr int kAlignCentre = 2;
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};

GameWindow* RootBoard()
{
    Game* game = Game::Get();
    return game ? game->GetRootBoard() : nullptr;
}
} // namespace

HUDModalInput::HUDModalInput()
{
    mLayer = kModalLayer;
    overbuttons::LoadOverLayout(*this, mOverButtons, HUDModalMessage::kLayout);

    NQMap* map = Game::GetMap();
    const NQScreenState state = map ? map->mScreenState : screen::kNone;
    if (state == screen::kNewProfileName)
    {
        // Every profile of the file counts, the placeholder included.
        const size_t count = file::Profiles::Instance()->GetProfileNames().size();
        mName = LocalStrings::Instance()->Get(L"default_player") + std::to_wstring(count);
    }
    else if (state == screen::kRenameProfileName && map && map->mProgress)
    {
        mName = map->mProgress->GetCurrentName();
    }

    for (NQFrameEntry* frame : mImages)
    {
        if (frame->mName == HUDModalMessage::kInputPicture)
            mInputFrame = frame;
    }
    if (!mInputFrame)
        HV_LOG(L"name input: layout %s has no picture \"input\"\n") % std::wstring(HUDModalMessage::kLayout);

    SetText(kCaptionSlot, LocalStrings::Instance()->Get(L"profile_edit_caption"));
    NameChanged();
}

HUDModalInput::~HUDModalInput()
{
    for (HUDButtonOver* button : mOverButtons)
        delete button;
    mOverButtons.clear();
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
}

bool HUDModalInput::IsNameAcceptable() const
{
    if (mName.empty())
        return false;
    const std::vector<std::wstring> names = file::Profiles::Instance()->GetProfileNames();
    return std::find(names.begin(), names.end(), mName) == names.end();
}

void HUDModalInput::NameChanged()
{
    if (NQMap* map = Game::GetMap())
        map->mEditedName = mName;
    if (mOverButtons.size() > HUDModalMessage::kAcceptButton)
        mOverButtons[HUDModalMessage::kAcceptButton]->mVisible = IsNameAcceptable() ? 1 : 0;
}

void HUDModalInput::Draw(render::Graphics* graphics)
{
    overbuttons::Draw(*this, mOverButtons, graphics);
    if (!graphics)
        return;
    if (GameWindow* board = RootBoard())
    {
        if (const auto& font = board->GetFont(GameWindow::kFontNormal))
            graphics->mFont = font.Get();
    }
    // Without the field picture the name goes to a fixed place.
    float x = kFallbackX;
    float y = kFallbackY;
    if (mInputFrame)
    {
        x = mInputFrame->mRect[0] + kTextIndent;
        y = mInputFrame->mRect[1] + mInputFrame->mRect[3] / 2.0f;
    }
    graphics->SetColor(kWhite);
    math::Transform2D transform;
    transform.Translate(x, y);
    // The record draws when it goes out of scope: the text must outlive it.
    const std::wstring text = mName + kCursor;
    auto record = graphics->DrawText(text).Transform(transform);
    record->SetAlign(kAlignLeft, kAlignCentre);
}

void HUDModalInput::Update(float dt)
{
    overbuttons::ModalUpdate(*this, mOverButtons, dt);
}

void HUDModalInput::OnMouseMove(int x, int y)
{
    overbuttons::MouseMove(mOverButtons, x, y);
}

void HUDModalInput::OnMouseDown(int x, int y)
{
    overbuttons::MouseDown(mOverButtons, x, y);
}

void HUDModalInput::OnMouseUp(int x, int y)
{
    overbuttons::MouseUp(mOverButtons, x, y);
}

void HUDModalInput::OnChar(int character)
{
    if (mName.size() < kMaxNameLength && character != ' ' && profilename::IsNameCharacter(character))
    {
        GameWindow* board = RootBoard();
        render::BMFont* font = board ? board->GetFont(GameWindow::kFontMain32_2).Get() : nullptr;
        if (font && font->HasGlyph(wchar_t(character)))
        {
            mName.push_back(wchar_t(character));
        }
    }
    NameChanged();
}

void HUDModalInput::OnKeyDown(int key)
{
    if (key != kBackspaceKey)
        return;
    if (!mName.empty())
        mName.pop_back();
    NameChanged();
}

std::wstring HUDModalInput::Click(int x, int y)
{
    const std::wstring result = overbuttons::Click(mOverButtons, x, y);
    NQMap* map = Game::GetMap();
    if (!map)
        return result;
    // Closing deletes this window: everything needed afterwards is copied first.
    const NQScreenState state = map->mScreenState;
    const std::wstring menu = map->mCurrentMenu;
    const std::wstring edited = map->mEditedName;
    HUD* hud = map->mHud;

    if (result == kCancel && state == screen::kRenameProfileName)
    {
        map->mEditedName.clear();
        if (hud)
            hud->CloseTopWindow();
        map->mScreenState = screen::kProfiles;
        return result;
    }
    if (result != kOk || (state != screen::kNewProfileName && state != screen::kRenameProfileName))
        return result;

    if (map->mProgress)
    {
        if (state == screen::kNewProfileName)
            map->mProgress->SwitchProfile(edited);
        else
            map->mProgress->RenameProfile(edited);
    }
    if (hud)
        hud->CloseTopWindow();
    map->mEditedName.clear();
    if (menu == L"mmenu")
    {
        // The main menu lay below the input; the episode select takes its place.
        if (hud)
        {
            hud->CloseTopWindow();
            hud->ShowEpisodeSelect();
        }
    }
    else if (menu == L"shop")
    {
        // The main menu under the input goes; the shop opens as from a menu.
        if (hud)
        {
            hud->CloseTopWindow();
            hud->ShowShop(false);
        }
        NQMap::sShopReturnTarget = L"mmenu";
    }
    else
    {
        map->mScreenState = screen::kProfiles;
    }
    if (hud)
        hud->RefreshTopWindow();
    return result;
}
