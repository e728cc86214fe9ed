#pragma once

// A renderer that keeps the quads of a frame as they replay: the recording
// back end's log, plus per quad its texture, corners after every transform,
// UVs, colour, blend mode, shader and the shader variables changed before it.
// Shader vectors are kept exactly (the back end's own log truncates them).
#include "RecordingRender.h"

#include "Core/Math/Vector3.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace render
{
class Graphics;
class Image;
}

namespace gametest
{
struct RecordedQuad
{
    // The texture bound to the shader's first sampler; null when none.
    const render::Texture* texture = nullptr;
    // Corners in drawing order (top left, top right, bottom right, bottom
    // left before transforms), in logical units: the half-pixel offset the
    // engine adds is taken off again.
    float x[4] = {0, 0, 0, 0};
    float y[4] = {0, 0, 0, 0};
    float u[4] = {0, 0, 0, 0};
    float v[4] = {0, 0, 0, 0};
    // Of the first corner: packed ARGB and as r, g, b, a in 0..1.
    uint32_t argb = 0;
    float color[4] = {0, 0, 0, 0};
    int blend = 0;
    std::string shader;
    // Shader vectors set since the previous draw, by variable name.
    std::map<std::string, math::Point4> variables;

    float CentreX() const { return (x[0] + x[1] + x[2] + x[3]) / 4.0f; }
    float CentreY() const { return (y[0] + y[1] + y[2] + y[3]) / 4.0f; }
    // Edge lengths of the first two sides.
    float Width() const;
    float Height() const;
    float Alpha() const { return color[3]; }
};

class QuadRecorder : public rendertest::RecordingRender
{
public:
    HVResultEnum CreateShaderImpl(const std::string& vs, const std::string& ps, render::ShaderImpl** out) override;
    HVResultEnum DoSetVertexFormat(int32_t id) override;
    HVResultEnum DoSetVertexBuffer(render::VertexBufferImpl* buffer) override;
    HVResultEnum DoSetIndexBuffer(render::IndexBufferImpl* buffer) override;
    HVResultEnum DoSetShader(render::ShaderImpl* shader) override;
    HVResultEnum DoSetBlendMode(int32_t mode) override;
    HVResultEnum DoDrawIndexedPrimitive(int32_t type, uint32_t size, uint32_t start, uint32_t count, uint32_t min,
                                        uint32_t vcount) override;

    // Starts a frame and forgets the quads and calls recorded so far.
    HVResultEnum Begin();
    // Ends the frame and replays it; the quads of the frame, in draw order.
    std::vector<RecordedQuad> End();
    // Begin, draw into a context over this renderer, End.
    std::vector<RecordedQuad> Record(const std::function<void(render::Graphics*)>& draw);

    // Called by the shader variables of this renderer's shaders.
    void OnVector(const std::string& name, const math::Point4& value);
    void OnTexture(render::ShaderImpl* shader, render::Texture* texture);

    std::vector<RecordedQuad> mQuads;
    // Draws of vertex formats other than the picture and text format.
    int mOtherDraws = 0;

private:
    int32_t mFormat = -1;
    render::VertexBufferImpl* mVertexBuffer = nullptr;
    render::IndexBufferImpl* mIndexBuffer = nullptr;
    render::ShaderImpl* mShader = nullptr;
    int mBlend = 0;
    std::map<std::string, math::Point4> mChangedVariables;
    std::map<render::ShaderImpl*, render::Texture*> mTextures;
};

// The texture a picture draws from.
const render::Texture* TextureOf(const render::Image* image);
} // namespace gametest
