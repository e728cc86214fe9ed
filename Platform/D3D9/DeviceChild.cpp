#include "Platform/D3D9/DeviceChild.h"

#include "Platform/D3D9/GlDevice.h"

namespace d3d9 {

DeviceChild::DeviceChild(GlDevice* device, bool blocksReset, ULONG initialRefs)
    : device_(device), blocksReset_(blocksReset), external_(initialRefs)
{
    if (external_ > 0)
    {
        device_->AddRef();
        if (blocksReset_)
            device_->AdjustResetBlockers(+1);
    }
}

DeviceChild::~DeviceChild() = default;

ULONG DeviceChild::AddRefExternal()
{
    if (external_++ == 0)
    {
        device_->AddRef();
        if (blocksReset_)
            device_->AdjustResetBlockers(+1);
    }
    return external_;
}

ULONG DeviceChild::ReleaseExternal()
{
    if (external_ == 0)
        return 0;
    if (--external_ > 0)
        return external_;
    GlDevice* device = device_;
    if (blocksReset_)
        device->AdjustResetBlockers(-1);
    if (internal_ == 0)
        delete this;
    device->Release();
    return 0;
}

void DeviceChild::Grab() { ++internal_; }

void DeviceChild::Drop()
{
    if (--internal_ == 0 && external_ == 0)
        delete this;
}

} // namespace d3d9
