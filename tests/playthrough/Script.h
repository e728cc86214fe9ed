#pragma once

// The script: steps run one per loop turn, each until it is done, each with
// a turn limit. A step that fails or runs out of turns stops the script.
#include <functional>
#include <string>
#include <vector>

namespace playthrough
{
enum class StepStatus
{
    Pending, // try again next turn
    Done,
    Failed,
};

struct StepResult
{
    StepStatus status = StepStatus::Done;
    std::string message;

    static StepResult Pending() { return {StepStatus::Pending, {}}; }
    static StepResult Done() { return {StepStatus::Done, {}}; }
    static StepResult Fail(std::string why) { return {StepStatus::Failed, std::move(why)}; }
};

constexpr int kDefaultTurnLimit = 600;

class Script
{
public:
    struct Hooks
    {
        // A step failed: save its "FAIL_" screenshot and the state log.
        std::function<void(const std::string& step, const std::string& why)> onFail;
        // A step finished.
        std::function<void(const std::string& step)> onDone;
    };

    explicit Script(Hooks hooks) : mHooks(std::move(hooks)) {}

    // The general step: `act` runs once per turn until it answers Done or Failed.
    void Add(std::string name, std::function<StepResult()> act, int turnLimit = kDefaultTurnLimit);
    // Done once `condition` holds.
    void WaitUntil(std::string name, std::function<bool()> condition, int turnLimit = kDefaultTurnLimit);
    // Done after `turns` turns.
    void WaitTurns(std::string name, int turns);
    // Runs `action` once; a false answer fails the step with `why`.
    void Check(std::string name, std::function<bool(std::string& why)> check);
    void Do(std::string name, std::function<void()> action);

    // Fails the current step from outside (the run's own turn limit).
    void Abort(const std::string& why) { Fail(CurrentStep(), why); }

    // One loop turn.
    void Turn();

    bool Finished() const { return mNext >= mSteps.size() || Failed(); }
    bool Failed() const { return !mFailure.empty(); }
    const std::string& Failure() const { return mFailure; }
    const std::string& CurrentStep() const;
    int Turns() const { return mTurns; }

private:
    struct Step
    {
        std::string name;
        std::function<StepResult()> act;
        int turnLimit = kDefaultTurnLimit;
    };

    void Fail(const std::string& step, const std::string& why);

    Hooks mHooks;
    std::vector<Step> mSteps;
    size_t mNext = 0;
    int mStepTurns = 0;
    int mTurns = 0;
    std::string mFailure;
};
} // namespace playthrough
