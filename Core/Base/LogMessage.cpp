#include "Core/Base/LogMessage.h"

#include <cstring>

namespace base
{
namespace
{
// Cut to the buffer and always terminated.
template <size_t N>
void CopyCut(char (&buffer)[N], const char* text)
{
    if (text == nullptr)
        text = "";
    std::strncpy(buffer, text, N - 1);
    buffer[N - 1] = '\0';
}
} // namespace

LogMessage::LogMessage(Log& log, const wchar_t* format, const char* file, const char* timestamp,
                       const char* function, int line)
    : LogMessage(log, std::wstring(format != nullptr ? format : L""), file, timestamp, function, line)
{
}

LogMessage::LogMessage(Log& log, const std::wstring& format, const char* file, const char* timestamp,
                       const char* function, int line)
    : mLine(line)
{
    CopyCut(mFile, file);
    CopyCut(mTimestamp, timestamp);
    CopyCut(mFunction, function);
    mRecords.reserve(log.HtmlOutputs().size() + log.TextOutputs().size());
    for (LogOutput* output : log.HtmlOutputs())
        mRecords.push_back(std::make_unique<Record>(format, output));
    mHtmlCount = mRecords.size();
    for (LogOutput* output : log.TextOutputs())
        mRecords.push_back(std::make_unique<Record>(format, output));
}

LogMessage::~LogMessage()
{
    for (const auto& record : mRecords)
    {
        record->mFormat.Finish();
        record->mOutput->Write(record->mPrefix + record->mFormat.GetText() + record->mSuffix);
    }
}

LogMessage& LogMessage::SetStyle(const LogBlockStyle& style)
{
    for (size_t i = 0; i < mHtmlCount; ++i)
    {
        Record& record = *mRecords[i];
        record.mPrefix = style.mPrefix;
        record.mSuffix = style.mSuffix + record.mSuffix;
    }
    return *this;
}

template <class T>
LogMessage& LogMessage::Bind(const T& value)
{
    // The records run the very formatter base::Format is.
    for (const auto& record : mRecords)
        record->mFormat % value;
    return *this;
}

LogMessage& LogMessage::operator%(int32_t value) { return Bind(value); }
LogMessage& LogMessage::operator%(uint32_t value) { return Bind(value); }
LogMessage& LogMessage::operator%(float value) { return Bind(value); }
LogMessage& LogMessage::operator%(const std::wstring& text) { return Bind(text); }
} // namespace base
