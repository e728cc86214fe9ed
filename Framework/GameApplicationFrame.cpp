// One frame of the game application.
#include "Core/Input/Win32/InputWin32.h"
#include "Core/Math/Transform2D.h"
#include "Core/Render/DrawImageParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Framework/GameApplication.h"
#include "Framework/Widget/FrameManager.h"

namespace framework
{
namespace
{
constexpr float kBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};
} // namespace

HVResultEnum GameApplication::Frame(float dt)
{
    if (!mRender->CheckDeviceReady())
        return HV_OK;
    HVResultEnum result = mInput->Update();
    if (result != HV_OK)
        return result;
    result = UpdateGame(dt);
    if (result != HV_OK)
        return result;
    result = mFrameManager->Process(dt);
    if (result != HV_OK)
        return result;
    DeleteAll();
    return DrawFrame([this](render::Graphics* screen) { return mFrameManager->Draw(screen); });
}

HVResultEnum GameApplication::DrawFrame(const std::function<HVResultEnum(render::Graphics*)>& drawScreen)
{
    HVResultEnum result = mRender->BeginFrame();
    if (result != HV_OK)
        return result;
    {
        render::Graphics back(mRender);
        result = HVResultEnum(back.Clear(1, kBlack, 1.0f, 0));
        if (result != HV_OK)
            return result;
        if (mTarget)
        {
            render::Graphics onTarget(mTarget);
            result = HVResultEnum(onTarget.Clear(1, kBlack, 1.0f, 0));
            if (result != HV_OK)
                return result;
            result = drawScreen(&onTarget);
            if (result != HV_OK)
                return result;
            math::Transform2D placement;
            placement.Scale(mTargetDrawScaleX, mTargetDrawScaleY);
            placement.Translate(mTargetDrawX, mTargetDrawY);
            auto record = back.DrawImage(*mTarget);
            record->SetAnchor(2, 2);
            // The record draws when it goes out of scope.
            auto placed = record.Transform(placement);
        }
        else
        {
            result = drawScreen(&back);
            if (result != HV_OK)
                return result;
        }
        if (mBarsActive)
        {
            result = DrawBars(&back);
            if (result != HV_OK)
                return result;
        }
    }
    result = mRender->EndFrame();
    if (result != HV_OK)
        return result;
    result = mRender->Present();
    if (result != HV_OK)
        return result;
    return mRender->ExecuteCommands();
}
} // namespace framework
