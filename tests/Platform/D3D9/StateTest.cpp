#include "DeviceFixture.h"

#include "Platform/D3D9/TestSupport.h"
#include "support/HlslSamples.h"

#include <functional>

namespace d3d9fixture {
namespace {

struct StateDefault
{
    D3DRENDERSTATETYPE state;
    DWORD value;
    DWORD other;
};

const std::vector<StateDefault> kRenderStates = {
    {D3DRS_ZENABLE, D3DZB_TRUE, D3DZB_FALSE},
    {D3DRS_ZWRITEENABLE, TRUE, FALSE},
    {D3DRS_ALPHABLENDENABLE, FALSE, TRUE},
    {D3DRS_SRCBLEND, D3DBLEND_ONE, D3DBLEND_SRCALPHA},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO, D3DBLEND_INVSRCALPHA},
    {D3DRS_CULLMODE, D3DCULL_CCW, D3DCULL_NONE},
    {D3DRS_LIGHTING, TRUE, FALSE},
    {D3DRS_SCISSORTESTENABLE, FALSE, TRUE},
    {D3DRS_SEPARATEALPHABLENDENABLE, FALSE, TRUE},
    {D3DRS_SRCBLENDALPHA, D3DBLEND_ONE, D3DBLEND_ZERO},
    {D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO, D3DBLEND_ONE},
    {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL, D3DMCS_COLOR1},
    {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2, D3DMCS_COLOR1},
};

struct SamplerDefault
{
    D3DSAMPLERSTATETYPE type;
    DWORD value;
    DWORD other;
};

const std::vector<SamplerDefault> kSamplerStates = {
    {D3DSAMP_MINFILTER, D3DTEXF_POINT, D3DTEXF_LINEAR},
    {D3DSAMP_MAGFILTER, D3DTEXF_POINT, D3DTEXF_ANISOTROPIC},
    {D3DSAMP_MIPFILTER, D3DTEXF_NONE, D3DTEXF_LINEAR},
    {D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP},
    {D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP},
};

struct StageDefault
{
    D3DTEXTURESTAGESTATETYPE type;
    DWORD value;
    DWORD other;
};

const std::vector<StageDefault> kStageStates = {
    {D3DTSS_COLOROP, D3DTOP_MODULATE, D3DTOP_SELECTARG1},
    {D3DTSS_COLORARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
    {D3DTSS_ALPHAOP, D3DTOP_SELECTARG1, D3DTOP_MODULATE},
    {D3DTSS_ALPHAARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
};

class States : public DeviceTest
{
protected:
    void ExpectDefaults()
    {
        DWORD value = 0;
        for (const auto& s : kRenderStates)
        {
            ASSERT_EQ(device_->GetRenderState(s.state, &value), D3D_OK);
            EXPECT_EQ(value, s.value) << "render state " << s.state;
        }
        for (const auto& s : kSamplerStates)
        {
            ASSERT_EQ(device_->GetSamplerState(0, s.type, &value), D3D_OK);
            EXPECT_EQ(value, s.value) << "sampler state " << s.type;
        }
        for (const auto& s : kStageStates)
        {
            ASSERT_EQ(device_->GetTextureStageState(0, s.type, &value), D3D_OK);
            EXPECT_EQ(value, s.value) << "stage state " << s.type;
        }
        ASSERT_EQ(device_->GetFVF(&value), D3D_OK);
        EXPECT_EQ(value, 0u);
        D3DVIEWPORT9 viewport{};
        ASSERT_EQ(device_->GetViewport(&viewport), D3D_OK);
        EXPECT_EQ(viewport.X, 0u);
        EXPECT_EQ(viewport.Width, kSize);
        EXPECT_EQ(viewport.Height, kSize);
        RECT scissor{};
        ASSERT_EQ(device_->GetScissorRect(&scissor), D3D_OK);
        EXPECT_EQ(scissor.right, LONG(kSize));
        EXPECT_EQ(scissor.bottom, LONG(kSize));
    }
};

TEST_F(States, DefaultsAtCreationAndAfterReset)
{
    CreateDevice(true);
    ExpectDefaults();
    for (const auto& s : kRenderStates)
        ASSERT_EQ(device_->SetRenderState(s.state, s.other), D3D_OK);
    for (const auto& s : kSamplerStates)
        ASSERT_EQ(device_->SetSamplerState(0, s.type, s.other), D3D_OK);
    for (const auto& s : kStageStates)
        ASSERT_EQ(device_->SetTextureStageState(0, s.type, s.other), D3D_OK);
    ASSERT_EQ(device_->SetFVF(kColorFvf), D3D_OK);
    const D3DVIEWPORT9 small{1, 1, 2, 2, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&small), D3D_OK);
    const RECT rect{1, 1, 2, 2};
    ASSERT_EQ(device_->SetScissorRect(&rect), D3D_OK);
    DWORD value = 0;
    ASSERT_EQ(device_->GetRenderState(D3DRS_CULLMODE, &value), D3D_OK);
    EXPECT_EQ(value, DWORD(D3DCULL_NONE));

    D3DPRESENT_PARAMETERS params = Params(true, kSize, kSize);
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    ExpectDefaults();
}

TEST_F(States, StageStatesDoNotChangeShadedPixels)
{
    CreateDevice(true);
    Use(Geom());
    ASSERT_EQ(device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE), D3D_OK);
    ASSERT_EQ(device_->SetRenderState(D3DRS_LIGHTING, TRUE), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawColorTriangles({{0, 0, 0, 0xFF00FF00}, {16, 0, 0, 0xFF00FF00}, {0, 16, 0, 0xFF00FF00}});
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(At(TargetPixels(), 2, 2), 0xFF00FF00u);
}

// Each case sets up what it needs and returns the result of the call that
// must be refused.
struct ErrorCase
{
    const char* name;
    std::function<HRESULT(class Errors*)> run;
};

class Errors : public DeviceTest, public testing::WithParamInterface<ErrorCase>
{
public:
    IDirect3DDevice9* Device() { return device_; }
    // Shaders, format and a three-vertex stream, ready to draw.
    IDirect3DVertexBuffer9* ReadyToDraw()
    {
        Use(Geom());
        const ColorVertex triangle[3] = {{0, 0, 0, 0}, {4, 0, 0, 0}, {0, 4, 0, 0}};
        BindVertices(triangle, sizeof(triangle), sizeof(ColorVertex), kColorFvf);
        return static_cast<IDirect3DVertexBuffer9*>(owned_.back());
    }
    IDirect3DTexture9* Texture(DWORD usage, D3DFORMAT format, D3DPOOL pool)
    {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device_->CreateTexture(4, 4, 1, usage, format, pool, &texture, nullptr), D3D_OK);
        if (texture)
            owned_.push_back(texture);
        return texture;
    }
    HRESULT CreateTexture(UINT w, UINT h, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    {
        IDirect3DTexture9* texture = nullptr;
        const HRESULT hr = device_->CreateTexture(w, h, 1, usage, format, pool, &texture, nullptr);
        if (texture)
            owned_.push_back(texture);
        return hr;
    }
    void Own(IUnknown* object) { owned_.push_back(object); }
    // Its pixel shader reads COLOR0 as a float2; the vertex shader writes a float4.
    void UseUnlinkablePair()
    {
        ReadyToDraw();
        const ShaderPair pair = Compile(hlsl::kGeomVs, "float4 pixel_shader(float2 c : COLOR0) : COLOR0\n"
                                                       "{ return float4(c, 0.0, 1.0); }\n");
        device_->SetVertexShader(pair.vs);
        device_->SetPixelShader(pair.ps);
    }
};

TEST_P(Errors, AreRefusedWithInvalidCall)
{
    CreateDevice(true);
    EXPECT_EQ(GetParam().run(this), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->SetStreamSource(0, nullptr, 0, 0), D3D_OK);
}

D3DLOCKED_RECT gLocked;
void* gData;

const ErrorCase kErrorCases[] = {
    {"NestedBeginScene",
     [](Errors* t) {
         t->Device()->BeginScene();
         return t->Device()->BeginScene();
     }},
    {"UnmatchedEndScene", [](Errors* t) { return t->Device()->EndScene(); }},
    {"DrawOutsideScene",
     [](Errors* t) {
         t->ReadyToDraw();
         return t->Device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
     }},
    {"SetRenderTargetNull", [](Errors* t) { return t->Device()->SetRenderTarget(0, nullptr); }},
    {"LockRenderTarget",
     [](Errors* t) {
         return t->Texture(D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT)
             ->LockRect(0, &gLocked, nullptr, 0);
     }},
    {"DiscardOnManagedTexture",
     [](Errors* t) {
         return t->Texture(0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED)
             ->LockRect(0, &gLocked, nullptr, D3DLOCK_DISCARD);
     }},
    {"LockRectWithRectangle",
     [](Errors* t) {
         const RECT part{0, 0, 2, 2};
         return t->Texture(0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED)->LockRect(0, &gLocked, &part, 0);
     }},
    {"SecondLockRect",
     [](Errors* t) {
         IDirect3DTexture9* texture = t->Texture(D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT);
         texture->LockRect(0, &gLocked, nullptr, D3DLOCK_DISCARD);
         const HRESULT hr = texture->LockRect(0, &gLocked, nullptr, D3DLOCK_DISCARD);
         texture->UnlockRect(0);
         return hr;
     }},
    {"DiscardOnManagedBuffer",
     [](Errors* t) {
         IDirect3DVertexBuffer9* buffer = nullptr;
         t->Device()->CreateVertexBuffer(64, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &buffer,
                                         nullptr);
         t->Own(buffer);
         return buffer->Lock(0, 0, &gData, D3DLOCK_DISCARD);
     }},
    {"SecondBufferLock",
     [](Errors* t) {
         IDirect3DVertexBuffer9* buffer = t->ReadyToDraw();
         buffer->Lock(0, 0, &gData, D3DLOCK_DISCARD);
         const HRESULT hr = buffer->Lock(0, 0, &gData, D3DLOCK_DISCARD);
         buffer->Unlock();
         return hr;
     }},
    {"DrawFromLockedBuffer",
     [](Errors* t) {
         IDirect3DVertexBuffer9* buffer = t->ReadyToDraw();
         buffer->Lock(0, 0, &gData, D3DLOCK_DISCARD);
         t->Device()->BeginScene();
         const HRESULT hr = t->Device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
         buffer->Unlock();
         return hr;
     }},
    {"DrawPastBufferEnd",
     [](Errors* t) {
         t->ReadyToDraw();
         t->Device()->BeginScene();
         return t->Device()->DrawPrimitive(D3DPT_TRIANGLELIST, 1, 1);
     }},
    {"IndexedDrawPastIndexEnd",
     [](Errors* t) {
         t->ReadyToDraw();
         IDirect3DIndexBuffer9* indices = nullptr;
         t->Device()->CreateIndexBuffer(6, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                        &indices, nullptr);
         t->Own(indices);
         t->Device()->SetIndices(indices);
         t->Device()->BeginScene();
         return t->Device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 1, 1);
     }},
    {"IndexedDrawPastVertexEnd",
     [](Errors* t) {
         t->ReadyToDraw();
         IDirect3DIndexBuffer9* indices = nullptr;
         t->Device()->CreateIndexBuffer(6, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                        &indices, nullptr);
         t->Own(indices);
         t->Device()->SetIndices(indices);
         t->Device()->BeginScene();
         return t->Device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 1, 3, 0, 1);
     }},
    {"DrawWithoutShaders",
     [](Errors* t) {
         t->ReadyToDraw();
         t->Device()->SetPixelShader(nullptr);
         t->Device()->BeginScene();
         return t->Device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
     }},
    {"DrawWithUnlinkablePair",
     [](Errors* t) {
         t->UseUnlinkablePair();
         t->Device()->BeginScene();
         t->Device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
         // The failed link is remembered for the pair.
         return t->Device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
     }},
    {"TextureSizeZero",
     [](Errors* t) { return t->CreateTexture(0, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED); }},
    {"TextureAboveMaximum",
     [](Errors* t) { return t->CreateTexture(1u << 20, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED); }},
    {"ManagedRenderTarget",
     [](Errors* t) {
         return t->CreateTexture(4, 4, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
     }},
    {"DefaultPoolPlainTexture",
     [](Errors* t) { return t->CreateTexture(4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT); }},
    {"DxtRenderTarget",
     [](Errors* t) {
         return t->CreateTexture(4, 4, D3DUSAGE_RENDERTARGET, D3DFMT_DXT1, D3DPOOL_DEFAULT);
     }},
    {"UnsupportedTextureFormat",
     [](Errors* t) { return t->CreateTexture(4, 4, 0, D3DFMT_DXT2, D3DPOOL_MANAGED); }},
    {"EmptyVertexBuffer",
     [](Errors* t) {
         IDirect3DVertexBuffer9* buffer = nullptr;
         return t->Device()->CreateVertexBuffer(0, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &buffer,
                                                nullptr);
     }},
    {"ForeignBlobToCreateVertexShader",
     [](Errors* t) {
         const DWORD foreign[8] = {0xFFFE0101, 0x0000FFFF, 0, 0, 0, 0, 0, 0};
         IDirect3DVertexShader9* shader = nullptr;
         return t->Device()->CreateVertexShader(foreign, &shader);
     }},
};

INSTANTIATE_TEST_SUITE_P(Table, Errors, testing::ValuesIn(kErrorCases),
                         [](const testing::TestParamInfo<ErrorCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace d3d9fixture
