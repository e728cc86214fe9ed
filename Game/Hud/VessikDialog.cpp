#include "Game/Hud/VessikDialog.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/TextLayout.h"
#include "Framework/Layer/TextLayer.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Data/LocalStrings.h"

namespace
{
constexpr int kAddTextMissingLayer = 1;
} // namespace

VessikDialog::VessikDialog()
{
    // Nothing reacts until the show effect has played.
    SetDisabled(true);
}

HVResultEnum VessikDialog::OnShown()
{
    mShown = true;
    // Without its buttons it could never be closed: it stays disabled until Update closes it.
    if (mLoadFailed)
        return HV_OK;
    SetDisabled(false);
    if (widget::FrameManager* manager = GetFrameManager())
        return manager->RefreshHover();
    return HV_OK;
}

HVResultEnum VessikDialog::Update(float dt)
{
    if (mLoadFailed && mShown)
    {
        mShown = false;
        return Hide(true);
    }
    return widget::Dialog::Update(dt);
}

HVResultEnum VessikDialog::Hide(bool deleteOnClose)
{
    mShown = false;
    SetDisabled(true);
    return widget::Dialog::Hide(deleteOnClose);
}

void VessikDialog::MarkLoadFailed(const std::wstring& what)
{
    if (mLoadFailed)
        return;
    mLoadFailed = true;
    HV_LOG(L"dialog could not be built: %s is missing\n") % what;
}

int VessikDialog::AddText(const std::wstring& layerName, const std::wstring& key,
                          const resource::ResourceHandle<render::Font>& font, layer::TextLayer** out)
{
    const base::ImageInfo* info = mContainer ? mContainer->FindLayer(layerName) : nullptr;
    if (!info)
        return kAddTextMissingLayer;
    layer::TextLayer* text = nullptr;
    if (const HVResultEnum result = CreateTextLayer(font, LocalStrings::Instance()->Get(key), kModeNoHit, nullptr,
                                                    &text);
        result != HV_OK)
        return result;
    text->SetPosition(info->x + info->w / 2.0f, info->y + info->h / 2.0f, 0.0f);
    text->SetAlignment(kTextAlignCentre, kTextAlignCentre);
    render::TextLayout layout = text->GetLayout();
    layout.alignment = kTextLayoutOption;
    layout.letterSpacing = kTextLetterSpacing;
    text->SetLayout(layout);
    text->SnapToPixels();
    if (out)
        *out = text;
    return HV_OK;
}
