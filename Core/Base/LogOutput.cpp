#include "Core/Base/LogOutput.h"

#include "Platform/Win32/DebugOutput.h"

namespace base
{
LogOutput::~LogOutput() = default;

void LogDebugOutput::Write(const std::wstring& text) { OutputDebugStringW(text.c_str()); }
} // namespace base
