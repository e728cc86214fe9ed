#pragma once

// A game application made current whose renderer is the quad recorder, so
// that pictures load (framework::GameApplication::LoadImage) without a
// window. Made with new; the singleton teardown deletes it, renderer included.
#include "QuadRecorder.h"

#include "Framework/GameApplication.h"

namespace gametest
{
class GameTestApplication : public framework::GameApplication
{
public:
    static constexpr uint32_t kWidth = 1024;
    static constexpr uint32_t kHeight = 768;

    GameTestApplication();

    HVResultEnum InitGame() override { return HV_OK; }
    HVResultEnum UpdateGame(float) override { return HV_OK; }

    QuadRecorder* Recorder() { return mRecorder; }

private:
    QuadRecorder* mRecorder;
};
} // namespace gametest
