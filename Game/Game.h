#pragma once

#include "Core/Resource/ResourceHandle.h"
#include "Framework/GameApplication.h"
#include "Game/Hud/LevelHud.h"
#include "Game/Units/TMobShader.h"

#include <functional>
#include <memory>

namespace render
{
class PictureDecodePool;
}

class GameWindow;
class NQMap;
class NQSplashScreens;
class NQPlayerVolumes;

// The game's application object: fills the framework's hooks, owns the
// pictures of the side bars and the loading screen and the enemy shader, and
// is everyone's way to the running level.
class Game : public framework::GameApplication
{
public:
    // The enemy shader's folder.
    static constexpr const wchar_t* kMobShaderName = L"nq/Shaders/MobShader/DX/";

    // Where the running level comes from.
    using LevelSource = std::function<NQMap*()>;

    // With the real HUD; the running level is the root board's.
    Game();
    // With the HUD that `makeHud` makes for the level.
    explicit Game(LevelHudFactory makeHud);
    // The running level is what `level` answers (a level built without a root board).
    explicit Game(LevelSource level);
    // Both choices; an empty `level` means the root board's.
    Game(LevelHudFactory makeHud, LevelSource level);
    ~Game() override;

    // The one game, null when none exists.
    static Game* Get() { return sGame; }
    // The running level: null without a game, before InitGame, while the
    // level is being built, and after the root board is gone.
    static NQMap* GetMap();

    HVResultEnum Configure() override;
    HVResultEnum InitGame() override;
    HVResultEnum UpdateGame(float dt) override;
    HVResultEnum DrawBars(render::Graphics* graphics) override;
    void OnActivate() override;
    void OnDeactivate() override;
    HVResultEnum SwitchScreenMode() override;
    HVResultEnum OnScreenModeKey() override;

    HVResultEnum OnKeyDown(int key) override;
    HVResultEnum OnKeyUp(int key) override;
    HVResultEnum OnChar(char32_t character) override;

    // The side pictures beside the 1024-wide play area.
    void DrawSideImages(render::Graphics* graphics);
    // Draws and presents the loading picture at once, as a whole frame.
    HVResultEnum ShowLoadingScreen();
    // The logos shown while the start-up loaded, for the HUD to go on with; null once taken.
    std::unique_ptr<NQSplashScreens> TakeStartupSplash();

    GameWindow* GetRootBoard() const { return mGameWindow; }
    // Null when the shader did not load.
    TMobShader* GetMobShader() const { return mMobShader.Get(); }
    // The root board tells the game it is going, after it deleted its level.
    void OnRootBoardDeleted(GameWindow* board);

    render::Image* mLeftSide = nullptr;
    render::Image* mRightSide = nullptr;
    resource::ResourceHandle<TMobShader> mMobShader;
    render::Image* mLoading = nullptr;
    GameWindow* mGameWindow = nullptr;
    LevelHudFactory mMakeHud;

private:
    // What InitGame loads, the logos kept going meanwhile.
    HVResultEnum LoadGame();
    // Tells the player which data file is damaged (the log, and a message box
    // where a screen can show one), then stops the game with exit code 1.
    HVResultEnum StopOnDamagedData(const std::wstring& name);

    // The start-up's sprite sheets, decoding from the configuration until the level object is built.
    std::unique_ptr<render::PictureDecodePool> mStartupPictures;
    // The logos, advanced by dt and presented as a whole frame while the start-up loads.
    void ShowStartupFrame(float dt);
    std::unique_ptr<NQSplashScreens> mStartupSplash;
    // Reads the running level's progress record for the sound tags.
    NQPlayerVolumes* mVolumes = nullptr;
    LevelSource mLevelSource;

    static inline Game* sGame = nullptr;
};

