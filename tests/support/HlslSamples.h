#pragma once

// HLSL texts in the style of the engine's shader pairs, for the compiler
// and device tests.
namespace hlsl {

inline constexpr const char* kGeomVs = R"(float4x4 Proj;
struct VS_INPUT
{
    float3 pos : POSITION;
    float4 color : COLOR0;
};
struct VS_OUTPUT
{
    float4 pos : POSITION;
    float4 color : COLOR0;
};
VS_OUTPUT vertex_shader(VS_INPUT input)
{
    VS_OUTPUT output;
    output.pos = mul(float4(input.pos, 1.0), Proj);
    output.color = input.color;
    return output;
}
)";

inline constexpr const char* kGeomPs = R"(float4 pixel_shader(float4 color : COLOR0) : COLOR0
{
    return color;
}
)";

inline constexpr const char* kTexturedVs = R"(float4x4 Proj;
struct VS_INPUT
{
    float4 pos : POSITION;
    float4 color : COLOR0;
    float4 specular : COLOR1;
    float2 tex : TEXCOORD0;
};
struct VS_OUTPUT
{
    float4 pos : POSITION;
    float4 color : COLOR0;
    float2 tex : TEXCOORD0;
};
VS_OUTPUT vertex_shader(VS_INPUT input)
{
    VS_OUTPUT output;
    output.pos = mul(input.pos, Proj);
    output.color = input.color;
    output.tex = input.tex;
    return output;
}
)";

inline constexpr const char* kTexturedMultPs = R"(texture g_MeshTexture;
sampler TextureSampler = sampler_state
{
    Texture = <g_MeshTexture>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = LINEAR;
};
float4 pixel_shader(float4 color : COLOR0, float2 tex : TEXCOORD0) : COLOR0
{
    return color * tex2D(TextureSampler, tex);
}
)";

inline constexpr const char* kTintVs = R"(float4x4 Proj;
struct VS_INPUT
{
    float4 pos : POSITION;
    float4 color : COLOR0;
    float4 specular : COLOR1;
    float2 tex : TEXCOORD0;
};
struct VS_OUTPUT
{
    float4 pos : POSITION;
    float4 color : COLOR0;
    float2 tex : TEXCOORD0;
    float2 tint : TEXCOORD1;
};
VS_OUTPUT vertex_shader(VS_INPUT input)
{
    VS_OUTPUT output;
    output.pos = mul(input.pos, Proj);
    output.color = input.color;
    output.tex = input.tex;
    output.tint = float2(input.specular.g, input.specular.b);
    return output;
}
)";

inline constexpr const char* kTintPs = R"(texture g_MeshTexture;
sampler TextureSampler = sampler_state
{
    Texture = <g_MeshTexture>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = LINEAR;
};
float4 pixel_shader(float4 color : COLOR0, float2 tex : TEXCOORD0, float2 tint : TEXCOORD1) : COLOR0
{
    float4 t = tex2D(TextureSampler, tex);
    float4 result;
    result.rgb = t.rgb * tint.y + color.rgb * tint.x;
    result.a = t.a * color.a;
    return result;
}
)";

// The game's enemy shader: a pixel-shader colour beside the texture.
inline constexpr const char* kEnemyPs = R"(texture g_MeshTexture;
sampler TextureSampler = sampler_state
{
    Texture = <g_MeshTexture>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = LINEAR;
};
float4 color2;
float4 pixel_shader(float4 color : COLOR0, float2 tex : TEXCOORD0) : COLOR0
{
    float4 t = tex2D(TextureSampler, tex) * color;
    return float4(t.rgb * color2.rgb, t.a * color2.a);
}
)";

} // namespace hlsl
