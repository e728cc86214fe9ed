#include "Framework/Widget/WidgetListener.h"

#include "Framework/Layer/Layer.h"
#include "Framework/Widget/CaptureInfo.h"
#include "Framework/Widget/Frame.h"
#include "Framework/Widget/FrameManager.h"

namespace widget
{
namespace
{
Widget* HitTestingWidget(const CaptureInfo* capture)
{
    Widget* widget = capture ? capture->mWidget : nullptr;
    return widget && widget->mHitTestWhileCaptured && widget->mLayer ? widget : nullptr;
}
} // namespace

HVResultEnum WidgetListener::Update(float)
{
    return HV_OK;
}

HVResultEnum WidgetListener::PreDraw(render::Graphics*, layer::Layer*)
{
    return HV_OK;
}

HVResultEnum WidgetListener::PostDraw(render::Graphics*, layer::Layer*)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnAttachFrame()
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnDetachFrame()
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnOpen()
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnClose()
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnHover(bool)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnChildHover(bool)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnDisable(bool)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnDisableAlt(bool)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnReserved(int)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnKeyDown(int)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnKeyUp(int)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnChar(wchar_t)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnCapturedMouseDown(CaptureInfo*, const math::Vector3&, int)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnCapturedMouseUp(CaptureInfo* capture, const math::Vector3&, int)
{
    EndCapture(capture);
    return HV_OK;
}

HVResultEnum WidgetListener::OnCapturedDoubleClick(CaptureInfo*, const math::Vector3&, int)
{
    return HV_OK;
}

HVResultEnum WidgetListener::OnCapturedMouseMove(CaptureInfo* capture, const math::Vector3& point)
{
    Widget* widget = HitTestingWidget(capture);
    if (!widget)
        return HV_OK;
    bool handled = false;
    return widget->mLayer->TestMove(point, layer::OnMouseMove{}, handled);
}

HVResultEnum WidgetListener::OnCapturedMouseDrag(CaptureInfo* capture, const math::Vector3& point)
{
    Widget* widget = HitTestingWidget(capture);
    if (!widget)
        return HV_OK;
    Frame* frame = widget->mFrame;
    if (frame && frame->mLayer)
        frame->mLayer->UpdateBounds();
    bool handled = false;
    if (const HVResultEnum result = widget->mLayer->TestDrag(point, layer::OnMouseDrag{}, handled); result != HV_OK)
        return result;
    // Off the widget: nothing is hovered, so a release there does not count as over it.
    if (!handled && frame)
        return frame->SetHover(nullptr);
    return HV_OK;
}

HVResultEnum WidgetListener::OnCapturedMouseWheel(CaptureInfo*, const math::Vector3&, int)
{
    return HV_OK;
}

void WidgetListener::EndCapture(CaptureInfo* capture)
{
    Widget* widget = capture ? capture->mWidget : nullptr;
    if (!widget)
        return;
    FrameManager* manager = widget->GetCaptureHolder() ? widget->GetCaptureHolder() : widget->GetFrameManager();
    if (!manager)
    {
        widget->mCaptured = 0;
        capture->mWidget = nullptr;
        capture->mLayer = nullptr;
        return;
    }
    manager->ReleaseCapture();
    // The pointer may have left the widget meanwhile; the result does not matter here.
    manager->RefreshHover();
}
} // namespace widget
