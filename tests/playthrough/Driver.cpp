#include "Driver.h"

#include "Core/Base/LookupMiss.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Sound/SoundTags.h"
#include "Framework/GameWindow.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Platform/Bass/StandIn.h"
#include "Platform/D3D9/TestSupport.h"
#include "Platform/Win32/Clock.h"
#include "Platform/Win32/CommandLine.h"
#include "Platform/Win32/Messages.h"
#include "Platform/Win32/Module.h"
#include "Platform/Win32/WinMain.h"
#include "Platform/Win32/Window.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <sstream>

#include <sys/wait.h>

namespace playthrough
{
namespace
{
constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;
// Turns between a button's press and its release.
constexpr int kClickHoldTurns = 2;
// A screenshot this flat shows nothing.
constexpr float kUniformDeviation = 4.0f;
// Of the probes picked, at least this many must match.
constexpr int kProbesToMatch = 3;
constexpr int kStateBeforeGame = -2;
constexpr int kShowWindowDefault = 10;
// The program's process leaves its failures here for the parent.
constexpr const char* kOutcomeFile = "outcome.txt";

Driver* sDriver = nullptr;

void OnLookupMiss(base::LookupMissKind kind, const std::wstring& name)
{
    if (sDriver)
        sDriver->Misses().Record(kind, name, sDriver->GetScript().Turns());
}

std::string TwoDigits(int number)
{
    std::ostringstream out;
    out << std::setw(2) << std::setfill('0') << number;
    return out.str();
}
} // namespace

Driver::Driver(RunConfig config)
    : mConfig(std::move(config)),
      mScript({[this](const std::string& step, const std::string&) { mFailShot = step; },
               [this](const std::string& step) { LogLine(step); }}),
      mMisses(AllowedMisses(), {{base::LookupMissKind::LayerPicture,
                                 [root = mConfig.layoutRoot](const std::wstring& name) {
                                     return IsRectangleLayer(root, base::WideToUtf8(name));
                                 },
                                 "rectangles (button positions, text places, markers), which loaders "
                                 "still try as pictures"}})
{
    mShotNumber = mConfig.firstShot - 1;
    sDriver = this;
}

Driver::~Driver() { sDriver = nullptr; }

const std::vector<AllowedMiss>& Driver::AllowedMisses()
{
    static const std::vector<AllowedMiss> allowed = {
        {base::LookupMissKind::File, L"profiles.xml", "no profile is stored at the first start"},
    };
    return allowed;
}

NQMap* Driver::Map() { return Game::Get() ? Game::GetMap() : nullptr; }

int Driver::ScreenState()
{
    const NQMap* map = Map();
    return map ? map->mScreenState : kStateBeforeGame;
}

std::optional<DisplayMapping> Driver::Mapping() const
{
    const Game* game = Game::Get();
    if (!game)
        return std::nullopt;
    return DisplayMapping{game->mScreenToLogicalScaleX, game->mScreenToLogicalScaleY, game->mScreenToLogicalOffsetX,
                          game->mScreenToLogicalOffsetY};
}

std::optional<Point> Driver::LayerCentre(const std::string& image, const std::string& layer) const
{
    const std::optional<Rect> rect = FindLayerRect(ReadLayout(mConfig.layoutRoot, image), layer);
    if (!rect)
        return std::nullopt;
    return Centre(*rect);
}

std::string Driver::ProfilesPath() const { return mConfig.userFolder + "/profiles.xml"; }
std::string Driver::LogPath() const { return mConfig.userFolder + "/log.html"; }

uint32_t Driver::WindowId() const
{
    const Game* game = Game::Get();
    if (!game || !game->mWindow || !game->mWindow->GetHandle())
        return 0;
    return SDL_GetWindowID(game->mWindow->GetHandle()->sdlWindow);
}

std::optional<Point> Driver::ToWindowPoint(const Target& target) const
{
    const std::optional<DisplayMapping> mapping = Mapping();
    const std::optional<Point> logical = target ? target() : std::nullopt;
    if (!mapping || !logical)
        return std::nullopt;
    return ToWindow(*mapping, *logical);
}

void Driver::PushMotion(const Point& window, uint32_t buttons)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = WindowId();
    event.motion.x = int(std::lround(window.x));
    event.motion.y = int(std::lround(window.y));
    event.motion.xrel = event.motion.x - int(std::lround(mPointer.x));
    event.motion.yrel = event.motion.y - int(std::lround(mPointer.y));
    event.motion.state = buttons;
    SDL_PushEvent(&event);
    mPointer = window;
}

bool Driver::PushButton(bool down, const Point& window)
{
    // Two presses in the same millisecond tick pair into a double click even
    // with the double-click time at 0.
    if (down && SDL_GetTicks() == mLastPressTick)
        return false;
    // A release where the pointer already is comes without a motion: one
    // would start a drag on screens that drag.
    if (down || std::lround(window.x) != std::lround(mPointer.x) || std::lround(window.y) != std::lround(mPointer.y))
        PushMotion(window, mButtonHeld ? SDL_BUTTON_LMASK : 0);
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = WindowId();
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = int(std::lround(window.x));
    event.button.y = int(std::lround(window.y));
    SDL_PushEvent(&event);
    if (down)
        mLastPressTick = SDL_GetTicks();
    mButtonHeld = down;
    return true;
}

void Driver::WaitState(const std::string& name, int state, int turnLimit)
{
    mScript.WaitUntil(name, [state] { return ScreenState() == state; }, turnLimit);
}

void Driver::Press(const std::string& name, Target target)
{
    mScript.Add(name + ": press", [this, target] {
        const std::optional<Point> window = ToWindowPoint(target);
        if (!window || !WindowId())
            return StepResult::Pending();
        return PushButton(true, *window) ? StepResult::Done() : StepResult::Pending();
    });
}

void Driver::DragTo(const std::string& name, Target target)
{
    mScript.Add(name + ": drag", [this, target] {
        const std::optional<Point> window = ToWindowPoint(target);
        if (!window)
            return StepResult::Pending();
        PushMotion(*window, SDL_BUTTON_LMASK);
        return StepResult::Done();
    });
}

void Driver::Release(const std::string& name)
{
    mScript.WaitTurns(name + ": hold", kClickHoldTurns);
    mScript.Add(name + ": release", [this] {
        PushButton(false, mPointer);
        return StepResult::Done();
    });
}

void Driver::Click(const std::string& name, Target target, int turnLimit)
{
    mScript.Add(name + ": press", [this, target] {
        const std::optional<Point> window = ToWindowPoint(target);
        if (!window || !WindowId())
            return StepResult::Pending();
        return PushButton(true, *window) ? StepResult::Done() : StepResult::Pending();
    }, turnLimit);
    Release(name);
}

void Driver::TapUntil(const std::string& name, Target target, std::function<bool()> done, int turnLimit)
{
    mScript.Add(name, [this, target, done, held = 0]() mutable {
        if (held == 0 && done())
            return StepResult::Done();
        const std::optional<Point> window = ToWindowPoint(target);
        if (!window || !WindowId())
            return StepResult::Pending();
        if (held == 0)
            held = PushButton(true, *window) ? 1 : 0;
        else if (++held > kClickHoldTurns)
        {
            PushButton(false, *window);
            held = 0;
        }
        return StepResult::Pending();
    }, turnLimit);
}

void Driver::ClickLayer(const std::string& name, const std::string& image, const std::string& layer)
{
    Click(name, [this, image, layer] { return LayerCentre(image, layer); });
}

void Driver::PushKey(SDL_Keycode key, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = WindowId();
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&event);
}

void Driver::Key(const std::string& name, SDL_Keycode key)
{
    mScript.Do(name + ": key down", [this, key] { PushKey(key, true); });
    mScript.Do(name + ": key up", [this, key] { PushKey(key, false); });
}

void Driver::Type(const std::string& name, const std::string& text)
{
    for (char c : text)
    {
        const std::string one(1, c);
        mScript.Do(name + ": '" + one + "' down", [this, c] {
            const SDL_Keycode key = SDL_Keycode(std::tolower(static_cast<unsigned char>(c)));
            SDL_Event down{};
            down.type = SDL_KEYDOWN;
            down.key.windowID = WindowId();
            down.key.state = SDL_PRESSED;
            down.key.keysym.sym = key;
            down.key.keysym.scancode = SDL_GetScancodeFromKey(key);
            down.key.keysym.mod = std::isupper(static_cast<unsigned char>(c)) ? KMOD_LSHIFT : KMOD_NONE;
            SDL_PushEvent(&down);
            // The character rides on its key-down, so it follows it at once.
            SDL_Event text{};
            text.type = SDL_TEXTINPUT;
            text.text.windowID = WindowId();
            text.text.text[0] = c;
            SDL_PushEvent(&text);
        });
        mScript.Do(name + ": '" + one + "' up", [this, c] {
            const SDL_Keycode key = SDL_Keycode(std::tolower(static_cast<unsigned char>(c)));
            SDL_Event up{};
            up.type = SDL_KEYUP;
            up.key.windowID = WindowId();
            up.key.state = SDL_RELEASED;
            up.key.keysym.sym = key;
            up.key.keysym.scancode = SDL_GetScancodeFromKey(key);
            SDL_PushEvent(&up);
        });
    }
}

void Driver::Focus(const std::string& name, bool gained)
{
    mScript.Do(name, [this, gained] {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = WindowId();
        event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
        SDL_PushEvent(&event);
    });
}

void Driver::CloseWindow(const std::string& name)
{
    mScript.Do(name, [this] {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = WindowId();
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        SDL_PushEvent(&event);
    });
}

void Driver::Screenshot(const std::string& name, std::function<std::vector<Probe>()> probes)
{
    const int number = ++mShotNumber;
    mScript.Do("screenshot " + name + ": request", [this] {
        mCaptured = {};
        mCaptureWanted = true;
    });
    mScript.Add("screenshot " + name, [this, number, name, probes] {
        if (mCaptured.Empty())
            return StepResult::Pending();
        mCaptureWanted = false;
        const Picture shot = std::move(mCaptured);
        mCaptured = {};
        const std::string file = mConfig.artifacts + "/" + TwoDigits(number) + "_" + FileSafe(name) + ".png";
        if (!SavePng(shot, file))
            return StepResult::Fail("cannot write " + file);
        if (GreyDeviation(shot) <= kUniformDeviation)
            return StepResult::Fail("the picture is uniform");
        if (!mPrevious.Empty() && !Differs(shot, mPrevious))
            return StepResult::Fail("the picture is the previous screenshot again");
        mPrevious = shot;
        if (probes)
        {
            const std::vector<Probe> chosen = probes();
            const std::optional<DisplayMapping> mapping = Mapping();
            const int matching = mapping ? MatchingProbes(shot, *mapping, chosen) : 0;
            const int needed = std::min(kProbesToMatch, int(chosen.size()));
            const std::string count = std::to_string(matching) + " of " + std::to_string(chosen.size()) +
                                      " probes match the content's picture";
            if (chosen.empty() || matching < needed)
                return StepResult::Fail(count);
            LogLine("screenshot " + name + ": " + count);
        }
        return StepResult::Done();
    });
}

void Driver::NotPlayed(const std::string& stages)
{
    mScript.Do("not played yet: " + stages, [this, stages] {
        std::fprintf(stderr, "playthrough %s: not played yet: %s\n", mConfig.name.c_str(), stages.c_str());
    });
}

void Driver::AfterExit(const std::string& name, std::function<bool(std::string& why)> check)
{
    mAfterExit.emplace_back(name, std::move(check));
}

float Driver::LastSecondRms() const { return mRmsPerSecond.empty() ? 0.0f : mRmsPerSecond.back(); }

void Driver::LogLine(const std::string& step)
{
    if (!mStepsLog)
        return;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - mWallStart).count();
    mStepsLog << mScript.Turns() << '\t' << std::fixed << std::setprecision(3) << mScript.Turns() * mConfig.step
              << '\t' << wall << '\t' << ScreenState() << '\t' << step << '\n';
    mStepsLog.flush();
}

void Driver::RequestQuit()
{
    if (mQuitPushed)
        return;
    mQuitPushed = true;
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void Driver::MixAudio()
{
    mFrameDebt += mConfig.step * double(bass::kRate);
    const uint32_t frames = uint32_t(mFrameDebt);
    mFrameDebt -= double(frames);
    if (frames == 0)
        return;
    mMixBuffer.assign(size_t(frames) * 2, 0.0f);
    bass::MixFrames(mMixBuffer.data(), frames);
    for (float sample : mMixBuffer)
        mSquares += double(sample) * double(sample);
    mSamples += frames;
    if (mSamples < bass::kRate)
        return;
    mRmsPerSecond.push_back(float(std::sqrt(mSquares / double(mSamples * 2))));
    mSquares = 0.0;
    mSamples = 0;
}

void Driver::OnPresent(IDirect3DDevice9*)
{
    if (!mCaptureWanted && mFailShot.empty())
        return;
    const Game* game = Game::Get();
    auto* render = game ? dynamic_cast<render::RenderDX9*>(game->mRender) : nullptr;
    if (!render || !render->GetBackBuffer())
        return;
    // Every present of the turn overwrites it: the last is the normal frame,
    // after any loading screen presented inside the update.
    Picture picture;
    if (d3d9test::ReadPixels(render->GetBackBuffer(), picture.argb, picture.width, picture.height))
        mCaptured = std::move(picture);
}

void Driver::OnTurn()
{
    MixAudio();
    if (!mFailShot.empty())
    {
        if (!mCaptured.Empty())
        {
            SaveFailureShot(mConfig.artifacts, mFailShot, mCaptured);
            mCaptured = {};
            mFailShot.clear();
            LogLine("FAIL: " + mScript.Failure());
            RequestQuit();
        }
        else if (++mFailShotWait > kDefaultTurnLimit)
        {
            // No frame comes (a lost device): the failure goes without its picture.
            mFailShot.clear();
            LogLine("FAIL: " + mScript.Failure());
            RequestQuit();
        }
        return;
    }
    if (mScript.Failed())
        return RequestQuit();
    if (mScript.Turns() >= mConfig.turnLimit)
        return mScript.Abort("the run's limit of " + std::to_string(mConfig.turnLimit) + " turns");
    mScript.Turn();
}

void Driver::InstallSeams()
{
    bass::UseManualOutput();
    win32::SetDoubleClickTime(0);
    base::SetLookupMissObserver(&OnLookupMiss);
    k2::testing::SetSoundTagObserver(
        {[this](const std::wstring& tag, bool found) {
             if (!found)
                 mMisses.Record(base::LookupMissKind::SoundTag, tag, mScript.Turns());
         },
         [this](const std::wstring& path) { mMusic.push_back(path); }});
    d3d9test::SetPresentObserver([this](IDirect3DDevice9* device) { OnPresent(device); });
    const int64_t stepNs = int64_t(std::llround(mConfig.step * double(kNanosecondsPerSecond)));
    win32::testing::SetPerformanceCounterHook([this, stepNs] {
        mClockRead = true;
        return LONGLONG(mClockReads++ * stepNs);
    });
    // The first run of the work list after each reading of the clock is the
    // window's pump of that turn.
    mWorkId = win32::AddMainThreadWork([this] {
        if (!mClockRead)
            return;
        mClockRead = false;
        OnTurn();
    });
}

void Driver::RemoveSeams()
{
    win32::RemoveMainThreadWork(mWorkId);
    win32::testing::SetPerformanceCounterHook({});
    d3d9test::SetPresentObserver({});
    k2::testing::SetSoundTagObserver({});
    base::SetLookupMissObserver(nullptr);
}

int Driver::RunProgram(int argc, char** argv)
{
    std::filesystem::create_directories(mConfig.artifacts);
    mStepsLog.open(mConfig.artifacts + "/steps.log", std::ios::trunc);
    mStepsLog << "turn\tvirtual\twall\tstate\tstep\n";
    mWallStart = std::chrono::steady_clock::now();
    InstallSeams();

    // The program's own argument list: the data root, nothing else.
    std::vector<std::string> arguments = {argc > 0 ? argv[0] : "playthrough", "--data_path", mConfig.dataRoot};
    win32::SetProcessArguments(arguments);
    static char emptyCommandLine[] = "";
    const int exitCode = WinMain(reinterpret_cast<HINSTANCE>(GetModuleHandleW(nullptr)), nullptr, emptyCommandLine,
                                 kShowWindowDefault);
    RemoveSeams();
    LogLine("exit " + std::to_string(exitCode));

    std::string failures;
    if (mScript.Failed())
        failures += mScript.Failure() + "\n";
    else if (!mScript.Finished())
        failures += "the program ended at step '" + mScript.CurrentStep() + "'\n";
    if (exitCode != 0)
        failures += "the program's exit code is " + std::to_string(exitCode) + "\n";
    std::ofstream(mConfig.artifacts + "/misses.txt", std::ios::trunc) << mMisses.Describe();
    for (const Miss& miss : mMisses.Unexpected())
        failures += "unexpected lookup miss: " + base::WideToUtf8(base::LookupMissKindName(miss.kind)) + " " +
                    base::WideToUtf8(miss.name) + "\n";
    std::ofstream(mConfig.artifacts + "/" + kOutcomeFile, std::ios::trunc) << failures;
    std::fprintf(stderr, "playthrough %s: %d turns, %.1f s\n", mConfig.name.c_str(), mScript.Turns(),
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - mWallStart).count());
    return failures.empty() ? 0 : 1;
}

int Driver::CheckAfterExit(int status)
{
    bool ok = true;
    auto fail = [&](const std::string& why) {
        ok = false;
        std::fprintf(stderr, "playthrough %s: %s\n", mConfig.name.c_str(), why.c_str());
    };
    std::ifstream outcome(mConfig.artifacts + "/" + kOutcomeFile);
    for (std::string line; std::getline(outcome, line);)
        fail(line);
    if (!WIFEXITED(status))
        fail("the program's process ended by signal " + std::to_string(WTERMSIG(status)));
    else if (WEXITSTATUS(status) != 0 && ok)
        fail("the program's process exited with " + std::to_string(WEXITSTATUS(status)));
    for (auto& [name, check] : mAfterExit)
    {
        std::string why;
        if (!check(why))
            fail("after exit, " + name + ": " + why);
    }
    std::error_code ignored;
    std::filesystem::copy_file(ProfilesPath(), mConfig.artifacts + "/profiles.xml",
                               std::filesystem::copy_options::overwrite_existing, ignored);
    std::filesystem::copy_file(LogPath(), mConfig.artifacts + "/log.html",
                               std::filesystem::copy_options::overwrite_existing, ignored);
    std::fprintf(stderr, "playthrough %s: %s, artefacts in %s\n", mConfig.name.c_str(), ok ? "passed" : "FAILED",
                 mConfig.artifacts.c_str());
    return ok ? 0 : 1;
}
} // namespace playthrough
