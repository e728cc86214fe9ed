#pragma once

#include "Core/Math/Matrix4.h"
#include "Core/Render/RenderState.h"

#include <cstdint>

namespace framework
{
// The outcome of one display-mode decision: where the window goes, how the
// renderer maps the logical plane, and whether an offscreen target is needed.
struct DisplaySettings
{
    int32_t mWindowX = 0;
    int32_t mWindowY = 0;
    int32_t mOuterWidth = 0;
    int32_t mOuterHeight = 0;
    render::RenderInitParam mRenderParam;
    // A window was asked for but does not fit the monitor's work area.
    uint8_t mFullscreenFallback = 0;
    uint8_t mUseTarget = 0;
    uint32_t mTargetWidth = 0;
    uint32_t mTargetHeight = 0;
    math::Matrix4 mTargetProjection{true};
    float mTargetScaleX = 1.0f;
    float mTargetScaleY = 1.0f;
    float mTargetOffsetX = 0.0f;
    float mTargetOffsetY = 0.0f;
};
} // namespace framework
