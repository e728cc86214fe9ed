#pragma once

// The result of every fallible engine operation. A caller that gets a
// non-zero value stops and hands the same value up.
enum HVResultEnum
{
    HV_OK = 0,
    HV_FAIL = 1,
};
