#include "Core/Base/DebugLog.h"

namespace base
{
namespace
{
class DebugLevelLog : public Log
{
public:
    void Follow(const Log& log) { mTextOutputs = log.TextOutputs(); }
};
} // namespace

Log& DebugLevel()
{
    // Followed at every entry: outputs come and go with the main log.
    static DebugLevelLog level;
    level.Follow(*MainLog::Instance());
    return level;
}
} // namespace base
