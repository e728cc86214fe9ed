#include "Core/Video/TheoraVideo.h"

#include "../../Core/File/FileTestSupport.h"
#include "../../Core/Video/FakeTarget.h"
#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Args = std::vector<std::string>;

class MakeVideoTest : public hvtest::DataRootTest
{
protected:
    int Run(const Args& args) { return hvtest::RunProgram(HV_MAKE_VIDEO, args); }
};

TEST_F(MakeVideoTest, WritesAPlayableVideoWithTheGivenOptions)
{
    ASSERT_EQ(Run({dir.File("v.ogv"), "--size", "96x48", "--frames", "3", "--fps", "50/2", "--format", "444",
                   "--quality", "63"}),
              0);
    int finished = 0;
    struct Listener : video::TheoraVideoListener
    {
        explicit Listener(int* count) : count(count) {}
        void OnVideoFinished(video::TheoraVideo*) override { ++*count; }
        int* count;
    } listener(&finished);
    video::TheoraVideo video(&listener);
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    EXPECT_EQ(video.GetWidth(), 96u);
    EXPECT_EQ(video.GetHeight(), 48u);
    hvtest::FakeTarget target(96, 48, true);
    // 50/2 frames per second: three frames take 0.12 s, the end comes after.
    EXPECT_EQ(video.Update(0.12f, &target), 0);
    EXPECT_EQ(target.locks, 1);
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(video.Update(0.04f, &target), 0);
    EXPECT_EQ(finished, 1);
}

TEST_F(MakeVideoTest, RejectsBadOptions)
{
    const Args cases[] = {
        {},
        {dir.File("a.ogv"), "--size", "100x48"},
        {dir.File("a.ogv"), "--size", "64x32"}, // too short for the pattern
        {dir.File("a.ogv"), "--fps", "25/0"},
        {dir.File("a.ogv"), "--frames", "0"},
        {dir.File("a.ogv"), "--format", "422"},
        {dir.File("a.ogv"), "--quality", "64"},
        {dir.File("a.ogv"), "--png", dir.File("none")},
        {dir.File("a.ogv"), "--frames"},
        {dir.File("no/such/folder/a.ogv")},
    };
    for (const Args& args : cases)
        EXPECT_NE(Run(args), 0) << (args.size() > 1 ? args[1] : std::string("(none)"));
    EXPECT_FALSE(dir.Has("a.ogv"));
}
} // namespace
