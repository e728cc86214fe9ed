// Interim: the scene-side operations until the widget and picture layers land.
#include "Framework/GameApplication.h"

namespace framework
{
HVResultEnum GameApplication::Init() { return HV_FAIL; }
HVResultEnum GameApplication::DrawBars(render::Graphics*) { return HV_OK; }
HVResultEnum GameApplication::Frame(float) { return HV_OK; }
HVResultEnum GameApplication::SwitchScreenMode() { return HV_FAIL; }
HVResultEnum GameApplication::CreateRenderTarget(const DisplaySettings&) { return HV_FAIL; }
HVResultEnum GameApplication::OnMouseDown(const input::Point&, int) { return HV_OK; }
HVResultEnum GameApplication::OnMouseUp(const input::Point&, int) { return HV_OK; }
HVResultEnum GameApplication::OnDoubleClick(const input::Point&, int) { return HV_OK; }
HVResultEnum GameApplication::OnMouseMove(const input::Point&) { return HV_OK; }
HVResultEnum GameApplication::OnMouseDrag(const input::Point&) { return HV_OK; }
HVResultEnum GameApplication::OnMouseWheel(const input::Point&, int) { return HV_OK; }
HVResultEnum GameApplication::OnMouseLeave(const input::Point&) { return HV_OK; }
HVResultEnum GameApplication::OnKeyDown(int) { return HV_OK; }
HVResultEnum GameApplication::OnKeyUp(int) { return HV_OK; }
HVResultEnum GameApplication::OnChar(char32_t) { return HV_OK; }
HVResultEnum GameApplication::OnPointerDown(const input::PointerRecord&) { return HV_OK; }
HVResultEnum GameApplication::OnPointerMove(const input::PointerRecord&) { return HV_OK; }
HVResultEnum GameApplication::OnPointerUp(const input::PointerRecord&) { return HV_OK; }
HVResultEnum GameApplication::OnPointerCancel(const input::PointerRecord&) { return HV_OK; }
} // namespace framework
