// A hand-edited or damaged profiles file: names a player could never type and
// numbers play could never produce are held to what the game makes, said in
// the log once, and saved back that way.
#include "ProgressTestSupport.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Game/Data/ProfileName.h"
#include "Game/Hud/HUDModalInput.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace progresstest
{
namespace
{
class ProgressDamageTest : public ProgressTest
{
protected:
    void SetUp() override
    {
        ProgressTest::SetUp();
        hvtest::CaptureLog();
    }

    // A record over a fresh store reading the file as it is now, or as
    // given: the old store saves as it goes, so the file is written after.
    NQProgress& Reload(const std::string& file = std::string())
    {
        progress.reset();
        base::testing::TeardownSingletonsNow();
        file::UserDataFileContainer::Instance()->SetRootPath(profiles->Folder().Wide());
        if (!file.empty())
            profiles->WriteFile(file);
        hvtest::CaptureLog();
        return Progress();
    }

    static std::string File(const std::string& profiles, const std::string& current)
    {
        return "<Profiles currentProfile=\"" + current + "\"><Profile name=\"" + PlaceholderName() + "\"/>" +
               profiles + "</Profiles>";
    }
};

TEST_F(ProgressDamageTest, StoredNamesAreHeldToWhatTheNameInputTakes)
{
    const std::string huge(4 * 1024 * 1024, 'A');
    const std::string sixteen(HUDModalInput::kMaxNameLength, 'A');
    const std::string cyrillic = "\xD0\x98\xD1\x80\xD0\xB0"; // Ира
    profiles->WriteFile(File("<Profile name=\"" + huge + "\"><gems amount=\"7\"/></Profile>"
                             "<Profile name=\"" + sixteen + "\"/>"
                             "<Profile name=\"Bo b!\xC3\xA9\"/>"
                             "<Profile name=\"" + cyrillic + "\"/>"
                             "<Profile name=\" &#10;\"/>",
                             huge));

    NQProgress& record = Progress();
    // The long name is cut to the limit, where another profile already is:
    // it keeps its progress under a name of its own.
    const std::wstring cut = std::wstring(HUDModalInput::kMaxNameLength - 1, L'A') + L"1";
    EXPECT_EQ(record.GetCurrentName(), cut);
    EXPECT_EQ(record.GetGems(), 7);
    EXPECT_EQ(record.GetProfileNames(), (std::vector<std::wstring>{cut, std::wstring(HUDModalInput::kMaxNameLength, L'A'),
                                                                    L"Bob", L"\u0418\u0440\u0430", L"1"}));
    EXPECT_EQ(hvtest::CountLogLinesWith(L"profiles: a stored name"), 3);

    record.Save();
    const std::string onDisk = profiles->FileText();
    EXPECT_LT(onDisk.size(), 4096u);
    EXPECT_NE(onDisk.find("currentProfile=\"" + base::WideToUtf8(cut) + "\""), std::string::npos);

    // Saved back cut: the next start has nothing to say.
    NQProgress& again = Reload();
    EXPECT_EQ(again.GetCurrentName(), cut);
    EXPECT_EQ(hvtest::CountLogLinesWith(L"profiles: a stored name"), 0);
}

TEST_F(ProgressDamageTest, ANameTheInputAcceptsAndThePlaceholderStayAsTheyAre)
{
    const std::string file = File("<Profile name=\"Ann0\"/><Profile name=\"zZ9\xD1\x8F\xD0\x90\"/>", "Ann0");
    profiles->WriteFile(file);
    EXPECT_EQ(Progress().GetProfileNames(), (std::vector<std::wstring>{L"Ann0", L"zZ9\u044F\u0410"}));
    EXPECT_EQ(Progress().GetCurrentName(), L"Ann0");
    EXPECT_EQ(hvtest::CountLogLinesWith(L"profiles:"), 0);
}

TEST(ProfileNameFit, KeepsWhatTheInputTakesInOrderUpToTheLimit)
{
    const std::string placeholder = PlaceholderName();
    const struct
    {
        std::string stored;
        std::string kept;
    } cases[] = {
        {"Ann", "Ann"},
        {"", ""},
        {placeholder, placeholder},
        {placeholder + "x", "Player0123456789"},
        {"abcdefghijklmnopq", "abcdefghijklmnop"},
        {"a b\tc!?", "abc"},
        {"\xD0\x81\xD1\x91\xD0\x90", "\xD0\x90"},   // Ё and ё are not taken, А is
        {"\xE0\xD0\x98\xD0", "\xD0\x98"},            // bad sequences around an И
        {"\xD0\x41\xC3\xA9\xF0\x9F\x98\x80z", "Az"}, // a lead without its tail, é, an emoji
    };
    for (const auto& c : cases)
        EXPECT_EQ(profilename::Fit(c.stored), c.kept) << c.stored;
}

struct RangeCase
{
    const char* what;
    std::string content; // of the current profile
    std::function<int(NQProgress&)> read;
    int expected;
};

TEST_F(ProgressDamageTest, NumbersPlayCannotProduceAreHeldOnLoad)
{
    services->episodeCount = 3;
    services->levelCounts = {{0, 4}, {1, 4}, {2, 4}};
    services->hardcoreLevelCounts = {{0, 2}, {1, 2}, {2, 2}};
    services->upgradeIds = {5};
    services->upgradeSteps = {{5, 3}};
    const auto stars = [](NQProgress& p) { return p.GetStars(-1); };
    const auto level = [](const char* attributes) {
        return "<levels><level n=\"0\" episode=\"0\" mode=\"0\" stars=\"1\"/><level " + std::string(attributes) +
               "/></levels>";
    };
    const std::vector<RangeCase> cases = {
        {"gems below zero", "<gems amount=\"-2000000000\"/>", [](NQProgress& p) { return p.GetGems(); }, 0},
        {"gems beyond any hoard", "<gems amount=\"100000000000000000000\"/>",
         [](NQProgress& p) { return p.GetGems(); }, NQProgress::kMaxGems},
        {"stars above three", level("n=\"1\" episode=\"0\" mode=\"0\" stars=\"99999\""), stars, 4},
        {"stars below zero", level("n=\"1\" episode=\"0\" mode=\"0\" stars=\"-4\""), stars, 1},
        {"a level past the table", level("n=\"4\" episode=\"0\" mode=\"0\" stars=\"3\""), stars, 1},
        {"a hardcore level past its table", level("n=\"2\" episode=\"1\" mode=\"3\" stars=\"3\""), stars, 1},
        {"an episode past the table", level("n=\"0\" episode=\"3\" mode=\"0\" stars=\"3\""), stars, 1},
        {"a mode past hardcore", level("n=\"0\" episode=\"1\" mode=\"4\" stars=\"3\""), stars, 1},
        {"a negative level", level("n=\"-1\" episode=\"1\" mode=\"0\" stars=\"3\""), stars, 1},
        {"kills below zero", level("n=\"1\" episode=\"0\" mode=\"0\" kills=\"-9\""),
         [](NQProgress& p) {
             std::unique_ptr<NQLevelRecord> r(p.GetLevelRecord(0, 1, 0));
             return r->kills;
         },
         0},
        {"the mode", "<mode v=\"9\"/>", [](NQProgress& p) { return p.GetMode(); }, 3},
        {"the music volume", "<music v=\"5\"/>", [](NQProgress& p) { return int(p.GetMusicVolume() * 100); }, 100},
        {"the sound volume", "<sound v=\"-1\"/>", [](NQProgress& p) { return int(p.GetSoundVolume() * 100); }, 0},
        {"an upgrade past its steps", "<upgrades><upgrade id=\"5\" level=\"99\"/></upgrades>",
         [](NQProgress& p) { return p.GetUpgradeLevel(5); }, 2},
        {"an upgrade below none", "<upgrades><upgrade id=\"5\" level=\"-7\"/></upgrades>",
         [](NQProgress& p) { return p.GetUpgradeLevel(5); }, -1},
        {"a tutorial step state", "<tutorial avail=\"true\"><step id=\"3\" state=\"9\"/></tutorial>",
         [](NQProgress& p) { return p.GetTutorialStepState(3); }, 2},
    };
    for (const RangeCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        NQProgress& record = Reload(File("<Profile name=\"Ann\">" + c.content + "</Profile>", "Ann"));
        EXPECT_EQ(c.read(record), c.expected);
        EXPECT_EQ(hvtest::CountLogLinesWith(L"progress:"), 1);

        // Saved back held: the next start holds nothing more.
        record.Save();
        NQProgress& again = Reload();
        EXPECT_EQ(c.read(again), c.expected);
        EXPECT_EQ(hvtest::CountLogLinesWith(L"progress:"), 0);
    }
}

TEST_F(ProgressDamageTest, AProfilePlayCouldHaveMadeIsLeftByteForByte)
{
    services->episodeCount = 1;
    services->levelCounts = {{0, 4}};
    services->hardcoreLevelCounts = {{0, 2}};
    services->upgradeIds = {5};
    services->upgradeSteps = {{5, 3}};
    profiles->WriteFile(File("<Profile name=\"Ann\" lastEpisode=\"0\" version=\"4\"><levels>"
                             "<level n=\"3\" episode=\"0\" mode=\"2\" combo=\"4\" kills=\"900\" healthBonus=\"250\" "
                             "gems=\"13\" high=\"1150\" stars=\"3\"/>"
                             "<level n=\"1\" episode=\"0\" mode=\"3\" stars=\"0\"/></levels><towers/>"
                             "<gems amount=\"" + std::to_string(NQProgress::kMaxGems) + "\"/><mode v=\"3\"/>"
                             "<music v=\"0\"/><sound v=\"1\"/>"
                             "<upgrades><upgrade id=\"5\" level=\"2\"/><upgrade id=\"6\" level=\"40\"/></upgrades>"
                             "<tutorial avail=\"false\"><step id=\"1\" state=\"2\"/></tutorial></Profile>",
                             "Ann"));
    Progress().Save();
    const std::string saved = profiles->FileText();
    EXPECT_EQ(hvtest::CountLogLinesWith(L"progress:"), 0);
    Reload().Save();
    EXPECT_EQ(profiles->FileText(), saved);
    tinyxml2::XMLDocument doc;
    ASSERT_TRUE(profiles->LoadFile(doc));
    const tinyxml2::XMLElement* ann = ProfileOnDisk(doc, "Ann");
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(LevelCount(ann, 0, 2), 1);
    EXPECT_EQ(LevelCount(ann, 0, 3), 1);
}

TEST_F(ProgressDamageTest, AFailedSaveIsNoticedOnceAndTriedAgain)
{
    Progress().Save();
    EXPECT_FALSE(Progress().TakeSaveFailureNotice());
    std::filesystem::create_directory(profiles->TemporaryPath());
    Progress().SetGems(5);
    EXPECT_TRUE(Progress().TakeSaveFailureNotice());
    EXPECT_FALSE(Progress().TakeSaveFailureNotice());
    Progress().SetGems(6);
    EXPECT_FALSE(Progress().TakeSaveFailureNotice());

    std::filesystem::remove(profiles->TemporaryPath());
    Progress().SetMode(1);
    EXPECT_FALSE(Progress().TakeSaveFailureNotice());
    tinyxml2::XMLDocument doc;
    ASSERT_TRUE(profiles->LoadFile(doc));
    const tinyxml2::XMLElement* profile = ProfileOnDisk(doc, PlaceholderName());
    ASSERT_NE(profile, nullptr);
    ASSERT_NE(profile->FirstChildElement("gems"), nullptr);
    EXPECT_EQ(profile->FirstChildElement("gems")->IntAttribute("amount"), 6);
}
} // namespace
} // namespace progresstest
