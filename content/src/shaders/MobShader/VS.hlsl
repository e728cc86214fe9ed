// Enemy sprites: the textured pass of the sprite shaders, with the pixel
// stage multiplying in the enemy's fill colour.
float4x4 Proj;

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
