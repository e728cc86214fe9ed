#include "Framework/Layer/Layer.h"

#include "Core/Math/Matrix4.h"

#include <algorithm>
#include <cmath>

namespace layer
{
namespace
{
constexpr float kAngleEpsilon = 2e-4f;

// Divides by a scale only when it does something: 1 changes nothing, and a
// depth scale of 0 (controls are flattened that way) must not give 0/0.
float Unscale(float value, float scale) { return (scale == 1.0f || scale == 0.0f) ? value : value / scale; }

bool IsEmpty(const math::BoundingBox& box)
{
    return box.mMin.x > box.mMax.x || box.mMin.y > box.mMax.y || box.mMin.z > box.mMax.z;
}
} // namespace

Layer::~Layer()
{
    if (mParent)
        mParent->RemoveChild(this);
    for (Layer* child : mChildren)
        child->mParent = nullptr;
}

HVResultEnum Layer::Draw(render::Graphics*) { return HV_OK; }

bool Layer::ReservedTrue() { return true; }

bool Layer::HitTestPoint(const math::Vector3&) { return false; }

bool Layer::ReservedFalse() { return false; }

Layer::Children::iterator Layer::ChildrenEnd() { return mChildren.end(); }

Layer::Children::iterator Layer::ChildrenBegin() { return mChildren.begin(); }

void Layer::AddChild(Layer* child)
{
    InsertChild(child, false);
}

void Layer::AddChildFront(Layer* child)
{
    InsertChild(child, true);
}

void Layer::InsertChild(Layer* child, bool front)
{
    if (!child || child == this)
        return;
    if (child->mParent)
        child->mParent->RemoveChild(child);
    if (mTransformDirty)
        child->mParentChanged = true;
    mChildren.insert(front ? mChildren.begin() : mChildren.end(), child);
    child->mParent = this;
    mChildrenChanged = true;
}

void Layer::RemoveChild(Layer* child)
{
    const auto it = std::find(mChildren.begin(), mChildren.end(), child);
    if (it == mChildren.end())
        return;
    mChildren.erase(it);
    child->mParent = nullptr;
    mChildrenChanged = true;
}

void Layer::MarkTransformChanged()
{
    mTransformDirty = true;
    mBoxValid = false;
}

void Layer::SetPosition(float x, float y, float z)
{
    const math::Vector3 value(x, y, z);
    if (value != mPosition)
    {
        mPosition = value;
        MarkTransformChanged();
    }
}

void Layer::SetScale(float x, float y, float z)
{
    const math::Vector3 value(x, y, z);
    if (value != mScale)
    {
        mScale = value;
        MarkTransformChanged();
    }
}

void Layer::SetRotation(float x, float y, float z)
{
    const math::Vector3 value(x, y, z);
    if (value != mRotation)
    {
        mRotation = value;
        MarkTransformChanged();
    }
}

void Layer::SetX(float x)
{
    if (x != mPosition.x)
    {
        mPosition.x = x;
        MarkTransformChanged();
    }
}

void Layer::SetY(float y)
{
    if (y != mPosition.y)
    {
        mPosition.y = y;
        MarkTransformChanged();
    }
}

HVResultEnum Layer::Render(render::Graphics* g)
{
    if (!mVisible)
        return HV_OK;
    if (mPreDraw)
    {
        if (const HVResultEnum result = mPreDraw.As<DrawHook>()->Invoke(g, this))
            return result;
    }
    RefreshTransform();
    if (mOpacityInherit)
    {
        mPassOpacity = mOpacity;
        mEffectiveOpacity = mOpacity * (mParent ? mParent->mEffectiveOpacity : 1.0f);
    }
    else
    {
        mPassOpacity = mParent ? mParent->mPassOpacity : 1.0f;
        mEffectiveOpacity = mOpacity * mPassOpacity;
    }
    if (const HVResultEnum result = Draw(g))
        return result;
    // By index: a hook may change the list while it is walked.
    for (size_t i = 0; i < mChildren.size(); ++i)
    {
        if (const HVResultEnum result = mChildren[i]->Render(g))
            return result;
    }
    if (mPostDraw)
        return mPostDraw.As<DrawHook>()->Invoke(g, this);
    return HV_OK;
}

void Layer::RefreshTransform()
{
    if (!mTransformDirty && !mParentChanged)
        return;
    UpdateWorldTransform(mParent ? &mParent->mWorldTransform : nullptr);
    // Stays set: from now on this subtree recomputes at every render.
    mTransformDirty = true;
    for (Layer* child : mChildren)
        child->mParentChanged = true;
    mParentChanged = false;
}

void Layer::UpdateWorldTransform(math::Transform3D* parentWorld)
{
    mWorldTransform.SetIdentity();
    if (mScale.x != 1.0f || mScale.y != 1.0f || mScale.z != 1.0f)
        mWorldTransform.Scale(mScale.x, mScale.y, mScale.z);
    if (mRotation.x != 0.0f || mRotation.y != 0.0f || mRotation.z != 0.0f)
        mWorldTransform.Rotate(mRotation.x, mRotation.y, mRotation.z);
    if (mPosition.x != 0.0f || mPosition.y != 0.0f || mPosition.z != 0.0f)
        mWorldTransform.Translate(mPosition.x, mPosition.y, mPosition.z);
    if (parentWorld)
        mWorldTransform.Combine(*parentWorld);
}

bool Layer::UpdateBounds()
{
    bool changed = false;
    if (!mHitRectValid)
    {
        // Also after the rectangle was switched off: the box must drop it.
        if (mHitRectEnabled)
            UpdateHitRect();
        mHitRectValid = true;
        changed = true;
    }
    for (Layer* child : mChildren)
    {
        if (child->UpdateBounds())
            changed = true;
    }
    // A child came or went: the union must be taken again, and a moved child
    // that is itself unchanged would not say so.
    if (mChildrenChanged)
    {
        mChildrenChanged = false;
        changed = true;
    }
    if (changed)
    {
        mBox = math::BoundingBox();
        for (Layer* child : mChildren)
            mBox.Merge(child->mParentBox);
        if (mHitRectEnabled)
            mBox.Merge(mHitRect);
    }
    else if (mBoxValid)
        return false;
    BoxToParent();
    mBoxValid = true;
    // Updated on its own (a hit test started below the root): the parent
    // must still take the new box at its own next update.
    if (mParent)
        mParent->mChildrenChanged = true;
    return true;
}

void Layer::BoxToParent()
{
    if (IsEmpty(mBox))
    {
        mParentBox = math::BoundingBox();
        return;
    }
    math::BoundingBox box = mBox;
    if (mScale.x != 1.0f || mScale.y != 1.0f || mScale.z != 1.0f)
    {
        box.mMin = math::Vector3(box.mMin.x * mScale.x, box.mMin.y * mScale.y, box.mMin.z * mScale.z);
        box.mMax = math::Vector3(box.mMax.x * mScale.x, box.mMax.y * mScale.y, box.mMax.z * mScale.z);
        // A negative scale swaps the ends; an inside-out box would never be hit.
        if (box.mMin.x > box.mMax.x)
            std::swap(box.mMin.x, box.mMax.x);
        if (box.mMin.y > box.mMax.y)
            std::swap(box.mMin.y, box.mMax.y);
        if (box.mMin.z > box.mMax.z)
            std::swap(box.mMin.z, box.mMax.z);
    }
    if (std::fabs(mRotation.x) <= kAngleEpsilon && std::fabs(mRotation.y) <= kAngleEpsilon)
    {
        if (std::fabs(mRotation.z) > kAngleEpsilon)
        {
            const float c = std::cos(mRotation.z);
            const float s = std::sin(mRotation.z);
            const math::Vector3 corners[4] = {
                math::Vector3(box.mMin.x, box.mMin.y, box.mMin.z),
                math::Vector3(box.mMax.x, box.mMin.y, box.mMin.z),
                math::Vector3(box.mMax.x, box.mMax.y, box.mMax.z),
                math::Vector3(box.mMin.x, box.mMax.y, box.mMax.z),
            };
            box = math::BoundingBox();
            for (const math::Vector3& p : corners)
                box.Extend(math::Vector3(p.x * c - p.y * s, p.x * s + p.y * c, p.z));
        }
    }
    else
    {
        math::Matrix4 rotation(true);
        rotation.SetRotation(mRotation.x, mRotation.y, mRotation.z);
        const math::BoundingBox source = box;
        box = math::BoundingBox();
        for (int i = 0; i < 8; ++i)
        {
            math::Vector3 corner;
            rotation.TransformPoint(source.GetCorner(i), corner);
            box.Extend(corner);
        }
    }
    if (mPosition.x != 0.0f)
    {
        box.mMin.x += mPosition.x;
        box.mMax.x += mPosition.x;
    }
    if (mPosition.y != 0.0f)
    {
        box.mMin.y += mPosition.y;
        box.mMax.y += mPosition.y;
    }
    if (mPosition.z != 0.0f)
    {
        box.mMin.z += mPosition.z;
        box.mMax.z += mPosition.z;
    }
    mParentBox = box;
}

bool Layer::IsFlat() const
{
    return std::fabs(mRotation.x) <= kAngleEpsilon && std::fabs(mRotation.y) <= kAngleEpsilon;
}

math::Vector3 Layer::ToLocal(const math::Vector3& p) const
{
    math::Vector3 q = p - mPosition;
    if (std::fabs(mRotation.z) > kAngleEpsilon)
    {
        const float c = std::cos(mRotation.z);
        const float s = std::sin(mRotation.z);
        q = math::Vector3(q.x * c + q.y * s, q.y * c - q.x * s, q.z);
    }
    return math::Vector3(Unscale(q.x, mScale.x), Unscale(q.y, mScale.y), Unscale(q.z, mScale.z));
}

math::Vector3 Layer::ToLocalFromRoot(const math::Vector3& p) const
{
    std::vector<const Layer*> chain;
    for (const Layer* layer = this; layer; layer = layer->mParent)
        chain.push_back(layer);
    math::Vector3 q = p;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    {
        if ((*it)->IsFlat())
            q = (*it)->ToLocal(q);
    }
    return q;
}

HVResultEnum Layer::TestMove(const math::Vector3& point, const OnMouseMove& event, bool& handled)
{
    return StartHitTest(point, event, handled);
}

HVResultEnum Layer::TestDrag(const math::Vector3& point, const OnMouseDrag& event, bool& handled)
{
    return StartHitTest(point, event, handled);
}
} // namespace layer
