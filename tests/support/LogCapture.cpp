#include "support/LogCapture.h"

#include "Core/Base/Log.h"

namespace hvtest
{
std::vector<std::wstring>& LogLines()
{
    // Outlives the log, which still writes while it shuts down at exit.
    static auto* lines = new std::vector<std::wstring>;
    return *lines;
}

void LogCapture::Write(const std::wstring& text) { LogLines().push_back(text); }

void CaptureLog()
{
    base::MainLog::Instance()->AddTextOutput(new LogCapture);
    LogLines().clear();
}

int CountLogLinesWith(const std::wstring& text)
{
    int count = 0;
    for (const std::wstring& line : LogLines())
        count += line.find(text) != std::wstring::npos;
    return count;
}
}
