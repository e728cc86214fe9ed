#include "Platform/D3D9/LiveObjects.h"

#include <atomic>

namespace d3d9 {

namespace {
std::atomic<int> gLive{0};
}

LiveObject::LiveObject() { ++gLive; }
LiveObject::LiveObject(const LiveObject&) { ++gLive; }
LiveObject::~LiveObject() { --gLive; }

int LiveObjectCount() { return gLive.load(); }

} // namespace d3d9
