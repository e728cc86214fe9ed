#include "Game/Level/NQContextMenuItem.h"

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Data/AttributedText.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQResources.h"
#include "Game/Data/NQUnitProto.h"

namespace
{
constexpr const wchar_t* kPriceFont = L"nq/data/fonts/main_42_3";
constexpr const wchar_t* kUiSet = L"nq/ui";

// The windows' font as the root board loaded it; empty before it is loaded.
AttributedText::FontHandle FindPriceFont()
{
    auto& fonts = resource::ResourceManager::Instance()->GetMap<render::BMFont>();
    const auto it = fonts.find(kPriceFont);
    if (it == fonts.end() || !it->second.first)
        return {};
    // The handle shares the manager's count of the font.
    ++*it->second.second;
    return AttributedText::FontHandle(it->second.first, it->second.second);
}

render::Image* FindUiPicture(const wchar_t* name)
{
    const NQFrameEntry* frame = NQResources::Instance()->FindFrame(kUiSet, L"", name);
    return frame ? frame->mPicture : nullptr;
}
} // namespace

NQContextMenuItem::NQContextMenuItem(int32_t index, int32_t key)
    : mPriceText(new AttributedText)
    , mKey(key)
    , mIndex(index)
{
    mPriceText->mFont = FindPriceFont();
    // A missing picture leaves its sign as a plain character.
    if (render::Image* coin = FindUiPicture(L"ui/context_money"))
        mPriceText->AddInlineImage(L'$', coin);
    if (render::Image* gem = FindUiPicture(L"ui/context_gem"))
        mPriceText->AddInlineImage(L'#', gem);
}

NQContextMenuItem::~NQContextMenuItem()
{
    delete mPriceText;
    delete mProto;
}
