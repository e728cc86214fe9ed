#include "DataRootFixture.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/FileManager.h"
#include "Game/Data/LocalStrings.h"
#include "support/LookupMissRecorder.h"
#include "support/PackBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{
const char* const kStrings = "nq/strings_en.csv";

class LocalStringsTest : public testing::Test
{
protected:
    void SetUp() override { data = std::make_unique<gametest::DataRoot>(); }
    void TearDown() override
    {
        base::testing::TeardownSingletonsNow();
        data.reset();
    }

    std::unique_ptr<gametest::DataRoot> data;
};

struct ParseCase
{
    const char* name;
    std::string text;
    std::vector<std::pair<std::wstring, std::wstring>> expected;
};

TEST(LocalStringsParse, LinesAndCells)
{
    const ParseCase cases[] = {
        {"three cells: the second is the text", "k;text;ignored", {{L"k", L"text"}}},
        {"blanks around cells go, inside stay", " \t k \t;  a  b \t; x", {{L"k", L"a  b"}}},
        {"key and semicolon: empty text", "key;", {{L"key", L""}}},
        {"no semicolon: empty text", "lonely", {{L"lonely", L""}}},
        {"empty key kept", ";orphan", {{L"", L"orphan"}}},
        {"blank line skipped", "a;1\n \t \nb;2", {{L"a", L"1"}, {L"b", L"2"}}},
        {"CR LF line ends", "a;1\r\nb;two words \r\n", {{L"a", L"1"}, {L"b", L"two words"}}},
        {"CR LF key-only line", "solo\r\nnext;n\r\n", {{L"next", L"n"}, {L"solo", L""}}},
        {"CR LF key-and-semicolon line", "solo;\r\n", {{L"solo", L""}}},
        {"the last line of a key wins", "a;first\na;second", {{L"a", L"second"}}},
        {"Cyrillic", "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82;\xD0\xBC\xD0\xB8\xD1\x80",
         {{L"\u043F\u0440\u0438\u0432\u0435\u0442", L"\u043C\u0438\u0440"}}},
        {"an invalid byte becomes U+FFFD", "k;a\xFF" "b", {{L"k", L"a\uFFFD" L"b"}}},
        {"backslash n stored as it is", "k;a\\nb", {{L"k", L"a\\nb"}}},
        {"text trimmed as a whole", "\n\n  a;1  \n\n", {{L"a", L"1"}}},
    };
    for (const ParseCase& c : cases)
    {
        LocalStrings::Table table;
        LocalStrings::Parse(c.text, table);
        const LocalStrings::Table expected(c.expected.begin(), c.expected.end());
        EXPECT_EQ(table, expected) << c.name;
    }
}

TEST_F(LocalStringsTest, InstanceLoadsTheStringsFileAndSkipsItsByteOrderMark)
{
    data->Write(kStrings, "\xEF\xBB\xBF" "first;One\nsecond;Two\n");
    LocalStrings* strings = LocalStrings::Instance();
    EXPECT_EQ(strings->Get(L"first"), L"One");
    EXPECT_EQ(strings->Get(L"second"), L"Two");
}

TEST_F(LocalStringsTest, LoadAddsAndOverwritesButNeverRemoves)
{
    data->Write(kStrings, "a;1\nb;2\n");
    data->Write("nq/more.csv", "b;20\nc;30\n");
    LocalStrings* strings = LocalStrings::Instance();
    strings->Load(L"nq/more.csv");
    strings->Load(L"nq/missing.csv");
    const LocalStrings::Table expected = {{L"a", L"1"}, {L"b", L"20"}, {L"c", L"30"}};
    EXPECT_EQ(strings->GetTable(), expected);
}

TEST_F(LocalStringsTest, GetTurnsBackslashNIntoLineFeeds)
{
    data->Write(kStrings, "alone;\\n\nslash;\\\nmixed;a\\nb\\x\nend;ab\\\n");
    LocalStrings* strings = LocalStrings::Instance();
    EXPECT_EQ(strings->Get(L"alone"), L"\n");
    EXPECT_EQ(strings->Get(L"slash"), L"\\");
    EXPECT_EQ(strings->Get(L"mixed"), L"a\nb\\x");
    EXPECT_EQ(strings->Get(L"end"), L"ab\\");
    // The table keeps the pair.
    EXPECT_EQ(strings->GetTable().at(L"mixed"), L"a\\nb\\x");
}

struct MissingCase
{
    const char* name;
    // nullptr: no loose file.
    const char* loose;
    const char* expected;
};

TEST_F(LocalStringsTest, AMissingKeyAppendsOnePlaceholderLinePerRun)
{
    const MissingCase cases[] = {
        {"ending in LF", "quit;Quit\n", "quit;Quit\nzz;???\r\n\xD1\x8F;???\r\n"},
        {"ending in CR LF", "quit;Quit\r\n", "quit;Quit\r\nzz;???\r\n\xD1\x8F;???\r\n"},
        {"no line end at the end", "quit;Quit", "quit;Quit\r\nzz;???\r\n\xD1\x8F;???\r\n"},
        {"empty", "", "zz;???\r\n\xD1\x8F;???\r\n"},
    };
    for (const MissingCase& c : cases)
    {
        data->Write(kStrings, c.loose);
        LocalStrings* strings = LocalStrings::Instance();
        EXPECT_EQ(strings->Get(L"zz"), L"zz") << c.name;
        EXPECT_EQ(strings->Get(L"zz"), L"zz") << c.name;
        EXPECT_EQ(strings->Get(L"\u044F"), L"\u044F") << c.name;
        EXPECT_EQ(data->Read(kStrings), c.expected) << c.name;
        // The next run reads the placeholder as a text of its own.
        base::testing::TeardownSingletonsNow();
        EXPECT_EQ(LocalStrings::Instance()->GetTable().at(L"zz"), L"???") << c.name;
        if (c.loose[0])
        {
            EXPECT_EQ(LocalStrings::Instance()->GetTable().at(L"quit"), L"Quit") << c.name;
        }
        base::testing::TeardownSingletonsNow();
    }
}

TEST_F(LocalStringsTest, NoLooseFileIsNeverCreated)
{
    EXPECT_EQ(LocalStrings::Instance()->Get(L"zz"), L"zz");
    EXPECT_FALSE(data->Has(kStrings));
}

TEST_F(LocalStringsTest, StringsServedFromThePackGetNoPlaceholder)
{
    file::FileManager::Instance()->mountTable[L"nq/"] = L"data.dat";
    hvtest::WritePack(data->Folder().File("data.dat"), {{L"strings_en.csv", "packed;Packed\n"}});
    LocalStrings* strings = LocalStrings::Instance();
    EXPECT_EQ(strings->Get(L"packed"), L"Packed");
    EXPECT_EQ(strings->Get(L"zz"), L"zz");
    EXPECT_FALSE(data->Has(kStrings));
}

TEST_F(LocalStringsTest, AnUnwritableLooseFileTakesNothing)
{
    // A folder in the file's place: permissions do not stop a run as root.
    std::filesystem::create_directories(data->Folder().Folder() / kStrings);
    EXPECT_EQ(LocalStrings::Instance()->Get(L"zz"), L"zz");
    EXPECT_TRUE(std::filesystem::is_directory(data->Folder().Folder() / kStrings));
    EXPECT_TRUE(std::filesystem::is_empty(data->Folder().Folder() / kStrings));
}
} // namespace

namespace
{
TEST_F(LocalStringsTest, AMissingKeyIsReportedAsALookupMissOncePerRun)
{
    data->Write(kStrings, "quit;Quit\n");
    const hvtest::LookupMissRecorder recorder;
    LocalStrings* strings = LocalStrings::Instance();
    strings->Get(L"quit");
    strings->Get(L"zz");
    strings->Get(L"zz");
    EXPECT_EQ(recorder.Misses(), (hvtest::LookupMisses{{base::LookupMissKind::String, L"zz"}}));
}
} // namespace
