#include "ApplicationFixture.h"
#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderTarget.h"
#include "Framework/GameWindow.h"
#include "Framework/Gui/PackScreen.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/RectHitLayer.h"
#include "Framework/ScreenModeListener.h"
#include "Framework/ScreenModeListeners.h"
#include "Framework/Widget/FrameManager.h"
#include "Platform/D3D9/TestSupport.h"
#include "support/TestWindow.h"
#include "tests/Core/Render/PictureFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
using frameworktest::ApplicationTest;
using frameworktest::Events;
using frameworktest::RecordingBoard;
using frameworktest::TestApplication;
using Strings = std::vector<std::string>;

// --- Command line ---------------------------------------------------------

TEST_F(ApplicationTest, NoArgumentsStartTheGameOnTheExecutableFolder)
{
    ASSERT_EQ(Start({}), HV_OK);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(data.Folder()));
    EXPECT_EQ(application->mInitGameRuns, 1);
    EXPECT_NE(application->mWindow, nullptr);
    EXPECT_NE(application->mFrameManager, nullptr);
    EXPECT_EQ(application->mRootBoard, application->mBoard);
    EXPECT_TRUE(user.Has("Framework Test Publisher/Framework Test/log.html"));
    EXPECT_EQ(application->mChildren.size() + application->mPendingChildren.size(), 1u) << "the window is a task";
}

TEST_F(ApplicationTest, DataPathBecomesTheCurrentDirectory)
{
    hvtest::TempFolder other;
    ASSERT_EQ(Start({L"--data_path", other.Wide()}), HV_OK);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(other.Folder()));
    EXPECT_EQ(application->mInitGameRuns, 1);
}

TEST_F(ApplicationTest, MalformedDataPathFailsBeforeAnythingIsMade)
{
    const std::vector<std::vector<std::wstring>> rows = {{L"--data_path"}, {L"--data_path", L"a", L"b"}};
    for (const auto& arguments : rows)
    {
        SetUp();
        EXPECT_EQ(Start(arguments), HV_FAIL);
        EXPECT_EQ(application->mInput, nullptr);
        EXPECT_EQ(application->mWindow, nullptr);
        EXPECT_EQ(application->mRender, nullptr);
        EXPECT_EQ(application->mFrameManager, nullptr);
        EXPECT_TRUE(Events().empty()) << "not even the configuration hook";
        TearDown();
    }
}

TEST_F(ApplicationTest, PackModeMakesThePackScreenTheRootAndSkipsTheGame)
{
    data.Write("data/game.xml", "<Game><DialogEffects/></Game>");
    data.Write("nq/a.txt", "a");
    ASSERT_EQ(Start({L"--pack", L"folder"}), HV_OK);
    auto* screen = dynamic_cast<gui::PackScreen*>(application->mRootBoard);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->mFolder, L"folder");
    EXPECT_EQ(application->mInitGameRuns, 0);
    EXPECT_EQ(application->mConfig.RootElement(), nullptr) << "game.xml is not read";
    EXPECT_TRUE(data.Has("data.dat"));
    EXPECT_FALSE(application->mStopRequested);
}

TEST_F(ApplicationTest, PackWithoutFolderFailsAfterTheWindowAndStopsWithExitCodeOne)
{
    Make({L"--pack"});
    EXPECT_EQ(application->RunMain(), HV_FAIL) << "RunMain returns without the loop";
    EXPECT_NE(application->mWindow, nullptr);
    EXPECT_NE(application->mRender, nullptr);
    EXPECT_NE(application->mFrameManager, nullptr);
    EXPECT_TRUE(application->mStopRequested);
    EXPECT_EQ(application->mExitCode, 1);
    EXPECT_EQ(application->mInitGameRuns, 0);
}

TEST_F(ApplicationTest, FailedPackBuildStopsWithExitCodeOneAndKeepsTheOldPack)
{
    data.Write("data.dat", "old");
    data.Write("nq/bad\xff.txt", "x");
    Make({L"--pack", L"folder"});
    EXPECT_EQ(application->RunMain(), HV_FAIL);
    EXPECT_EQ(application->mExitCode, 1);
    EXPECT_TRUE(application->mStopRequested);
    EXPECT_EQ(data.Read("data.dat"), "old");
    EXPECT_FALSE(data.Has("data.dat.tmp"));
    bool logged = false;
    for (const std::wstring& line : frameworktest::LogLines())
        logged = logged || line.find(L"Pack-builder start failed: nq/bad") != std::wstring::npos;
    EXPECT_TRUE(logged);
}

TEST_F(ApplicationTest, SuccessfulPackBuildRunsUntilTheWindowCloses)
{
    data.Write("data.dat", "old");
    data.Write("nq/a.txt", "fresh");
    Make({L"--pack", L"folder"});
    ASSERT_EQ(application->Init(), HV_OK);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    application->Run();
    EXPECT_EQ(application->mExitCode, 0);
    EXPECT_NE(data.Read("data.dat"), "old");
    EXPECT_NE(data.Read("data.dat").find("hvpack"), std::string::npos);
}

// --- game.xml ---------------------------------------------------------------

TEST_F(ApplicationTest, GameXmlIsOptionalAndAValidOneIsKept)
{
    const struct
    {
        const char* name;
        const char* text; // null: no file
        bool reachable;
    } rows[] = {
        {"missing", nullptr, false},
        {"unparsable", "<Game><DialogEffects>", false},
        {"other root", "<Other><DialogEffects/></Other>", false},
        {"no effects", "<Game><Sounds/></Game>", false},
        {"valid", "<Game><DialogEffects><Effect name=\"&lt;a&gt;\"/></DialogEffects></Game>", true},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        SetUp();
        if (row.text)
            data.Write("data/game.xml", row.text);
        ASSERT_EQ(Start(DataRootArguments()), HV_OK);
        EXPECT_EQ(application->mInitGameRuns, 1);
        const tinyxml2::XMLElement* root = application->mConfig.RootElement();
        const tinyxml2::XMLElement* effects = root ? root->FirstChildElement("DialogEffects") : nullptr;
        EXPECT_EQ(effects != nullptr && std::string(root->Name()) == "Game", row.reachable);
        if (row.reachable)
        {
            EXPECT_STREQ(effects->FirstChildElement("Effect")->Attribute("name"), "<a>") << "entities processed";
        }
        TearDown();
        data.Write("data/game.xml", "");
        std::filesystem::remove(data.Folder() / "data/game.xml");
    }
}

// --- Frame -------------------------------------------------------------------

// Records its deletion among the events.
class DeferredRecorder : public base::DeferredDeletable
{
public:
    ~DeferredRecorder() override { Events().push_back("deferred delete"); }
};

uint64_t Presents(TestApplication* application)
{
    auto* render = static_cast<render::RenderDX9*>(application->mRender);
    return d3d9test::Counters(render->GetDevice()).presents;
}

TEST_F(ApplicationTest, FrameRunsItsStepsInOrder)
{
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    ASSERT_EQ(application->Frame(0.016f), HV_OK); // opens the root board
    Events().clear();
    application->mDeferredQueue.push_back(new DeferredRecorder);
    const uint64_t before = Presents(application);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    EXPECT_EQ(Events(), (Strings{"update game", "board update", "deferred delete", "board draw"}));
    EXPECT_EQ(Presents(application), before + 1);
}

TEST_F(ApplicationTest, BarsAreDrawnAfterTheFramesOnlyWhileActive)
{
    SupplyMonitor(1280, 1024, 1024);
    TestApplication::sStartWindowed = false;
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    ASSERT_TRUE(application->mBarsActive);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    Events().clear();
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    EXPECT_EQ(Events(), (Strings{"update game", "board update", "board draw", "draw bars"}));
}

TEST_F(ApplicationTest, MinimisedWindowSkipsTheFrame)
{
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    ASSERT_EQ(Pump(3), HV_OK);
    Push(testwin::WindowEvent(application->mWindow->GetHandle(), SDL_WINDOWEVENT_MINIMIZED));
    for (int i = 0; i < 5 && !application->mWindow->mMinimized; ++i)
        ASSERT_EQ(Pump(1), HV_OK);
    ASSERT_TRUE(application->mWindow->mMinimized);
    Events().clear();
    const uint64_t before = Presents(application);
    EXPECT_EQ(application->Frame(0.016f), HV_OK);
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(Presents(application), before);
}

TEST_F(ApplicationTest, FailingGameUpdateEndsTheFrame)
{
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    Events().clear();
    application->mUpdateResult = HV_FAIL;
    const uint64_t before = Presents(application);
    EXPECT_EQ(application->Frame(0.016f), HV_FAIL);
    EXPECT_EQ(Events(), Strings{"update game"});
    EXPECT_EQ(Presents(application), before);
}

// --- Input routes ----------------------------------------------------------

TEST_F(ApplicationTest, KeyRoutesReachTheFocusListenerOrReturnZero)
{
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    // Before the first frame the root board is not open: no active frame.
    EXPECT_EQ(application->OnKeyDown(65), HV_OK);
    EXPECT_EQ(Events(), (Strings{"configure", "init game", "board load"}));
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    Events().clear();

    RecordingBoard* board = application->mBoard;
    ASSERT_EQ(application->mFrameManager->GetActiveFrame(), board);
    EXPECT_EQ(application->OnKeyDown(65), HV_OK);
    EXPECT_EQ(application->OnKeyUp(65), HV_OK);
    EXPECT_EQ(application->OnChar(U'\u00e9'), HV_OK);
    board->mKeyResult = HV_FAIL;
    EXPECT_EQ(application->OnKeyDown(66), HV_FAIL) << "the listener's result";
    board->mKeyResult = HV_OK;
    EXPECT_EQ(Events(), (Strings{"key down 65", "key up 65", "char 233", "key down 66"}));

    Events().clear();
    widget::Widget silent; // no listener
    board->mFocusWidget = &silent;
    EXPECT_EQ(application->OnKeyDown(1), HV_OK);
    board->mFocusWidget = nullptr;
    EXPECT_EQ(application->OnKeyUp(1), HV_OK);
    EXPECT_EQ(application->OnChar(U'x'), HV_OK);
    EXPECT_EQ(application->OnMouseLeave({10.0f, 10.0f}), HV_OK);
    EXPECT_TRUE(Events().empty());
    board->mFocusWidget = board;
}

TEST_F(ApplicationTest, WindowActivationReachesTheApplicationHooks)
{
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    Events().clear();
    application->mWindow->OnDeactivate();
    application->mWindow->OnActivate();
    EXPECT_EQ(Events(), (Strings{"deactivate", "activate"}));
}

// --- Root board ----------------------------------------------------------------

TEST_F(ApplicationTest, ReplacedRootBoardIsClosedAndDeletedAtTheNextUpdate)
{
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    RecordingBoard* first = application->mBoard;
    EXPECT_EQ(first->mRectAtLoad[0], -171.0f);
    EXPECT_EQ(first->mRectAtLoad[1], 0.0f);
    EXPECT_EQ(first->mRectAtLoad[2], 1366.0f);
    EXPECT_EQ(first->mRectAtLoad[3], 768.0f);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    ASSERT_EQ(application->mFrameManager->FindFrame(first), 0);

    auto* second = new RecordingBoard;
    ASSERT_EQ(application->SetRootBoard(second), HV_OK);
    EXPECT_EQ(RecordingBoard::sDestroyed, 0);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    EXPECT_EQ(RecordingBoard::sDestroyed, 1);
    EXPECT_EQ(application->mFrameManager->GetStack().size(), 1u);
    EXPECT_EQ(application->mFrameManager->FindFrame(second), 0);
}

TEST_F(ApplicationTest, BoardWhoseLoadFailsIsNotOpenedAndIsDeletedOnce)
{
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    auto* failing = new RecordingBoard;
    failing->mLoadResult = HV_FAIL;
    EXPECT_EQ(application->SetRootBoard(failing), HV_FAIL);
    EXPECT_EQ(application->mRootBoard, failing);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    EXPECT_EQ(RecordingBoard::sDestroyed, 1) << "the previous board";
    EXPECT_EQ(application->mFrameManager->FindFrame(failing), -1);

    // Replacing it deletes it at once: the frame manager never knew it.
    auto* next = new RecordingBoard;
    ASSERT_EQ(application->SetRootBoard(next), HV_OK);
    EXPECT_EQ(RecordingBoard::sDestroyed, 2);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    EXPECT_EQ(RecordingBoard::sDestroyed, 2);

    // And one still the root at the end goes with the application.
    auto* last = new RecordingBoard;
    last->mLoadResult = HV_FAIL;
    EXPECT_EQ(application->SetRootBoard(last), HV_FAIL);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    EXPECT_EQ(RecordingBoard::sDestroyed, 3) << "the open board, closed";
    TearDown();
    EXPECT_EQ(RecordingBoard::sDestroyed, 4);
}

// --- Pictures -----------------------------------------------------------------

TEST_F(ApplicationTest, ImageLayerStandsAtItsLayersOriginAndFailuresMakeNothing)
{
    const fixtures::Bytes png = fixtures::MakePng(4, 2, std::vector<uint32_t>(8, 0xFF112233u));
    const std::string pngBytes(png.begin(), png.end());
    data.Write("ui/layers.xml", "<Layers><Layer name=\"button\" x=\"30\" y=\"40\" width=\"4\" height=\"2\" "
                                "ind=\"1\"/></Layers>");
    data.Write("ui/button.png", pngBytes);
    data.Write("pictures/plain.png", pngBytes);
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    std::unique_ptr<file::ImageContainer> container(file::FileManager::Instance()->OpenImageContainer(L"ui"));
    ASSERT_NE(container, nullptr);

    layer::ImageLayer* made = nullptr;
    base::ImageInfo info;
    ASSERT_EQ(application->CreateImageLayer(L"button", container.get(), &made, &info), HV_OK);
    std::unique_ptr<layer::ImageLayer> owned(made);
    EXPECT_FLOAT_EQ(made->mPosition.x, 30.0f);
    EXPECT_FLOAT_EQ(made->mPosition.y, 40.0f);
    EXPECT_TRUE(made->mHitRectEnabled);
    EXPECT_TRUE(made->OwnsImage());
    EXPECT_FLOAT_EQ(made->GetWidth(), 4.0f);
    EXPECT_FLOAT_EQ(info.x, 30.0f);
    EXPECT_EQ(info.name, L"button");

    layer::ImageLayer* none = nullptr;
    EXPECT_NE(application->CreateImageLayer(L"missing", container.get(), &none, nullptr), HV_OK);
    EXPECT_EQ(none, nullptr);

    std::unique_ptr<render::Image> plain(application->LoadImage(L"pictures/plain", nullptr));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->GetWidth(), 4);
    EXPECT_EQ(application->LoadImage(L"pictures/missing", nullptr), nullptr);
    EXPECT_EQ(application->LoadImage(L"missing", container.get()), nullptr);
}

// --- Display modes --------------------------------------------------------------

class CountingListener : public framework::ScreenModeListener
{
public:
    void OnScreenModeChanged(const bool& windowed) override { seen.push_back(windowed); }
    std::vector<bool> seen;
};

const std::vector<std::wstring> kSwitchLines = {L"mRender->PrepareSwitchScreenMode()\n", L"SwitchWindowMode(false)\n",
                                                L"mRender->SwitchScreenMode()\n", L"mWindow->SetWindowedSize()\n",
                                                L"SwitchWindowMode(true)\n"};

TEST_F(ApplicationTest, AltEnterSwitchesToFullScreenAndBack)
{
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    CountingListener listener;
    framework::ScreenModeListeners::Instance()->Register(&listener);
    ASSERT_EQ(Pump(3), HV_OK);
    ASSERT_TRUE(application->mWindow->mWindowed);
    EXPECT_EQ(application->mTarget, nullptr);

    const HWND hwnd = application->mWindow->GetHandle();
    auto altEnter = [&] {
        Push(testwin::Key(hwnd, true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT));
        Push(testwin::Key(hwnd, true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT));
        Push(testwin::Key(hwnd, false, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT));
        Push(testwin::Key(hwnd, false, SDL_SCANCODE_LALT, SDLK_LALT));
        ASSERT_EQ(Pump(12), HV_OK);
    };
    altEnter();
    EXPECT_EQ(LogLinesAmong(kSwitchLines), (std::vector<std::wstring>{L"mRender->PrepareSwitchScreenMode()\n",
                                                                       L"SwitchWindowMode(false)\n",
                                                                       L"mRender->SwitchScreenMode()\n"}));
    EXPECT_FALSE(application->mWindow->mWindowed);
    ASSERT_NE(application->mTarget, nullptr) << "1080 pixels are taller than the logical height";
    EXPECT_EQ(application->mTarget->GetPixelWidth(), 1365u);
    EXPECT_FLOAT_EQ(application->mTarget->GetMapOffsetX(), 170.5f);
    EXPECT_FLOAT_EQ(application->mTargetDrawX, 960.0f);
    EXPECT_EQ(listener.seen, std::vector<bool>{false});

    frameworktest::LogLines().clear();
    altEnter();
    EXPECT_EQ(LogLinesAmong(kSwitchLines),
              (std::vector<std::wstring>{L"mRender->PrepareSwitchScreenMode()\n", L"mWindow->SetWindowedSize()\n",
                                         L"mRender->SwitchScreenMode()\n", L"SwitchWindowMode(true)\n"}));
    EXPECT_TRUE(application->mWindow->mWindowed);
    EXPECT_EQ(application->mTarget, nullptr);
    EXPECT_EQ(application->mWindow->mWindowWidth, 1366);
    EXPECT_EQ(application->mWindow->mWindowHeight, 798);
    EXPECT_FLOAT_EQ(application->mRender->GetOffsetX(), 171.0f);
    EXPECT_EQ(listener.seen, (std::vector<bool>{false, true}));
    framework::ScreenModeListeners::Instance()->Unregister(&listener);
}

TEST_F(ApplicationTest, AWindowComesBackCentredFromAFullScreenStart)
{
    // The window starting windowed takes: the framed 1366 x 798 centred in the
    // 1920 x 1040 work area below a 40-pixel panel.
    constexpr LONG kLeft = (1920 - 1366) / 2;
    constexpr LONG kTop = 40 + (1040 - 798) / 2 + 30;
    TestApplication::sStartWindowed = false;
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    ASSERT_FALSE(application->mWindow->mWindowed);
    for (int round = 0; round < 2; ++round)
    {
        ASSERT_EQ(application->SwitchScreenMode(), HV_OK);
        ASSERT_TRUE(application->mWindow->mWindowed);
        POINT origin{0, 0};
        ClientToScreen(application->mWindow->GetHandle(), &origin);
        EXPECT_EQ(origin.x, kLeft) << "round " << round;
        EXPECT_EQ(origin.y, kTop) << "round " << round;
        ASSERT_EQ(application->SwitchScreenMode(), HV_OK);
    }
}

TEST_F(ApplicationTest, WindowThatDoesNotFitFallsBackAndASwitchToWindowedDoesNothing)
{
    SupplyMonitor(1366, 768, 728);
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    EXPECT_FALSE(application->mWindow->mWindowed);
    EXPECT_TRUE(application->WindowDoesNotFitWorkArea());
    CountingListener listener;
    framework::ScreenModeListeners::Instance()->Register(&listener);
    frameworktest::LogLines().clear();
    const int width = application->mWindow->mWindowWidth;
    EXPECT_EQ(application->SwitchScreenMode(), HV_OK);
    EXPECT_TRUE(LogLinesAmong(kSwitchLines).empty());
    EXPECT_FALSE(application->mWindow->mWindowed);
    EXPECT_EQ(application->mWindow->mWindowWidth, width);
    EXPECT_TRUE(listener.seen.empty());
    framework::ScreenModeListeners::Instance()->Unregister(&listener);
}

TEST_F(ApplicationTest, FailedResetIsReturnedBySwitchScreenMode)
{
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    d3d9test::FailNextCalls("Reset", 1, E_FAIL);
    EXPECT_NE(application->SwitchScreenMode(), HV_OK);
}

// A full-screen 1920 x 1080 picture: the logical rectangle fills the middle
// 1440 pixels, and a click there reaches the board at logical coordinates.
TEST_F(ApplicationTest, PictureAndPointerAgree)
{
    TestApplication::sStartWindowed = false;
    TestApplication::sFillBoard = true;
    ASSERT_EQ(Start(DataRootArguments()), HV_OK);
    ASSERT_NE(application->mTarget, nullptr);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);
    ASSERT_EQ(application->Frame(0.016f), HV_OK);

    auto* render = static_cast<render::RenderDX9*>(application->mRender);
    std::vector<uint32_t> pixels;
    UINT width = 0, height = 0;
    ASSERT_TRUE(d3d9test::ReadPixels(render->GetBackBuffer(), pixels, width, height));
    ASSERT_EQ(width, 1920u);
    ASSERT_EQ(height, 1080u);
    auto at = [&](int x, int y) { return pixels[size_t(y) * width + size_t(x)] & 0xFFFFFFu; };
    const uint32_t fill = 0xFF00FF;
    for (int y : {2, 540, 1077})
    {
        EXPECT_EQ(at(236, y), 0u) << y;
        EXPECT_EQ(at(244, y), fill) << y;
        EXPECT_EQ(at(1675, y), fill) << y;
        EXPECT_EQ(at(1684, y), 0u) << y;
    }

    const HWND hwnd = application->mWindow->GetHandle();
    Push(testwin::Button(hwnd, true, SDL_BUTTON_LEFT, 960, 540));
    Push(testwin::Button(hwnd, false, SDL_BUTTON_LEFT, 960, 540));
    Events().clear();
    ASSERT_EQ(Pump(4), HV_OK);
    ASSERT_NE(std::find(Events().begin(), Events().end(), "board press 1"), Events().end());
    EXPECT_NEAR(application->mBoard->mLastPress.x, 512.0f, 0.5f);
    EXPECT_NEAR(application->mBoard->mLastPress.y, 384.0f, 0.5f);
}
} // namespace
