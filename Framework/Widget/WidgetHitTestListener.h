#pragma once

#include "Framework/Layer/HitTestListener.h"
#include "Framework/Widget/CaptureInfo.h"

namespace widget
{
class Widget;

// The hit listener of a widget's layers. A press activates the widget's
// frame, then (unless the widget is disabled) takes the capture when the
// widget takes it and passes the press on; a move or drag makes the widget
// the frame's hover widget, disabled or not.
class WidgetHitTestListener : public layer::HitTestListener
{
public:
    HVResultEnum OnMouseDown(const math::Vector3& point, int button) override;
    HVResultEnum OnMouseUp(const math::Vector3& point, int button) override;
    HVResultEnum OnMouseClick(const math::Vector3& point, int button) override;
    HVResultEnum OnMouseMove(const math::Vector3& point) override;
    HVResultEnum OnMouseDrag(const math::Vector3& point) override;
    HVResultEnum OnMouseWheel(const math::Vector3& point, int delta) override;

    virtual HVResultEnum OnWidgetMouseDown(const math::Vector3& point, int button);
    virtual HVResultEnum OnWidgetMouseUp(const math::Vector3& point, int button);
    virtual HVResultEnum OnWidgetMouseClick(const math::Vector3& point, int button);
    virtual HVResultEnum OnWidgetMouseMove(const math::Vector3& point);
    virtual HVResultEnum OnWidgetMouseDrag(const math::Vector3& point);
    virtual HVResultEnum OnWidgetMouseWheel(const math::Vector3& point, int delta);
    // The capture a press takes: this listener's widget and own layer, the point, in parent space.
    virtual HVResultEnum GetCaptureInfo(const math::Vector3& point, CaptureInfo& capture);

    Widget* mWidget = nullptr;

private:
    HVResultEnum ActivateFrame();
    bool WidgetDisabled() const;
};
} // namespace widget
