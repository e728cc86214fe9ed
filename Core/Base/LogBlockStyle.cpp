#include "Core/Base/LogBlockStyle.h"

namespace base
{
LogBlockStyle::LogBlockStyle() : LogBlockStyle(std::wstring()) {}

LogBlockStyle::LogBlockStyle(const std::wstring& className)
    : mPrefix(L"<div class=\"" + className + L"\">"), mSuffix(L"</div>")
{
}

const LogBlockStyle& LogBlockStyle::Block()
{
    static const LogBlockStyle block(L"block");
    return block;
}
} // namespace base
