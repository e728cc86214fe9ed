#include "Script.h"

#include <memory>

namespace playthrough
{
void Script::Add(std::string name, std::function<StepResult()> act, int turnLimit)
{
    mSteps.push_back({std::move(name), std::move(act), turnLimit});
}

void Script::WaitUntil(std::string name, std::function<bool()> condition, int turnLimit)
{
    Add(std::move(name), [condition = std::move(condition)] {
        return condition() ? StepResult::Done() : StepResult::Pending();
    }, turnLimit);
}

void Script::WaitTurns(std::string name, int turns)
{
    auto left = std::make_shared<int>(turns);
    Add(std::move(name), [left] { return --*left <= 0 ? StepResult::Done() : StepResult::Pending(); }, turns + 1);
}

void Script::Check(std::string name, std::function<bool(std::string& why)> check)
{
    Add(std::move(name), [check = std::move(check)] {
        std::string why;
        return check(why) ? StepResult::Done() : StepResult::Fail(why);
    });
}

void Script::Do(std::string name, std::function<void()> action)
{
    Add(std::move(name), [action = std::move(action)] {
        action();
        return StepResult::Done();
    });
}

const std::string& Script::CurrentStep() const
{
    static const std::string none;
    return mNext < mSteps.size() ? mSteps[mNext].name : none;
}

void Script::Turn()
{
    ++mTurns;
    if (Finished())
        return;
    Step& step = mSteps[mNext];
    ++mStepTurns;
    const StepResult result = step.act();
    if (result.status == StepStatus::Failed)
        return Fail(step.name, result.message);
    if (result.status == StepStatus::Done)
    {
        if (mHooks.onDone)
            mHooks.onDone(step.name);
        ++mNext;
        mStepTurns = 0;
        return;
    }
    if (mStepTurns >= step.turnLimit)
        Fail(step.name, "no result within " + std::to_string(step.turnLimit) + " turns");
}

void Script::Fail(const std::string& step, const std::string& why)
{
    mFailure = "step '" + step + "' failed: " + why;
    if (mHooks.onFail)
        mHooks.onFail(step, why);
}
} // namespace playthrough
