#pragma once

#include <map>
#include <string>

namespace file
{
// Path prefix -> pack-file path, walked in key order.
using MountTable = std::map<std::wstring, std::wstring>;
}
