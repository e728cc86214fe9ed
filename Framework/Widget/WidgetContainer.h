#pragma once

#include "Core/Base/Result.h"

#include <vector>

namespace widget
{
class Widget;

// The child list of a widget. It does not own its children: Clear with
// delete is how owners delete a tree.
class WidgetContainer
{
public:
    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer() = default;

    // Appends; returns 0.
    virtual HVResultEnum Add(Widget* widget);
    // Takes the first occurrence out; 1 when the widget is not in the list.
    virtual HVResultEnum Remove(Widget* widget, bool flag);
    // With recurse, clears every child's own tree first; with delete, deletes
    // every child. The first failure is returned at once; children already
    // deleted have left the list by then.
    virtual HVResultEnum Clear(bool deleteChildren, bool recurse, int unused);

    std::vector<Widget*> mChildren;
};
} // namespace widget
