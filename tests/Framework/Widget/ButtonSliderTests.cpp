#include "Framework/Widget/Slider.h"
#include "ButtonTestSupport.h"

#include <gtest/gtest.h>

namespace
{
using namespace widgettest;

// A board covering (0, 0)-(400, 400) with a group widget holding one
// button at (100, 100)-(150, 120).
struct ButtonScene
{
    ButtonScene() : board(&log, "F", 0, 0, 400, 400), group(&log, "G"), b(&log, "B", 100, 100, 50, 20)
    {
        board.AddChild(group.self, nullptr);
        group.self->AddChild(&b.button, nullptr);
        manager.OpenFrame(&board, false, true, false);
        log.clear();
    }
    ~ButtonScene()
    {
        manager.CloseAll(false, false);
        group.self->RemoveChild(&b.button, true);
        board.RemoveChild(group.self, true);
    }

    Log log;
    widget::FrameManager manager;
    RecordingBoard board;
    TestWidget group;
    TestButton b;
};

TEST(Button, StatesAndClicksThroughTheFrameManager)
{
    enum Op
    {
        Move,
        Down,
        Drag,
        Up,
        Disable,
        Enable
    };
    struct Step
    {
        Op op;
        bool onButton;
    };
    struct Case
    {
        const char* name;
        std::vector<Step> steps;
        int state;
        int clicks;
        Log states;
    };
    const Case cases[] = {
        {"press, release", {{Move, true}, {Down, true}, {Up, true}}, 1, 1, {"B state 1", "B state 2", "B state 1"}},
        {"press, drag off, release",
         {{Move, true}, {Down, true}, {Drag, false}, {Up, false}},
         0,
         0,
         {"B state 1", "B state 2", "B state 0"}},
        {"press, drag off and back, release",
         {{Move, true}, {Down, true}, {Drag, false}, {Drag, true}, {Up, true}},
         1,
         1,
         {"B state 1", "B state 2", "B state 0", "B state 2", "B state 1"}},
        {"right button", {{Move, true}, {Down, true}, {Up, true}}, 1, 1, {"B state 1", "B state 2", "B state 1"}},
        {"hover on a disabled button", {{Disable, false}, {Move, true}, {Down, true}, {Up, true}}, 0, 0, {}},
        {"enabling it while hovered", {{Disable, false}, {Move, true}, {Enable, false}}, 1, 0, {"B state 1"}},
        {"disabling it while hovered", {{Move, true}, {Disable, false}}, 0, 0, {"B state 1", "B state 0"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ButtonScene s;
        const int button = std::string(c.name) == "right button" ? 3 : 1;
        for (const Step& step : c.steps)
        {
            const input::Point p = step.onButton ? At(120, 110) : At(300, 300);
            HVResultEnum result = HV_OK;
            switch (step.op)
            {
            case Move: result = s.manager.OnMouseMove(p); break;
            case Down: result = s.manager.OnMouseDown(p, button); break;
            case Drag: result = s.manager.OnMouseDrag(p); break;
            case Up: result = s.manager.OnMouseUp(p, button); break;
            case Disable: result = s.group.self->SetDisabled(true); break;
            case Enable: result = s.group.self->SetDisabled(false); break;
            }
            EXPECT_EQ(result, HV_OK);
        }
        EXPECT_EQ(s.b.button.mVisualState, c.state);
        EXPECT_EQ(s.b.clicks.mClicks, c.clicks);
        Log states;
        for (const std::string& line : s.log)
        {
            if (line.rfind("B state", 0) == 0)
                states.push_back(line);
        }
        EXPECT_EQ(states, c.states);
        EXPECT_FALSE(s.b.button.IsCaptured());
        EXPECT_EQ(s.manager.GetCapture().mWidget, nullptr);
    }
}

TEST(Button, APressTakesTheCaptureInTheParentSpaceOfItsLayer)
{
    ButtonScene s;
    s.manager.OnMouseDown(At(120, 110), 1);
    const widget::CaptureInfo& capture = s.manager.GetCapture();
    EXPECT_EQ(capture.mWidget, &s.b.button);
    EXPECT_EQ(capture.mLayer, s.b.button.mLayer);
    EXPECT_EQ(capture.mInParentSpace, 1);
    EXPECT_TRUE(s.b.button.IsCaptured());
    s.manager.OnMouseUp(At(120, 110), 1);
}

TEST(Button, ADisabledWidgetUnderAPressActivatesItsFrameOnly)
{
    Log log;
    widget::FrameManager manager;
    RecordingBoard other(&log, "A", 500, 0, 100, 100);
    RecordingBoard board(&log, "F", 0, 0, 400, 400);
    TestButton b(&log, "B", 100, 100, 50, 20);
    board.AddChild(&b.button, nullptr);
    manager.OpenFrame(&board, false, false, false);
    manager.OpenFrame(&other, false, true, false);
    b.button.SetDisabled(true);
    log.clear();
    manager.OnMouseMove(At(120, 110));
    EXPECT_EQ(board.mHoverWidget, &b.button);
    manager.OnMouseDown(At(120, 110), 1);
    EXPECT_EQ(log, (Log{"F OnChildHover 1", "A OnDeactivate", "F OnActivate"}));
    EXPECT_EQ(manager.GetActiveFrame(), &board);
    EXPECT_EQ(manager.GetCapture().mWidget, nullptr);
    EXPECT_FALSE(b.button.IsCaptured());
    EXPECT_EQ(b.button.mVisualState, 0);
    manager.CloseAll(false, false);
    board.RemoveChild(&b.button, true);
}

struct ClickRecorder
{
    HVResultEnum OnClick(widget::Button*)
    {
        log->push_back("delegate");
        return result;
    }
    Log* log;
    HVResultEnum result = HV_OK;
};

TEST(Button, TheClickDelegateRunsFirstAndItsFailureSuppressesTheListener)
{
    for (const HVResultEnum delegateResult : {HV_OK, HV_FAIL})
    {
        Log log;
        TestButton b(&log, "B", 0, 0, 10, 10);
        ClickRecorder recorder{&log, delegateResult};
        b.button.mClickDelegate.Assign(
            new base::MemberDelegate1<ClickRecorder, widget::Button*, HVResultEnum>(&recorder, &ClickRecorder::OnClick));
        EXPECT_EQ(b.button.Click(), delegateResult);
        EXPECT_EQ(log, delegateResult == HV_OK ? (Log{"delegate", "B click"}) : (Log{"delegate"}));
    }
}

TEST(Button, AFailingStateChangeKeepsTheStateAndIsReturned)
{
    ButtonScene s;
    s.b.mediator.mFail["state"] = HV_FAIL;
    EXPECT_EQ(s.manager.OnMouseMove(At(120, 110)), HV_FAIL);
    EXPECT_EQ(s.b.button.mVisualState, 0);
    s.b.mediator.mFail.clear();
    EXPECT_EQ(s.b.mediator.OnHover(true), HV_OK);
    EXPECT_EQ(s.b.button.mVisualState, 1);
}

// A button that is its own mediator, as the front end's buttons are.
class SelfMediatedButton : public widget::Button, public widget::ButtonMediator
{
public:
    SelfMediatedButton()
    {
        SetLayer(new layer::RectHitLayer(10, 10, 20, 20), true, true);
        Attach(this);
        mLayer->mHitListener = static_cast<widget::WidgetHitTestListener*>(this);
    }
};

TEST(Button, ASelfMediatedButtonIsDestroyedCleanlyWhileHoveredAndCaptured)
{
    widget::FrameManager manager;
    RecordingBoard board(nullptr, "F", 0, 0, 100, 100);
    auto* button = new SelfMediatedButton;
    EXPECT_EQ(button->mOwnsMediator, 0);
    board.AddChild(button, nullptr);
    manager.OpenFrame(&board, false, false, false);
    manager.OnMouseMove(At(15, 15));
    manager.OnMouseDown(At(15, 15), 1);
    ASSERT_EQ(button->mVisualState, widget::Button::kPressed);
    ASSERT_EQ(manager.GetCapture().mWidget, static_cast<widget::Widget*>(button));
    delete button;
    EXPECT_EQ(manager.GetCapture().mWidget, nullptr);
    EXPECT_EQ(board.mHoverWidget, nullptr);
    EXPECT_EQ(manager.OnMouseUp(At(15, 15), 1), HV_OK);
    manager.CloseAll(false, false);
}

TEST(Button, AnOwnedMediatorDiesWithItsButtonAndABorrowedOneForgetsIt)
{
    {
        auto* button = new widget::Button;
        auto* mediator = new RecordingMediator(nullptr, "M");
        mediator->Attach(button, true);
        delete button;
    }
    RecordingMediator survivor(nullptr, "S");
    {
        widget::Button button;
        survivor.Attach(&button);
    }
    EXPECT_EQ(survivor.mButton, nullptr);
    EXPECT_EQ(survivor.OnHover(true), HV_OK);
    {
        widget::Button button;
        button.SetLayer(new layer::Layer, true, true);
        {
            RecordingMediator shortLived(nullptr, "L");
            shortLived.Attach(&button);
        }
        EXPECT_EQ(button.mMediator, nullptr);
        EXPECT_EQ(button.mListener, nullptr);
        EXPECT_FALSE(button.mLayer->mPreDraw);
    }
}

class LookSlider : public widget::Slider
{
public:
    HVResultEnum UpdateLook() override
    {
        ++mLooks;
        return HV_OK;
    }
    int mLooks = 0;
};

class PeekingListener : public widget::SliderListener
{
public:
    HVResultEnum OnSliderChanged(widget::Slider* slider, float value) override
    {
        seen.push_back({slider->GetValue(), value});
        return result;
    }
    HVResultEnum OnSliderChanging(widget::Slider* slider, float value) override
    {
        return OnSliderChanged(slider, value);
    }
    std::vector<std::pair<float, float>> seen;
    HVResultEnum result = HV_OK;
};

TEST(Slider, TheListenerSeesTheOldValueAndCanRefuseTheNewOne)
{
    for (const bool changing : {false, true})
    {
        SCOPED_TRACE(changing ? "changing" : "changed");
        LookSlider slider;
        PeekingListener listener;
        slider.mSliderListener = &listener;
        slider.SetValueSilent(0.25f, false);
        auto set = [&](float v, bool refresh) {
            return changing ? slider.SetValueChanging(v, refresh) : slider.SetValueChanged(v, refresh);
        };
        EXPECT_EQ(set(0.5f, false), HV_OK);
        ASSERT_EQ(listener.seen.size(), 1u);
        EXPECT_EQ(listener.seen[0], std::make_pair(0.25f, 0.5f));
        EXPECT_EQ(slider.GetValue(), 0.5f);
        EXPECT_EQ(slider.mLooks, 0);

        listener.result = HV_FAIL;
        EXPECT_EQ(set(0.75f, true), HV_FAIL);
        EXPECT_EQ(slider.GetValue(), 0.5f);
        EXPECT_EQ(slider.mLooks, 0);

        listener.result = HV_OK;
        EXPECT_EQ(set(0.75f, true), HV_OK);
        EXPECT_EQ(slider.mLooks, 1);
    }
}

struct ValueRecorder
{
    HVResultEnum OnValue(widget::Slider* slider, float value)
    {
        seen.push_back({slider, value});
        return result;
    }
    std::vector<std::pair<widget::Slider*, float>> seen;
    HVResultEnum result = HV_OK;
};

TEST(Slider, ItsOwnFaceForwardsToTheDelegates)
{
    using Delegate = base::MemberDelegate2<ValueRecorder, widget::Slider*, float, HVResultEnum>;
    widget::Slider slider;
    EXPECT_EQ(slider.mSliderListener, &slider);
    EXPECT_EQ(slider.SetValueChanged(0.3f, true), HV_OK) << "an empty delegate accepts the value";
    EXPECT_EQ(slider.GetValue(), 0.3f);

    ValueRecorder changed, changing;
    slider.mChangedDelegate.Assign(new Delegate(&changed, &ValueRecorder::OnValue));
    slider.mChangingDelegate.Assign(new Delegate(&changing, &ValueRecorder::OnValue));
    EXPECT_EQ(slider.SetValueChanging(0.4f, false), HV_OK);
    changed.result = HV_FAIL;
    EXPECT_EQ(slider.SetValueChanged(0.9f, false), HV_FAIL);
    EXPECT_EQ(slider.GetValue(), 0.4f);
    ASSERT_EQ(changing.seen.size(), 1u);
    EXPECT_EQ(changing.seen[0], std::make_pair(&slider, 0.4f));
    ASSERT_EQ(changed.seen.size(), 1u);
    EXPECT_EQ(changed.seen[0].second, 0.9f);
}

TEST(Slider, DefaultsForSubclasses)
{
    widget::Slider slider;
    EXPECT_EQ(slider.mMinimum, 0.0f);
    EXPECT_EQ(slider.mMaximum, 1.0f);
    EXPECT_EQ(slider.mReserved, 0.0f);
    EXPECT_EQ(slider.GetValue(), 0.0f);
    EXPECT_EQ(slider.mTakesCapture, 1);
    EXPECT_EQ(slider.mHitTestWhileCaptured, 1);
}
} // namespace
