#pragma once

// The game made current whose renderer is the quad recorder, so that
// pictures load (framework::GameApplication::LoadImage) without a window.
// Never started: no root board, the running level is what the test hands in.
// Made with new; the singleton teardown deletes it, renderer included.
#include "QuadRecorder.h"

#include "Game/Game.h"

namespace gametest
{
class GameTestApplication : public Game
{
public:
    static constexpr uint32_t kWidth = 1024;
    static constexpr uint32_t kHeight = 768;

    explicit GameTestApplication(LevelSource level);

    HVResultEnum InitGame() override { return HV_OK; }
    HVResultEnum UpdateGame(float) override { return HV_OK; }

    QuadRecorder* Recorder() { return mRecorder; }

private:
    QuadRecorder* mRecorder;
};
} // namespace gametest
