#pragma once

// The process-wide log: HTML outputs (the log file) and plain outputs (the
// debugger). No levels and no filtering: every entry goes to every output.
// Main thread only, so no lock.
#include "Core/Base/LogOutput.h"
#include "Core/Base/Singletone.h"

#include <vector>

namespace base
{
class Log
{
public:
    const std::vector<LogOutput*>& HtmlOutputs() const { return mHtmlOutputs; }
    const std::vector<LogOutput*>& TextOutputs() const { return mTextOutputs; }

protected:
    std::vector<LogOutput*> mHtmlOutputs;
    std::vector<LogOutput*> mTextOutputs;
};

class MainLog : public Singletone<MainLog>, public Log
{
public:
    MainLog();
    ~MainLog() override;

    // Writes the page head, then takes ownership.
    void AddHtmlOutput(LogOutput* output);
    // Writes "log initialized\n", then takes ownership.
    void AddTextOutput(LogOutput* output);
    // Closes the page, says goodbye on the plain outputs and deletes them all.
    void Shutdown();

    // The page head every HTML output starts with.
    static const wchar_t* const kPageHead;
};
} // namespace base
