#pragma once

// A button as the front end builds one: its own rectangle layer, a mediator
// that logs its state changes and a listener that logs its clicks.
#include "Framework/Widget/Button.h"
#include "Framework/Widget/ButtonListener.h"
#include "Framework/Widget/ButtonMediator.h"
#include "WidgetTestSupport.h"

#include <functional>
#include <string>

namespace widgettest
{
class RecordingMediator : public widget::ButtonMediator
{
public:
    RecordingMediator(Log* log, std::string name) : mLog(log), mName(std::move(name)) {}

    HVResultEnum OnStateChanged(int state) override
    {
        return Note(mLog, mFail, mName, "state", std::to_string(state));
    }

    Log* mLog;
    std::string mName;
    Failures mFail;
};

class RecordingButtonListener : public widget::ButtonListener
{
public:
    RecordingButtonListener(Log* log, std::string name) : mLog(log), mName(std::move(name)) {}

    HVResultEnum OnButtonClick(widget::Button*) override
    {
        ++mClicks;
        if (mOnClick)
            mOnClick();
        return Note(mLog, {}, mName, "click");
    }

    Log* mLog;
    std::string mName;
    int mClicks = 0;
    std::function<void()> mOnClick;
};

// The button's layer covers (x, y)-(x + w, y + h) of its parent layer.
struct TestButton
{
    TestButton(Log* log, const std::string& name, float x, float y, float w, float h)
        : mediator(log, name), clicks(log, name)
    {
        button.SetLayer(new layer::RectHitLayer(x, y, w, h), true, true);
        mediator.Attach(&button);
        button.mLayer->mHitListener = static_cast<widget::WidgetHitTestListener*>(&mediator);
        button.mButtonListener = &clicks;
    }

    widget::Button button;
    RecordingMediator mediator;
    RecordingButtonListener clicks;
};
} // namespace widgettest
