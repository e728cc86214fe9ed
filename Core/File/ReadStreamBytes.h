#pragma once

#include <string>

namespace base
{
class Stream;
}

namespace file
{
// The whole stream from its start; false when a read falls short.
bool ReadStreamBytes(base::Stream& stream, std::string& bytes);
}
