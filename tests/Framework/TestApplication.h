#pragma once

// The framework's test application: a game application with the game's
// logical sizes that records its hooks, and a board that records its
// updates, draws and presses.
#include "Framework/GameApplication.h"
#include "Framework/Widget/BaseBoard.h"

#include <string>
#include <vector>

namespace frameworktest
{
// Everything the test application and its boards did, in order.
std::vector<std::string>& Events();

class RecordingBoard : public widget::BaseBoard
{
public:
    RecordingBoard();
    ~RecordingBoard() override;

    HVResultEnum Load() override;
    HVResultEnum Update(float dt) override;
    HVResultEnum PostDraw(render::Graphics* graphics, layer::Layer* layer) override;
    HVResultEnum OnWidgetMouseDown(const math::Vector3& point, int button) override;
    HVResultEnum OnKeyDown(int key) override;
    HVResultEnum OnKeyUp(int key) override;
    HVResultEnum OnChar(wchar_t character) override;

    HVResultEnum mLoadResult = HV_OK;
    // Filled over the logical rectangle (0, 0, 1024, 768) when drawn.
    bool mFill = false;
    float mFillColour[4] = {1.0f, 0.0f, 1.0f, 1.0f};
    math::Vector3 mLastPress;
    // The hit rectangle Load saw: x, y, width, height.
    float mRectAtLoad[4] = {0, 0, 0, 0};
    // What the key routes answer.
    HVResultEnum mKeyResult = HV_OK;

    static inline int sDestroyed = 0;
};

class TestApplication : public framework::GameApplication
{
public:
    TestApplication();
    // Closes and deletes every frame, as a game does.
    ~TestApplication() override;

    HVResultEnum Configure() override;
    HVResultEnum InitGame() override;
    HVResultEnum UpdateGame(float dt) override;
    HVResultEnum DrawBars(render::Graphics* graphics) override;
    void OnActivate() override;
    void OnDeactivate() override;

    // Read by Configure and InitGame.
    static inline bool sStartWindowed = true;
    static inline bool sFillBoard = false;
    HVResultEnum mUpdateResult = HV_OK;
    int mInitGameRuns = 0;
    RecordingBoard* mBoard = nullptr;
};
} // namespace frameworktest
