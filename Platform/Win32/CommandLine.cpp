#include "Platform/Win32/CommandLine.h"

#include "Platform/Win32/LastError.h"
#include "Platform/Win32/Module.h"
#include "Platform/Win32/Utf8Lossy.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace
{
std::mutex gMutex;
std::wstring gCommandLine;

bool NeedsQuotes(const std::wstring& argument)
{
    return argument.empty() || argument.find_first_of(L" \t\n\v\"") != std::wstring::npos;
}
} // namespace

namespace win32
{
std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!NeedsQuotes(argument))
        return argument;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument)
    {
        if (c == L'\\')
        {
            ++backslashes;
            continue;
        }
        // Backslashes double only where a quote follows them.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine)
{
    std::vector<std::wstring> arguments;
    size_t i = 0;
    const size_t n = commandLine.size();
    while (true)
    {
        while (i < n && (commandLine[i] == L' ' || commandLine[i] == L'\t'))
            ++i;
        if (i >= n)
            break;
        std::wstring argument;
        bool quoted = false;
        while (i < n)
        {
            const wchar_t c = commandLine[i];
            if (!quoted && (c == L' ' || c == L'\t'))
                break;
            if (c == L'\\')
            {
                size_t backslashes = 0;
                while (i < n && commandLine[i] == L'\\')
                {
                    ++backslashes;
                    ++i;
                }
                if (i < n && commandLine[i] == L'"')
                {
                    argument.append(backslashes / 2, L'\\');
                    if (backslashes % 2 == 1)
                    {
                        argument += L'"';
                        ++i;
                    }
                }
                else
                {
                    argument.append(backslashes, L'\\');
                }
                continue;
            }
            if (c == L'"')
            {
                // Inside quotes a doubled quote stands for one literal quote.
                if (quoted && i + 1 < n && commandLine[i + 1] == L'"')
                {
                    argument += L'"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            argument += c;
            ++i;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

void SetProcessArguments(const std::vector<std::string>& arguments)
{
    std::wstring line;
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        if (i > 0)
            line += L' ';
        line += QuoteArgument(Utf8ToWideLossy(arguments[i]));
    }
    std::lock_guard<std::mutex> lock(gMutex);
    gCommandLine = std::move(line);
}

void SetProcessArguments(int argc, const char* const* argv)
{
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.emplace_back(argv[i] ? argv[i] : "");
    SetProcessArguments(arguments);
}
} // namespace win32

LPCWSTR GetCommandLineW()
{
    std::lock_guard<std::mutex> lock(gMutex);
    return gCommandLine.c_str();
}

LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count)
{
    if (!count)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<std::wstring> arguments;
    if (commandLine && *commandLine)
    {
        arguments = win32::SplitCommandLine(commandLine);
    }
    else
    {
        WCHAR path[PATH_MAX];
        GetModuleFileNameW(nullptr, path, PATH_MAX);
        arguments.emplace_back(path);
    }
    size_t characters = 0;
    for (const auto& argument : arguments)
        characters += argument.size() + 1;
    const size_t tableBytes = (arguments.size() + 1) * sizeof(LPWSTR);
    auto* block = static_cast<unsigned char*>(std::malloc(tableBytes + characters * sizeof(WCHAR)));
    if (!block)
    {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto* table = reinterpret_cast<LPWSTR*>(block);
    auto* text = reinterpret_cast<WCHAR*>(block + tableBytes);
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        table[i] = text;
        std::memcpy(text, arguments[i].c_str(), (arguments[i].size() + 1) * sizeof(WCHAR));
        text += arguments[i].size() + 1;
    }
    table[arguments.size()] = nullptr;
    *count = static_cast<int>(arguments.size());
    return table;
}

HLOCAL LocalFree(HLOCAL memory)
{
    std::free(memory);
    return nullptr;
}
