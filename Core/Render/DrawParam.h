#pragma once

// Draw records: a draw body held by value and one way of moving its vertices.
// A record draws once, when it is destroyed while armed; a conversion into
// another kind of record hands the armed state on, so one record of a chain
// draws. Records are move-only; a move hands the armed byte over.
#include "Core/Math/Transform2D.h"
#include "Core/Render/VertexTransform.h"

#include <cstdint>
#include <utility>

namespace render
{
class VertexFormat;

class DrawParam
{
public:
    DrawParam() = default;
    DrawParam(const DrawParam&) = delete;
    DrawParam& operator=(const DrawParam&) = delete;
    virtual int TransformVertices(void* vertices, const VertexFormat* format, unsigned count) = 0;
    virtual ~DrawParam() = default;

    bool IsArmed() const { return mArmed != 0; }
    void Disarm() { mArmed = 0; }

    uint8_t mArmed = 0;
    void* mBody = nullptr;

protected:
    // Disarms first, so that a draw never runs twice; its failure is dropped.
    template <class Param>
    void DrawOnce(Param& body)
    {
        if (!mArmed)
            return;
        mArmed = 0;
        body.Draw(this);
    }
};

struct TagUntransformed
{
};
struct TagTranslate2D
{
};
struct TagTransform2D
{
};

// Gives a record kind its conversions; the bodies specialise it.
template <class Tag, class Param>
class DrawParamInterface
{
};

template <class Param>
class DrawUntransformedParam : public DrawParam, public DrawParamInterface<TagUntransformed, Param>
{
public:
    explicit DrawUntransformedParam(Param body, bool armed = true) : mParam(std::move(body))
    {
        mArmed = armed ? 1 : 0;
        mBody = &mParam;
    }
    DrawUntransformedParam(DrawUntransformedParam&& other) : mParam(std::move(other.mParam))
    {
        mArmed = std::exchange(other.mArmed, uint8_t(0));
        mBody = &mParam;
    }
    ~DrawUntransformedParam() override { DrawOnce(mParam); }

    int TransformVertices(void*, const VertexFormat*, unsigned) override { return 0; }

    Param* operator->() { return &mParam; }
    Param& GetBody() { return mParam; }

    Param mParam;
};

template <class Param>
class DrawTranslate2DParam : public DrawParam, public DrawParamInterface<TagTranslate2D, Param>
{
public:
    DrawTranslate2DParam(Param body, float x, float y) : mParam(std::move(body)), mX(x), mY(y)
    {
        mArmed = 1;
        mBody = &mParam;
    }
    DrawTranslate2DParam(DrawTranslate2DParam&& other) : mParam(std::move(other.mParam)), mX(other.mX), mY(other.mY)
    {
        mArmed = std::exchange(other.mArmed, uint8_t(0));
        mBody = &mParam;
    }
    ~DrawTranslate2DParam() override { DrawOnce(mParam); }

    int TransformVertices(void* vertices, const VertexFormat* format, unsigned count) override
    {
        TranslatePositions2D(vertices, format, count, mX, mY);
        return 0;
    }

    Param* operator->() { return &mParam; }
    Param& GetBody() { return mParam; }

    Param mParam;
    float mX, mY;
};

template <class Param>
class DrawTransform2DParam : public DrawParam, public DrawParamInterface<TagTransform2D, Param>
{
public:
    explicit DrawTransform2DParam(Param body) : mParam(std::move(body))
    {
        mArmed = 1;
        mBody = &mParam;
    }
    DrawTransform2DParam(Param body, const math::Transform2D& transform)
        : mParam(std::move(body)), mTransform(transform)
    {
        mArmed = 1;
        mBody = &mParam;
    }
    DrawTransform2DParam(DrawTransform2DParam&& other)
        : mParam(std::move(other.mParam)), mTransform(other.mTransform)
    {
        mArmed = std::exchange(other.mArmed, uint8_t(0));
        mBody = &mParam;
    }
    ~DrawTransform2DParam() override { DrawOnce(mParam); }

    int TransformVertices(void* vertices, const VertexFormat* format, unsigned count) override
    {
        TransformPositions2D(vertices, format, count, mTransform);
        return 0;
    }

    Param* operator->() { return &mParam; }
    Param& GetBody() { return mParam; }
    // The creator may add operations before the record draws.
    math::Transform2D& GetTransform() { return mTransform; }

    Param mParam;
    math::Transform2D mTransform;
};

// The conversions' common step: the result takes a copy of the body and
// the armed state, whatever the source's armed byte says.
template <class Result, class Source, class... Extra>
Result ConvertRecord(Source& source, Extra&&... extra)
{
    Result result(source.mParam, std::forward<Extra>(extra)...);
    source.mArmed = 0;
    return result;
}
} // namespace render
