#include "Framework/GameApplication.h"

#include "Core/Resource/ResourceManager.h"
#include "Framework/GameWindow.h"

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
    if (sCurrent == this)
        sCurrent = nullptr;
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
} // namespace framework
