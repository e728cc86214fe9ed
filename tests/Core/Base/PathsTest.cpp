#include "Core/Base/Paths.h"

#include <gtest/gtest.h>

namespace
{
struct PathCase
{
    std::wstring path, directory, relative, name, extension, base, stripped;
};

const PathCase kPaths[] = {
    // path          directory    relative    name      extension base      stripped
    {L"a/b/c.txt", L"a/b/", L"a/b/", L"c.txt", L".txt", L"c", L"a/b/c.txt"},
    {L"a\\b\\c.tar.gz", L"a\\b\\", L"a\\b\\", L"c.tar.gz", L".gz", L"c.tar", L"a\\b\\c.tar.gz"},
    {L"a/b\\c", L"a/b\\", L"a/b\\", L"c", L"", L"c", L"a/b\\c"},
    {L"dir.old/file", L"dir.old/", L"dir.old/", L"file", L"", L"file", L"dir.old/file"},
    {L".hidden", L"", L"", L".hidden", L".hidden", L".hidden", L".hidden"},
    {L"x/.hidden", L"x/", L"x/", L".hidden", L".hidden", L".hidden", L"x/.hidden"},
    {L"name", L"", L"", L"name", L"", L"name", L"name"},
    {L"D:x/y", L"D:x/", L"", L"y", L"", L"y", L"D:x/y"},
    {L"D:/x/y", L"D:/x/", L"/x/", L"y", L"", L"y", L"D:/x/y"},
    {L"D:\\x\\y.z", L"D:\\x\\", L"\\x\\", L"y.z", L".z", L"y", L"D:\\x\\y.z"},
    {L"a/b/", L"a/b/", L"a/b/", L"", L"", L"", L"a/b"},
    {L"a\\b\\//", L"a\\b\\//", L"a\\b\\//", L"", L"", L"", L"a\\b"},
    {L"///", L"///", L"///", L"", L"", L"", L""},
    {L"", L"", L"", L"", L"", L"", L""},
};

TEST(PathsTest, Table)
{
    for (const PathCase& c : kPaths)
    {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        EXPECT_EQ(base::GetDirectory(c.path), c.directory);
        EXPECT_EQ(base::GetRelativeDirectory(c.path), c.relative);
        EXPECT_EQ(base::GetFileName(c.path), c.name);
        EXPECT_EQ(base::GetExtension(c.path), c.extension);
        EXPECT_EQ(base::GetBaseName(c.path), c.base);
        EXPECT_EQ(base::StripTrailingSeparators(c.path), c.stripped);
    }
}

TEST(PathsTest, SlashesAndSeparator)
{
    EXPECT_EQ(base::ToForwardSlashes(L"a\\b/c\\"), L"a/b/c/");
    EXPECT_EQ(base::AppendSeparator(L"a/b", L'/'), L"a/b/");
    EXPECT_EQ(base::AppendSeparator(L"", L'/'), L"/");
}
} // namespace
