#pragma once

// Small widget trees for the widget tests: every listener writes its calls
// into one shared log, so a test compares the whole sequence.
#include "Framework/Layer/Layer.h"
#include "Framework/Layer/RectHitLayer.h"
#include "Framework/Widget/BaseBoard.h"
#include "Framework/Widget/FrameManager.h"
#include "Framework/Widget/Widget.h"
#include "Framework/Widget/WidgetHitTestListener.h"
#include "Framework/Widget/WidgetListener.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace widgettest
{
using Log = std::vector<std::string>;

// Failures to inject: operation name -> result.
using Failures = std::map<std::string, HVResultEnum>;

inline HVResultEnum Note(Log* log, const Failures& failures, const std::string& who, const std::string& what,
                         const std::string& arg = "")
{
    if (log)
        log->push_back(who + " " + what + (arg.empty() ? "" : " " + arg));
    const auto it = failures.find(what);
    return it == failures.end() ? HV_OK : it->second;
}

// A widget listener that records the notifications that matter here.
class RecordingListener : public widget::WidgetListener
{
public:
    RecordingListener(Log* log, std::string name) : mLog(log), mName(std::move(name)) {}

    HVResultEnum Update(float) override { return Note("Update"); }
    HVResultEnum OnAttachFrame() override { return Note("OnAttachFrame"); }
    HVResultEnum OnDetachFrame() override { return Note("OnDetachFrame"); }
    HVResultEnum OnOpen() override { return Note("OnOpen"); }
    HVResultEnum OnClose() override { return Note("OnClose"); }
    HVResultEnum OnHover(bool on) override { return Note("OnHover", on); }
    HVResultEnum OnChildHover(bool on) override { return Note("OnChildHover", on); }
    HVResultEnum OnDisable(bool on) override { return Note("OnDisable", on); }
    HVResultEnum OnDisableAlt(bool on) override { return Note("OnDisableAlt", on); }

    Log* mLog;
    std::string mName;
    Failures mFail;

private:
    HVResultEnum Note(const std::string& what) { return widgettest::Note(mLog, mFail, mName, what); }
    HVResultEnum Note(const std::string& what, bool on) { return widgettest::Note(mLog, mFail, mName, what, on ? "1" : "0"); }
};

// A hit listener that records the widget events it passes on.
class RecordingHitListener : public widget::WidgetHitTestListener
{
public:
    RecordingHitListener(Log* log, std::string name) : mLog(log), mName(std::move(name)) {}

    HVResultEnum OnWidgetMouseDown(const math::Vector3&, int button) override
    {
        return Note(mLog, {}, mName, "MouseDown", std::to_string(button));
    }
    HVResultEnum OnWidgetMouseUp(const math::Vector3&, int button) override
    {
        return Note(mLog, {}, mName, "MouseUp", std::to_string(button));
    }

    Log* mLog;
    std::string mName;
};

// A plain widget with its own rectangle layer, a recording listener and a
// recording hit listener on that layer.
struct TestWidget
{
    TestWidget(Log* log, const std::string& name, float x = 0, float y = 0, float w = 0, float h = 0)
        : listener(log, name), hit(log, name)
    {
        self = new widget::Widget;
        self->SetLayer(new layer::RectHitLayer(x, y, w, h), true, true);
        self->SetListener(&listener, true);
        hit.mWidget = self;
        self->mLayer->mHitListener = &hit;
    }
    ~TestWidget() { delete self; }
    TestWidget(const TestWidget&) = delete;
    TestWidget& operator=(const TestWidget&) = delete;

    // The widget is deleted elsewhere (Clear, deferred deletion).
    widget::Widget* Release()
    {
        widget::Widget* w = self;
        self = nullptr;
        return w;
    }

    RecordingListener listener;
    RecordingHitListener hit;
    widget::Widget* self;
};

// A board that records its listener calls, its activation and its widget
// events, and counts its destruction.
class RecordingBoard : public widget::BaseBoard
{
public:
    RecordingBoard(Log* log, std::string name, float x = 0, float y = 0, float w = 0, float h = 0, int* deaths = nullptr)
        : mLog(log), mName(std::move(name)), mDeaths(deaths)
    {
        SetHitRect(x, y, w, h);
    }
    ~RecordingBoard() override
    {
        if (mDeaths)
            ++*mDeaths;
        if (mLog)
            mLog->push_back(mName + " deleted");
    }

    HVResultEnum OnActivate() override { return N("OnActivate"); }
    HVResultEnum OnDeactivate() override { return N("OnDeactivate"); }
    HVResultEnum OnOpen() override
    {
        if (mOnOpen)
            mOnOpen();
        return N("OnOpen");
    }
    HVResultEnum OnClose() override { return N("OnClose"); }
    HVResultEnum OnHover(bool on) override { return N("OnHover", on ? "1" : "0"); }
    HVResultEnum OnChildHover(bool on) override { return N("OnChildHover", on ? "1" : "0"); }
    HVResultEnum OnWidgetMouseDown(const math::Vector3&, int button) override
    {
        if (mOnPress)
            mOnPress();
        return N("MouseDown", std::to_string(button));
    }
    HVResultEnum OnWidgetMouseUp(const math::Vector3&, int button) override { return N("MouseUp", std::to_string(button)); }
    HVResultEnum OnWidgetMouseWheel(const math::Vector3&, int delta) override { return N("Wheel", std::to_string(delta)); }

    Log* mLog;
    std::string mName;
    int* mDeaths;
    Failures mFail;
    std::function<void()> mOnOpen;
    std::function<void()> mOnPress;

private:
    HVResultEnum N(const std::string& what, const std::string& arg = "") { return Note(mLog, mFail, mName, what, arg); }
};

inline input::Point At(float x, float y)
{
    return input::Point{x, y};
}
} // namespace widgettest
