#pragma once

#include "Core/Base/Singletone.h"

#include <vector>

namespace framework
{
class ScreenModeListener;

// The process-wide screen-mode listeners, made on first use and deleted by
// the singleton registry at exit.
class ScreenModeListeners : public base::Singletone<ScreenModeListeners>
{
public:
    // A listener is registered at most once; unknown ones are ignored.
    void Register(ScreenModeListener* listener);
    void Unregister(ScreenModeListener* listener);
    // Walks a copy, so a listener may unregister itself (or another) meanwhile;
    // one unregistered before its turn is not called.
    void Notify(const bool& windowed);

    const std::vector<ScreenModeListener*>& Listeners() const { return mListeners; }

private:
    bool Contains(const ScreenModeListener* listener) const;

    std::vector<ScreenModeListener*> mListeners;
};
} // namespace framework
