#include "BuiltContentFixture.h"

#include "Core/Render/ParticleSystem.h"

#include <gtest/gtest.h>

namespace contenttest
{
namespace fs = std::filesystem;

fs::path BuiltContentTest::Content() { return fs::path(HV_CONTENT_ROOT); }

fs::path BuiltContentTest::Root() const { return data->Folder().Folder(); }

// The fixture's data make way for the built data root: its folders are
// linked, the strings file copied (a missing key is appended to it).
void BuiltContentTest::SetUp()
{
    BattleTest::SetUp();
    ASSERT_TRUE(fs::exists(Content() / "nq" / "towers_sheet.csv")) << "no built content in " << Content();
    const fs::path root = Root();
    for (const char* folder : {"nq", "data"})
        fs::remove_all(root / folder);
    fs::create_directory(root / "nq");
    for (const fs::directory_entry& entry : fs::directory_iterator(Content() / "nq"))
    {
        const fs::path target = root / "nq" / entry.path().filename();
        if (entry.path().filename() == "strings_en.csv")
            fs::copy_file(entry.path(), target);
        else
            fs::create_symlink(entry.path(), target);
    }
    fs::create_directory_symlink(Content() / "data", root / "data");
    render::ParticleSystem::Instance()->Load("fx2.ptc", application->mRender);
}

void BuiltContentTest::TearDown()
{
    // The real library's atlases are pictures of the application's renderer.
    render::ParticleSystem::Instance()->ReleaseTextures();
    BattleTest::TearDown();
}
} // namespace contenttest
