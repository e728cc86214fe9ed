// Arguments split at zero bytes go through the recorded command line and back;
// each must come out as exactly its UTF-8 decoding.
#include "Platform/Win32/CommandLine.h"
#include "Platform/Win32/Utf8Lossy.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> arguments(1);
    for (size_t i = 0; i < size; ++i)
    {
        if (data[i] == 0)
            arguments.emplace_back();
        else
            arguments.back() += static_cast<char>(data[i]);
    }
    win32::SetProcessArguments(arguments);

    // Even a lone empty program name is quoted, so the line is never empty.
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv || static_cast<size_t>(count) != arguments.size())
        std::abort();
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        if (argv[i] != win32::Utf8ToWideLossy(arguments[i]))
            std::abort();
    }
    LocalFree(argv);
    return 0;
}
