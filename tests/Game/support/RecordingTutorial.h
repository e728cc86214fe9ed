#pragma once

// A tutorial that records its calls in the shared call log and applies only
// the reset's effects on the level and the HUD.
#include "Game/Hud/NQTutorial.h"

#include <string>
#include <vector>

namespace gametest
{
class RecordingTutorial : public NQTutorial
{
public:
    // Made with new and installed as the tutorial; the singleton teardown deletes it.
    static RecordingTutorial* Install();

    // Reads no script and makes no hints.
    RecordingTutorial() : NQTutorial(StandIn{}) {}

    void OnEvent(const std::wstring& name) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void Show() override;
    void Hide() override;
    void ClearHints() override;
    void ResetUnfinishedSteps() override;
    void ReloadState() override;
    void SetEnabled(bool enabled) override;
    // Keeps the frame time only.
    void Update(float dt) override { lastUpdateDt = dt; }

    // The events received, in order.
    std::vector<std::wstring> events;
    bool enabled = true;
    // The frame time of the last update; -1 before any.
    float lastUpdateDt = -1.0f;
};
} // namespace gametest
