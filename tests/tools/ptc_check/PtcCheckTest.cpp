#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status;
    std::string output;  // stdout and stderr together
};

ToolRun Shell(const std::string& command) {
    FILE* p = popen(command.c_str(), "r");
    ToolRun r{-1, {}};
    if (!p)
        return r;
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p))
        r.output.append(buf, n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

ToolRun Check(const fs::path& file) { return Shell(std::string(HV_PTC_CHECK) + " '" + file.string() + "' 2>&1"); }

std::string ReadSample() { return hvtest::TempDir::ReadFile(HV_SAMPLE_PTC); }

class PtcCheck : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& text) {
        hvtest::TempDir::WriteFile(dir_.File(name), text);
        return dir_.File(name);
    }

    hvtest::TempDir dir_;
};

TEST_F(PtcCheck, PrintsTheTreeAndASummaryPerEffect) {
    ToolRun r = Check(HV_SAMPLE_PTC);
    EXPECT_EQ(r.status, 0) << r.output;
    for (const char* line : {"ok, 10 effects, 2 atlases", "atlas 0: fx_atlas0.png", "\nui/\n", "\n  glow/\n",
                             "\n    halo  (1 type) peak ", "\n  build  (1 type) peak 30 particles, 1 list, ",
                             "\n  fire  (2 types) peak ", ", 2 lists, ", "\n    twin  (1 type) peak 1 particles",
                             "dot  (1 type) peak 1 particles, 1 list, ends at 10000 ms"})
        EXPECT_NE(r.output.find(line), std::string::npos) << line << "\n" << r.output;
}

TEST_F(PtcCheck, FlagsOnlyMissingAtlasPictures) {
    fs::path p = Write("fx.ptc", ReadSample());
    Write("fx_atlas1.png", "not really a picture");
    ToolRun r = Check(p);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("atlas 0: fx_atlas0.png  (missing)"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("atlas 1: fx_atlas1.png\n"), std::string::npos) << r.output;
}

TEST_F(PtcCheck, ReportsStillPlayingAfterTenSeconds) {
    fs::path p = Write("loop.ptc", "<particles version=\"1\"><atlas file=\"a.png\"/>"
                                   "<emitter name=\"long\" interval2=\"20000\"><type/></emitter></particles>");
    ToolRun r = Check(p);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("long  (1 type) peak 10 particles, 1 list, still playing at 10000 ms"), std::string::npos)
        << r.output;
}

TEST_F(PtcCheck, TypoFailsNamingTheLine) {
    std::string text = ReadSample();
    size_t at = text.find("gravity_y=\"160\"");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 9, "gravty_y");
    int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
    fs::path p = Write("typo.ptc", text);
    ToolRun r = Check(p);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(p.string() + ":" + std::to_string(line) + ": unknown attribute 'gravty_y' in <type>"),
              std::string::npos)
        << r.output;
}

TEST_F(PtcCheck, MissingFileAndBadUsage) {
    ToolRun r = Check(dir_.File("none.ptc"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot read the file"), std::string::npos) << r.output;
    r = Shell(HV_PTC_CHECK " 2>&1");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("usage: ptc_check FILE"), std::string::npos) << r.output;
}

}  // namespace
