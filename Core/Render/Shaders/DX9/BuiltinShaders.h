#pragma once

// The built-in shader pairs. Positions multiply as row vectors (p x Proj).
namespace render::shaders
{
inline constexpr const char* kGeomVertex = R"(float4x4 Proj;

struct VS_INPUT
{
    float3 position : POSITION;
    float4 colour : COLOR0;
};

struct VS_OUTPUT
{
    float4 position : POSITION;
    float4 colour : COLOR0;
};

VS_OUTPUT vertex_shader(VS_INPUT input)
{
    VS_OUTPUT output;
    output.position = mul(float4(input.position, 1.0), Proj);
    output.colour = input.colour;
    return output;
}
)";

inline constexpr const char* kGeomPixel = R"(float4 pixel_shader(float4 colour : COLOR0) : COLOR0
{
    return colour;
}
)";

inline constexpr const char* kTexturedVertex = R"(float4x4 Proj;

struct VS_INPUT
{
    float4 position : POSITION;
    float4 colour : COLOR0;
    float4 specular : COLOR1;
    float2 uv : TEXCOORD0;
};

struct VS_OUTPUT
{
    float4 position : POSITION;
    float4 colour : COLOR0;
    float2 uv : TEXCOORD0;
};

VS_OUTPUT vertex_shader(VS_INPUT input)
{
    VS_OUTPUT output;
    output.position = mul(input.position, Proj);
    output.colour = input.colour;
    output.uv = input.uv;
    return output;
}
)";

inline constexpr const char* kTexturedMultPixel = R"(texture g_MeshTexture;

sampler TextureSampler = sampler_state
{
    Texture = <g_MeshTexture>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = LINEAR;
};

float4 pixel_shader(float4 colour : COLOR0, float2 uv : TEXCOORD0) : COLOR0
{
    return colour * tex2D(TextureSampler, uv);
}
)";

// The specular colour's green and blue carry the tint weights.
inline constexpr const char* kTexturedTintVertex = R"(float4x4 Proj;

struct VS_INPUT
{
    float4 position : POSITION;
    float4 colour : COLOR0;
    float4 specular : COLOR1;
    float2 uv : TEXCOORD0;
};

struct VS_OUTPUT
{
    float4 position : POSITION;
    float4 colour : COLOR0;
    float2 uv : TEXCOORD0;
    float2 tint : TEXCOORD1;
};

VS_OUTPUT vertex_shader(VS_INPUT input)
{
    VS_OUTPUT output;
    output.position = mul(input.position, Proj);
    output.colour = input.colour;
    output.uv = input.uv;
    output.tint = float2(input.specular.g, input.specular.b);
    return output;
}
)";

inline constexpr const char* kTexturedTintPixel = R"(texture g_MeshTexture;

sampler TextureSampler = sampler_state
{
    Texture = <g_MeshTexture>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = LINEAR;
};

float4 pixel_shader(float4 colour : COLOR0, float2 uv : TEXCOORD0, float2 tint : TEXCOORD1) : COLOR0
{
    float4 t = tex2D(TextureSampler, uv);
    float4 result;
    result.rgb = t.rgb * tint.y + colour.rgb * tint.x;
    result.a = t.a * colour.a;
    return result;
}
)";
} // namespace render::shaders
