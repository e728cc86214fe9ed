#include "RenderFixture.h"

#include "Core/App/Application.h"
#include "Core/Render/Shaders/DX9/ShaderImplDX9.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Resource/ResourceManager.h"
#include "Platform/D3D9/TestSupport.h"
#include "support/HlslSamples.h"
#include "support/TempDir.h"

namespace rendertest
{
namespace
{
using DeviceTest = RenderDX9Test;

TEST_F(DeviceTest, CapabilityGateRefusesWeakDevices)
{
    struct Row
    {
        const char* name;
        void (*change)(D3DCAPS9&);
        bool failureFlag;
    };
    const Row rows[] = {
        {"vs 1.1 with ps 1.4",
         [](D3DCAPS9& c) {
             c.VertexShaderVersion = D3DVS_VERSION(1, 1);
             c.PixelShaderVersion = D3DPS_VERSION(1, 4);
         },
         true},
        {"vs 1.0", [](D3DCAPS9& c) { c.VertexShaderVersion = D3DVS_VERSION(1, 0); }, true},
        {"max vertex index 65534", [](D3DCAPS9& c) { c.MaxVertexIndex = 65534; }, false},
        {"no scissor", [](D3DCAPS9& c) { c.RasterCaps &= ~D3DPRASTERCAPS_SCISSORTEST; }, false},
    };
    app::Application* application = app::Application::Instance();
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        application->mRenderInitFailed = false;
        application->mStopRequested = false;
        render = std::make_unique<render::RenderDX9>();
        IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DCAPS9 caps{};
        ASSERT_EQ(d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
        row.change(caps);
        d3d9test::OverrideCaps(d3d, caps);
        render->UseDirect3D(d3d);
        EXPECT_EQ(Start(), HV_FAIL);
        EXPECT_EQ(application->mRenderInitFailed, row.failureFlag);
        EXPECT_EQ(application->mStopRequested, row.failureFlag);
        // Destroying a renderer whose start-up stopped half-way.
        render.reset();
        EXPECT_EQ(d3d9test::LiveObjectCount(), 0);
    }
    application->mRenderInitFailed = false;
    application->mStopRequested = false;
    render = std::make_unique<render::RenderDX9>();
}

TEST_F(DeviceTest, NormalStartLogsTextureLimitsAndSetsTheFixedState)
{
    ASSERT_EQ(Start(), HV_OK);
    EXPECT_EQ(CountLog(L"Max texture Width: " + std::to_wstring(render->mMaxTextureWidth) + L"\n"), 1);
    EXPECT_EQ(CountLog(L"Max texture Height: " + std::to_wstring(render->mMaxTextureHeight) + L"\n"), 1);
    EXPECT_TRUE(render->mScissorTest);
    EXPECT_TRUE(render->mPixelShader20);
    struct Sampler
    {
        D3DSAMPLERSTATETYPE type;
        DWORD value;
    };
    const DWORD minFilter = render->mAnisotropicMin ? D3DTEXF_ANISOTROPIC : D3DTEXF_LINEAR;
    const DWORD magFilter = render->mAnisotropicMag ? D3DTEXF_ANISOTROPIC : D3DTEXF_LINEAR;
    for (const Sampler& s : {Sampler{D3DSAMP_MINFILTER, minFilter}, Sampler{D3DSAMP_MAGFILTER, magFilter},
                             Sampler{D3DSAMP_MIPFILTER, D3DTEXF_LINEAR}, Sampler{D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP},
                             Sampler{D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP}})
    {
        DWORD value = 0;
        EXPECT_EQ(Device()->GetSamplerState(0, s.type, &value), D3D_OK);
        EXPECT_EQ(value, s.value) << s.type;
    }
    struct State
    {
        D3DRENDERSTATETYPE state;
        DWORD value;
    };
    for (const State& s : {State{D3DRS_LIGHTING, 0}, State{D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1},
                           State{D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2}, State{D3DRS_CULLMODE, D3DCULL_CCW},
                           State{D3DRS_SEPARATEALPHABLENDENABLE, 1}, State{D3DRS_SRCBLENDALPHA, D3DBLEND_ONE},
                           State{D3DRS_DESTBLENDALPHA, D3DBLEND_ONE}, State{D3DRS_ZENABLE, 0}})
    {
        DWORD value = 99;
        EXPECT_EQ(Device()->GetRenderState(s.state, &value), D3D_OK);
        EXPECT_EQ(value, s.value) << s.state;
    }
}

TEST_F(DeviceTest, BlendModesSetExactlyTheirStates)
{
    ASSERT_EQ(Start(), HV_OK);
    struct Row
    {
        int mode;
        DWORD enable, src, dest;
        DWORD colorOp, alphaOp;
    };
    for (const Row& row : {Row{1, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE, D3DTOP_MODULATE},
                           Row{2, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DTOP_MODULATE, D3DTOP_MODULATE},
                           Row{0, 0, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1}})
    {
        ASSERT_EQ(render->DoSetBlendMode(row.mode), HV_OK);
        DWORD v = 0;
        Device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &v);
        EXPECT_EQ(v, row.enable) << row.mode;
        Device()->GetRenderState(D3DRS_SRCBLEND, &v);
        EXPECT_EQ(v, row.src) << row.mode;
        Device()->GetRenderState(D3DRS_DESTBLEND, &v);
        EXPECT_EQ(v, row.dest) << row.mode;
        Device()->GetTextureStageState(0, D3DTSS_COLOROP, &v);
        EXPECT_EQ(v, row.colorOp) << row.mode;
        Device()->GetTextureStageState(0, D3DTSS_ALPHAOP, &v);
        EXPECT_EQ(v, row.alphaOp) << row.mode;
        Device()->GetTextureStageState(0, D3DTSS_COLORARG1, &v);
        EXPECT_EQ(v, D3DTA_TEXTURE);
    }
    ASSERT_EQ(render->DoSetBlendMode(1), HV_OK);
    d3d9test::ResetCounters(Device());
    EXPECT_EQ(render->DoSetBlendMode(7), HV_OK);
    EXPECT_EQ(d3d9test::Counters(Device()).stateCalls, 0u);
    DWORD v = 0;
    Device()->GetRenderState(D3DRS_ALPHABLENDENABLE, &v);
    EXPECT_EQ(v, 1u);
}

class ShaderLoadTest : public RenderDX9Test
{
protected:
    void Write(const std::string& name, const std::string& text) { hvtest::TempDir::WriteFile(dir / name, text); }
    HVResultEnum Load(resource::ResourceHandle<render::ShaderTextured>& handle)
    {
        handle = resource::ResourceManager::Instance()->Get<render::ShaderTextured>(dir.WFile(""));
        if (!handle)
            return HV_FAIL;
        EXPECT_EQ(handle->SetRender(render.get()), HV_OK);
        return handle->Load();
    }
    hvtest::TempDir dir;
};

TEST_F(ShaderLoadTest, MissingOrBrokenSourcesFailToLoad)
{
    ASSERT_EQ(Start(), HV_OK);
    struct Row
    {
        const char* name;
        const char* vs;
        const char* ps;
    };
    const Row rows[] = {
        {"no PS.hlsl", hlsl::kTexturedVs, nullptr},
        {"no VS.hlsl", nullptr, hlsl::kTexturedMultPs},
        {"syntax error", hlsl::kTexturedVs, "float4 pixel_shader( : COLOR0 {"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(dir / "VS.hlsl");
        std::filesystem::remove(dir / "PS.hlsl");
        if (row.vs)
            Write("VS.hlsl", row.vs);
        if (row.ps)
            Write("PS.hlsl", row.ps);
        resource::ResourceHandle<render::ShaderTextured> handle;
        EXPECT_EQ(Load(handle), HV_FAIL);
        EXPECT_FALSE(handle->IsLoaded());
    }
}

TEST_F(ShaderLoadTest, AWarningIsLoggedOnceAndAMissingConstantStillDraws)
{
    ASSERT_EQ(Start(), HV_OK);
    Write("VS.hlsl", hlsl::kTexturedVs);
    Write("PS.hlsl", std::string("#extension GL_FOO : warn\n") + hlsl::kTexturedMultPs);
    resource::ResourceHandle<render::ShaderTextured> handle;
    LogLines().clear();
    ASSERT_EQ(Load(handle), HV_OK);
    EXPECT_EQ(LogLines().size(), 1u);

    // The enemy shader binds a colour this pair lacks.
    render::ShaderImpl* impl = handle->GetImpl();
    LogLines().clear();
    render::ShaderScalarVariableImpl* device = impl->CreateScalarVariable("color2", 1);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(LogLines().size(), 1u);
    auto* colour = new render::ShaderScalarVariable<math::Point4, 1>(impl, device);
    impl->AddVariable(colour);
    colour->Set(math::Point4(1, 0, 0, 1));
    render::TextureDX9* texture = MakeTexture(1, 1, {0xFF00FF00});
    d3d9test::ResetCounters(Device());
    ASSERT_EQ(Frame([&] { ASSERT_EQ(DrawQuad(*render, state, handle.Get(), texture, {2, 2, 4, 4}), HV_OK); }),
              HV_OK);
    EXPECT_EQ(d3d9test::Counters(Device()).presents, 1u);
    EXPECT_EQ(At(BackBuffer(), 2, 2) | 0xFF000000, 0xFF00FF00u);
}

TEST_F(ShaderLoadTest, ShortVectorsArePaddedWithZeroAndOne)
{
    ASSERT_EQ(Start(), HV_OK);
    Write("VS.hlsl", hlsl::kTexturedVs);
    Write("PS.hlsl", hlsl::kEnemyPs);
    resource::ResourceHandle<render::ShaderTextured> handle;
    ASSERT_EQ(Load(handle), HV_OK);
    std::unique_ptr<render::ShaderScalarVariableImpl> colour(handle->GetImpl()->CreateScalarVariable("color2", 1));
    render::TextureDX9* texture = MakeTexture(1, 1, {0xFFFFFFFF});
    render::TextureDX9* target = MakeTarget(4, 4);
    math::Matrix4 projection;
    render->MakeOrthoProjection(4, 4, 0, &projection);
    render::RenderState onTarget;
    onTarget.mTarget = target;
    struct Row
    {
        std::function<HVResultEnum()> set;
        uint32_t expected;
    };
    const Row rows[] = {
        {[&] { return colour->SetVector(math::Vector3(1.0f, 0.5f, 0.25f)); }, 0xFFFF8040},
        {[&] { return colour->SetVector(render::Point2{0.25f, 1.0f}); }, 0xFF40FF00},
    };
    for (const Row& row : rows)
    {
        ASSERT_EQ(Frame([&] {
                      ASSERT_EQ(DrawQuad(*render, onTarget, handle.Get(), texture, {0, 0, 4, 4}, &projection),
                                HV_OK);
                      // The constant is set on the device before the replay draws.
                      ASSERT_EQ(Device()->SetPixelShader(
                                    static_cast<render::ShaderImplDX9*>(handle->GetImpl())->GetPixelShader()),
                                D3D_OK);
                      ASSERT_EQ(row.set(), HV_OK);
                  }),
                  HV_OK);
        EXPECT_TRUE(Near(At(TargetPixels(target), 1, 1, 4), row.expected, 1))
            << std::hex << At(TargetPixels(target), 1, 1, 4);
    }
}
} // namespace
} // namespace rendertest
