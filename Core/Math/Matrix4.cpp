#include "Core/Math/Matrix4.h"

#include "Core/Math/MathFunctions.h"

namespace math
{
Matrix4::Matrix4(bool identity)
{
    for (float& e : m)
        e = 0.0f;
    if (identity)
        SetIdentity();
}

void Matrix4::SetIdentity()
{
    for (int i = 0; i < 16; ++i)
        m[i] = i % 5 == 0 ? 1.0f : 0.0f;
}

Matrix4 Matrix4::operator*(const Matrix4& other) const
{
    Matrix4 result;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
        {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += m[row * 4 + k] * other.m[k * 4 + col];
            result.m[row * 4 + col] = sum;
        }
    return result;
}

Matrix4& Matrix4::operator*=(const Matrix4& other)
{
    *this = *this * other;
    return *this;
}

void Matrix4::Scale(float x, float y, float z)
{
    for (int row = 0; row < 4; ++row)
    {
        m[row * 4 + 0] *= x;
        m[row * 4 + 1] *= y;
        m[row * 4 + 2] *= z;
    }
}

void Matrix4::Translate(float x, float y, float z)
{
    m[12] += x;
    m[13] += y;
    m[14] += z;
}

void Matrix4::Rotate(float x, float y, float z)
{
    Matrix4 r(true);
    r.SetRotation(x, y, z);
    for (int row = 0; row < 4; ++row)
    {
        float out[3];
        for (int col = 0; col < 3; ++col)
        {
            float sum = 0.0f;
            for (int k = 0; k < 3; ++k)
                sum += m[row * 4 + k] * r.m[k * 4 + col];
            out[col] = sum;
        }
        for (int col = 0; col < 3; ++col)
            m[row * 4 + col] = out[col];
    }
}

void Matrix4::SetRotation(float x, float y, float z)
{
    const double cx = Cos(double(x)), sx = Sin(double(x));
    const double cy = Cos(double(y)), sy = Sin(double(y));
    const double cz = Cos(double(z)), sz = Sin(double(z));
    m[0] = float(cz * cy + sz * sx * sy);
    m[1] = float(sz * cx);
    m[2] = float(sz * sx * cy - cz * sy);
    m[4] = float(cz * sx * sy - sz * cy);
    m[5] = float(cz * cx);
    m[6] = float(sz * sy + cz * sx * cy);
    m[8] = float(cx * sy);
    m[9] = float(-sx);
    m[10] = float(cx * cy);
}

void Matrix4::SetScale(float x, float y, float z)
{
    m[0] = x;
    m[5] = y;
    m[10] = z;
}

void Matrix4::SetTranslation(float x, float y, float z)
{
    m[12] = x;
    m[13] = y;
    m[14] = z;
}

void Matrix4::TransformPoint(const Vector3& src, Vector3& dst) const
{
    const Vector3 p = src; // src and dst may be the same
    dst.x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    dst.y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    dst.z = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
}

void Matrix4::TransformPointInPlace(Vector3& p) const { TransformPoint(p, p); }
} // namespace math
