#pragma once

#include "Game/Hud/HUDLayerButton.h"

// The tutorial's skip button. It owns both its pictures: the frames it was
// made from are deleted right after construction.
class TutorialButton : public HUDLayerButton
{
public:
    // Takes the frames' pictures; the frames must not own them.
    TutorialButton(NQFrameEntry* lower, NQFrameEntry* upper, const std::wstring& label);
    // Releases and deletes both pictures.
    ~TutorialButton() override;

    // A hit asks whether to switch the tutorial off.
    void OnClick(int x, int y) override;
};
