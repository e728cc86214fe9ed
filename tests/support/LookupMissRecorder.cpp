#include "support/LookupMissRecorder.h"

namespace hvtest
{
namespace
{
LookupMisses& Recorded()
{
    static LookupMisses misses;
    return misses;
}

void Record(base::LookupMissKind kind, const std::wstring& name) { Recorded().emplace_back(kind, name); }
} // namespace

LookupMissRecorder::LookupMissRecorder()
{
    Recorded().clear();
    base::SetLookupMissObserver(&Record);
}

LookupMissRecorder::~LookupMissRecorder() { base::SetLookupMissObserver(nullptr); }

const LookupMisses& LookupMissRecorder::Misses() const { return Recorded(); }
}
