#include "Core/Base/NormalizePath.h"

#include <gtest/gtest.h>

namespace
{
TEST(NormalizePath, Table)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"a\\b\\", L"a/b/"},
        {L"", L""},
        {L"///", L""},
        {L"\\\\", L""},
        {L"/home/user", L"/home/user/"},
        {L"/home/user///", L"/home/user/"},
        {L"C:\\Users\\x\\AppData", L"C:/Users/x/AppData/"},
        {L"/", L""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(base::NormalizePath(in), out) << std::string(in.begin(), in.end());
}
} // namespace
