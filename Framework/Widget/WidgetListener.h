#pragma once

#include "Core/Base/Result.h"
#include "Core/Math/Vector3.h"
#include "Framework/Layer/LayerAccess.h"

namespace layer
{
class Layer;
}

namespace render
{
class Graphics;
}

namespace widget
{
struct CaptureInfo;

// Receives a widget's notifications. Everything answers 0 by default except
// three captured-pointer operations, which end the capture on release and
// keep the hover up to date while the pointer is held.
class WidgetListener : public layer::LayerAccess
{
public:
    virtual ~WidgetListener() = default;

    virtual HVResultEnum Update(float dt);
    virtual HVResultEnum PreDraw(render::Graphics* graphics, layer::Layer* layer);
    virtual HVResultEnum PostDraw(render::Graphics* graphics, layer::Layer* layer);
    virtual HVResultEnum OnAttachFrame();
    virtual HVResultEnum OnDetachFrame();
    virtual HVResultEnum OnOpen();
    virtual HVResultEnum OnClose();
    virtual HVResultEnum OnHover(bool hover);
    virtual HVResultEnum OnChildHover(bool hover);
    virtual HVResultEnum OnDisable(bool disabled);
    virtual HVResultEnum OnDisableAlt(bool disabled);
    // Never called.
    virtual HVResultEnum OnReserved(int value);
    virtual HVResultEnum OnKeyDown(int key);
    virtual HVResultEnum OnKeyUp(int key);
    // One typed character, a Unicode code point.
    virtual HVResultEnum OnChar(wchar_t character);

    // The point is in the capture's space (see CaptureInfo).
    virtual HVResultEnum OnCapturedMouseDown(CaptureInfo* capture, const math::Vector3& point, int button);
    // Ends the capture and refreshes the hover at the last pointer position.
    virtual HVResultEnum OnCapturedMouseUp(CaptureInfo* capture, const math::Vector3& point, int button);
    virtual HVResultEnum OnCapturedDoubleClick(CaptureInfo* capture, const math::Vector3& point, int button);
    // Runs the move hit test on the captured layer, when the widget hit-tests
    // while captured.
    virtual HVResultEnum OnCapturedMouseMove(CaptureInfo* capture, const math::Vector3& point);
    // Runs the drag hit test on the captured layer; a miss clears the
    // frame's hover, so a held button shows whether a release would click.
    virtual HVResultEnum OnCapturedMouseDrag(CaptureInfo* capture, const math::Vector3& point);
    virtual HVResultEnum OnCapturedMouseWheel(CaptureInfo* capture, const math::Vector3& point, int delta);

protected:
    // Clears the captured flag and the manager's capture widget and layer,
    // then brings the hover up to date at the last pointer position.
    static void EndCapture(CaptureInfo* capture);
};
} // namespace widget
