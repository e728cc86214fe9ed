#pragma once

// A recording renderer, pictures with chosen hit masks and a font of fixed
// glyph size, for the drawing layers' tests.
#include "Core/Math/Transform3D.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/TextLayout.h"
#include "RecordingRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace layertest
{
// A texture whose mask is opaque inside one rectangle; remembers the last
// texel asked and counts deletions.
class MaskTexture : public rendertest::FakeTexture
{
public:
    MaskTexture(render::Render* r, int w, int h, int* deleted = nullptr) : FakeTexture(r), mDeleted(deleted)
    {
        mWidth = w;
        mHeight = h;
        mOpaque[2] = w;
        mOpaque[3] = h;
    }
    ~MaskTexture() override
    {
        if (mDeleted)
            ++*mDeleted;
    }
    bool GetMaskBit(int32_t x, int32_t y) const override
    {
        mAsked = {x, y};
        return x >= mOpaque[0] && y >= mOpaque[1] && x < mOpaque[2] && y < mOpaque[3];
    }

    int mOpaque[4] = {0, 0, 0, 0}; // x0, y0, x1, y1
    mutable std::pair<int, int> mAsked{-1, -1};
    int* mDeleted;
};

// One glyph is 10 x 20 units; no wrapping. With a context it records the
// context state it was drawn under.
class FixedFont : public render::Font
{
public:
    struct Seen
    {
        render::Font* font;
        float color[4];
        int shaderMode;
        float tint;
        math::Transform3D* world;
        render::TextLayout layout;
        int alignH, alignV;
    };

    HVResultEnum Release() override
    {
        ++mReleases;
        return HV_OK;
    }
    HVResultEnum DoLoad() override { return HV_OK; }
    HVResultEnum DoUnLoad() override { return HV_OK; }
    bool HasGlyph(uint16_t) override { return true; }
    int DrawText(render::Graphics* g, render::DrawTextParam* body, const std::wstring* text,
                 const render::TextLayout* layout, float size[2]) override
    {
        if (size)
        {
            size[0] = 10.0f * float(text->size());
            size[1] = 20.0f;
        }
        if (g)
        {
            Seen s{g->mFont, {}, g->mTexturedShaderMode, g->mTint, g->mWorldTransform, *layout,
                   body ? body->mAlignH : -1, body ? body->mAlignV : -1};
            std::copy(g->mColor, g->mColor + 4, s.color);
            mDraws.push_back(s);
        }
        return HV_OK;
    }

    int mReleases = 0;
    std::vector<Seen> mDraws;
};

// What a caller left in the context before a layer draws: a shader of its
// own (mode 0), a colour, a tint, a world transform and a font. Every layer
// draw must leave all of it as it was.
struct CallerState
{
    void Apply(render::Graphics& g, render::ShaderTextured* shader)
    {
        mShader = shader;
        g.SetShader(shader);
        g.SetColor(0.1f, 0.2f, 0.3f, 0.4f);
        g.mTint = 0.3f;
        g.mWorldTransform = &mWorld;
        g.mFont = &mFont;
    }
    void ExpectRestored(const render::Graphics& g) const
    {
        EXPECT_EQ(g.mTexturedShaderMode, 0);
        EXPECT_EQ(g.mTexturedShader, mShader);
        EXPECT_EQ(g.mColor[0], 0.1f);
        EXPECT_EQ(g.mColor[1], 0.2f);
        EXPECT_EQ(g.mColor[3], 0.4f);
        EXPECT_EQ(g.mTint, 0.3f);
        EXPECT_EQ(g.mWorldTransform, &mWorld);
        EXPECT_EQ(g.mFont, &mFont);
    }

    render::ShaderTextured* mShader = nullptr;
    math::Transform3D mWorld;
    FixedFont mFont;
};

class LayerDrawTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(mRender.Init(), HV_OK); }

    // A picture of its own texture, opaque everywhere unless told.
    render::Image* Picture(int w, int h, int* deleted = nullptr)
    {
        auto* texture = new MaskTexture(&mRender, w, h, deleted);
        return new render::Image(texture);
    }
    static MaskTexture* MaskOf(render::Image* image) { return static_cast<MaskTexture*>(image->GetTexture()); }

    // One frame around the steps; the calls of its replay.
    std::vector<rendertest::Call> Frame(const std::function<void(render::Graphics&)>& steps)
    {
        EXPECT_EQ(mRender.BeginFrame(), HV_OK);
        {
            render::Graphics g(&mRender);
            steps(g);
        }
        EXPECT_EQ(mRender.EndFrame(), HV_OK);
        EXPECT_EQ(mRender.Present(), HV_OK);
        mRender.mCalls.clear();
        EXPECT_EQ(mRender.ExecuteCommands(), HV_OK);
        return mRender.mCalls;
    }

    static uint64_t ShaderAddress(render::Shader* shader)
    {
        return rendertest::RecordingRender::Address(shader->GetImpl());
    }

    rendertest::RecordingRender mRender;
};
} // namespace layertest
