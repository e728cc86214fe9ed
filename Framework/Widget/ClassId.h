#pragma once

#include <cstdint>

namespace widget
{
// A class identifier. Each derivation takes the parent's next count and
// places it by depth, so identifiers up to depth 4 differ from their siblings
// and carry their ancestry in the lower bytes. Handed out, never compared.
struct ClassId
{
    uint32_t mValue = 0;
    int32_t mDepth = 0;
    // Identifiers derived from this one so far, wrapping at 256.
    uint8_t mDerived = 0;

    // The root identifier {0, 0, 0}.
    ClassId() = default;
    // Derives from the parent, whose count advances.
    explicit ClassId(ClassId* parent);
};
} // namespace widget
