#include "GameTestApplication.h"

namespace gametest
{
GameTestApplication::GameTestApplication(LevelSource level) : Game(std::move(level)), mRecorder(new QuadRecorder)
{
    mLogicalWidth = kWidth;
    mLogicalHeight = kHeight;
    mMaxLogicalWidth = 1366;
    mRender = mRecorder;
    mRecorder->Init(kWidth, kHeight);
}
} // namespace gametest
