#include "Game/Hud/HUDGemPack.h"

#include "Core/Base/Format.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Purchase/Product.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Level/NQMap.h"

namespace
{
constexpr int kAlignCentre = 2;
constexpr int kTextLayoutOption = 2;

std::wstring Numbered(const wchar_t* pattern, int n)
{
    base::Format format(pattern);
    format % int32_t(n);
    return format.GetText();
}

void DrawInRect(render::Graphics* graphics, const render::Image* picture, const base::ImageInfo* rect)
{
    if (!picture || !rect)
        return;
    const float dest[4] = {rect->x, rect->y, rect->w, rect->h};
    auto record = graphics->DrawImageInRect(*picture, dest);
}
} // namespace

HUDGemPack::HUDGemPack(file::ImageContainer* layout, int index) : mIndex(index)
{
    const int n = index + 1;
    const std::wstring button = Numbered(L"button/b_%02d_in", n);
    mButtonRect = FindContainerImage(layout, button);
    mButtonPicture = LoadContainerImage(layout, button);
    const NQMap* map = Game::GetMap();
    const std::wstring language = map ? map->mLanguage : std::wstring(L"en");
    const std::wstring price = L"pricing/" + language + Numbered(L"/%d", n);
    mPriceRect = FindContainerImage(layout, price);
    mPricePicture = LoadContainerImage(layout, price);
    mTextRect = FindContainerImage(layout, Numbered(L"text/b_%02d_text", n));
    if (index >= 0 && index < kGemPackCount)
        mProduct = purchase::PurchaseSystem::Instance()->FindProduct(GemPackProductIds[index]);
    if (index == kBadgeIndex)
    {
        mBadgeRect = FindContainerImage(layout, L"1/most_popular");
        mBadgePicture = LoadContainerImage(layout, L"1/most_popular");
    }
}

HUDGemPack::~HUDGemPack()
{
    // A picture's destructor gives its texture back.
    delete mButtonPicture;
    delete mPricePicture;
    delete mBadgePicture;
}

std::wstring HUDGemPack::GetPriceText() const
{
    return mProduct ? mProduct->price : std::wstring();
}

std::wstring HUDGemPack::GetProductId() const
{
    return mProduct ? mProduct->id : std::wstring();
}

bool HUDGemPack::Contains(int x, int y) const
{
    if (!mButtonRect)
        return false;
    const float inset = float(kActiveInset);
    const float px = float(x);
    const float py = float(y);
    const base::ImageInfo& r = *mButtonRect;
    return r.x + inset <= px && px < r.x + r.w - inset && r.y + inset <= py && py < r.y + r.h - inset;
}

void HUDGemPack::Draw(render::Graphics* graphics)
{
    if (!graphics || !mButtonRect)
        return;
    const float cx = mButtonRect->x + mButtonRect->w * 0.5f;
    const float cy = mButtonRect->y + mButtonRect->h * 0.5f;
    mTransform.SetIdentity();
    mTransform.Translate(-cx, -cy, 0.0f);
    mTransform.Scale(mScale, mScale, 1.0f);
    mTransform.Translate(cx, cy, 0.0f);
    graphics->mWorldTransform = &mTransform;

    DrawInRect(graphics, mButtonPicture, mButtonRect);
    DrawInRect(graphics, mPricePicture, mPriceRect);
    DrawInRect(graphics, mBadgePicture, mBadgeRect);

    LocalStrings* strings = LocalStrings::Instance();
    std::wstring text;
    if (mProduct && mProduct->busy)
        text = strings->Get(L"gemShopBuy_progress");
    else
    {
        base::Format format(strings->Get(L"gemShopBuyFor"));
        format % GetPriceText();
        text = format.GetText();
    }
    if (mTextRect)
    {
        // Set here rather than left over from the window's last text.
        if (Game* game = Game::Get(); game && game->GetRootBoard())
            graphics->mFont = game->GetRootBoard()->GetFont(GameWindow::kFontNormal).Get();
        math::Transform2D place;
        place.Translate(mTextRect->x + mTextRect->w * 0.5f, mTextRect->y + mTextRect->h * 0.5f);
        auto record =
            graphics->DrawTextBox(text, mTextRect->w, 0.0f, kTextLayoutOption, true).Transform(place);
        record->SetAlign(kAlignCentre, kAlignCentre);
    }
    graphics->mWorldTransform = nullptr;
}
