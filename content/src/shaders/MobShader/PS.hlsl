// Enemy sprites: texel x vertex colour x the enemy's fill colour. The fill
// colour's default, opaque white, leaves the sprite as drawn.
texture g_MeshTexture;

sampler TextureSampler = sampler_state
{
    Texture = <g_MeshTexture>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = LINEAR;
};

float4 color2;

float4 pixel_shader(float4 colour : COLOR0, float2 uv : TEXCOORD0) : COLOR0
{
    return tex2D(TextureSampler, uv) * colour * color2;
}
