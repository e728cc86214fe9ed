#pragma once

#include "Core/Math/Vector3.h"
#include "Core/Render/Shaders/ShaderTextured.h"

// The shader that draws enemies: a textured shader with the colour "color2"
// of its pixel constants.
class TMobShader : public render::ShaderTextured
{
public:
    ~TMobShader() override;

    // "color2" first, then the textured shader's own variables; 1 without it.
    HVResultEnum BindVariables() override;
    // Kept in a map of its own type: the textured shader's release looks in its own.
    HVResultEnum Release() override;
    HVResultEnum DoUnLoad() override;

    // Does nothing before the shader is loaded.
    void SetColor2(const math::Point4& colour);
    render::ShaderScalarVariable<math::Point4, 1>* GetColor2Variable() const { return mColor2; }

private:
    // Owned by the implementation's variable list.
    render::ShaderScalarVariable<math::Point4, 1>* mColor2 = nullptr;
};
