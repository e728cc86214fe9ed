#include "Framework/Widget/Button.h"

#include "Framework/Widget/ButtonListener.h"
#include "Framework/Widget/ButtonMediator.h"

namespace widget
{
Button::Button()
{
    mTakesCapture = 1;
    mHitTestWhileCaptured = 1;
}

Button::~Button()
{
    ButtonMediator* mediator = mMediator;
    mMediator = nullptr;
    if (!mediator)
        return;
    if (mOwnsMediator)
    {
        delete mediator;
        return;
    }
    // A borrowed mediator outlives us: it must not reach back.
    if (mediator->mButton == this)
    {
        mediator->mButton = nullptr;
        mediator->mMediatedWidget = nullptr;
        mediator->WidgetHitTestListener::mWidget = nullptr;
    }
}

ClassId& Button::GetClassId()
{
    static ClassId id(&Widget::GetClassId());
    return id;
}

HVResultEnum Button::Click()
{
    if (mClickDelegate)
    {
        if (const HVResultEnum result = mClickDelegate.As<ClickDelegate>()->Invoke(this); result != HV_OK)
            return result;
    }
    return mButtonListener ? mButtonListener->OnButtonClick(this) : HV_OK;
}
} // namespace widget
