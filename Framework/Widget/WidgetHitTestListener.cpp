#include "Framework/Widget/WidgetHitTestListener.h"

#include "Framework/Widget/Frame.h"
#include "Framework/Widget/FrameManager.h"

namespace widget
{
bool WidgetHitTestListener::WidgetDisabled() const
{
    return !mWidget || mWidget->IsDisabled();
}

HVResultEnum WidgetHitTestListener::ActivateFrame()
{
    Frame* frame = mWidget ? mWidget->mFrame : nullptr;
    if (!frame || !frame->mFrameManager)
        return HV_OK;
    return frame->mFrameManager->Activate(frame);
}

HVResultEnum WidgetHitTestListener::OnMouseDown(const math::Vector3& point, int button)
{
    if (const HVResultEnum result = ActivateFrame(); result != HV_OK)
        return result;
    if (WidgetDisabled())
        return HV_OK;
    if (mWidget->mTakesCapture)
    {
        CaptureInfo capture;
        if (const HVResultEnum result = GetCaptureInfo(point, capture); result != HV_OK)
            return result;
        if (FrameManager* manager = mWidget->GetFrameManager())
            manager->SetCapture(capture);
    }
    return OnWidgetMouseDown(point, button);
}

HVResultEnum WidgetHitTestListener::OnMouseUp(const math::Vector3& point, int button)
{
    return WidgetDisabled() ? HV_OK : OnWidgetMouseUp(point, button);
}

HVResultEnum WidgetHitTestListener::OnMouseClick(const math::Vector3& point, int button)
{
    if (const HVResultEnum result = ActivateFrame(); result != HV_OK)
        return result;
    return WidgetDisabled() ? HV_OK : OnWidgetMouseClick(point, button);
}

HVResultEnum WidgetHitTestListener::OnMouseMove(const math::Vector3& point)
{
    if (mWidget && mWidget->mFrame)
    {
        if (const HVResultEnum result = mWidget->mFrame->SetHover(mWidget); result != HV_OK)
            return result;
    }
    return WidgetDisabled() ? HV_OK : OnWidgetMouseMove(point);
}

HVResultEnum WidgetHitTestListener::OnMouseDrag(const math::Vector3& point)
{
    if (mWidget && mWidget->mFrame)
    {
        if (const HVResultEnum result = mWidget->mFrame->SetHover(mWidget); result != HV_OK)
            return result;
    }
    return WidgetDisabled() ? HV_OK : OnWidgetMouseDrag(point);
}

HVResultEnum WidgetHitTestListener::OnMouseWheel(const math::Vector3& point, int delta)
{
    return WidgetDisabled() ? HV_OK : OnWidgetMouseWheel(point, delta);
}

HVResultEnum WidgetHitTestListener::OnWidgetMouseDown(const math::Vector3&, int)
{
    return HV_OK;
}

HVResultEnum WidgetHitTestListener::OnWidgetMouseUp(const math::Vector3&, int)
{
    return HV_OK;
}

HVResultEnum WidgetHitTestListener::OnWidgetMouseClick(const math::Vector3&, int)
{
    return HV_OK;
}

HVResultEnum WidgetHitTestListener::OnWidgetMouseMove(const math::Vector3&)
{
    return HV_OK;
}

HVResultEnum WidgetHitTestListener::OnWidgetMouseDrag(const math::Vector3&)
{
    return HV_OK;
}

HVResultEnum WidgetHitTestListener::OnWidgetMouseWheel(const math::Vector3&, int)
{
    return HV_OK;
}

HVResultEnum WidgetHitTestListener::GetCaptureInfo(const math::Vector3& point, CaptureInfo& capture)
{
    capture.Set(mWidget, mOwnLayer, point, true);
    return HV_OK;
}
} // namespace widget
