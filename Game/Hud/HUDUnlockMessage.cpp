#include "Game/Hud/HUDUnlockMessage.h"

#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"

#include <algorithm>

namespace
{
constexpr const wchar_t* kMessageSlot = L"message";
constexpr const wchar_t* kButtonSlot = L"button";
constexpr int kNoButton = -1;

resource::ResourceHandle<render::BMFont> RootBoardFont(int index)
{
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return {};
    return game->GetRootBoard()->GetFont(index);
}

std::wstring IconName(int32_t id)
{
    return std::wstring(HUDUnlockMessage::kIconPrefix) + std::to_wstring(id);
}
} // namespace

HUDUnlockMessage::HUDUnlockMessage(const std::vector<int32_t>& ids)
{
    mLayer = kScreenLayer;
    LoadLayout(kLayout);
    if (file::ImageContainer* container = mLayoutContainer)
    {
        std::vector<std::wstring> names;
        container->ListLayers(kIconGroup, false, names, false);
        for (const int32_t id : ids)
        {
            const std::wstring wanted = IconName(id);
            for (const std::wstring& name : names)
            {
                if (name != wanted)
                    continue;
                const base::ImageInfo* info = container->FindLayer(name);
                if (!info)
                    continue;
                auto* frame = new NQFrameEntry;
                frame->mOwnsPicture = 1;
                frame->mRect[0] = info->x;
                frame->mRect[1] = info->y;
                frame->mRect[2] = info->w;
                frame->mRect[3] = info->h;
                frame->mLayerIndex = info->index;
                frame->mName = name;
                frame->mPicture = LoadGamePicture(name, container);
                frame->mShown = 0;
                mIcons.push_back(frame);
                mImages.push_back(frame);
                mIds.push_back(id);
            }
        }
    }
    SortImages();
    SetFont(RootBoardFont(GameWindow::kFontMain32_2));
    SetText(kCaptionSlot, LocalStrings::Instance()->Get(L"unlock_caption"));
    SetText(kButtonSlot, LocalStrings::Instance()->Get(L"unlock_button"));
    // No kept id: no icon and no text; the first "ok" answers at once.
    if (!mIds.empty())
        ShowId(mIds.front());
}

HUDUnlockMessage::~HUDUnlockMessage()
{
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
}

void HUDUnlockMessage::ShowId(int32_t id)
{
    const std::wstring wanted = IconName(id);
    for (NQFrameEntry* icon : mIcons)
    {
        const bool match = icon->mName == wanted;
        icon->mShown = match ? 1 : 0;
        if (match)
            SetText(kMessageSlot, LocalStrings::Instance()->Get(L"unlock_" + std::to_wstring(id)));
    }
}

void HUDUnlockMessage::Draw(render::Graphics* graphics)
{
    DrawImages(graphics);
    DrawButtons(graphics);
    for (const auto& [slot, text] : mTexts)
    {
        SetFont(RootBoardFont(slot == kButtonSlot ? GameWindow::kFontLarge : GameWindow::kFontMain32_2));
        DrawText(graphics, slot, text);
    }
}

int HUDUnlockMessage::HitTest(int, int)
{
    return kNoButton;
}

std::wstring HUDUnlockMessage::Click(int x, int y)
{
    if (HUDWindow::Click(x, y) != kOkButton)
        return {};
    ++mCurrent;
    if (mCurrent >= int32_t(mIds.size()))
        return kOkButton;
    ShowId(mIds[size_t(mCurrent)]);
    return {};
}
