#include "Framework/GameApplication.h"

#include "Core/Input/Win32/InputWin32.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/GameWindow.h"
#include "Framework/Widget/BaseBoard.h"
#include "Framework/Widget/DialogEffectsManager.h"
#include "Framework/Widget/FrameManager.h"
#include "Framework/Widget/WidgetListener.h"

namespace framework
{
GameApplication::GameApplication()
{
    sCurrent = this;
    // The registry then deletes the application before the resource manager.
    base::SingletoneBase::AddDependency(this, resource::ResourceManager::Instance());
}

GameApplication::~GameApplication()
{
    DeleteAll();
    ReleaseTarget();
    delete mInput;
    mInput = nullptr;
    // A root board whose Load failed never reached the frame manager.
    if (mRootBoard && !mRootBoardOpened)
        delete mRootBoard;
    mRootBoard = nullptr;
    delete mFrameManager;
    mFrameManager = nullptr;
    // Preloaded dialog animations hold mesh pictures of this renderer.
    widget::DialogEffectsManager::ClearIfCreated();
    delete mRender;
    mRender = nullptr;
    delete mWindow;
    mWindow = nullptr;
    if (sCurrent == this)
        sCurrent = nullptr;
}

void GameApplication::ReleaseTarget()
{
    if (!mTarget)
        return;
    mTarget->Release();
    delete mTarget;
    mTarget = nullptr;
}

HVResultEnum GameApplication::DrawBars(render::Graphics* graphics)
{
    graphics->SetColor(0.0f, 0.0f, 0.0f, 1.0f);
    for (const Rect& bar : mBars)
        graphics->FillRect(bar.x, bar.y, bar.width, bar.height);
    return HV_OK;
}

void GameApplication::OnActivate()
{
}

void GameApplication::OnDeactivate()
{
}

HVResultEnum GameApplication::Configure()
{
    return HV_OK;
}

HVResultEnum GameApplication::OnMouseDown(const input::Point& position, int button)
{
    return mFrameManager->OnMouseDown(position, button);
}

HVResultEnum GameApplication::OnMouseUp(const input::Point& position, int button)
{
    return mFrameManager->OnMouseUp(position, button);
}

HVResultEnum GameApplication::OnDoubleClick(const input::Point& position, int button)
{
    return mFrameManager->OnDoubleClick(position, button);
}

HVResultEnum GameApplication::OnMouseMove(const input::Point& position)
{
    return mFrameManager->OnMouseMove(position);
}

HVResultEnum GameApplication::OnMouseDrag(const input::Point& position)
{
    return mFrameManager->OnMouseDrag(position);
}

HVResultEnum GameApplication::OnMouseWheel(const input::Point& position, int delta)
{
    return mFrameManager->OnMouseWheel(position, delta);
}

HVResultEnum GameApplication::OnMouseLeave(const input::Point&)
{
    return HV_OK;
}

namespace
{
// The listener of the active frame's focus widget, or null.
widget::WidgetListener* FocusListener(widget::FrameManager* frames)
{
    if (!frames)
        return nullptr;
    widget::Frame* active = frames->GetActiveFrame();
    if (!active || !active->mFocusWidget)
        return nullptr;
    return active->mFocusWidget->mListener;
}
} // namespace

HVResultEnum GameApplication::OnKeyDown(int key)
{
    widget::WidgetListener* listener = FocusListener(mFrameManager);
    return listener ? listener->OnKeyDown(key) : HV_OK;
}

HVResultEnum GameApplication::OnKeyUp(int key)
{
    widget::WidgetListener* listener = FocusListener(mFrameManager);
    return listener ? listener->OnKeyUp(key) : HV_OK;
}

HVResultEnum GameApplication::OnChar(char32_t character)
{
    widget::WidgetListener* listener = FocusListener(mFrameManager);
    return listener ? listener->OnChar(wchar_t(character)) : HV_OK;
}

HVResultEnum GameApplication::OnPointerDown(const input::PointerRecord& pointer)
{
    return mFrameManager->OnMouseDown(pointer.position, 1);
}

HVResultEnum GameApplication::OnPointerMove(const input::PointerRecord& pointer)
{
    return mFrameManager->OnMouseDrag(pointer.position);
}

HVResultEnum GameApplication::OnPointerUp(const input::PointerRecord& pointer)
{
    return mFrameManager->OnMouseUp(pointer.position, 1);
}

HVResultEnum GameApplication::OnPointerCancel(const input::PointerRecord& pointer)
{
    return OnPointerUp(pointer);
}

void GameApplication::ToLogical(input::Point& out, const input::Point& windowPoint)
{
    out.x = mScreenToLogicalScaleX * (windowPoint.x + mScreenToLogicalOffsetX);
    out.y = mScreenToLogicalScaleY * (windowPoint.y + mScreenToLogicalOffsetY);
}

void GameApplication::ApplyOrientation(input::Point& out, const input::Point& point, int orientation)
{
    if (orientation == 1 && mWindow)
        out = {float(mWindow->GetClientWidth()) - point.y, point.x};
    else if (orientation == 3 && mWindow)
        out = {point.y, float(mWindow->GetClientHeight()) - point.x};
    else
        out = point;
}

HVResultEnum GameApplication::SetRootBoard(widget::BaseBoard* board)
{
    if (mRootBoard)
    {
        if (mRootBoardOpened)
            mFrameManager->CloseFrame(mRootBoard, true, true);
        else
            delete mRootBoard; // never opened: the frame manager does not know it
    }
    mRootBoard = board;
    mRootBoardOpened = false;
    board->SetHitRect(mLayoutX, mLayoutY, mLayoutWidth, mLayoutHeight);
    const HVResultEnum loaded = board->Load();
    if (loaded != HV_OK)
        return loaded;
    mFrameManager->QueueOpenRequest(board, widget::FrameManager::kBoard, true);
    mRootBoardOpened = true;
    return HV_OK;
}
} // namespace framework
