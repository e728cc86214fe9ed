#pragma once

#include "Core/Base/Singletone.h"
#include "Game/Hud/LevelHud.h"

#include <cstdint>
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
class TextLayer;
}

class NQTutorialStep;
class TutorialButton;

// The tutorial: steps from "nq/tutorial.xml" that react to the game's events
// and show hints over the level. Its constructor reads the running level, its
// progress record and its HUD, so the first Instance() call must come after
// the level object made all three. The gameplay calls it only through its
// face, LevelTutorial.
class NQTutorial : public base::Singletone<NQTutorial>, public LevelTutorial
{
public:
    static constexpr const wchar_t* kHintLayout = L"nq/data/tutorial";
    static constexpr const wchar_t* kSkipLayout = L"nq/data/tutorial/skip";
    static constexpr const wchar_t* kScriptFile = L"nq/tutorial.xml";

    NQTutorial();
    ~NQTutorial() override;

    // Created on first use.
    static NQTutorial* Instance();
    // The tutorial when it exists; never creates it.
    static NQTutorial* Find() { return sInstance; }

    // Its hint text layers hold fonts of the resource manager.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    void OnEvent(const std::wstring& name) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void Update(float dt) override;
    void Show() override;
    void Hide() override;
    void ClearHints() override;
    // Off for good for this player (saved), hints gone, the level's tutorial effects undone.
    virtual void Disable();
    // Started steps back to idle; the level's tutorial effects undone.
    void ResetUnfinishedSteps() override;
    // Re-reads the enabled flag and the step states from the progress record.
    void ReloadState() override;
    void SetEnabled(bool enabled) override;
    // The hints, the skip button with its pictures and the hint pictures'
    // container, while the renderer and the resource manager still exist.
    void ReleaseGraphics() override;

    void ShowStep(NQTutorialStep* step);

    std::vector<NQTutorialStep*> mSteps;
    uint8_t mSavedVisible = 0;
    uint8_t mEnabled = 0;
    uint8_t mVisible = 0;
    uint8_t mSkipQuestion = 0;
    file::ImageContainer* mHintPictures = nullptr;
    std::vector<layer::ImageLayer*> mHintImages;
    std::vector<layer::TextLayer*> mHintTexts;
    layer::Layer* mPictureRoot = nullptr;
    layer::Layer* mTextRoot = nullptr;
    TutorialButton* mSkipButton = nullptr;

protected:
    // Stand-ins made by tests: nothing is read or created.
    struct StandIn
    {
    };
    explicit NQTutorial(StandIn);

private:
    friend void InstallTutorialInstance(NQTutorial* tutorial);

    void LoadSteps();
    void CreateSkipButton();
    // The two roots and the skip button shown or hidden.
    void SetHintsVisible(bool visible);
};

namespace game::testing
{
// Makes `tutorial` (made with new) the singleton's instance; the exit teardown
// deletes it like its own. False, and nothing changed, when one exists already.
bool InstallTutorial(NQTutorial* tutorial);
} // namespace game::testing
