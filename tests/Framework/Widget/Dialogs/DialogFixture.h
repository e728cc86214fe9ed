#pragma once

// A data root with generated show and hide animations, a real frame manager
// and dialogs that count what happens to them.
#include "AnimWriter.h"
#include "Core/File/FileTestSupport.h"
#include "Framework/Layer/Layer.h"
#include "Framework/Widget/Dialog.h"
#include "Framework/Widget/DialogEffectsManager.h"
#include "Framework/Widget/FrameManager.h"

#include <tinyxml2.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace dialogtest
{
// What happened to the dialogs of a test, in order.
struct Journal
{
    std::vector<std::string> events;
    int deleted = 0;
};

class CountingDialog : public widget::Dialog
{
public:
    CountingDialog(Journal& journal, const std::string& name) : mJournal(journal) { mName = name; }
    ~CountingDialog() override
    {
        mJournal.events.push_back("deleted " + mName);
        ++mJournal.deleted;
    }
    HVResultEnum OnShown() override
    {
        mJournal.events.push_back("shown " + mName);
        return HV_OK;
    }

    Journal& mJournal;
};

inline animfile::EnvelopeDesc Ramp(float from, float to)
{
    animfile::EnvelopeDesc envelope;
    envelope.keys = {animfile::KeyDesc{from, 0}, animfile::KeyDesc{to, 1}};
    return envelope;
}

// One record over [0, 1]: position x from -> to, scales 1, fading by dissolve.
inline std::string OneRecord(float fromX, float toX, float dissolveFrom, float dissolveTo, size_t records = 1)
{
    animfile::AnimDesc anim;
    anim.name = "anim";
    animfile::LayerDesc layer;
    layer.motion[0] = Ramp(fromX, toX);
    for (int i = 6; i <= 8; ++i)
        layer.motion[i] = Ramp(1, 1);
    layer.motion[9] = Ramp(dissolveFrom, dissolveTo);
    anim.layers.assign(records, layer);
    return animfile::WriteAnim(anim);
}

class DialogTest : public hvtest::DataRootTest
{
public:
    static std::string Pop(const std::string& extra = "")
    {
        return "<Anim name='pop' show_anim_data='anim/show.anim' hide_anim_data='anim/hide.anim'" + extra + "/>";
    }

protected:
    void SetUp() override
    {
        hvtest::DataRootTest::SetUp();
        dir.Write("anim/show.anim", OneRecord(100, 0, 1, 0));
        dir.Write("anim/hide.anim", OneRecord(7, 50, 0, 1));
        dir.Write("anim/empty.anim", OneRecord(0, 0, 0, 0, 0));
        dir.Write("anim/double.anim", OneRecord(0, 0, 0, 0, 2));
    }

    void TearDown() override
    {
        if (manager)
            manager->CloseAll(true, false);
        manager.reset();
        widget::DialogEffectsManager::Instance()->Clear();
        hvtest::DataRootTest::TearDown();
    }

    static widget::DialogEffectsManager* Effects() { return widget::DialogEffectsManager::Instance(); }

    // Loads the "DialogEffects" element of a game.xml text.
    static HVResultEnum LoadTable(const std::string& xml)
    {
        tinyxml2::XMLDocument doc;
        EXPECT_EQ(doc.Parse(xml.c_str()), tinyxml2::XML_SUCCESS) << xml;
        const tinyxml2::XMLElement* element = doc.FirstChildElement("Game")->FirstChildElement("DialogEffects");
        return Effects()->Load(element);
    }

    static std::string Table(const std::string& data, const std::string& dialogs)
    {
        return "<Game><DialogEffects><Data>" + data + "</Data><Dialogs>" + dialogs +
               "</Dialogs></DialogEffects></Game>";
    }

    // n turns of the frame manager, each result checked.
    void Turn(int n, float dt = 0.5f)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(manager->Process(dt), HV_OK) << "turn " << i;
    }

    CountingDialog* Open(const std::string& name)
    {
        auto* dialog = new CountingDialog(journal, name);
        EXPECT_EQ(dialog->Load(), HV_OK);
        EXPECT_EQ(manager->PushDialog(dialog, true), HV_OK);
        return dialog;
    }

    Journal journal;
    std::unique_ptr<widget::FrameManager> manager = std::make_unique<widget::FrameManager>();
};
} // namespace dialogtest
