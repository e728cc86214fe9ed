#include "Framework/Widget/BaseBoard.h"

#include "Framework/Layer/Layer.h"

namespace widget
{
BaseBoard::BaseBoard()
{
    WidgetHitTestListener::mWidget = this;
    SetListener(static_cast<WidgetListener*>(this), true);
    mLayer->mHitListener = static_cast<WidgetHitTestListener*>(this);
}

HVResultEnum BaseBoard::Load()
{
    return HV_OK;
}

std::string BaseBoard::GetName()
{
    return std::string();
}

void BaseBoard::GetNameCopy(std::string& name)
{
    name = GetName();
}

HVResultEnum BaseBoard::ReservedHookA()
{
    return HV_OK;
}

bool BaseBoard::ReservedFlag()
{
    return false;
}

HVResultEnum BaseBoard::ReservedHookB()
{
    return HV_OK;
}
} // namespace widget
