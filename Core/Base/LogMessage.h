#pragma once

// One log entry: fed its arguments one at a time like base::Format, written
// to every output of the log when it is destroyed, at the end of the
// statement that made it. Outputs attached meanwhile do not get it.
#include "Core/Base/Format.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogBlockStyle.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace base
{
class LogMessage
{
public:
    LogMessage(Log& log, const wchar_t* format, const char* file, const char* timestamp, const char* function,
               int line);
    LogMessage(Log& log, const std::wstring& format, const char* file, const char* timestamp,
               const char* function, int line);
    LogMessage(const LogMessage&) = delete;
    LogMessage& operator=(const LogMessage&) = delete;
    ~LogMessage();

    // HTML outputs only; plain outputs keep the bare text.
    LogMessage& SetStyle(const LogBlockStyle& style);

    LogMessage& operator%(int32_t value);
    LogMessage& operator%(uint32_t value);
    LogMessage& operator%(float value);
    LogMessage& operator%(const std::wstring& text);
    // 64-bit and double arguments would convert silently: callers cast.
    LogMessage& operator%(long) = delete;
    LogMessage& operator%(unsigned long) = delete;
    LogMessage& operator%(long long) = delete;
    LogMessage& operator%(unsigned long long) = delete;
    LogMessage& operator%(double) = delete;

    // Where the entry was made; never part of the written text.
    const char* GetFile() const { return mFile; }
    const char* GetTimestamp() const { return mTimestamp; }
    const char* GetFunction() const { return mFunction; }
    int GetLine() const { return mLine; }

private:
    struct Record
    {
        Record(const std::wstring& format, LogOutput* output) : mFormat(format), mOutput(output) {}
        Format mFormat;
        LogOutput* mOutput;
        std::wstring mPrefix;
        std::wstring mSuffix;
    };

    template <class T>
    LogMessage& Bind(const T& value);

    std::vector<std::unique_ptr<Record>> mRecords; // HTML records first
    size_t mHtmlCount = 0;
    char mFile[256];
    char mTimestamp[256];
    char mFunction[2048];
    int mLine;
};
} // namespace base

// An entry on the main log that knows where it was made.
#define HV_LOG(format) \
    ::base::LogMessage(*::base::MainLog::Instance(), format, __FILE__, __TIMESTAMP__, __PRETTY_FUNCTION__, __LINE__)
