#pragma once

#include "Framework/Widget/WidgetHitTestListener.h"
#include "Framework/Widget/WidgetListener.h"
#include "Framework/Widget/WidgetMediator.h"

namespace widget
{
class Button;
class Widget;

// Keeps a button's visual state (normal, hover, pressed) as its listener and
// the hit listener of its layers, and clicks it when a press is released
// over it. Every change of state asks OnStateChanged first; a failure there
// keeps the old state.
class ButtonMediator : public WidgetMediator, public WidgetListener, public WidgetHitTestListener
{
public:
    // A button still attached forgets this mediator.
    ~ButtonMediator() override;

    HVResultEnum OnHover(bool hover) override;
    HVResultEnum OnDisable(bool disabled) override;
    HVResultEnum OnCapturedMouseUp(CaptureInfo* capture, const math::Vector3& point, int button) override;
    // Owning is for separate mediators only: a button that is its own
    // mediator must not own itself.
    virtual void Attach(Button* button, bool owns = false);
    // The look follows the state here.
    virtual HVResultEnum OnStateChanged(int state);

    HVResultEnum OnWidgetMouseDown(const math::Vector3& point, int button) override;
    HVResultEnum GetCaptureInfo(const math::Vector3& point, CaptureInfo& capture) override;

    Widget* mMediatedWidget = nullptr;
    Button* mButton = nullptr;

private:
    HVResultEnum SetState(int state);
};
} // namespace widget
