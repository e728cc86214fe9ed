#pragma once

#include "Framework/Widget/Frame.h"
#include "Framework/Widget/WidgetHitTestListener.h"
#include "Framework/Widget/WidgetListener.h"

#include <string>

namespace widget
{
// A frame that is its own listener (draw hooks bound) and the hit listener
// of its own layer: root boards and full-screen tools derive from it.
class BaseBoard : public Frame, public WidgetListener, public WidgetHitTestListener
{
public:
    BaseBoard();

    // Called when the board becomes the root board; its rectangle is set before.
    virtual HVResultEnum Load();
    virtual std::string GetName();
    virtual void GetNameCopy(std::string& name);
    // Never called.
    virtual HVResultEnum ReservedHookA();
    virtual bool ReservedFlag();
    virtual HVResultEnum ReservedHookB();
};
} // namespace widget
