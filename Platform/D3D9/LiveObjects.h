#pragma once

// Every stand-in object counts itself, so tests can prove that all were freed
// (platform tests run without leak detection).
namespace d3d9 {

class LiveObject
{
public:
    LiveObject();
    LiveObject(const LiveObject&);
    LiveObject& operator=(const LiveObject&) = default;
    ~LiveObject();
};

int LiveObjectCount();

} // namespace d3d9
