// The hit test and its delivery, once for every event kind.
#include "Framework/Layer/DispatchHandles.h"
#include "Framework/Layer/HitTestListener.h"
#include "Framework/Layer/Layer.h"

namespace layer
{
namespace
{
// Left and top edges are in, right and bottom edges out; depth has no upper end.
bool Contains(const math::BoundingBox& box, const math::Vector3& p)
{
    return box.mMin.x <= p.x && p.x < box.mMax.x && box.mMin.y <= p.y && p.y < box.mMax.y && box.mMin.z <= p.z;
}
} // namespace

template <class E>
HVResultEnum Layer::HitTest(HitTestContext& context, HitTestRun<E>& run)
{
    if (!mVisible || (!mHitEnabled && !mHitChildrenWhileDisabled))
        return HV_OK;
    if (!Contains(mParentBox, *context.point))
        return HV_OK;

    math::Vector3 q;
    HitTestContext own;
    own.point = &q;
    own.layer = this;
    own.listener = mHitListener;
    own.listenerAncestor = context.listener ? &context : context.listenerAncestor;

    if (IsFlat())
    {
        q = ToLocal(*context.point);
        // By index from the end: a listener may change the list during a delivery.
        for (std::ptrdiff_t i = ChildrenEnd() - ChildrenBegin(); i-- > 0;)
        {
            const std::ptrdiff_t count = ChildrenEnd() - ChildrenBegin();
            if (i >= count)
            {
                i = count;
                continue;
            }
            Layer* child = ChildrenBegin()[i];
            if (const HVResultEnum result = child->HitTest(own, run))
                return result;
            if (run.state == HIT_CAPTURED)
            {
                if (run.capturingLayer != this)
                    return HV_OK;
                // This layer captured an event from below: it tests its own area now.
                run.state = HIT_PASS_ON;
                run.capturingLayer = nullptr;
                break;
            }
            if (run.state == HIT_HANDLED)
                return HV_OK;
        }
        if (run.state == HIT_CAPTURED)
            run.state = HIT_PASS_ON;
    }

    if (!mHitListener && !own.listenerAncestor)
        return HV_OK;
    if (!mHitRectEnabled || !Contains(mHitRect, q) || !mHitEnabled || !HitTestPoint(q))
        return HV_OK;

    run.state = HIT_HANDLED;
    run.hitPoint = q;
    run.hitLayer = this;
    run.capturingLayer = nullptr;
    if (mHitListener)
        return DispatchHit(own, false, false, run);
    return own.listenerAncestor->layer->DispatchHit(*own.listenerAncestor, false, false, run);
}

template <class E>
HVResultEnum Layer::DispatchHit(HitTestContext& context, bool bubbled, bool handledBelow, HitTestRun<E>& run)
{
    HitTestParam param;
    param.hitLayer = run.hitLayer;
    param.hitPoint = run.hitPoint;
    param.listenerLayer = this;
    param.listenerPoint = *context.point;
    param.listener = mHitListener;
    param.state = run.state;
    param.bubbled = bubbled;
    param.handledBelow = handledBelow;
    if (run.handle && *run.handle)
    {
        // The listener may delete this layer: nothing below reads a member.
        if (const HVResultEnum result = run.handle->template As<DispatchDelegate<E>>()->Invoke(param, *run.event))
            return result;
    }
    run.state = param.state;
    if (run.state == HIT_CAPTURED)
        run.capturingLayer = this;
    // Bubbled delivery is never asked for here.
    return HV_OK;
}

template <class E>
HVResultEnum Layer::StartHitTest(const math::Vector3& point, const E& event, bool& handled)
{
    handled = false;
    base::DelegateHandle& handle = GetDispatchHandle<E>();
    if (!handle)
        return HV_OK;
    UpdateBounds();
    HitTestRun<E> run;
    run.event = &event;
    run.handle = &handle;
    math::Vector3 p(point.x, point.y, 0.0f);
    HitTestContext root;
    root.point = &p;
    root.layer = this;
    if (const HVResultEnum result = HitTest(root, run))
        return result;
    handled = run.state == HIT_HANDLED;
    return HV_OK;
}

#define HV_LAYER_HIT_TEST(E)                                                                                           \
    template HVResultEnum Layer::HitTest<E>(HitTestContext&, HitTestRun<E>&);                                         \
    template HVResultEnum Layer::DispatchHit<E>(HitTestContext&, bool, bool, HitTestRun<E>&);                         \
    template HVResultEnum Layer::StartHitTest<E>(const math::Vector3&, const E&, bool&);
HV_LAYER_HIT_TEST(OnMouseDown)
HV_LAYER_HIT_TEST(OnMouseUp)
HV_LAYER_HIT_TEST(OnMouseMove)
HV_LAYER_HIT_TEST(OnMouseDrag)
HV_LAYER_HIT_TEST(OnMouseWheel)
#undef HV_LAYER_HIT_TEST
} // namespace layer
