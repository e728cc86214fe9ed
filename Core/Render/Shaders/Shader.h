#pragma once

#include "Core/Math/Matrix4.h"
#include "Core/Render/Shaders/ShaderVariable.h"
#include "Core/Resource/Resource.h"

#include <string>

namespace render
{
class Render;
class ShaderImpl;

// A vertex and pixel shader pair: built in, or loaded from a folder holding
// "VS.hlsl" and "PS.hlsl" (the resource name is the folder prefix).
class Shader : public resource::Resource
{
public:
    // For the resource manager: SetRender must follow.
    Shader();
    // A built-in pair: the implementation is owned and the shader loaded.
    Shader(Render* render, ShaderImpl* impl);
    ~Shader() override;

    HVResultEnum Release() override;
    HVResultEnum DoLoad() override;
    HVResultEnum DoUnLoad() override;
    virtual HVResultEnum BindVariables();

    HVResultEnum SetRender(Render* render);
    void SetProjection(const math::Matrix4* projection);
    ShaderImpl* GetImpl() const { return mImpl; }
    ShaderScalarPointer<math::Matrix4, 1>* GetProjectionVariable() const { return mProjection; }

protected:
    Render* mRender = nullptr;
    ShaderImpl* mImpl = nullptr;
    std::string mProjectionName = "Proj";
    ShaderScalarPointer<math::Matrix4, 1>* mProjection = nullptr;
};
} // namespace render
