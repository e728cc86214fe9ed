#pragma once

#include "Core/App/Application.h"
#include "Core/App/Win32/MonitorList.h"
#include "Core/Base/DeferredDelete.h"
#include "Core/Input/CoordConverter.h"
#include "Core/Input/InputListener.h"
#include "Framework/DisplaySettings.h"

#include <tinyxml2.h>

#include <cstdint>
#include <functional>
#include <string>

namespace base
{
class ImageInfo;
}
namespace file
{
class ImageContainer;
}
namespace input
{
class InputWin32;
}
namespace layer
{
class ImageLayer;
}
namespace render
{
class Graphics;
class Image;
class Render;
class RenderTarget;
}
namespace widget
{
class BaseBoard;
class FrameManager;
}

namespace framework
{
class GameWindow;

// The engine's base for a game: starts the program in a fixed order, runs one
// frame per turn of its window and fits the logical screen to the display.
class GameApplication : public app::Application,
                        public input::InputListener,
                        public input::CoordConverter,
                        public base::DeferredDeleteManager
{
public:
    struct Rect
    {
        float x = 0.0f;
        float y = 0.0f;
        float width = 0.0f;
        float height = 0.0f;
    };

    GameApplication();
    ~GameApplication() override;

    // The application the game window serves; null when none exists.
    static GameApplication* Current() { return sCurrent; }

    HVResultEnum Init() override;
    virtual HVResultEnum DrawBars(render::Graphics* graphics);
    virtual HVResultEnum Frame(float dt);
    // The drawing half of a frame: clear, the screen's content (into the
    // offscreen target when there is one), bars, present and replay.
    HVResultEnum DrawFrame(const std::function<HVResultEnum(render::Graphics*)>& drawScreen);
    virtual void OnActivate();
    virtual void OnDeactivate();
    virtual HVResultEnum SwitchScreenMode();
    // Alt+Enter: the switch; a game may say why it cannot switch.
    virtual HVResultEnum OnScreenModeKey();
    virtual HVResultEnum InitGame() = 0;
    virtual HVResultEnum UpdateGame(float dt) = 0;
    // Runs before the window exists.
    virtual HVResultEnum Configure();

    // Input, already in logical coordinates.
    HVResultEnum OnMouseDown(const input::Point& position, int button) override;
    HVResultEnum OnMouseUp(const input::Point& position, int button) override;
    HVResultEnum OnDoubleClick(const input::Point& position, int button) override;
    HVResultEnum OnMouseMove(const input::Point& position) override;
    HVResultEnum OnMouseDrag(const input::Point& position) override;
    HVResultEnum OnMouseWheel(const input::Point& position, int delta) override;
    HVResultEnum OnMouseLeave(const input::Point& position) override;
    HVResultEnum OnKeyDown(int key) override;
    HVResultEnum OnKeyUp(int key) override;
    HVResultEnum OnChar(char32_t character) override;
    HVResultEnum OnPointerDown(const input::PointerRecord& pointer) override;
    HVResultEnum OnPointerMove(const input::PointerRecord& pointer) override;
    HVResultEnum OnPointerUp(const input::PointerRecord& pointer) override;
    HVResultEnum OnPointerCancel(const input::PointerRecord& pointer) override;

    void ToLogical(input::Point& out, const input::Point& windowPoint) override;
    void ApplyOrientation(input::Point& out, const input::Point& point, int orientation) override;

    // A picture by name, or a layer of the container; null when it cannot be loaded.
    render::Image* LoadImage(const std::wstring& name, file::ImageContainer* container);
    // Creates nothing when the picture cannot be loaded.
    HVResultEnum CreateImageLayer(const std::wstring& name, file::ImageContainer* container, layer::ImageLayer** out,
                                  base::ImageInfo* info);
    HVResultEnum SetRootBoard(widget::BaseBoard* board);

    // Display modes.
    HVResultEnum ChooseDisplayMode(bool windowed, DisplaySettings& settings);
    HVResultEnum CreateRenderTarget(const DisplaySettings& settings);
    // Whether a window of the maximum client size does not fit the primary
    // monitor's work area.
    bool WindowDoesNotFitWorkArea();
    void NotifyScreenModeListeners(const bool& windowed);

    // The monitor the display decision uses: the primary, else the first; a
    // synthetic 1366 x 768 one when there is none or it has no area.
    app::MonitorInfo ChooseMonitor() const;

    // The window's windowed flag; true before the window exists.
    bool IsWindowed() const;
    // The visible part of the logical plane.
    Rect GetLogicalScreenRect() const { return {mViewportX, mViewportY, mViewportWidth, mViewportHeight}; }

    GameWindow* mWindow = nullptr;
    render::Render* mRender = nullptr;
    widget::FrameManager* mFrameManager = nullptr;
    input::InputWin32* mInput = nullptr;
    std::wstring mPublisher;
    std::wstring mTitle;
    std::wstring mCaption;
    uint32_t mLogicalWidth = 0;
    uint32_t mLogicalHeight = 0;
    uint32_t mMaxLogicalWidth = 0;
    uint8_t mWindowed = 1;
    app::MonitorList mMonitors;
    float mScreenToLogicalScaleX = 1.0f;
    float mScreenToLogicalScaleY = 1.0f;
    float mScreenToLogicalOffsetX = 0.0f;
    float mScreenToLogicalOffsetY = 0.0f;
    tinyxml2::XMLDocument mConfig{true};
    render::RenderTarget* mTarget = nullptr;
    float mTargetDrawScaleX = 1.0f;
    float mTargetDrawScaleY = 1.0f;
    float mTargetDrawX = 0.0f;
    float mTargetDrawY = 0.0f;
    float mViewportX = 0.0f;
    float mViewportY = 0.0f;
    float mViewportWidth = 0.0f;
    float mViewportHeight = 0.0f;
    float mLayoutX = 0.0f;
    float mLayoutY = 0.0f;
    float mLayoutWidth = 0.0f;
    float mLayoutHeight = 0.0f;
    uint8_t mPillarboxAllowed = 1;
    uint8_t mBarsActive = 0;
    uint8_t mBarsVertical = 0;
    Rect mBars[2];
    widget::BaseBoard* mRootBoard = nullptr;
    // The root board was opened through the frame manager, which then owns it;
    // one whose Load failed is owned here until it is replaced.
    bool mRootBoardOpened = false;

private:
    // Data root, user-data folder and log; 1 for a malformed "--data_path".
    HVResultEnum InitFolders();
    // The pack-builder start: a failure is logged, printed once to standard
    // error and stops the application with exit code 1.
    HVResultEnum InitPackMode();
    HVResultEnum FailPackMode(const std::wstring& reason);
    // "data/game.xml" into the kept document; a missing or broken file is no error.
    HVResultEnum LoadConfiguration();
    void ReleaseTarget();

    static inline GameApplication* sCurrent = nullptr;
};
} // namespace framework
