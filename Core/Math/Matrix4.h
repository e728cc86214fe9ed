#pragma once

// A 4x4 matrix of floats in the row-vector convention: a point p maps to
// p x M, the translation in elements 12, 13 and 14.
#include "Core/Math/Vector3.h"

namespace math
{
class Matrix4
{
public:
    // The identity when asked for; otherwise all zero.
    explicit Matrix4(bool identity = false);

    void SetIdentity();
    Matrix4 operator*(const Matrix4& other) const;
    Matrix4& operator*=(const Matrix4& other);

    // this = this x diag(x, y, z, 1): the translation row is scaled too.
    void Scale(float x, float y, float z);
    // Adds to elements 12, 13, 14.
    void Translate(float x, float y, float z);
    // this = this x R (the 3x3 part of SetRotation); column 3 is kept.
    void Rotate(float x, float y, float z);
    // Writes only the 3x3 part: roll z, then pitch x, then yaw y.
    void SetRotation(float x, float y, float z);
    void SetScale(float x, float y, float z);
    void SetTranslation(float x, float y, float z);

    void TransformPoint(const Vector3& src, Vector3& dst) const;
    void TransformPointInPlace(Vector3& p) const;

    float m[16];
};
} // namespace math
