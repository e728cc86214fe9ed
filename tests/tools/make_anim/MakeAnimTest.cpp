#include "Core/File/FileTestSupport.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/Animation/AnimData.h"
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using animation::AnimData;
using animation::Envelope;

class MakeAnim : public hvtest::DataRootTest
{
protected:
    int Run(const std::string& description, const std::string& out)
    {
        return hvtest::RunProgram(HV_MAKE_ANIM, {description, dir.File(out)});
    }

    resource::ResourceHandle<AnimData> Load(const std::wstring& name)
    {
        auto data = resource::ResourceManager::Instance()->Get<AnimData>(name);
        EXPECT_EQ(data->Load(), HV_OK);
        return data;
    }
};

// The pop transitions grow the dialog about the logical screen centre: the
// centre maps onto itself at every moment, and the ends are exact.
TEST_F(MakeAnim, SampleTransitionsLoadAndKeepTheCentreFixed)
{
    std::filesystem::create_directories(dir.Folder() / "nq/data/anim");
    const std::string samples = HV_ANIM_SAMPLES;
    ASSERT_EQ(Run(samples + "/dlg_show.xml", "nq/data/anim/dlg_show.anim"), 0);
    ASSERT_EQ(Run(samples + "/dlg_hide.xml", "nq/data/anim/dlg_hide.anim"), 0);

    for (auto [name, dissolveAtStart] : {std::pair{L"nq/data/anim/dlg_show.anim", 1.0f}, {L"nq/data/anim/dlg_hide.anim", 0.0f}})
    {
        auto data = Load(name);
        ASSERT_EQ(data->mLayers.size(), 1u);
        EXPECT_EQ(data->mStartTime, 0.0f);
        EXPECT_NEAR(data->mEndTime, 0.3f, 1e-6f);
        const auto& motion = data->mLayers[0]->mMotion;
        EXPECT_EQ(Envelope::Evaluate(motion[animation::kDissolve], 0), dissolveAtStart);
        EXPECT_EQ(Envelope::Evaluate(motion[animation::kDissolve], data->mEndTime), 1.0f - dissolveAtStart);
        for (float t = 0; t <= 0.3f; t += 0.025f)
        {
            const float sx = Envelope::Evaluate(motion[animation::kScaleX], t);
            const float sy = Envelope::Evaluate(motion[animation::kScaleY], t);
            EXPECT_NEAR(sx * 512 + Envelope::Evaluate(motion[animation::kPositionX], t), 512, 1e-3f) << t;
            EXPECT_NEAR(sy * 384 + Envelope::Evaluate(motion[animation::kPositionY], t), 384, 1e-3f) << t;
            EXPECT_EQ(Envelope::Evaluate(motion[animation::kScaleZ], t), 1.0f);
            EXPECT_GE(sx, 0.8f - 1e-6f);
            EXPECT_LE(sx, 1.0f + 1e-6f);
        }
    }
}

TEST_F(MakeAnim, BadDescriptionsFailWithoutWriting)
{
    const char* const bad[] = {
        "<Nothing/>",
        "<Animation start='0' end='1'/>",
        "<Animation name='a' start='0' end='1'><Layer><Envelope channel='size'/></Layer></Animation>",
        "<Animation name='a' start='0' end='1'><Layer><Envelope channel='red'><Key time='x' value='1'/>"
        "</Envelope></Layer></Animation>",
        "<Animation name='a' start='0' end='1'><Layer><Envelope channel='pitch' post='bounce'/></Layer></Animation>",
        "<Animation name='a' start='0' end='1'><Layer><Envelope channel='bank'/><Envelope channel='bank'/>"
        "</Layer></Animation>",
        "<Animation name='a' start='0' end='1'",
    };
    for (const char* text : bad)
    {
        dir.Write("in.xml", text);
        EXPECT_EQ(Run(dir.File("in.xml"), "out.anim"), 1) << text;
        EXPECT_FALSE(dir.Has("out.anim")) << text;
    }
}
} // namespace
