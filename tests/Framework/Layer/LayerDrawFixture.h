#pragma once

// A recording renderer, pictures with chosen hit masks and a font of fixed
// glyph size, for the drawing layers' tests.
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Shaders/Shader.h"
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

    static std::vector<rendertest::Call> Only(const std::vector<rendertest::Call>& calls, const std::string& name)
    {
        std::vector<rendertest::Call> out;
        for (const rendertest::Call& c : calls)
            if (c.name == name)
                out.push_back(c);
        return out;
    }

    static uint64_t ShaderAddress(render::Shader* shader)
    {
        return rendertest::RecordingRender::Address(shader->GetImpl());
    }

    rendertest::RecordingRender mRender;
};
} // namespace layertest
