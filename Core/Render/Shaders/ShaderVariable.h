#pragma once

#include "Core/Render/CommandBuffer.h"
#include "Core/Render/Shaders/ShaderVariableImpl.h"

#include <memory>

namespace render
{
class ShaderImpl;

// A named shader value whose changes are recorded into the command buffer
// and set on the device when the frame replays.
class ShaderVariable
{
public:
    explicit ShaderVariable(ShaderImpl* owner) : mOwner(owner) {}
    ShaderVariable(const ShaderVariable&) = delete;
    ShaderVariable& operator=(const ShaderVariable&) = delete;
    virtual ~ShaderVariable() = default;
    virtual HVResultEnum Write(CommandBuffer& stream) = 0;
    virtual HVResultEnum Read(CommandBuffer& stream) = 0;

    // Also marks the owner's variables for the next state flush.
    void SetDirty(bool changed);
    bool IsChanged() const { return mChanged != 0; }

protected:
    ShaderImpl* mOwner;
    uint8_t mChanged = 1;
};

// A value that travels by address: it must stay alive until the replay.
template <class T, int N>
class ShaderScalarPointer : public ShaderVariable
{
public:
    ShaderScalarPointer(ShaderImpl* owner, ShaderScalarVariableImpl* device) : ShaderVariable(owner), mDevice(device) {}
    void Set(const T* value)
    {
        if (value != mValue)
        {
            mValue = value;
            SetDirty(true);
        }
    }
    const T* Get() const { return mValue; }
    HVResultEnum Write(CommandBuffer& stream) override { return stream.PutPointer(mValue) ? HV_OK : HV_FAIL; }
    HVResultEnum Read(CommandBuffer& stream) override
    {
        const T* value = nullptr;
        if (!stream.GetPointer(value))
            return HV_FAIL;
        return mDevice->SetMatrix(value);
    }

private:
    std::unique_ptr<ShaderScalarVariableImpl> mDevice;
    const T* mValue = nullptr;
};

template <int N>
class ShaderTextureVariable : public ShaderVariable
{
public:
    ShaderTextureVariable(ShaderImpl* owner, ShaderTextureVariableImpl* device) : ShaderVariable(owner), mDevice(device)
    {
    }
    // Equal textures change nothing, so repeated draws keep merging.
    void Set(Texture* texture)
    {
        if (texture != mTexture)
        {
            mTexture = texture;
            SetDirty(true);
        }
    }
    Texture* Get() const { return mTexture; }
    HVResultEnum Write(CommandBuffer& stream) override { return stream.PutPointer(mTexture) ? HV_OK : HV_FAIL; }
    HVResultEnum Read(CommandBuffer& stream) override
    {
        Texture* texture = nullptr;
        if (!stream.GetPointer(texture))
            return HV_FAIL;
        return mDevice->SetTexture(texture);
    }

private:
    std::unique_ptr<ShaderTextureVariableImpl> mDevice;
    Texture* mTexture = nullptr;
};

template <class T, int N>
class ShaderScalarVariable : public ShaderVariable
{
public:
    ShaderScalarVariable(ShaderImpl* owner, ShaderScalarVariableImpl* device) : ShaderVariable(owner), mDevice(device)
    {
    }
    // Marks the variable only when a component differs.
    void Set(const T& value)
    {
        if (value.x != mValue.x || value.y != mValue.y || value.z != mValue.z || value.w != mValue.w)
        {
            mValue = value;
            SetDirty(true);
        }
    }
    const T& Get() const { return mValue; }
    HVResultEnum Write(CommandBuffer& stream) override { return stream.Put(mValue) ? HV_OK : HV_FAIL; }
    HVResultEnum Read(CommandBuffer& stream) override
    {
        T value;
        if (!stream.Get(value))
            return HV_FAIL;
        return mDevice->SetVector(value);
    }

private:
    std::unique_ptr<ShaderScalarVariableImpl> mDevice;
    T mValue;
};
} // namespace render
