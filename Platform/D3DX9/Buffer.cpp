#include "Platform/D3DX9/Buffer.h"

namespace d3dx9 {

ULONG Buffer::Release()
{
    if (--refs_ > 0)
        return refs_;
    delete this;
    return 0;
}

} // namespace d3dx9
