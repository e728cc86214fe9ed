#pragma once

// The menu screens' fixture: the front-end fixture with layouts of the main
// menu, the profiles screen, the episode select and the level select (their
// content's folder and layer names), the screens' strings, a particle library
// with the menu effects, and a setup sheet of three episodes: 7 and 9 normal
// levels, 2 hardcore levels in the first, the third "coming soon".
// Input goes through the running level as the root board sends it: a press is
// a move then a press, a release is NQMap::OnMouseUp; every event is followed
// by one HUD update, so windows pushed by it take part from the next event.
#include "FrontEndFixture.h"
#include "WindowText.h"

#include "Framework/Widget/FrameManager.h"

#include <string>
#include <vector>

class HUD;
class HUDWindow;

namespace gametest
{
std::vector<FixtureLayer> MainMenuLayers();
std::vector<FixtureLayer> ProfilesLayers();
// One "plates/chapter_0<n>" per episode up to `chapters`, without `missingChapter` (1-based; 0 none).
std::vector<FixtureLayer> EpisodeSelectLayers(int chapters, int missingChapter = 0);
std::vector<FixtureLayer> LevelSelectLayers();

// The modal windows' layout "nq/data/mm": the name input's field, the message
// box's back and text, "cancel" and "ok" ("ok" at 420, 300, 160 x 80).
std::vector<FixtureLayer> MenuModalLayers();
// The four menu effects (without `missing`), "active_lvl" and the fixture's own.
std::string MenuEffectsLibrary(const std::string& missing = std::string());

class MenuScreensTest : public FrontEndTest
{
protected:
    // Plate and layer places the tests press.
    static constexpr int kPlayX = 500, kPlayY = 340;
    static constexpr int kOptionsX = 500, kOptionsY = 430;
    static constexpr int kShopX = 500, kShopY = 510;

    void SetUp() override;
    void TearDown() override;

    HUD* Hud() const;
    HUDWindow* Top() const;
    template <class T>
    T* TopAs() const
    {
        return dynamic_cast<T*>(Top());
    }
    // Runs one HUD update (adopting pushed windows).
    void Step(float dt = 0.0f);
    void Press(int x, int y);
    void Release(int x, int y);
    void Tap(int x, int y);

    // The store's profiles: a placeholder, then the names; `current` is
    // selected (the placeholder when empty).
    void SetProfiles(const std::vector<std::string>& names, const std::string& current);
    void SetStars(int episode, int level, int mode, int stars);
    // The menu effects library without `missing`, loaded over the root board's.
    void LoadEffects(const std::string& missing = std::string());

    widget::FrameManager frames;
};
} // namespace gametest
