#include "Core/Math/Transform3D.h"

namespace math
{
namespace
{
bool IsZero(const Vector3& v) { return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f; }
} // namespace

Transform3D::Transform3D() { SetIdentity(); }

void Transform3D::SetIdentity()
{
    mMatrixMode = false;
    mRotationSet = false;
    mScaleSet = false;
    mTranslation = Vector3();
    mPostTranslation = Vector3();
    mScale = Vector3(1, 1, 1);
    mRotation = Vector3();
    mDirty = true;
}

const Matrix4& Transform3D::GetMatrix()
{
    if (mDirty)
        Rebuild();
    return mMatrix;
}

void Transform3D::Rebuild()
{
    mMatrix.SetIdentity();
    mMatrix.SetTranslation(mTranslation.x, mTranslation.y, mTranslation.z);
    if (mScaleSet)
        mMatrix.Scale(mScale.x, mScale.y, mScale.z);
    else if (mRotationSet)
        mMatrix.Rotate(mRotation.x, mRotation.y, mRotation.z);
    if (!IsZero(mPostTranslation))
        mMatrix.Translate(mPostTranslation.x, mPostTranslation.y, mPostTranslation.z);
    mDirty = false;
}

void Transform3D::EnterMatrixMode()
{
    if (mMatrixMode)
        return;
    GetMatrix();
    mMatrixMode = true;
}

void Transform3D::Translate(float x, float y, float z)
{
    if (mMatrixMode)
    {
        mMatrix.Translate(x, y, z);
        return;
    }
    mDirty = true;
    if (mRotationSet || mScaleSet)
        mPostTranslation += Vector3(x, y, z);
    else
        mTranslation += Vector3(x, y, z);
}

void Transform3D::Rotate(float x, float y, float z)
{
    if (!mMatrixMode && !mScaleSet && !mRotationSet)
    {
        mRotation = Vector3(x, y, z);
        mRotationSet = true;
        mDirty = true;
        return;
    }
    EnterMatrixMode();
    mMatrix.Rotate(x, y, z);
}

void Transform3D::Scale(float x, float y, float z)
{
    const bool needsMatrix =
        mMatrixMode || mRotationSet || !IsZero(mPostTranslation) || x < 0.0f || y < 0.0f || z < 0.0f;
    if (!needsMatrix)
    {
        mScale = Vector3(mScale.x * x, mScale.y * y, mScale.z * z);
        mScaleSet = true;
        mDirty = true;
        return;
    }
    EnterMatrixMode();
    mMatrix.Scale(x, y, z);
}

void Transform3D::Combine(Transform3D& other)
{
    if (other.mMatrixMode)
    {
        const Matrix4& matrix = other.GetMatrix();
        EnterMatrixMode();
        mMatrix *= matrix;
        return;
    }
    if (!IsZero(other.mTranslation))
        Translate(other.mTranslation.x, other.mTranslation.y, other.mTranslation.z);
    if (other.mScaleSet)
        Scale(other.mScale.x, other.mScale.y, other.mScale.z);
    if (other.mRotationSet)
        Rotate(other.mRotation.x, other.mRotation.y, other.mRotation.z);
    if (!IsZero(other.mPostTranslation))
        Translate(other.mPostTranslation.x, other.mPostTranslation.y, other.mPostTranslation.z);
}
} // namespace math
