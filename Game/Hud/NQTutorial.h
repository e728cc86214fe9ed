#pragma once

#include "Core/Base/Singletone.h"

#include <string>

// The tutorial: steps that react to the game's events and show hints over
// the level. The gameplay calls it only through these virtual operations.
class NQTutorial : public base::Singletone<NQTutorial>
{
public:
    NQTutorial();
    ~NQTutorial() override;

    // Created on first use.
    static NQTutorial* Instance();
    // The tutorial when it exists; never creates it.
    static NQTutorial* Find() { return sInstance; }

    virtual void OnEvent(const std::wstring& name);
    virtual void OnMouseMove(int x, int y);
    virtual void OnMouseUp(int x, int y);
    virtual void Show();
    virtual void Hide();
    virtual void ClearHints();
    // Started steps back to idle; the level's tutorial effects undone.
    virtual void ResetUnfinishedSteps();
    // Re-reads the enabled flag and the step states from the progress record.
    virtual void ReloadState();
    virtual void SetEnabled(bool enabled);
    // Once a frame with the real frame time, while the level runs.
    virtual void Update(float dt);
    // The frame time of the last update.
    float mLastUpdateDt = 0.0f;

private:
    friend void InstallTutorialInstance(NQTutorial* tutorial);
};

namespace game::testing
{
// Makes `tutorial` (made with new) the singleton's instance; the exit teardown
// deletes it like its own. False, and nothing changed, when one exists already.
bool InstallTutorial(NQTutorial* tutorial);
} // namespace game::testing
