#pragma once

#include "Core/Base/Result.h"
#include "Core/Math/Matrix4.h"
#include "Core/Render/CommandBuffer.h"
#include "Core/Render/RenderState.h"
#include "Core/Resource/ResourceHandle.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace app
{
class Window;
}
namespace base
{
class ImageInfo;
}
namespace file
{
class ImageContainer;
}

namespace render
{
class Buffer;
class BufferDoubleCacheBase;
template <class B>
class BufferDoubleCache;
template <class I>
class IndexBuffer;
class Image;
class PictureDecodePool;
class RenderTarget;
class Shader;
class ShaderTextured;
class VertexFormat;

// The command opcodes of the recorded frame.
enum Opcode : uint32_t
{
    kOpClear = 0,
    kOpBeginScene = 1,
    kOpEndScene = 2,
    kOpPresent = 3,
    kOpSetTarget = 4,
    kOpBackBuffer = 5,
    kOpSetShader = 6,
    kOpShaderVariables = 7,
    kOpVertexFormat = 8,
    kOpVertexBuffer = 9,
    kOpIndexBuffer = 10,
    kOpBlendMode = 11,
    kOpScissorEnable = 12,
    kOpScissorRect = 13,
    kOpDepthEnable = 14,
    kOpDepthWrite = 15,
    kOpDraw = 16,
    kOpDrawIndexed = 17,
    kOpEnd = 18,
    kOpSamplerFilter = 19,
};

// The renderer: records every state change and draw of a frame into the
// command buffer and replays it onto the back end's Do operations.
class Render
{
public:
    Render();
    Render(const Render&) = delete;
    Render& operator=(const Render&) = delete;
    virtual ~Render();

    virtual HVResultEnum InitRender(app::Window* window, const RenderInitParam& param);
    virtual HVResultEnum PrepareSwitchScreenMode() = 0;
    virtual HVResultEnum SwitchScreenMode(const RenderInitParam& param) = 0;
    virtual HVResultEnum MakeOrthoProjection(float width, float height, float unused, math::Matrix4* out);
    virtual HVResultEnum CreateTexture(Texture** out) = 0;
    virtual HVResultEnum CreateShaderImpl(const std::string& vertexSource, const std::string& pixelSource,
                                          ShaderImpl** out) = 0;
    virtual HVResultEnum CreateGeomShaderImpl(ShaderImpl** out) = 0;
    virtual HVResultEnum CreateTexturedMultShaderImpl(ShaderImpl** out) = 0;
    virtual HVResultEnum CreateTexturedTintShaderImpl(ShaderImpl** out) = 0;
    virtual HVResultEnum CreateVertexBuffer(const VertexFormat* format, uint32_t count, bool dynamic,
                                            VertexBufferImpl** out) = 0;
    virtual HVResultEnum CreateIndexBuffer(uint32_t elementSize, uint32_t count, bool dynamic,
                                           IndexBufferImpl** out) = 0;
    virtual bool IsDeviceReady() = 0;
    virtual HVResultEnum DoClear(uint32_t flags, const float colour[4], float z, int32_t stencil) = 0;
    virtual HVResultEnum DoBeginScene() = 0;
    virtual HVResultEnum DoEndScene() = 0;
    virtual HVResultEnum DoPresent() = 0;
    virtual HVResultEnum DoSetRenderTarget(Texture* target) = 0;
    virtual HVResultEnum DoSetShader(ShaderImpl* shader) = 0;
    virtual HVResultEnum DoSetVertexFormat(int32_t id) = 0;
    virtual HVResultEnum DoSetVertexBuffer(VertexBufferImpl* buffer) = 0;
    virtual HVResultEnum DoSetIndexBuffer(IndexBufferImpl* buffer) = 0;
    virtual HVResultEnum DoSetBlendMode(int32_t mode) = 0;
    virtual HVResultEnum DoSetSamplerFilter(int32_t filter) = 0;
    virtual HVResultEnum DoEnableScissor(bool enable) = 0;
    virtual HVResultEnum DoSetScissorRect(const uint32_t rect[4]) = 0;
    virtual HVResultEnum DoSetDepth(bool enable, bool write) = 0;
    virtual HVResultEnum DoDrawPrimitive(int32_t type, uint32_t start, uint32_t count) = 0;
    virtual HVResultEnum DoDrawIndexedPrimitive(int32_t type, uint32_t indexSize, uint32_t start, uint32_t count,
                                                uint32_t minIndex, uint32_t vertexCount) = 0;
    virtual HVResultEnum OnResetState();
    virtual HVResultEnum VirtualToViewportRect(const float rect[4], uint32_t out[4]);

    // Frame protocol.
    bool CheckDeviceReady();
    HVResultEnum BeginFrame();
    HVResultEnum EndFrame();
    HVResultEnum Present();

    HVResultEnum SetState(const RenderState* block, bool force);
    HVResultEnum SetTarget(const RenderState* block);

    // Recording and replay.
    HVResultEnum Clear(uint32_t flags, const float colour[4], float z, int32_t stencil);
    HVResultEnum DrawPrimitive(int32_t type, uint32_t start, uint32_t count);
    HVResultEnum DrawIndexedPrimitive(int32_t type, uint32_t start, uint32_t count, uint32_t minIndex,
                                      uint32_t vertexCount);
    HVResultEnum FlushPendingDraw();
    HVResultEnum FlushState();
    HVResultEnum ExecuteCommands();

    // Built-in shaders through handles that hold no use count.
    HVResultEnum GetGeomShader(resource::ResourceHandle<Shader>& out);
    HVResultEnum GetTexturedMultShader(resource::ResourceHandle<ShaderTextured>& out);
    HVResultEnum GetTexturedTintShader(resource::ResourceHandle<ShaderTextured>& out);

    // Built with the pictures; declared here for the renderer's interface.
    HVResultEnum LoadTexture(const std::wstring& name, file::ImageContainer* container, Image** out,
                             base::ImageInfo* info);
    HVResultEnum CreateRenderTarget(uint32_t width, uint32_t height, RenderTarget** out, bool makeProjection);
    HVResultEnum CreateDynamicTexture(uint32_t width, uint32_t height, Image** out);

    void InitStates();
    void ReleaseResources();
    HVResultEnum CreateIndexCache16(uint32_t capacity, uint32_t overflowCapacity);
    HVResultEnum CreateIndexCache32(uint32_t capacity, uint32_t overflowCapacity);

    void RegisterBuffer(Buffer* buffer) { mBuffers.push_back(buffer); }
    void UnregisterBuffer(Buffer* buffer) { Unregister(mBuffers, buffer); }
    void RegisterTexture(Texture* texture) { mTextures.push_back(texture); }
    void UnregisterTexture(Texture* texture) { Unregister(mTextures, texture); }
    void RegisterShaderImpl(ShaderImpl* impl) { mShaderImpls.push_back(impl); }
    void UnregisterShaderImpl(ShaderImpl* impl) { Unregister(mShaderImpls, impl); }

    // For the draw bodies.
    const math::Matrix4& GetProjection() const { return mProjection; }
    float GetScaleX() const { return mScaleX; }
    float GetScaleY() const { return mScaleY; }
    float GetOffsetX() const { return mOffsetX; }
    float GetOffsetY() const { return mOffsetY; }
    BufferDoubleCacheBase* GetVertexCache(int32_t formatId) const;
    BufferDoubleCache<IndexBuffer<unsigned short>>* GetIndexCache16() const { return mIndexCache16; }
    BufferDoubleCache<IndexBuffer<unsigned int>>* GetIndexCache32() const { return mIndexCache32; }
    Shader* GetGeomShaderObject() const { return mGeomShader; }
    ShaderTextured* GetTexturedMultShaderObject() const { return mTexturedMultShader; }
    ShaderTextured* GetTexturedTintShaderObject() const { return mTexturedTintShader; }
    CommandBuffer& GetCommandBuffer() { return mCommands; }
    const RenderState& GetAppliedState() const { return mApplied; }
    const RenderState& GetPendingState() const { return mPending; }
    bool IsStateDirty() const { return mStateDirty != 0; }
    bool IsInFrame() const { return mInFrame != 0; }
    // Successful device resets so far: default-pool contents were lost at each.
    uint32_t GetResetCount() const { return mResetCount; }
    const std::vector<Buffer*>& GetBuffers() const { return mBuffers; }
    const std::vector<Texture*>& GetTextures() const { return mTextures; }
    const std::vector<ShaderImpl*>& GetShaderImpls() const { return mShaderImpls; }
    // Pictures decoded ahead, which LoadTexture takes before decoding one itself; not owned, null for none.
    void SetDecodePool(PictureDecodePool* pool) { mDecodePool = pool; }
    PictureDecodePool* GetDecodePool() const { return mDecodePool; }
    // Called after every LoadTexture, so a long load can keep frames coming; empty for none.
    void SetLoadTick(std::function<void()> tick) { mLoadTick = std::move(tick); }

    // Counted by the back end's reset; read through GetResetCount.
    uint32_t mResetCount = 0;
    PictureDecodePool* mDecodePool = nullptr;
    std::function<void()> mLoadTick;

    // Device capabilities.
    uint32_t mMaxPrimitiveCount = 0;
    uint32_t mMaxTextureWidth = 0;
    uint32_t mMaxTextureHeight = 0;
    uint32_t mMaxVertexIndex = 0;
    uint8_t mThreeBlendStages = 0;
    uint8_t mVertexShader10 = 0;
    uint8_t mVertexShader20 = 0;
    uint8_t mPixelShader10 = 0;
    uint8_t mPixelShader20 = 0;
    uint8_t mDXT1 = 0;
    uint8_t mDXT2 = 0;
    uint8_t mDXT3 = 0;
    uint8_t mDXT4 = 0;
    uint8_t mDXT5 = 0;
    uint8_t mScissorTest = 0;
    uint8_t mAnisotropicMin = 0;
    uint8_t mAnisotropicMag = 0;
    uint8_t mIndices32 = 1;

protected:
    // Drops whatever a broken frame left: open caches, recorded commands,
    // the pending draw, and what the recorder believes the device holds.
    void ForgetFrame();
    // The next flush re-sends every state and every shader variable.
    void ForceFullResend();
    HVResultEnum ReplayCommands(bool& sceneOpen);

    template <class T>
    static void Unregister(std::vector<T*>& registry, T* item)
    {
        for (auto it = registry.begin(); it != registry.end(); ++it)
            if (*it == item)
            {
                registry.erase(it);
                return;
            }
    }

    uint8_t mScissorFollowsTarget = 0;
    RenderState mApplied;
    RenderState mPending;
    uint8_t mStateDirty = 1;
    const RenderState* mLastStateBlock = nullptr;
    Texture* mLastTarget = nullptr;
    // The last recorded target is unknown: the next flush or clear records one.
    bool mLastTargetUnknown = false;
    CommandBuffer mCommands;
    uint8_t mInFrame = 0;
    // A frame was ended and not replayed yet.
    bool mAwaitingReplay = false;
    // The depth pair last replayed: each depth opcode carries one of them.
    bool mReplayDepthEnable = false;
    bool mReplayDepthWrite = true;

    uint8_t mPendingIndexed = 0;
    int32_t mPendingType = kPrimitiveNone;
    uint32_t mPendingStart = 0;
    uint32_t mPendingCount = 0;
    uint32_t mPendingMinIndex = 0;
    uint32_t mPendingVertexCount = 0;

    math::Matrix4 mProjection{true};
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;

    Shader* mGeomShader = nullptr;
    ShaderTextured* mTexturedMultShader = nullptr;
    ShaderTextured* mTexturedTintShader = nullptr;
    std::vector<BufferDoubleCacheBase*> mVertexCaches;
    BufferDoubleCache<IndexBuffer<unsigned short>>* mIndexCache16 = nullptr;
    BufferDoubleCache<IndexBuffer<unsigned int>>* mIndexCache32 = nullptr;

    std::vector<Buffer*> mBuffers;
    std::vector<Texture*> mTextures;
    std::vector<ShaderImpl*> mShaderImpls;

private:
    void ResetPendingDraw();
    bool IsDrawDirty() const;
    HVResultEnum RecordTarget(Texture* target);
};
} // namespace render
