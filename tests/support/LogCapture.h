#pragma once

// Keeps what the main log writes to its plain outputs, for tests that check
// that a message was (or was not) logged.
#include "Core/Base/LogOutput.h"

#include <string>
#include <vector>

namespace hvtest
{
// Every entry the captures received since the lines were last emptied.
std::vector<std::wstring>& LogLines();

// A plain output that appends each entry to LogLines().
class LogCapture : public base::LogOutput
{
public:
    void Write(const std::wstring& text) override;
};

// Adds a capture to the main log, then empties the lines of its greeting.
void CaptureLog();
// How many captured lines contain the text.
int CountLogLinesWith(const std::wstring& text);
}
