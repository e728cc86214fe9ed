#include "Core/Resource/ResourceLog.h"

#include "Platform/Win32/DebugOutput.h"

namespace resource
{
void LogResourceWarning(const wchar_t* format, const std::wstring& name)
{
    // Until the main log exists the warning goes to the debugger output.
    std::wstring text = format;
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos)
        text.replace(at, 2, name);
    OutputDebugStringW(text.c_str());
}
}
