#include "Framework/Layer/DispatchHandles.h"

#include "Framework/Layer/HitTestListener.h"

namespace layer
{
namespace
{
HVResultEnum Call(HitTestListener& l, bool bubbled, const OnMouseDown& e)
{
    return bubbled ? l.OnChildMouseDown(l.mPoint, e.button) : l.OnMouseDown(l.mPoint, e.button);
}
HVResultEnum Call(HitTestListener& l, bool bubbled, const OnMouseUp& e)
{
    return bubbled ? l.OnChildMouseUp(l.mPoint, e.button) : l.OnMouseUp(l.mPoint, e.button);
}
HVResultEnum Call(HitTestListener& l, bool bubbled, const OnMouseMove&)
{
    return bubbled ? l.OnChildMouseMove(l.mPoint) : l.OnMouseMove(l.mPoint);
}
HVResultEnum Call(HitTestListener& l, bool bubbled, const OnMouseDrag&)
{
    return bubbled ? l.OnChildMouseDrag(l.mPoint) : l.OnMouseDrag(l.mPoint);
}
HVResultEnum Call(HitTestListener& l, bool bubbled, const OnMouseWheel& e)
{
    return bubbled ? l.OnChildMouseWheel(l.mPoint, e.delta) : l.OnMouseWheel(l.mPoint, e.delta);
}
} // namespace

template <class E>
HVResultEnum DispatchToListener(HitTestParam& param, const E& event)
{
    HitTestListener* listener = param.listener;
    if (!listener)
        return HV_OK;
    listener->mHitLayer = param.hitLayer;
    listener->mOwnLayer = param.listenerLayer;
    listener->mPoint = param.listenerPoint;
    listener->mState = param.state;
    listener->mHandledBelow = param.handledBelow;
    const HVResultEnum result = Call(*listener, param.bubbled, event);
    if (result != HV_OK)
        return result;
    param.state = listener->mState;
    return HV_OK;
}

template <class E>
base::DelegateHandle& GetDispatchHandle()
{
    // A function-local object: its destructor, run at exit, releases the delegate.
    static base::DelegateHandle handle = [] {
        base::DelegateHandle h;
        h.Assign(new base::StaticDelegate2<HitTestParam&, const E&, HVResultEnum>(&DispatchToListener<E>));
        return h;
    }();
    return handle;
}

#define HV_LAYER_DISPATCH(E)                                                                                           \
    template HVResultEnum DispatchToListener<E>(HitTestParam&, const E&);                                             \
    template base::DelegateHandle& GetDispatchHandle<E>();
HV_LAYER_DISPATCH(OnMouseDown)
HV_LAYER_DISPATCH(OnMouseUp)
HV_LAYER_DISPATCH(OnMouseMove)
HV_LAYER_DISPATCH(OnMouseDrag)
HV_LAYER_DISPATCH(OnMouseWheel)
#undef HV_LAYER_DISPATCH
} // namespace layer
