#pragma once

// The 3D twin of Transform2D over a row-vector Matrix4. Unlike the 2D one, a
// translation set before a scale stays in the parts (and is scaled).
#include "Core/Math/Matrix4.h"
#include "Core/Math/Vector3.h"

namespace math
{
class Transform3D
{
public:
    Transform3D();

    void SetIdentity();
    const Matrix4& GetMatrix();

    void Translate(float x, float y, float z);
    void Rotate(float x, float y, float z);
    void Scale(float x, float y, float z);
    // Applies the other transform after this one.
    void Combine(Transform3D& other);

    bool mMatrixMode;
    bool mRotationSet;
    bool mScaleSet;
    Vector3 mTranslation;
    Vector3 mPostTranslation;
    Vector3 mScale;
    Vector3 mRotation;
    Matrix4 mMatrix;
    bool mDirty;

private:
    void Rebuild();
    void EnterMatrixMode();
};
} // namespace math
