#pragma once

// A log file rewritten at every start: each text as UTF-8 with CR LF line
// ends, flushed at once so a crash loses nothing. A file that cannot be
// created makes every write do nothing.
#include "Core/Base/LogOutput.h"

#include <fstream>

namespace base
{
class LogUtf8File : public LogOutput
{
public:
    explicit LogUtf8File(const std::wstring& path);
    void Write(const std::wstring& text) override;

private:
    std::ofstream mFile;
};
} // namespace base
