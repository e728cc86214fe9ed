#include "DeviceFixture.h"

#include "support/HlslSamples.h"

#include <cstdlib>

namespace d3d9fixture {
namespace {

constexpr const char* kClipVs = R"(float4x4 Proj;
float4 shade;
struct VS_OUTPUT
{
    float4 pos : POSITION;
    float4 color : COLOR0;
};
VS_OUTPUT vertex_shader(float3 pos : POSITION, float4 color : COLOR0)
{
    VS_OUTPUT output;
    output.pos = mul(float4(pos, 1.0), Proj);
    output.color = color * shade;
    return output;
}
)";

constexpr const char* kShadePs = R"(float4 shade;
float k;
float4 pixel_shader(float4 color : COLOR0) : COLOR0
{
    return float4(color.rgb * shade.rgb * k, 1.0);
}
)";

class Constants : public DeviceTest
{
protected:
    void Set(ID3DXConstantTable* table, const char* name, D3DXVECTOR4 value)
    {
        ASSERT_EQ(table->SetVector(device_, table->GetConstantByName(nullptr, name), &value),
                  D3D_OK);
    }
    void SetFloat(ID3DXConstantTable* table, const char* name, float value)
    {
        ASSERT_EQ(table->SetFloat(device_, table->GetConstantByName(nullptr, name), value), D3D_OK);
    }
    // A white triangle over the whole target.
    uint32_t DrawAndRead()
    {
        EXPECT_EQ(device_->BeginScene(), D3D_OK);
        DrawColorTriangles(
            {{-1, -1, 0, 0xFFFFFFFF}, {40, -1, 0, 0xFFFFFFFF}, {-1, 40, 0, 0xFFFFFFFF}});
        EXPECT_EQ(device_->EndScene(), D3D_OK);
        return At(TargetPixels(), 4, 4);
    }
};

testing::AssertionResult Near(uint32_t actual, uint32_t expected)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((actual >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > 1)
            return testing::AssertionFailure() << std::hex << "0x" << actual << " is not 0x"
                                               << expected;
    return testing::AssertionSuccess();
}

TEST_F(Constants, TranslationOnlyMatrixMovesAPointByExactPixels)
{
    CreateDevice(true);
    ShaderPair pair = Compile(kClipVs, kShadePs);
    ASSERT_EQ(device_->SetVertexShader(pair.vs), D3D_OK);
    ASSERT_EQ(device_->SetPixelShader(pair.ps), D3D_OK);
    Set(pair.vsTable, "shade", {1, 1, 1, 1});
    Set(pair.psTable, "shade", {1, 1, 1, 1});
    SetFloat(pair.psTable, "k", 1.0f);
    // Three pixels right and two down, in clip units of a 16-pixel target.
    const D3DXMATRIX move = Translation(6.0f / 16, -4.0f / 16);
    ASSERT_EQ(pair.vsTable->SetMatrix(device_, pair.vsTable->GetConstantByName(nullptr, "Proj"),
                                      &move),
              D3D_OK);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);
    // The clip-space point of pixel (4, 4).
    const ColorVertex point = {-1.0f + 8.0f / 16, 1.0f - 8.0f / 16, 0, 0xFFFFFFFF};
    BindVertices(&point, sizeof(point), sizeof(point), kColorFvf);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_POINTLIST, 0, 1), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    const auto pixels = TargetPixels();
    EXPECT_EQ(At(pixels, 7, 6), 0xFFFFFFFFu);
    EXPECT_EQ(At(pixels, 4, 4), 0xFF000000u);
}

TEST_F(Constants, SetVectorAndSetFloatChangeTheDrawnColour)
{
    CreateDevice(true);
    ShaderPair pair = Compile(kClipVs, kShadePs);
    Use(pair);
    Set(pair.vsTable, "shade", {1, 1, 1, 1});
    Set(pair.psTable, "shade", {1, 0.5f, 0, 1});
    SetFloat(pair.psTable, "k", 1.0f);
    EXPECT_TRUE(Near(DrawAndRead(), 0xFFFF8000));
    SetFloat(pair.psTable, "k", 0.5f);
    EXPECT_TRUE(Near(DrawAndRead(), 0xFF804000));
}

TEST_F(Constants, VertexAndPixelConstantsOfOneNameStaySeparate)
{
    CreateDevice(true);
    ShaderPair pair = Compile(kClipVs, kShadePs);
    Use(pair);
    Set(pair.vsTable, "shade", {1, 0, 0, 1});
    Set(pair.psTable, "shade", {0.5f, 1, 1, 1});
    SetFloat(pair.psTable, "k", 1.0f);
    EXPECT_TRUE(Near(DrawAndRead(), 0xFF800000));
}

TEST_F(Constants, ValuesStayInForceAcrossShaderSwitches)
{
    CreateDevice(true);
    ShaderPair enemy = Compile(hlsl::kTexturedVs, hlsl::kEnemyPs);
    IDirect3DTexture9* white = MakeTexture(1, 1, {0xFFFFFFFF});
    Use(enemy);
    Set(enemy.psTable, "color2", {0, 1, 0, 1});
    ASSERT_EQ(device_->SetTexture(0, white), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawTexQuad(-1, -1, 20, 20);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(At(TargetPixels(), 4, 4), 0xFF00FF00u);

    Use(Geom());
    EXPECT_EQ(DrawAndRead(), 0xFFFFFFFFu);

    // Back to the first pair without setting color2 again.
    ASSERT_EQ(device_->SetVertexShader(enemy.vs), D3D_OK);
    ASSERT_EQ(device_->SetPixelShader(enemy.ps), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawTexQuad(-1, -1, 20, 20);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(At(TargetPixels(), 4, 4), 0xFF00FF00u);
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
}

TEST_F(Constants, TintShaderBlendsTextureTowardsVertexColour)
{
    CreateDevice(true);
    ShaderPair tint = Compile(hlsl::kTintVs, hlsl::kTintPs);
    IDirect3DTexture9* red = MakeTexture(1, 1, {0xFFFF0000});
    Use(tint);
    ASSERT_EQ(device_->SetTexture(0, red), D3D_OK);
    // Specular (k << 8) | (255 - k): k = 255 gives the vertex colour.
    const TexVertex quad[4] = {
        {-1, -1, 0, 1, 0xFF0000FF, 0xFF00FF00, 0, 0}, {20, -1, 0, 1, 0xFF0000FF, 0xFF00FF00, 1, 0},
        {-1, 20, 0, 1, 0xFF0000FF, 0xFF00FF00, 0, 1}, {20, 20, 0, 1, 0xFF0000FF, 0xFF00FF00, 1, 1}};
    BindVertices(quad, sizeof(quad), sizeof(TexVertex), kTexFvf);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(At(TargetPixels(), 4, 4), 0xFF0000FFu);
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
}

TEST_F(Constants, TextureGoesToItsSamplerRegister)
{
    CreateDevice(true);
    constexpr const char* kSecondRegisterPs = R"(sampler2D Second : register(s1);
float4 pixel_shader(float4 color : COLOR0, float2 tex : TEXCOORD0) : COLOR0
{
    return tex2D(Second, tex);
}
)";
    ShaderPair pair = Compile(hlsl::kTexturedVs, kSecondRegisterPs);
    IDirect3DTexture9* red = MakeTexture(1, 1, {0xFFFF0000});
    IDirect3DTexture9* green = MakeTexture(1, 1, {0xFF00FF00});
    Use(pair);
    ASSERT_EQ(device_->SetTexture(0, red), D3D_OK);
    ASSERT_EQ(device_->SetTexture(1, green), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    DrawTexQuad(-1, -1, 20, 20);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(At(TargetPixels(), 4, 4), 0xFF00FF00u);
    ASSERT_EQ(device_->SetTexture(0, nullptr), D3D_OK);
    ASSERT_EQ(device_->SetTexture(1, nullptr), D3D_OK);
}

} // namespace
} // namespace d3d9fixture
