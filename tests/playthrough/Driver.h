#pragma once

// Runs the real program under the script: installs the test seams, pushes
// the script's input into SDL's queue once per loop turn, takes screenshots
// at presents, mixes the audio by hand and records every lookup miss.
#include "Layouts.h"
#include "Mapping.h"
#include "Misses.h"
#include "Picture.h"
#include "Probes.h"
#include "Script.h"

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class NQMap;
struct IDirect3DDevice9;

namespace playthrough
{
struct RunConfig
{
    std::string name;         // "first", "return"
    std::string sourceRoot;   // the built data root the run's root reproduces
    std::string dataRoot;     // the root the program is given (a reproduced copy)
    std::string layoutRoot;   // the loose root the harness reads layouts and pictures from
    std::string artifacts;    // this run's artefact folder
    std::string userFolder;   // the program's user-data folder
    double step = 1.0 / 30.0; // virtual seconds per loop turn
    int turnLimit = 15000;
    int firstShot = 1; // the number of the run's first screenshot
};

using Target = std::function<std::optional<Point>()>;

class Driver
{
public:
    explicit Driver(RunConfig config);
    ~Driver();

    Script& GetScript() { return mScript; }
    const RunConfig& Config() const { return mConfig; }

    // In the program's process: installs the seams, runs the program's entry,
    // removes the seams and records the script's outcome and the misses. 0
    // when the script finished, the program answered 0 and no miss was unexpected.
    int RunProgram(int argc, char** argv);
    // In the parent, once the program's process has ended (with `status` as
    // waitpid gives it): the after-exit checks and the artefacts. The test's exit code.
    int CheckAfterExit(int status);

    // Vocabulary of the script.
    void WaitState(const std::string& name, int state, int turnLimit = kDefaultTurnLimit);
    void WaitTurns(const std::string& name, int turns) { mScript.WaitTurns(name, turns); }
    void Click(const std::string& name, Target target, int turnLimit = kDefaultTurnLimit);
    // Taps `target` again and again (press, hold, release) until `done` holds.
    void TapUntil(const std::string& name, Target target, std::function<bool()> done,
                  int turnLimit = kDefaultTurnLimit);
    void ClickLayer(const std::string& name, const std::string& image, const std::string& layer);
    void Press(const std::string& name, Target target);
    void DragTo(const std::string& name, Target target);
    void Release(const std::string& name);
    void Type(const std::string& name, const std::string& text);
    void Key(const std::string& name, SDL_Keycode key);
    // One key event now (for steps of their own).
    void PushKey(SDL_Keycode key, bool down);
    void Focus(const std::string& name, bool gained);
    // The window's close button.
    void CloseWindow(const std::string& name);
    // Saves "NN_name.png" and checks it: not uniform, not the previous one,
    // and, when probes are given, at least three of them matching.
    void Screenshot(const std::string& name, std::function<std::vector<Probe>()> probes = {});
    // Says in the log and on the console which stages the script does not play yet.
    void NotPlayed(const std::string& stages);
    // After the program has exited.
    void AfterExit(const std::string& name, std::function<bool(std::string& why)> check);

    // State, read only.
    static NQMap* Map();
    static int ScreenState();
    std::optional<DisplayMapping> Mapping() const;
    std::optional<Point> LayerCentre(const std::string& image, const std::string& layer) const;
    // RMS of the mixed output over the last whole second (0 before one).
    float LastSecondRms() const;
    const std::vector<float>& RmsPerSecond() const { return mRmsPerSecond; }
    const std::vector<std::wstring>& MusicStarted() const { return mMusic; }
    MissLog& Misses() { return mMisses; }
    std::string ProfilesPath() const;
    std::string LogPath() const;

    static const std::vector<AllowedMiss>& AllowedMisses();

private:
    void InstallSeams();
    void RemoveSeams();
    void OnTurn();
    void OnPresent(IDirect3DDevice9* device);
    void MixAudio();
    void FinishScreenshot();
    void LogLine(const std::string& step);
    void RequestQuit();
    uint32_t WindowId() const;
    bool PushButton(bool down, const Point& window);
    void PushMotion(const Point& window, uint32_t buttons);
    std::optional<Point> ToWindowPoint(const Target& target) const;

    RunConfig mConfig;
    Script mScript;
    MissLog mMisses;
    std::ofstream mStepsLog;
    std::chrono::steady_clock::time_point mWallStart;

    int64_t mClockReads = 0;
    bool mClockRead = false;
    int mWorkId = 0;

    // Screenshots.
    bool mCaptureWanted = false;
    Picture mCaptured;
    Picture mPrevious;
    int mShotNumber = 0;
    std::string mFailShot; // a failure waiting for its screenshot
    int mFailShotWait = 0;

    // Input.
    uint32_t mLastPressTick = UINT32_MAX;
    Point mPointer;
    bool mButtonHeld = false;

    // Audio.
    std::vector<float> mMixBuffer;
    double mSquares = 0.0;
    uint64_t mSamples = 0;
    double mFrameDebt = 0.0;
    std::vector<float> mRmsPerSecond;
    std::vector<std::wstring> mMusic;

    bool mQuitPushed = false;
    std::vector<std::pair<std::string, std::function<bool(std::string&)>>> mAfterExit;
};
} // namespace playthrough
