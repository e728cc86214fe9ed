// Store results in the level: gem packs credited, the buy-health offer
// completed or asked again.
#include "Core/Base/Format.h"
#include "Core/Purchase/Product.h"
#include "Core/Purchase/PurchaseResult.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

namespace
{
constexpr int kPurchased = 0;
constexpr int kRestored = 2;
// A product that can be owned; gem packs are consumed.
constexpr int kOwnableProduct = 2;
constexpr int32_t kNoDialogId = -1;

struct GemPack
{
    const wchar_t* id;
    int32_t gems;
};
constexpr GemPack kGemPacks[] = {
    {L"buy_50_cr", 100}, {L"buy_150_cr", 335}, {L"buy_300_cr", 575}, {L"buy_500_cr", 1200}, {L"buy_1000_cr", 3125},
};
} // namespace

void NQMap::OnPurchaseResult(const TPurchaseResult& result)
{
    const purchase::Product* product = result.product;
    // A result that names no product has nothing to credit.
    if (!product)
        return;
    if ((result.type == kPurchased || result.type == kRestored) && product->state != kOwnableProduct)
    {
        for (const GemPack& pack : kGemPacks)
            if (product->id == pack.id)
            {
                mEconomy->AddGems(pack.gems);
                break;
            }
    }
    if (product->id != L"buy_health")
        return;
    if (result.type == kPurchased)
    {
        mLives = mMaxLives;
        mScreenState = screen::kPlaying;
        if (!mHud)
            return;
        mHud->mBackdropState = HUD::kBackdropOff;
        mHud->UpdateLivesText();
        for (HUDSpellButton* button : mHud->mSpellButtons)
            button->FinishCooldown();
        return;
    }
    if (mHud)
    {
        LocalStrings* strings = LocalStrings::Instance();
        base::Format message(strings->Get(L"buyHealthDialogText"));
        message % product->message;
        mHud->ShowModalDialog(strings->Get(L"buyHealthDialogTitle"), message.GetText(), kNoDialogId);
    }
    mScreenState = screen::kPurchaseResult;
}
