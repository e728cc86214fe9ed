#pragma once

#include <string>

// One command of a tutorial step: a name from the command table and its argument.
struct NQTutorialCommand
{
    std::wstring param;
    int value = 0;
};
