#pragma once

// The window shown when a level ends, won or lost: it pays the gems for new
// stars and the episode bonus, stores the result at once, then pops in and
// counts the score lines up one after the other.
#include "Game/Hud/HUDWindow.h"

#include <cstdint>

class HUDLevelResultWindow : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/ui_levelresult";
    // Paid once per episode when every normal-mode level has a star.
    static constexpr int32_t kEpisodeBonus = 100;

    // The count-up phases, kept in the base state field.
    enum Phase
    {
        kPopIn = 0,
        kKillScore = 1,
        kComboBonus = 2,
        kLifeBonus = 3,
        kTotalScore = 4,
        kFinished = 5,
    };

    // Reads everything from the running level, which the level end has
    // already put in its won or lost state.
    HUDLevelResultWindow();
    ~HUDLevelResultWindow() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;

    // 3 from a full ratio up, 2 from half, 1 above 0; 0 without a positive maximum.
    static int32_t CountStars(float lives, float maxLives);
    // The gems of `stars` over those already paid for `storedStars`.
    static int32_t StarGems(int32_t stars, int32_t storedStars);
    // The life bonus as the stored record computes it: whole hundredths, truncated.
    static int32_t LifeBonus(float lives);
};
