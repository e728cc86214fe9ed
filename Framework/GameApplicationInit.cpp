// The start of the game application, in its fixed order.
#include "Core/Base/FileFunctions.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/Vertices.h"
#include "Framework/GameApplication.h"
#include "Framework/GameWindow.h"
#include "Framework/Gui/PackScreen.h"
#include "Framework/Widget/DialogEffectsManager.h"
#include "Framework/Widget/FrameManager.h"
#include "Platform/Win32/SingleInstance.h"

#include <cstdio>

namespace framework
{
HVResultEnum GameApplication::Init()
{
    const HVResultEnum folders = InitFolders();
    if (folders != HV_OK)
        return folders;
    Application::Init(); // the application's own hook; it does not stop the start

    const HVResultEnum configured = Configure();
    if (configured != HV_OK)
        return configured;

    mLayoutX = (float(mLogicalWidth) - float(mMaxLogicalWidth)) / 2.0f;
    mLayoutY = 0.0f;
    mLayoutWidth = float(mMaxLogicalWidth);
    mLayoutHeight = float(mLogicalHeight);

    mInput = new input::InputWin32(this, this);
    mWindow = new GameWindow(mInput, false, false, true);
    mMonitors.Enumerate();
    DisplaySettings settings;
    // The renderer's vertex caches follow the registered formats.
    render::RegisterVertexFormats();
    mRender = new render::RenderDX9;
    HVResultEnum result = ChooseDisplayMode(mWindowed != 0, settings);
    if (result != HV_OK)
        return result;
    result = mWindow->Create(settings.mWindowX, settings.mWindowY, settings.mOuterWidth, settings.mOuterHeight,
                             int(settings.mRenderParam.mWidth), int(settings.mRenderParam.mHeight),
                             settings.mRenderParam.mWindowed != 0, mCaption);
    if (result != HV_OK)
        return result;
    // A first copy of the program runs: it was asked to show itself instead.
    if (mStopRequested)
        return HV_OK;
    result = mRender->InitRender(mWindow, settings.mRenderParam);
    if (result != HV_OK)
        return result;
    result = CreateRenderTarget(settings);
    if (result != HV_OK)
        return result;
    AddChild(mWindow);
    // Not a task of the tree: Frame drives it.
    mFrameManager = new widget::FrameManager;

    if (!mArguments.empty() && mArguments[0] == L"--pack")
        return InitPackMode();

    result = LoadConfiguration();
    if (result != HV_OK)
        return result;
    return InitGame();
}

HVResultEnum GameApplication::InitFolders()
{
    std::wstring dataRoot = mExeFolder;
    if (!mArguments.empty() && mArguments[0] == L"--data_path")
    {
        if (mArguments.size() != 2)
            return HV_FAIL;
        dataRoot = mArguments[1];
    }
    file::FileManager::Instance()->SetCurrentDirectory(dataRoot);

    const std::wstring userFolder = mUserAppDataFolder + mPublisher + L"/" + mTitle + L"/";
    file::UserDataFileContainer::Instance()->SetRootPath(userFolder);
    // A second copy finds the first through the lock file kept there.
    win32::SetSingleInstanceFolder(userFolder);
    InitLogFile(userFolder);
    return HV_OK;
}

HVResultEnum GameApplication::InitPackMode()
{
    if (mArguments.size() != 2)
        return FailPackMode(L"\"--pack\" needs exactly one folder after it");
    auto* screen = new gui::PackScreen(mArguments[1]);
    const HVResultEnum result = SetRootBoard(screen);
    if (result != HV_OK)
        return FailPackMode(screen->mFailure.empty() ? L"the pack could not be built" : screen->mFailure);
    return HV_OK;
}

HVResultEnum GameApplication::FailPackMode(const std::wstring& reason)
{
    HV_LOG(L"Pack-builder start failed: %s\n") % reason;
    // The one line a caller of the program reads; the log says more.
    const std::string line = "Pack build failed: " + base::WideToUtf8(reason) + "\n";
    std::fputs(line.c_str(), stderr);
    // Without the stop the loop would run an empty window and end with 0.
    mExitCode = 1;
    Stop();
    return HV_FAIL;
}

HVResultEnum GameApplication::LoadConfiguration()
{
    const std::string text = base::ReadTextFile(L"data/game.xml");
    mConfig.Clear();
    // A missing or broken file leaves the document empty; that is no error.
    if (text.empty() || mConfig.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS)
    {
        mConfig.Clear();
        return HV_OK;
    }
    tinyxml2::XMLElement* game = mConfig.RootElement();
    if (!game || std::string(game->Name()) != "Game")
        return HV_OK;
    tinyxml2::XMLElement* effects = game->FirstChildElement("DialogEffects");
    if (!effects)
        return HV_OK;
    return widget::DialogEffectsManager::Instance()->Load(effects);
}
} // namespace framework
