#include "Framework/ScreenModeListeners.h"

#include "Framework/ScreenModeListener.h"

#include <algorithm>

namespace framework
{
void ScreenModeListeners::Register(ScreenModeListener* listener)
{
    if (listener && !Contains(listener))
        mListeners.push_back(listener);
}

void ScreenModeListeners::Unregister(ScreenModeListener* listener)
{
    mListeners.erase(std::remove(mListeners.begin(), mListeners.end(), listener), mListeners.end());
}

void ScreenModeListeners::Notify(const bool& windowed)
{
    const std::vector<ScreenModeListener*> snapshot = mListeners;
    for (ScreenModeListener* listener : snapshot)
    {
        // A listener may have been unregistered (and deleted) by an earlier one.
        if (Contains(listener))
            listener->OnScreenModeChanged(windowed);
    }
}

bool ScreenModeListeners::Contains(const ScreenModeListener* listener) const
{
    return std::find(mListeners.begin(), mListeners.end(), listener) != mListeners.end();
}
} // namespace framework
