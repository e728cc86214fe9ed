#pragma once

// A layer that shows one of several state pictures taken from a layered
// image: it sits at the centre of the pictures' union, which become its
// children.
#include "Core/Base/Result.h"
#include "Framework/Gui/GameControlHelper.h"
#include "Framework/Layer/Layer.h"

#include <cstdint>
#include <string>

namespace layer
{
class ImageLayer;
}

namespace gui
{
class GameControl : public layer::Layer, public GameControlHelper
{
public:
    GameControl() = default;
    // The state layers go first, then the helper part, then the layer part.
    ~GameControl() override;

    // The state layers are children and draw themselves.
    HVResultEnum Draw(render::Graphics* g) override;
    bool HitTestPoint(const math::Vector3& point) override;

    // An empty name does nothing. An index outside the table deletes the new
    // layer and gives 1; an occupied entry's layer is replaced and freed.
    HVResultEnum AddStateImage(int index, const std::wstring& name, layer::ImageLayer** out);
    // Moves the control to the whole-unit centre of the union and makes the
    // state layers its children, relative to it.
    void CenterOnStates();

    int32_t mUnionX = 0;
    int32_t mUnionY = 0;
    int32_t mUnionWidth = 0;
    int32_t mUnionHeight = 0;
    uint8_t mUnionValid = 0;
    // Supplied by the subclass.
    layer::ImageLayer** mStates = nullptr;
    int32_t mStateCount = 0;
};
} // namespace gui
