#pragma once

namespace widget
{
// Base of the objects that stand between a widget and its pointer events
// (the button's mediator); it adds nothing itself.
class WidgetMediator
{
public:
    virtual ~WidgetMediator() = default;
};
} // namespace widget
