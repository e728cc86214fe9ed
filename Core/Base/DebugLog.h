#pragma once

// The debug level of the main log: its plain (debugger) outputs without the
// log file. For lines written once per item of a large file, which would
// swell the player's log.
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"

namespace base
{
// The main log's plain outputs as they are now; main thread only, like the log.
Log& DebugLevel();
} // namespace base

// An entry on the debug level that knows where it was made.
#define HV_LOG_DEBUG(format) \
    ::base::LogMessage(::base::DebugLevel(), format, __FILE__, __TIMESTAMP__, __PRETTY_FUNCTION__, __LINE__)
