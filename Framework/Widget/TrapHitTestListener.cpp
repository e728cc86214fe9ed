#include "Framework/Widget/TrapHitTestListener.h"

#include "Framework/Widget/Frame.h"
#include "Framework/Widget/FrameManager.h"

namespace widget
{
HVResultEnum TrapHitTestListener::ActivateFrame()
{
    Frame* frame = mOwner ? mOwner->mFrame : nullptr;
    if (!frame || !frame->mFrameManager)
        return HV_OK;
    return frame->mFrameManager->Activate(frame);
}

HVResultEnum TrapHitTestListener::ClearHover()
{
    Frame* frame = mOwner ? mOwner->mFrame : nullptr;
    return frame ? frame->SetHover(nullptr) : HV_OK;
}

HVResultEnum TrapHitTestListener::OnMouseDown(const math::Vector3&, int) { return ActivateFrame(); }

HVResultEnum TrapHitTestListener::OnMouseClick(const math::Vector3&, int) { return ActivateFrame(); }

HVResultEnum TrapHitTestListener::OnMouseMove(const math::Vector3&) { return ClearHover(); }

HVResultEnum TrapHitTestListener::OnMouseDrag(const math::Vector3&) { return ClearHover(); }

HVResultEnum TrapHitTestListener::Reserved(layer::Layer*, const math::Vector3&, int) { return HV_OK; }
} // namespace widget
