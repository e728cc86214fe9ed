#include "Framework/Widget/ButtonMediator.h"

#include "Framework/Layer/Layer.h"
#include "Framework/Widget/Button.h"

namespace widget
{
ButtonMediator::~ButtonMediator()
{
    Button* button = mButton;
    if (!button)
        return;
    if (button->mMediator == this)
    {
        button->mMediator = nullptr;
        button->mOwnsMediator = 0;
    }
    if (button->mListener == static_cast<WidgetListener*>(this))
        button->SetListener(nullptr, false);
    if (button->mLayer && button->mLayer->mHitListener == static_cast<WidgetHitTestListener*>(this))
        button->mLayer->mHitListener = nullptr;
}

HVResultEnum ButtonMediator::SetState(int state)
{
    if (!mButton || mButton->mVisualState == state)
        return HV_OK;
    if (const HVResultEnum result = OnStateChanged(state); result != HV_OK)
        return result;
    mButton->mVisualState = state;
    return HV_OK;
}

HVResultEnum ButtonMediator::OnHover(bool hover)
{
    if (!mButton)
        return HV_OK;
    int state = Button::kNormal;
    if (hover && !mButton->IsDisabled())
        state = mButton->mCaptured ? Button::kPressed : Button::kHover;
    return SetState(state);
}

HVResultEnum ButtonMediator::OnDisable(bool disabled)
{
    if (!mButton)
        return HV_OK;
    return SetState(!disabled && mButton->mHover ? Button::kHover : Button::kNormal);
}

HVResultEnum ButtonMediator::OnCapturedMouseUp(CaptureInfo* capture, const math::Vector3&, int)
{
    EndCapture(capture);
    if (!mButton)
        return HV_OK;
    if (!mButton->mHover)
        return SetState(Button::kNormal);
    if (const HVResultEnum result = SetState(Button::kHover); result != HV_OK)
        return result;
    return mButton->Click();
}

void ButtonMediator::Attach(Button* button, bool owns)
{
    button->SetListener(this, true);
    button->mMediator = this;
    button->mOwnsMediator = owns;
    WidgetHitTestListener::mWidget = button;
    mMediatedWidget = button;
    mButton = button;
}

HVResultEnum ButtonMediator::OnStateChanged(int)
{
    return HV_OK;
}

HVResultEnum ButtonMediator::OnWidgetMouseDown(const math::Vector3&, int)
{
    return SetState(Button::kPressed);
}

HVResultEnum ButtonMediator::GetCaptureInfo(const math::Vector3& point, CaptureInfo& capture)
{
    capture.Set(mButton, mButton ? mButton->mLayer : nullptr, point, true);
    return HV_OK;
}
} // namespace widget
