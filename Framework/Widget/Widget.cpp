#include "Framework/Widget/Widget.h"

#include "Core/Base/Delegate.h"
#include "Core/Base/DelegateHandle.h"
#include "Framework/Layer/Layer.h"
#include "Framework/Widget/Frame.h"
#include "Framework/Widget/FrameManager.h"
#include "Framework/Widget/WidgetListener.h"

#include <algorithm>

namespace widget
{
namespace
{
using ListenerDrawHook = base::MemberDelegate2<WidgetListener, render::Graphics*, layer::Layer*, HVResultEnum>;

void EraseChild(std::vector<Widget*>& children, const Widget* child)
{
    const auto it = std::find(children.begin(), children.end(), child);
    if (it != children.end())
        children.erase(it);
}
} // namespace

Widget::~Widget()
{
    if (mCaptureHolder)
        mCaptureHolder->ForgetCapturedWidget(this);
    if (mFrame)
    {
        if (mFrame->mHoverWidget == this)
            mFrame->mHoverWidget = nullptr;
        if (mFrame->mFocusWidget == this)
            mFrame->mFocusWidget = nullptr;
    }
    if (mLayer)
    {
        if (mOwnsLayer)
            delete mLayer;
        else if (mHooksBound)
        {
            // The layer outlives us: its hooks must not reach our listener.
            mLayer->mPreDraw.Reset();
            mLayer->mPostDraw.Reset();
        }
    }
    if (mParent)
        EraseChild(mParent->mChildren, this);
    for (Widget* child : mChildren)
    {
        if (child->mParent == this)
            child->mParent = nullptr;
    }
}

ClassId& Widget::GetClassId()
{
    static ClassId root;
    return root;
}

FrameManager* Widget::GetFrameManager() const
{
    return mFrame ? mFrame->mFrameManager : nullptr;
}

bool Widget::Contains(const Widget* widget) const
{
    for (; widget; widget = widget->mParent)
    {
        if (widget == this)
            return true;
    }
    return false;
}

void Widget::SetListener(WidgetListener* listener, bool bind)
{
    mListener = listener;
    if (!mLayer)
        return;
    if (bind && listener)
    {
        base::DelegateHandle pre;
        pre.Assign(new ListenerDrawHook(listener, &WidgetListener::PreDraw));
        base::DelegateHandle post;
        post.Assign(new ListenerDrawHook(listener, &WidgetListener::PostDraw));
        mLayer->SetPreDrawHook(pre);
        mLayer->SetPostDrawHook(post);
        mHooksBound = true;
    }
    else
    {
        mLayer->mPreDraw.Reset();
        mLayer->mPostDraw.Reset();
        mHooksBound = false;
    }
}

void Widget::SetLayer(layer::Layer* layer, bool owns, bool bind)
{
    if (mOwnsLayer && mLayer != layer)
        delete mLayer;
    mLayer = layer;
    mOwnsLayer = owns;
    mHooksBound = false;
    SetListener(mListener, bind);
}

HVResultEnum Widget::SetDisabled(bool disabled)
{
    mDisabled = disabled;
    return PropagateDisabled();
}

HVResultEnum Widget::NotifyDisabled(bool disabled)
{
    if (!mListener)
        return HV_OK;
    return mAltNotification ? mListener->OnDisableAlt(disabled) : mListener->OnDisable(disabled);
}

HVResultEnum Widget::PropagateDisabled()
{
    const bool effective = IsDisabled();
    // Indices: a listener may change the list while it is told.
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        Widget* child = mChildren[i];
        if ((child->mInheritedDisabled != 0) == effective)
            continue;
        child->mInheritedDisabled = effective;
        if (const HVResultEnum result = child->NotifyDisabled(effective); result != HV_OK)
            return result;
        if (const HVResultEnum result = child->PropagateDisabled(); result != HV_OK)
            return result;
    }
    return HV_OK;
}

HVResultEnum Widget::AddChild(Widget* child, layer::Layer* parentLayer)
{
    if (const HVResultEnum result = Add(child); result != HV_OK)
        return result;
    child->mParent = this;

    if (mFrame)
    {
        if (const HVResultEnum result = child->SetFrame(mFrame); result != HV_OK)
            return result;
        if (FrameManager* manager = mFrame->mFrameManager)
        {
            if (const HVResultEnum result = child->SetFrameManager(manager); result != HV_OK)
                return result;
        }
    }

    layer::Layer* target = parentLayer ? parentLayer : mLayer;
    if (child->mLayer && target)
        target->AddChild(child->mLayer);

    if (IsDisabled() && !child->mInheritedDisabled)
    {
        child->mInheritedDisabled = 1;
        if (const HVResultEnum result = child->NotifyDisabled(true); result != HV_OK)
            return result;
        return child->PropagateDisabled();
    }
    return HV_OK;
}

HVResultEnum Widget::RemoveChild(Widget* child, bool releaseFocusAndHover)
{
    if (IsDisabled() && child->mInheritedDisabled)
    {
        child->mInheritedDisabled = 0;
        if (const HVResultEnum result = child->NotifyDisabled(false); result != HV_OK)
            return result;
        if (const HVResultEnum result = child->PropagateDisabled(); result != HV_OK)
            return result;
    }

    if (mFrame)
    {
        if (releaseFocusAndHover)
        {
            if (const HVResultEnum result = ReleaseFocusAndHover(); result != HV_OK)
                return result;
        }
        if (mFrame->mFrameManager)
        {
            if (child->mListener)
            {
                if (const HVResultEnum result = child->mListener->OnClose(); result != HV_OK)
                    return result;
            }
            for (size_t i = 0; i < child->mChildren.size(); ++i)
            {
                if (const HVResultEnum result = child->mChildren[i]->SetFrameManager(nullptr); result != HV_OK)
                    return result;
            }
        }
        // A listener that answers non-zero keeps its frame link; the removal goes on.
        const HVResultEnum detached = child->mListener ? child->mListener->OnDetachFrame() : HV_OK;
        if (detached == HV_OK)
        {
            child->mFrame = nullptr;
            for (size_t i = 0; i < child->mChildren.size(); ++i)
            {
                if (const HVResultEnum result = child->mChildren[i]->SetFrame(nullptr); result != HV_OK)
                    return result;
            }
        }
    }

    if (const HVResultEnum result = Remove(child, releaseFocusAndHover); result != HV_OK)
        return result;
    child->mParent = nullptr;
    if (child->mLayer && child->mLayer->GetParent())
        child->mLayer->GetParent()->RemoveChild(child->mLayer);
    return HV_OK;
}

HVResultEnum Widget::SetFrame(Frame* frame)
{
    if (frame)
    {
        mFrame = frame;
        if (mListener)
        {
            if (const HVResultEnum result = mListener->OnAttachFrame(); result != HV_OK)
                return result;
        }
    }
    else
    {
        if (mListener)
        {
            if (const HVResultEnum result = mListener->OnDetachFrame(); result != HV_OK)
                return result;
        }
        mFrame = nullptr;
    }
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const HVResultEnum result = mChildren[i]->SetFrame(frame); result != HV_OK)
            return result;
    }
    return HV_OK;
}

HVResultEnum Widget::SetFrameManager(FrameManager* manager)
{
    if (mListener)
    {
        const HVResultEnum result = manager ? mListener->OnOpen() : mListener->OnClose();
        if (result != HV_OK)
            return result;
    }
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const HVResultEnum result = mChildren[i]->SetFrameManager(manager); result != HV_OK)
            return result;
    }
    return HV_OK;
}

HVResultEnum Widget::UpdateTree(float dt)
{
    if (mListener)
    {
        if (const HVResultEnum result = mListener->Update(dt); result != HV_OK)
            return result;
    }
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const HVResultEnum result = mChildren[i]->UpdateTree(dt); result != HV_OK)
            return result;
    }
    return HV_OK;
}

HVResultEnum Widget::ReleaseFocusAndHover()
{
    if (mFrame)
    {
        if (mFrame->mHoverWidget == this)
        {
            if (const HVResultEnum result = mFrame->SetHover(nullptr); result != HV_OK)
                return result;
        }
        if (mFrame->mFocusWidget == this)
            mFrame->mFocusWidget = nullptr;
    }
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const HVResultEnum result = mChildren[i]->ReleaseFocusAndHover(); result != HV_OK)
            return result;
    }
    return HV_OK;
}
} // namespace widget
