#pragma once

namespace layer
{
// A face for classes that work on layers; it holds nothing.
class LayerAccess
{
public:
    virtual ~LayerAccess() = default;
};
} // namespace layer
