#pragma once

#include "Core/Math/Matrix4.h"
#include "Core/Render/CommandBuffer.h"
#include "Core/Render/Shaders/ShaderVariable.h"

#include <string>
#include <vector>

namespace render
{
class Render;

// A compiled shader pair and its variables. A variable's index in the
// vector is its one-byte number in the command buffer.
class ShaderImpl
{
public:
    explicit ShaderImpl(Render* render);
    ShaderImpl(const ShaderImpl&) = delete;
    ShaderImpl& operator=(const ShaderImpl&) = delete;
    virtual ~ShaderImpl();
    virtual HVResultEnum OnResetDevice() = 0;
    virtual HVResultEnum OnLostDevice() = 0;
    virtual HVResultEnum OnActivate() = 0;
    virtual HVResultEnum OnDeactivate() = 0;
    // table 0: vertex constants, 1: pixel constants.
    virtual ShaderScalarVariableImpl* CreateScalarVariable(const std::string& name, int table) = 0;
    virtual ShaderTextureVariableImpl* CreateTextureVariable(const std::string& name) = 0;

    HVResultEnum WriteVariables(CommandBuffer& stream);
    HVResultEnum ReadVariables(CommandBuffer& stream);
    void MarkAllDirty();
    HVResultEnum AddMatrixVariable(const std::string& name, int table, ShaderScalarPointer<math::Matrix4, 1>** out);
    HVResultEnum AddTextureVariable(const std::string& name, ShaderTextureVariable<1>** out);
    // Takes ownership of a variable made over one of this shader's constants.
    void AddVariable(ShaderVariable* variable) { mVariables.push_back(variable); }

    bool IsVariablesDirty() const { return mVariablesDirty != 0; }
    void SetVariablesDirty() { mVariablesDirty = 1; }
    const std::vector<ShaderVariable*>& GetVariables() const { return mVariables; }
    Render* GetRender() const { return mRender; }

    static constexpr size_t kMaxVariables = 255;

protected:
    std::vector<ShaderVariable*> mVariables;
    Render* mRender;
    uint8_t mVariablesDirty = 1;
};
} // namespace render
