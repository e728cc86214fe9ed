#include "Framework/Widget/Frame.h"

#include "Framework/Layer/RectHitLayer.h"
#include "Framework/Widget/FrameManager.h"
#include "Framework/Widget/WidgetListener.h"

#include <vector>

namespace widget
{
namespace
{
std::vector<Widget*> AncestorsOf(Widget* widget)
{
    std::vector<Widget*> chain;
    for (Widget* w = widget ? widget->mParent : nullptr; w; w = w->mParent)
        chain.push_back(w);
    return chain;
}

HVResultEnum TellHover(Widget* widget, bool hover)
{
    widget->mHover = hover;
    return widget->mListener ? widget->mListener->OnHover(hover) : HV_OK;
}

// Nearest ancestor first.
HVResultEnum TellChildHover(const std::vector<Widget*>& chain, bool hover)
{
    for (Widget* ancestor : chain)
    {
        ancestor->mChildHover = hover;
        if (ancestor->mListener)
        {
            if (const HVResultEnum result = ancestor->mListener->OnChildHover(hover); result != HV_OK)
                return result;
        }
    }
    return HV_OK;
}

// Silently, from a destructor: the frame is going away under its widgets.
void UnlinkFrame(Widget* widget, const Frame* frame)
{
    for (Widget* child : widget->mChildren)
    {
        if (child->mFrame == frame)
            child->mFrame = nullptr;
        UnlinkFrame(child, frame);
    }
}
} // namespace

Frame::Frame()
{
    mRootHitLayer = new layer::RectHitLayer();
    SetLayer(mRootHitLayer, true, true);
    mFrame = this;
}

Frame::~Frame()
{
    if (mFrameManager)
        mFrameManager->Forget(this);
    UnlinkFrame(this, this);
    mHoverWidget = nullptr;
    mFocusWidget = nullptr;
    // The widget part must not look into this frame once it is gone.
    mFrame = nullptr;
}

ClassId& Frame::GetClassId()
{
    static ClassId id(&Widget::GetClassId());
    return id;
}

HVResultEnum Frame::OnActivate()
{
    return HV_OK;
}

HVResultEnum Frame::OnDeactivate()
{
    return HV_OK;
}

void Frame::SetHitRect(float x, float y, float width, float height)
{
    mRootHitLayer->SetRect(x, y, width, height);
}

HVResultEnum Frame::SetHover(Widget* widget)
{
    if (widget == mHoverWidget)
        return HV_OK;

    Widget* old = mHoverWidget;
    std::vector<Widget*> oldChain = AncestorsOf(old);
    std::vector<Widget*> newChain = AncestorsOf(widget);
    // The ancestors both widgets share keep their child hover.
    while (!oldChain.empty() && !newChain.empty() && oldChain.back() == newChain.back())
    {
        oldChain.pop_back();
        newChain.pop_back();
    }

    if (old)
    {
        if (const HVResultEnum result = TellHover(old, false); result != HV_OK)
            return result;
    }
    if (const HVResultEnum result = TellChildHover(oldChain, false); result != HV_OK)
        return result;

    mHoverWidget = widget;
    if (mFrameManager && widget)
    {
        Frame* hovered = mFrameManager->GetHoveredFrame();
        if (hovered && hovered != this)
        {
            if (const HVResultEnum result = hovered->SetHover(nullptr); result != HV_OK)
                return result;
        }
        mFrameManager->SetHoveredFrame(this);
    }

    if (widget)
    {
        if (const HVResultEnum result = TellHover(widget, true); result != HV_OK)
            return result;
    }
    return TellChildHover(newChain, true);
}
} // namespace widget
