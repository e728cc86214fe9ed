#pragma once

#include <string>

namespace resource
{
// One warning about a resource, with its name in place of "%s".
void LogResourceWarning(const wchar_t* format, const std::wstring& name);
}
