#pragma once

// A draw context over the recording renderer, with the replayed calls and
// the vertices written into the streaming caches.
#include "RecordingRender.h"

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Vertices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace rendertest
{
// A renderer with a virtual-to-pixel mapping that is not the identity.
class MappedRender : public RecordingRender
{
public:
    void SetMapping(float scale, float offsetX, float offsetY)
    {
        mScaleX = mScaleY = scale;
        mOffsetX = offsetX;
        mOffsetY = offsetY;
        InitStates();
    }
};

class GraphicsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(r.Init(), HV_OK);
        r.SetMapping(1.5f, 0, 7);
        g = std::make_unique<render::Graphics>(&r);
    }

    void Begin() { ASSERT_EQ(r.BeginFrame(), HV_OK); }

    // Ends the frame and returns the replayed calls.
    std::vector<Call> End()
    {
        EXPECT_EQ(r.EndFrame(), HV_OK);
        r.mCalls.clear();
        EXPECT_EQ(r.ExecuteCommands(), HV_OK);
        return r.mCalls;
    }

    template <class V>
    const V* Vertices()
    {
        auto* buffer = static_cast<MemoryVertexBuffer*>(render::GetVertexCache<V>(&r)->GetMain()->mImpl);
        return reinterpret_cast<const V*>(buffer->mMemory.data());
    }
    const render::SVertexGeom* GeomVertices() { return Vertices<render::SVertexGeom>(); }
    const render::SVertex2D* Vertices2D() { return Vertices<render::SVertex2D>(); }
    const uint16_t* Indices16()
    {
        auto* buffer = static_cast<MemoryIndexBuffer*>(r.GetIndexCache16()->GetMain()->mImpl);
        return reinterpret_cast<const uint16_t*>(buffer->mMemory.data());
    }
    // Vertices taken from the SVertex2D cache's main buffer this frame.
    uint32_t Used2D()
    {
        return render::GetVertexCache<render::SVertex2D>(&r)->GetMain()->mImpl->GetWritePosition();
    }

    static int Count(const std::vector<Call>& calls, const std::string& name)
    {
        return int(std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.name == name; }));
    }
    MappedRender r;
    std::unique_ptr<render::Graphics> g;
};
} // namespace rendertest
