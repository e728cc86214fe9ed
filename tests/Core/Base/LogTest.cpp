#include "Core/App/Application.h"
#include "Core/Base/DebugLog.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/LogUtf8File.h"
#include "Core/Base/SingletoneRegistry.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <optional>
#include <variant>
#include <vector>

namespace
{
// Keeps what it is given; counts its deletion.
class CaptureOutput : public base::LogOutput
{
public:
    CaptureOutput(std::vector<std::wstring>* texts, int* deleted = nullptr) : mTexts(texts), mDeleted(deleted) {}
    ~CaptureOutput() override
    {
        if (mDeleted != nullptr)
            ++*mDeleted;
    }
    void Write(const std::wstring& text) override { mTexts->push_back(text); }

private:
    std::vector<std::wstring>* mTexts;
    int* mDeleted;
};

class LogTest : public ::testing::Test
{
protected:
    void SetUp() override { base::testing::TeardownSingletonsNow(); }
    void TearDown() override { base::testing::TeardownSingletonsNow(); }

    base::MainLog& Attach()
    {
        base::MainLog& log = *base::MainLog::Instance();
        log.AddHtmlOutput(new CaptureOutput(&mHtml, &mDeleted));
        log.AddTextOutput(new CaptureOutput(&mText, &mDeleted));
        mHtml.clear();
        mText.clear();
        return log;
    }

    std::vector<std::wstring> mHtml;
    std::vector<std::wstring> mText;
    int mDeleted = 0;
};

TEST_F(LogTest, OutputsGetHeadGreetingAndGoodbye)
{
    std::vector<std::wstring>& html = mHtml;
    std::vector<std::wstring>& text = mText;
    int& deleted = mDeleted;
    base::MainLog::Instance()->AddHtmlOutput(new CaptureOutput(&html, &deleted));
    base::MainLog::Instance()->AddTextOutput(new CaptureOutput(&text, &deleted));
    ASSERT_EQ(html.size(), 1u);
    EXPECT_EQ(html[0].size(), 582u);
    EXPECT_EQ(html[0],
              L"<html><head><meta http-equiv=Content-Type content=\"text/html; charset=utf-8\"><meta "
              L"http-equiv=Content-Language content=ru><style>\n"
              L"body {font-family:verdana;}\n"
              L"hr { size:1px;color:000000 }\n"
              L"div.error { border-width:0 0 0 0px;border-style:solid;border-color:FF0000;color:AA0000;background:"
              L"#CCCCCC;font-weight:bold;padding-bottom:0px; }\n"
              L"span.info { color:000000; }\n"
              L"div.block { border-width:1px;border-style:solid;border-color:000000;padding:3px;margin-bottom:5px; }\n"
              L"div.blockhead { border-width:0px;padding:3px; font-weight:bold ;color:000000;background:#DDDDDD;}\n"
              L"</style></head>\n"
              L"<body>\n");
    EXPECT_EQ(text, std::vector<std::wstring>{L"log initialized\n"});
    base::testing::TeardownSingletonsNow();
    EXPECT_EQ(html.back(), L"</body></html>");
    EXPECT_EQ(text.back(), L"log terminated\n");
    EXPECT_EQ(deleted, 2);
}

using Arg = std::variant<int32_t, uint32_t, float, std::wstring>;

struct Case
{
    const char* name;
    const wchar_t* format;
    std::vector<Arg> args;
    std::optional<base::LogBlockStyle> style;
    std::wstring html, text;
};

TEST_F(LogTest, EntriesTable)
{
    const Case cases[] = {
        {"default style", L"RenderDX9::ResetDevice()\n", {}, base::LogBlockStyle(),
         L"<div class=\"\">RenderDX9::ResetDevice()\n</div>", L"RenderDX9::ResetDevice()\n"},
        {"block style", L"Trying to Load already loaded resource '%s'.\n", {std::wstring(L"a<b&c")},
         base::LogBlockStyle::Block(), L"<div class=\"block\">Trying to Load already loaded resource 'a<b&c'.\n</div>",
         L"Trying to Load already loaded resource 'a<b&c'.\n"},
        {"named style", L"x", {}, base::LogBlockStyle(L"error"), L"<div class=\"error\">x</div>", L"x"},
        {"no style", L"n=%d", {int32_t(-4)}, std::nullopt, L"n=-4", L"n=-4"},
        {"fewer arguments", L"%d,%d,%d;", {int32_t(1)}, std::nullopt, L"1,,%d;", L"1,,%d;"},
        {"extra arguments", L"%d.", {int32_t(1), int32_t(2), std::wstring(L"x")}, std::nullopt, L"1.", L"1."},
        {"all kinds", L"%u %5.2f %x %s", {uint32_t(7), 2.5f, int32_t(255), std::wstring(L"\u0416")},
         std::nullopt, L"7  2.50 ff \u0416", L"7  2.50 ff \u0416"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        base::testing::TeardownSingletonsNow();
        mDeleted = 0;
        base::MainLog& log = Attach();
        {
            base::LogMessage entry(log, c.format, __FILE__, __TIMESTAMP__, __PRETTY_FUNCTION__, __LINE__);
            if (c.style)
                entry.SetStyle(*c.style);
            for (const Arg& arg : c.args)
                std::visit([&entry](const auto& value) { entry % value; }, arg);
            EXPECT_TRUE(mHtml.empty()); // written when the entry goes
        }
        EXPECT_EQ(mHtml, std::vector<std::wstring>{c.html});
        EXPECT_EQ(mText, std::vector<std::wstring>{c.text});
    }
}

TEST_F(LogTest, StylesNestAndCallSiteIsKept)
{
    base::MainLog& log = Attach();
    {
        auto entry = std::make_unique<base::LogMessage>(log, std::wstring(L"t"), "file.cpp", "Thu Dec 10", "void f()", 12);
        entry->SetStyle(base::LogBlockStyle(L"inner")).SetStyle(base::LogBlockStyle::Block());
        EXPECT_STREQ(entry->GetFile(), "file.cpp");
        EXPECT_STREQ(entry->GetFunction(), "void f()");
        EXPECT_EQ(entry->GetLine(), 12);
    }
    EXPECT_EQ(mHtml.back(), L"<div class=\"block\">t</div></div>");
    EXPECT_EQ(mText.back(), L"t");

    const std::string longName(5000, 'f');
    base::LogMessage cut(log, L"", longName.c_str(), nullptr, longName.c_str(), 1);
    EXPECT_EQ(std::string(cut.GetFile()), longName.substr(0, 255));
    EXPECT_EQ(std::string(cut.GetFunction()), longName.substr(0, 2047));
    EXPECT_STREQ(cut.GetTimestamp(), "");
}

TEST_F(LogTest, DebugLevelEntriesMissTheFileButReachTheDebugger)
{
    Attach();
    HV_LOG_DEBUG(L"point %d\n") % 7;
    HV_LOG(L"kept\n");
    EXPECT_EQ(mText, (std::vector<std::wstring>{L"point 7\n", L"kept\n"}));
    ASSERT_EQ(mHtml.size(), 1u);
    EXPECT_NE(mHtml[0].find(L"kept"), std::wstring::npos);

    // After the main log is gone and made again, the level follows the new outputs.
    base::testing::TeardownSingletonsNow();
    mText.clear();
    HV_LOG_DEBUG(L"no output\n");
    Attach();
    HV_LOG_DEBUG(L"again\n");
    EXPECT_EQ(mText, std::vector<std::wstring>{L"again\n"});
    EXPECT_TRUE(mHtml.empty());
}

TEST_F(LogTest, NoOutputsWriteNothingAndLateOutputsMissTheEntry)
{
    base::MainLog& log = *base::MainLog::Instance();
    {
        HV_LOG(L"nobody %d") % int32_t(1);
    }
    {
        auto entry = HV_LOG(L"early");
        log.AddTextOutput(new CaptureOutput(&mText));
    }
    EXPECT_EQ(mText, std::vector<std::wstring>{L"log initialized\n"});
}

TEST_F(LogTest, Utf8FileHoldsCrLfAndIsRewrittenAtEveryStart)
{
    hvtest::TempDir dir;
    const std::string path = dir / "log.html";
    const std::wstring wpath(path.begin(), path.end());
    hvtest::TempDir::WriteFile(path, "old contents that must go");
    base::MainLog::Instance()->AddHtmlOutput(new base::LogUtf8File(wpath));
    HV_LOG(L"\u0416 %d\n").SetStyle(base::LogBlockStyle()) % int32_t(5);
    const std::string during = hvtest::TempDir::ReadFile(path);
    EXPECT_NE(during.find("charset=utf-8\">"), std::string::npos);
    EXPECT_NE(during.find("<body>\r\n<div class=\"\">\xD0\x96 5\r\n</div>"), std::string::npos); // flushed at once
    EXPECT_EQ(during.find("old contents"), std::string::npos);
    EXPECT_EQ(during.find("\n\n"), std::string::npos);
    base::testing::TeardownSingletonsNow();
    const std::string after = hvtest::TempDir::ReadFile(path);
    EXPECT_EQ(after.substr(after.size() - 14), "</body></html>");

    base::MainLog::Instance()->AddHtmlOutput(new base::LogUtf8File(wpath));
    base::testing::TeardownSingletonsNow();
    EXPECT_EQ(hvtest::TempDir::ReadFile(path).size(), 582u + 9 + 14); // head with CR LF, then the end
}

TEST_F(LogTest, UnopenableFileWritesNothing)
{
    hvtest::TempDir dir;
    const std::string path = dir / "missing/log.html";
    base::LogUtf8File file(std::wstring(path.begin(), path.end()));
    file.Write(L"text\n");
    EXPECT_FALSE(hvtest::TempDir::Exists(path));
}

TEST_F(LogTest, InitLogFileNamesTheFileOnlyOnThePlainOutput)
{
    hvtest::TempDir dir;
    const std::wstring folder = std::wstring(dir.Path().wstring()) + L"/";
    std::vector<std::wstring>& text = mText;
    base::MainLog::Instance()->AddTextOutput(new CaptureOutput(&text));
    app::Application* application = app::Application::Instance();
    EXPECT_EQ(application->InitLogFile(folder), HV_OK);
    EXPECT_EQ(application->mLogFolder, folder);
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(text[1], folder + L"log.html(0): Html log file\n");
    ASSERT_EQ(base::MainLog::Instance()->HtmlOutputs().size(), 1u);
    const std::string file = hvtest::TempDir::ReadFile(dir / "log.html");
    EXPECT_EQ(file.find("Html log file"), std::string::npos);
    EXPECT_NE(file.find("<body>"), std::string::npos);
}

TEST_F(LogTest, DebugOutputWritesTheBareTextToStandardError)
{
    base::LogDebugOutput output;
    ::testing::internal::CaptureStderr();
    output.Write(L"a \u0416\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "a \xD0\x96\n");
}

template <class T>
concept Loggable = requires(base::LogMessage& m, T v) { m % v; };
static_assert(Loggable<int32_t> && Loggable<uint32_t> && Loggable<float> && Loggable<std::wstring>);
static_assert(!Loggable<long> && !Loggable<unsigned long> && !Loggable<long long> && !Loggable<double>);
} // namespace
