#include "TestApplication.h"

#include "Core/File/FileManager.h"
#include "Core/Render/Graphics.h"
#include "Framework/Layer/RectHitLayer.h"
#include "Framework/Widget/FrameManager.h"

namespace frameworktest
{
std::vector<std::string>& Events()
{
    static std::vector<std::string> events;
    return events;
}

RecordingBoard::RecordingBoard() = default;

RecordingBoard::~RecordingBoard()
{
    ++sDestroyed;
}

HVResultEnum RecordingBoard::Load()
{
    Events().push_back("board load");
    const layer::RectHitLayer* rect = GetRootHitLayer();
    mRectAtLoad[0] = rect->GetX();
    mRectAtLoad[1] = rect->GetY();
    mRectAtLoad[2] = rect->GetWidth();
    mRectAtLoad[3] = rect->GetHeight();
    return mLoadResult;
}

HVResultEnum RecordingBoard::Update(float)
{
    Events().push_back("board update");
    return HV_OK;
}

HVResultEnum RecordingBoard::PostDraw(render::Graphics* graphics, layer::Layer*)
{
    Events().push_back("board draw");
    if (mFill)
    {
        graphics->SetColor(mFillColour);
        graphics->FillRect(0.0f, 0.0f, 1024.0f, 768.0f);
    }
    return HV_OK;
}

HVResultEnum RecordingBoard::OnWidgetMouseDown(const math::Vector3& point, int button)
{
    Events().push_back("board press " + std::to_string(button));
    mLastPress = point;
    return HV_OK;
}

HVResultEnum RecordingBoard::OnKeyDown(int key)
{
    Events().push_back("key down " + std::to_string(key));
    return mKeyResult;
}

HVResultEnum RecordingBoard::OnKeyUp(int key)
{
    Events().push_back("key up " + std::to_string(key));
    return mKeyResult;
}

HVResultEnum RecordingBoard::OnChar(wchar_t character)
{
    Events().push_back("char " + std::to_string(int(character)));
    return mKeyResult;
}

TestApplication::TestApplication()
{
    mPublisher = L"Framework Test Publisher";
    mTitle = L"Framework Test";
    mLogicalWidth = 1024;
    mLogicalHeight = 768;
    mMaxLogicalWidth = 1366;
}

TestApplication::~TestApplication()
{
    if (mFrameManager)
        mFrameManager->CloseAll(true, false);
}

HVResultEnum TestApplication::Configure()
{
    file::FileManager::Instance()->mountTable[L"nq/"] = L"data.dat";
    mCaption = L"Framework Test Window";
    mWindowed = sStartWindowed ? 1 : 0;
    Events().push_back("configure");
    return HV_OK;
}

HVResultEnum TestApplication::InitGame()
{
    ++mInitGameRuns;
    Events().push_back("init game");
    mBoard = new RecordingBoard;
    mBoard->mFill = sFillBoard;
    return SetRootBoard(mBoard);
}

HVResultEnum TestApplication::UpdateGame(float)
{
    Events().push_back("update game");
    return mUpdateResult;
}

HVResultEnum TestApplication::DrawBars(render::Graphics* graphics)
{
    Events().push_back("draw bars");
    return GameApplication::DrawBars(graphics);
}

void TestApplication::OnActivate()
{
    Events().push_back("activate");
}

void TestApplication::OnDeactivate()
{
    Events().push_back("deactivate");
}
} // namespace frameworktest
