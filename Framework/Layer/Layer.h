#pragma once

// A node of the scene tree: draws itself, then its children in list order
// (the last on top), and takes part in the hit test.
#include "Core/Base/DelegateHandle.h"
#include "Core/Base/Result.h"
#include "Core/Math/Vector3.h"
#include "Framework/Layer/Drawable.h"
#include "Framework/Layer/HitTestContext.h"
#include "Framework/Layer/HitTestRun.h"
#include "Framework/Layer/MouseEvents.h"

#include <vector>

namespace layer
{
class HitTestListener;

class Layer : public Drawable
{
public:
    using Children = std::vector<Layer*>;
    // The pre-draw and post-draw hooks hold delegates of this kind.
    using DrawHook = base::Delegate2<render::Graphics*, Layer*, HVResultEnum>;

    Layer() = default;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;
    // Leaves its parent and lets go of its children, so that a layer deleted
    // while attached leaves no dangling pointer behind.
    ~Layer() override;

    HVResultEnum Draw(render::Graphics* g) override;
    void UpdateHitRect() override {}
    virtual HVResultEnum Render(render::Graphics* g);
    virtual bool ReservedTrue();
    // Point in this layer's space; asked only inside the hit rectangle.
    virtual bool HitTestPoint(const math::Vector3& point);
    virtual bool ReservedFalse();
    // The range the hit test walks, from the end down.
    virtual Children::iterator ChildrenEnd();
    virtual Children::iterator ChildrenBegin();

    // Detaches the child from a former parent first.
    void AddChild(Layer* child);
    // Same rules, but the child goes first: drawn beneath its siblings, hit last.
    void AddChildFront(Layer* child);
    // A layer that is not a child is ignored.
    void RemoveChild(Layer* child);
    // The child list changed in some other way: the box is re-united next time.
    void MarkChildrenChanged() { mChildrenChanged = true; }
    Layer* GetParent() const { return mParent; }
    const Children& GetChildren() const { return mChildren; }

    // Changes only beyond 2e-4 in some component.
    void SetPosition(float x, float y, float z);
    void SetScale(float x, float y, float z);
    void SetRotation(float x, float y, float z);
    // Any change at all.
    void SetX(float x);
    void SetY(float y);
    // The layer moved, turned or changed scale: transform and box go stale.
    void MarkTransformChanged();

    // Copies the handle (the delegate is shared); an empty handle removes the hook.
    void SetPreDrawHook(const base::DelegateHandle& hook) { mPreDraw = hook; }
    void SetPostDrawHook(const base::DelegateHandle& hook) { mPostDraw = hook; }

    void RefreshTransform();
    // world = parent-world(translate(rotate(scale(p)))); null for a root.
    void UpdateWorldTransform(math::Transform3D* parentWorld);
    // Bottom-up box update; true when this layer's parent-space box changed.
    bool UpdateBounds();
    void BoxToParent();
    bool IsFlat() const;
    math::Vector3 ToLocal(const math::Vector3& p) const;
    // Layer by layer from the topmost ancestor; layers that are not flat are skipped.
    math::Vector3 ToLocalFromRoot(const math::Vector3& p) const;

    // One hit test, written once for the five event kinds (OnMouseDown,
    // OnMouseUp, OnMouseMove, OnMouseDrag, OnMouseWheel). The result is an
    // error code; the outcome is the run's state.
    template <class E>
    HVResultEnum HitTest(HitTestContext& context, HitTestRun<E>& run);
    template <class E>
    HVResultEnum DispatchHit(HitTestContext& context, bool bubbled, bool handledBelow, HitTestRun<E>& run);
    // Starts a hit test on this layer as a tree root: bounds update, a run in
    // state 1, the point with z = 0. Handled when the run ends in state 0.
    // Does nothing while the event's dispatch handle is empty.
    template <class E>
    HVResultEnum StartHitTest(const math::Vector3& point, const E& event, bool& handled);
    HVResultEnum TestMove(const math::Vector3& point, const OnMouseMove& event, bool& handled);
    HVResultEnum TestDrag(const math::Vector3& point, const OnMouseDrag& event, bool& handled);

    HitTestListener* mHitListener = nullptr; // not owned
    base::DelegateHandle mPreDraw;
    base::DelegateHandle mPostDraw;
    bool mParentChanged = false;
    bool mOpacityInherit = true;
    float mPassOpacity = 1.0f;
    float mEffectiveOpacity = 1.0f;
    bool mHitChildrenWhileDisabled = false;

private:
    void InsertChild(Layer* child, bool front);
    Layer* mParent = nullptr;
    Children mChildren; // not owned
    bool mChildrenChanged = false;
};
} // namespace layer
