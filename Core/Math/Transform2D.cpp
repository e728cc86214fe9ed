#include "Core/Math/Transform2D.h"

#include "Core/Math/MathFunctions.h"

namespace math
{
Transform2D::Transform2D()
{
    for (float& e : mMatrix)
        e = 0.0f;
    SetIdentity();
}

void Transform2D::SetIdentity()
{
    mDirty = true;
    mMatrixMode = false;
    mRotationSet = false;
    mScaleSet = false;
    mTranslationX = mTranslationY = 0.0f;
    mPostTranslationX = mPostTranslationY = 0.0f;
    mScaleX = mScaleY = 1.0f;
    mRotation = 0.0f;
}

const float* Transform2D::GetMatrix()
{
    if (mDirty)
        Rebuild();
    return mMatrix;
}

void Transform2D::Rebuild()
{
    const float base[9] = {1, 0, mTranslationX, 0, 1, mTranslationY, 0, 0, 1};
    for (int i = 0; i < 9; ++i)
        mMatrix[i] = base[i];
    if (mScaleSet)
    {
        mMatrix[0] = mScaleX;
        mMatrix[4] = mScaleY;
    }
    else if (mRotationSet)
    {
        const float c = Cos(mRotation), s = Sin(mRotation);
        PreMultiply(c, s, 0, -s, c, 0);
    }
    if (mPostTranslationX != 0.0f || mPostTranslationY != 0.0f)
        PreMultiply(1, 0, mPostTranslationX, 0, 1, mPostTranslationY);
    mDirty = false;
}

void Transform2D::EnterMatrixMode()
{
    if (mMatrixMode)
        return;
    GetMatrix();
    mMatrixMode = true;
}

void Transform2D::PreMultiply(float a, float b, float c, float d, float e, float f)
{
    float out[9];
    const float l[9] = {a, b, c, d, e, f, 0, 0, 1};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            out[row * 3 + col] = l[row * 3] * mMatrix[col] + l[row * 3 + 1] * mMatrix[3 + col] +
                                 l[row * 3 + 2] * mMatrix[6 + col];
    for (int i = 0; i < 9; ++i)
        mMatrix[i] = out[i];
}

void Transform2D::Translate(float dx, float dy)
{
    if (mMatrixMode)
    {
        PreMultiply(1, 0, dx, 0, 1, dy);
        return;
    }
    mDirty = true;
    if (mRotationSet || mScaleSet)
    {
        mPostTranslationX += dx;
        mPostTranslationY += dy;
    }
    else
    {
        mTranslationX += dx;
        mTranslationY += dy;
    }
}

void Transform2D::Rotate(float radians)
{
    if (!mMatrixMode && !mScaleSet)
    {
        mRotation += radians;
        mRotationSet = true;
        mDirty = true;
        return;
    }
    EnterMatrixMode();
    const float c = Cos(radians), s = Sin(radians);
    PreMultiply(c, s, 0, -s, c, 0);
}

void Transform2D::RotateDegrees(float degrees) { Rotate(degrees * (3.1415927f / 180.0f)); }

void Transform2D::Scale(float sx, float sy)
{
    // A pure mirror (a scale of exactly -1) still fits the parts.
    const bool needsMatrix = mMatrixMode || mRotationSet || mTranslationX != 0.0f || mTranslationY != 0.0f ||
                             (sx < 0.0f && mScaleX * sx != -1.0f) || sy < 0.0f;
    if (!needsMatrix)
    {
        mScaleX *= sx;
        mScaleY *= sy;
        mScaleSet = true;
        mDirty = true;
        return;
    }
    EnterMatrixMode();
    PreMultiply(sx, 0, 0, 0, sy, 0);
}
} // namespace math
