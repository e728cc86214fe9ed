#include "Framework/Gui/GameControlHelper.h"

#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Framework/GameApplication.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Framework/Widget/TrapHitTestListener.h"
#include "Framework/Widget/Widget.h"

namespace gui
{
GameControlHelper::~GameControlHelper()
{
    for (layer::Layer* created : mCreatedLayers)
    {
        if (layer::Layer* parent = created->GetParent())
            parent->RemoveChild(created);
        delete created;
    }
    mCreatedLayers.clear();
    delete mTrapListener;
    if (mOwnsContainer)
        delete mContainer;
}

HVResultEnum GameControlHelper::Init(const std::wstring& folder, widget::Widget* owner,
                                     layer::HitTestListener* listener, layer::Layer* parent, bool ownsContainer)
{
    file::ImageContainer* container = file::FileManager::Instance()->OpenImageContainer(folder);
    if (!container)
        return HV_FAIL;
    return InitWithContainer(container, owner, listener, parent, ownsContainer);
}

HVResultEnum GameControlHelper::InitWithContainer(file::ImageContainer* container, widget::Widget* owner,
                                                  layer::HitTestListener* listener, layer::Layer* parent,
                                                  bool ownsContainer)
{
    mContainer = container;
    mOwnsContainer = ownsContainer;
    mOwner = owner;
    mHitListener = listener;
    mDefaultParent = parent ? parent : (owner ? owner->mLayer : nullptr);
    return HV_OK;
}

HVResultEnum GameControlHelper::LoadImageLayer(const std::wstring& name, float rect[4], layer::ImageLayer** out)
{
    framework::GameApplication* application = framework::GameApplication::Current();
    if (!application)
        return HV_FAIL;
    base::ImageInfo info;
    layer::ImageLayer* created = nullptr;
    if (const HVResultEnum result = application->CreateImageLayer(name, mContainer, &created, &info);
        result != HV_OK)
        return result;
    if (!created)
        return HV_FAIL;
    created->mHitListener = mHitListener;
    if (rect)
    {
        rect[0] = info.x;
        rect[1] = info.y;
        rect[2] = info.w;
        rect[3] = info.h;
    }
    *out = created;
    return HV_OK;
}

HVResultEnum GameControlHelper::CreatePlaced(const std::wstring& name, layer::ImageLayer** out)
{
    float rect[4];
    if (const HVResultEnum result = LoadImageLayer(name, rect, out); result != HV_OK)
        return result;
    // The framework places the layer in image space; the default parent's
    // position is taken off even when another parent is given.
    if (mDefaultParent)
    {
        const math::Vector3 at = (*out)->mPosition;
        const math::Vector3 base = mDefaultParent->mPosition;
        (*out)->SetPosition(at.x - base.x, at.y - base.y, at.z - base.z);
    }
    return HV_OK;
}

HVResultEnum GameControlHelper::CreateImageLayer(const std::wstring& name, int mode, layer::Layer* parent,
                                                 layer::ImageLayer** out)
{
    return CreateAndAdd(name, mode, parent, out, false);
}

HVResultEnum GameControlHelper::CreateImageLayerBack(const std::wstring& name, int mode, layer::Layer* parent,
                                                     layer::ImageLayer** out)
{
    return CreateAndAdd(name, mode, parent, out, true);
}

HVResultEnum GameControlHelper::CreateAndAdd(const std::wstring& name, int mode, layer::Layer* parent,
                                             layer::ImageLayer** out, bool back)
{
    layer::ImageLayer* created = nullptr;
    if (const HVResultEnum result = CreatePlaced(name, &created); result != HV_OK)
        return result;
    if (back)
        AddLayerBack(created, mode, parent);
    else
        AddLayer(created, mode, parent);
    if (out)
        *out = created;
    return HV_OK;
}

void GameControlHelper::ApplyMode(layer::Layer* layer, int mode)
{
    if (mode == kModeNoHit)
        layer->mHitEnabled = false;
    else if (mode == kModeTrap)
        layer->mHitListener = GetTrapListener();
    mCreatedLayers.push_back(layer);
}

HVResultEnum GameControlHelper::AddLayer(layer::Layer* layer, int mode, layer::Layer* parent)
{
    ApplyMode(layer, mode);
    if (layer::Layer* target = parent ? parent : mDefaultParent)
        target->AddChild(layer);
    return HV_OK;
}

HVResultEnum GameControlHelper::AddLayerBack(layer::Layer* layer, int mode, layer::Layer* parent)
{
    ApplyMode(layer, mode);
    if (layer::Layer* target = parent ? parent : mDefaultParent)
        target->AddChildFront(layer);
    return HV_OK;
}

HVResultEnum GameControlHelper::CreateTextLayer(const resource::ResourceHandle<render::Font>& font,
                                                const std::wstring& text, int mode, layer::Layer* parent,
                                                layer::TextLayer** out)
{
    auto* created = new layer::TextLayer(font, text);
    created->SetAlignment(kTextAlignCentre, kTextAlignCentre);
    render::TextLayout layout = created->GetLayout();
    layout.alignment = kTextAlignCentre;
    // The setters mark the hit rectangle stale.
    created->SetLayout(layout);
    if (const HVResultEnum result = AddLayer(created, mode, parent); result != HV_OK)
        return result;
    created->SnapToPixels();
    if (out)
        *out = created;
    return HV_OK;
}

widget::TrapHitTestListener* GameControlHelper::GetTrapListener()
{
    if (!mTrapListener)
        mTrapListener = new widget::TrapHitTestListener(mOwner);
    return mTrapListener;
}
} // namespace gui
