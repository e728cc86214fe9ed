#pragma once

// Where finished log texts go. The log owns its outputs.
#include <string>

namespace base
{
class LogOutput
{
public:
    LogOutput() = default;
    LogOutput(const LogOutput&) = delete;
    LogOutput& operator=(const LogOutput&) = delete;
    virtual ~LogOutput();
    virtual void Write(const std::wstring& text) = 0;
};

// The debugger output.
class LogDebugOutput : public LogOutput
{
public:
    void Write(const std::wstring& text) override;
};
} // namespace base
