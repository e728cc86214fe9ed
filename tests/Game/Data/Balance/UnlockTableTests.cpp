// The unlock table's rows: (episode, level) -> its own ids and everything
// unlocked so far in file order.
#include "Game/Data/NQUnlockTable.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace
{
using Ids = std::vector<int32_t>;

struct UnlockCase
{
    const char* label;
    const char* file;
    int32_t episode;
    int32_t level;
    bool present;
    Ids row;
    Ids cumulative;
};

void PrintTo(const UnlockCase& c, std::ostream* os)
{
    *os << c.label;
}

class UnlockCases : public testing::TestWithParam<UnlockCase>
{
};

TEST_P(UnlockCases, Lists)
{
    const UnlockCase& c = GetParam();
    hvtest::TempFolder folder;
    hvtest::CurrentDirectory inside(folder.Folder());
    NQUnlockTable table; // no file: empty
    table.Build(c.file);
    const Ids* row = table.FindRowList(c.episode, c.level);
    const Ids* cumulative = table.FindCumulativeList(c.episode, c.level);
    ASSERT_EQ(row != nullptr, c.present);
    ASSERT_EQ(cumulative != nullptr, c.present);
    if (!c.present)
        return;
    EXPECT_EQ(*row, c.row);
    EXPECT_EQ(*cumulative, c.cumulative);
}

const char* const kThreeRows = "0;0;1,2\n0;1;\n0;2;5\n";

const UnlockCase kCases[] = {
    {"example_first", kThreeRows, 0, 0, true, {1, 2}, {1, 2}},
    {"example_empty_row_keeps_earlier", kThreeRows, 0, 1, true, {}, {1, 2}},
    {"example_third", kThreeRows, 0, 2, true, {5}, {1, 2, 5}},
    {"level_without_row", kThreeRows, 0, 3, false, {}, {}},
    {"double_comma", "0;0;1,,2\n", 0, 0, true, {1, 2}, {1, 2}},
    {"blanks_removed", " 1 ; 2 ; 3 , 4 \n", 1, 2, true, {3, 4}, {3, 4}},
    {"third_cell_lone_cr", "0;0;7\r\n0;1;\r\n", 0, 1, true, {}, {7}},
    {"trailing_comma_on_crlf_reads_zero", "0;0;5,\r\n", 0, 0, true, {5, 0}, {5, 0}},
    {"single_cell_keeps_level_and_is_written", "0;4;1\n3\n", 3, 4, true, {}, {1}},
    {"first_row_single_cell_level_zero", "2\n", 2, 0, true, {}, {}},
    {"later_duplicate_replaces_both", "0;0;1\n0;1;2\n0;0;3\n", 0, 0, true, {3}, {1, 2, 3}},
    {"out_of_play_order_follows_file", "1;0;9\n0;0;1\n", 0, 0, true, {1}, {9, 1}},
    {"running_list_crosses_episodes", "0;0;1\n1;0;2\n", 1, 0, true, {2}, {1, 2}},
    {"fourth_cell_ignored", "0;0;1;5,6\n", 0, 0, true, {1}, {1}},
    {"not_a_number_reads_zero", "x;y;z,3\n", 0, 0, true, {0, 3}, {0, 3}},
    {"blank_crlf_line_is_episode_zero_row", "2;3;4\r\n\r\n", 0, 3, true, {}, {4}},
    {"empty_file", "", 0, 0, false, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Table, UnlockCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<UnlockCase>& info) { return std::string(info.param.label); });

TEST(UnlockTable, MinusOneUnlocksEveryIdFromItsRowOn)
{
    NQUnlockTable table;
    table.Build("0;0;1\n0;1;-1\n0;2;\n");
    EXPECT_TRUE(table.IsUnlockedAt(0, 0, 1));
    EXPECT_FALSE(table.IsUnlockedAt(0, 0, 777));
    EXPECT_TRUE(table.IsUnlockedAt(0, 1, 777));
    EXPECT_TRUE(table.IsUnlockedAt(0, 2, 777));
    EXPECT_FALSE(table.IsUnlockedAt(0, 3, 1)); // no row: nothing
}

TEST(UnlockTable, ReadsTheFile)
{
    hvtest::TempFolder folder;
    folder.Write("nq/unlocks.csv", "\xEF\xBB\xBF" "0;0;10000,3001\n0;1;\n0;2;20000\n1;0;30000,10001\n");
    hvtest::CurrentDirectory inside(folder.Folder());
    NQUnlockTable table;
    EXPECT_TRUE(table.IsUnlockedAt(0, 1, 10000));
    EXPECT_FALSE(table.IsUnlockedAt(0, 1, 20000));
    EXPECT_TRUE(table.IsUnlockedAt(1, 0, 20000));
    EXPECT_EQ(*table.FindRowList(1, 0), (Ids{30000, 10001}));
}
} // namespace
