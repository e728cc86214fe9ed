#include "Game/Hud/HUDProfiles.h"

#include "Core/Base/DeleteAll.h"
#include "Core/File/ImageContainer.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/OverButtons.h"
#include "Game/Level/NQMap.h"

#include <string>

namespace
{
NQProgress* Progress()
{
    NQMap* map = Game::GetMap();
    return map ? map->mProgress : nullptr;
}

resource::ResourceHandle<render::BMFont> BoardFont(int index)
{
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return {};
    return game->GetRootBoard()->GetFont(index);
}

std::wstring Numbered(const wchar_t* prefix, int n)
{
    return prefix + std::to_wstring(n);
}
} // namespace

HUDProfiles::HUDProfiles()
{
    overbuttons::LoadOverLayout(*this, mOverButtons, kLayout);
    SetText(L"caption", LocalStrings::Instance()->Get(L"profiles_caption"));
    Refresh();
    SetFont(BoardFont(GameWindow::kFontMain32_2));
    SetText(L"select", LocalStrings::Instance()->Get(L"profiles_select"));
}

HUDProfiles::~HUDProfiles()
{
    base::DeleteAll(mOverButtons);
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
}

HUDButtonOver* HUDProfiles::FindOverButton(const std::wstring& name) const
{
    for (HUDButtonOver* button : mOverButtons)
    {
        if (button->mName == name)
            return button;
    }
    return nullptr;
}

void HUDProfiles::Draw(render::Graphics* graphics)
{
    overbuttons::Draw(*this, mOverButtons, graphics);
}

void HUDProfiles::Update(float dt)
{
    overbuttons::ModalUpdate(*this, mOverButtons, dt);
}

void HUDProfiles::Refresh()
{
    NQProgress* progress = Progress();
    static const std::vector<std::wstring> kNoNames;
    const std::vector<std::wstring>& names = progress ? progress->GetProfileNames() : kNoNames;
    const std::wstring current = progress ? progress->GetCurrentName() : std::wstring();
    const int n = int(names.size());
    const std::wstring empty = LocalStrings::Instance()->Get(L"empty_profile");
    for (int i = 1; i <= kMaxProfiles; ++i)
    {
        const std::wstring& text = i <= n ? names[size_t(i - 1)] : empty;
        SetText(Numbered(L"profile", i), text);
        if (HUDButtonOver* button = FindOverButton(Numbered(L"p", i)))
        {
            button->mLabel = text;
            button->mFont = BoardFont(GameWindow::kFontNormal);
        }
    }
    for (int i = 1; i <= kMaxProfiles; ++i)
    {
        // Only the current row's button shows, carrying the name.
        if (HUDButtonOver* button = FindOverButton(Numbered(L"p", i)))
            button->mVisible = button->mLabel == current ? 1 : 0;
    }
    if (HUDButtonOver* confirm = FindOverButton(L"confirm"))
        confirm->mVisible = n > 0 ? 1 : 0;
}

void HUDProfiles::OnMouseMove(int x, int y)
{
    overbuttons::MouseMove(mOverButtons, x, y);
}

void HUDProfiles::OnMouseUp(int x, int y)
{
    overbuttons::MouseUp(mOverButtons, x, y);
}

void HUDProfiles::OnMouseDown(int x, int y)
{
    overbuttons::MouseDown(mOverButtons, x, y);
    NQProgress* progress = Progress();
    if (!progress)
        return;
    // Signed on both sides: the counter starts below zero.
    int counter = kFirstSlotCounter;
    const float px = float(x);
    const float py = float(y);
    // The map is ordered by name in plain code-unit order.
    for (const auto& [name, slot] : mTextSlots)
    {
        const int index = counter++;
        if (!slot)
            continue;
        const bool inside = px > slot->mRect[0] && px < slot->mRect[0] + slot->mRect[2] && py > slot->mRect[1] &&
                            py < slot->mRect[1] + slot->mRect[3];
        const int n = int(progress->GetProfileNames().size());
        if (!inside || index < 0 || index >= n)
            continue;
        // A copy: selecting reloads the name list.
        const std::wstring selected = progress->GetProfileNames()[size_t(index)];
        progress->SelectProfile(selected);
        Refresh();
    }
}

std::wstring HUDProfiles::Click(int x, int y)
{
    std::wstring name = overbuttons::Click(mOverButtons, x, y);
    if (name != L"delete")
        return name;
    NQMap* map = Game::GetMap();
    NQProgress* progress = Progress();
    if (map && map->mHud && progress && !progress->GetCurrentName().empty())
        map->mHud->ConfirmProfileDeletion();
    return name;
}
