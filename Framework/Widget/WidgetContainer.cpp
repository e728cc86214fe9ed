#include "Framework/Widget/WidgetContainer.h"

#include "Framework/Widget/FrameManager.h"
#include "Framework/Widget/Widget.h"

#include <algorithm>

namespace widget
{
namespace
{
// Nothing may keep naming a widget that is about to be deleted: its hover,
// focus and capture end first, with the usual notifications.
HVResultEnum ReleaseBeforeDelete(Widget* child)
{
    if (const HVResultEnum result = child->ReleaseFocusAndHover(); result != HV_OK)
        return result;
    if (FrameManager* manager = child->GetFrameManager())
        manager->ReleaseCaptureWithin(child);
    return HV_OK;
}
} // namespace

HVResultEnum WidgetContainer::Add(Widget* widget)
{
    mChildren.push_back(widget);
    return HV_OK;
}

HVResultEnum WidgetContainer::Remove(Widget* widget, bool)
{
    const auto it = std::find(mChildren.begin(), mChildren.end(), widget);
    if (it == mChildren.end())
        return HV_FAIL;
    mChildren.erase(it);
    return HV_OK;
}

HVResultEnum WidgetContainer::Clear(bool deleteChildren, bool recurse, int)
{
    if (deleteChildren || recurse)
    {
        // A deleted child leaves the list at once, so an early failure never
        // leaves a dead pointer behind; listeners may change the list meanwhile.
        for (size_t i = 0; i < mChildren.size();)
        {
            Widget* child = mChildren[i];
            if (recurse)
            {
                if (const HVResultEnum result = child->Clear(deleteChildren, recurse, 1); result != HV_OK)
                    return result;
            }
            if (!deleteChildren)
            {
                ++i;
                continue;
            }
            if (const HVResultEnum result = ReleaseBeforeDelete(child); result != HV_OK)
                return result;
            const auto it = std::find(mChildren.begin(), mChildren.end(), child);
            if (it != mChildren.end())
            {
                i = static_cast<size_t>(it - mChildren.begin());
                mChildren.erase(it);
            }
            delete child;
        }
    }
    for (Widget* child : mChildren)
    {
        // Children left alive no longer belong here.
        if (child->mParent == this)
            child->mParent = nullptr;
    }
    mChildren.clear();
    return HV_OK;
}
} // namespace widget
