#include "Framework/Gui/GameControl.h"

#include "Framework/Layer/ImageLayer.h"

#include <algorithm>
#include <cmath>

namespace gui
{
namespace
{
void Free(layer::ImageLayer* state)
{
    if (layer::Layer* parent = state->GetParent())
        parent->RemoveChild(state);
    delete state;
}
} // namespace

GameControl::~GameControl()
{
    for (int32_t i = 0; mStates && i < mStateCount; ++i)
    {
        if (mStates[i])
            Free(mStates[i]);
        mStates[i] = nullptr;
    }
}

HVResultEnum GameControl::Draw(render::Graphics*) { return HV_OK; }

bool GameControl::HitTestPoint(const math::Vector3&) { return false; }

HVResultEnum GameControl::AddStateImage(int index, const std::wstring& name, layer::ImageLayer** out)
{
    if (name.empty())
        return HV_OK;
    float rect[4];
    layer::ImageLayer* state = nullptr;
    if (const HVResultEnum result = LoadImageLayer(name, rect, &state); result != HV_OK)
        return result;
    if (index < 0 || index >= mStateCount || !mStates)
    {
        delete state;
        return HV_FAIL;
    }
    if (mStates[index])
        Free(mStates[index]);
    mStates[index] = state;

    const int32_t x = static_cast<int32_t>(rect[0]);
    const int32_t y = static_cast<int32_t>(rect[1]);
    const int32_t width = static_cast<int32_t>(rect[2]);
    const int32_t height = static_cast<int32_t>(rect[3]);
    if (!mUnionValid)
    {
        mUnionX = x;
        mUnionY = y;
        mUnionWidth = width;
        mUnionHeight = height;
    }
    else
    {
        const int32_t right = std::max(mUnionX + mUnionWidth, x + width);
        const int32_t bottom = std::max(mUnionY + mUnionHeight, y + height);
        mUnionX = std::min(mUnionX, x);
        mUnionY = std::min(mUnionY, y);
        mUnionWidth = right - mUnionX;
        mUnionHeight = bottom - mUnionY;
    }
    mUnionValid = 1;
    if (out)
        *out = state;
    return HV_OK;
}

void GameControl::CenterOnStates()
{
    const float x = std::floor(float(mUnionX) + float(mUnionWidth) * 0.5f);
    const float y = std::floor(float(mUnionY) + float(mUnionHeight) * 0.5f);
    SetPosition(x, y, 0.0f);
    for (int32_t i = 0; mStates && i < mStateCount; ++i)
    {
        layer::ImageLayer* state = mStates[i];
        if (!state)
            continue;
        state->SetPosition(state->mPosition.x - x, state->mPosition.y - y, state->mPosition.z);
        AddChild(state);
    }
}
} // namespace gui
