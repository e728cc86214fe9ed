#pragma once

#include "Core/Base/Result.h"
#include "Core/Math/Matrix4.h"
#include "Core/Math/Vector3.h"

namespace render
{
class Texture;

struct Point2
{
    float x = 0, y = 0;
};

// A shader constant on the device.
class ShaderScalarVariableImpl
{
public:
    virtual ~ShaderScalarVariableImpl() = default;
    virtual HVResultEnum SetMatrix(const math::Matrix4* matrix) = 0;
    virtual HVResultEnum SetVector(const math::Point4& value) = 0;
    // Sent as (x, y, z, 1).
    virtual HVResultEnum SetVector(const math::Vector3& value) = 0;
    // Sent as (x, y, 0, 1).
    virtual HVResultEnum SetVector(const Point2& value) = 0;
    virtual HVResultEnum SetFloat(float value) = 0;
};

// A sampler on the device.
class ShaderTextureVariableImpl
{
public:
    virtual ~ShaderTextureVariableImpl() = default;
    virtual HVResultEnum SetTexture(Texture* texture) = 0;
};
} // namespace render
