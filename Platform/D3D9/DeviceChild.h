#pragma once

// Reference counting shared by every object a device creates. The caller's
// references keep the device alive; the device's own bindings (current
// target, textures, buffers, shaders) only keep the object alive, so a
// binding never stops the device from going away.
#include "Platform/D3D9/LiveObjects.h"
#include "Platform/Win32/Types.h"

namespace d3d9 {

class GlDevice;

class DeviceChild : public LiveObject
{
public:
    // blocksReset: while the caller holds a reference, Reset is refused
    // (default-pool objects and the back buffer).
    DeviceChild(GlDevice* device, bool blocksReset, ULONG initialRefs = 1);
    DeviceChild(const DeviceChild&) = delete;
    DeviceChild& operator=(const DeviceChild&) = delete;
    virtual ~DeviceChild();

    ULONG AddRefExternal();
    ULONG ReleaseExternal();
    void Grab();
    void Drop();
    GlDevice* Device() const { return device_; }

private:
    GlDevice* device_;
    bool blocksReset_;
    ULONG external_;
    ULONG internal_ = 0;
};

// Holds a device binding on a child, null or not.
template <class T> void Rebind(T*& slot, T* value)
{
    if (slot == value)
        return;
    if (value)
        value->Grab();
    T* old = slot;
    slot = value;
    if (old)
        old->Drop();
}

} // namespace d3d9
