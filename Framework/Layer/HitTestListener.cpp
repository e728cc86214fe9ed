#include "Framework/Layer/HitTestListener.h"

namespace layer
{
HVResultEnum HitTestListener::OnMouseDown(const math::Vector3&, int) { return HV_OK; }
HVResultEnum HitTestListener::OnMouseUp(const math::Vector3&, int) { return HV_OK; }
HVResultEnum HitTestListener::OnMouseClick(const math::Vector3&, int) { return HV_OK; }
HVResultEnum HitTestListener::OnMouseMove(const math::Vector3&) { return HV_OK; }
HVResultEnum HitTestListener::OnMouseDrag(const math::Vector3&) { return HV_OK; }
HVResultEnum HitTestListener::OnMouseWheel(const math::Vector3&, int) { return HV_OK; }
HVResultEnum HitTestListener::OnChildMouseDown(const math::Vector3&, int) { return HV_OK; }
HVResultEnum HitTestListener::OnChildMouseUp(const math::Vector3&, int) { return HV_OK; }
HVResultEnum HitTestListener::OnChildMouseClick(const math::Vector3&, int) { return HV_OK; }
HVResultEnum HitTestListener::OnChildMouseMove(const math::Vector3&) { return HV_OK; }
HVResultEnum HitTestListener::OnChildMouseDrag(const math::Vector3&) { return HV_OK; }
HVResultEnum HitTestListener::OnChildMouseWheel(const math::Vector3&, int) { return HV_OK; }
} // namespace layer
