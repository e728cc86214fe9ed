#include "Framework/Widget/CaptureInfo.h"

#include "Framework/Layer/Layer.h"

namespace widget
{
void CaptureInfo::Set(Widget* widget, layer::Layer* layer, const math::Vector3& point, bool inParentSpace)
{
    mWidget = widget;
    mLayer = layer;
    mPoint = point;
    mInParentSpace = inParentSpace;
}

math::Vector3 CaptureInfo::ToCaptureSpace(const math::Vector3& point) const
{
    if (!mLayer)
        return point;
    if (mInParentSpace)
        return mLayer->GetParent() ? mLayer->GetParent()->ToLocalFromRoot(point) : point;
    return mLayer->ToLocalFromRoot(point);
}
} // namespace widget
