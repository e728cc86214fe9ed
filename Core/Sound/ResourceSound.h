#pragma once

#include "Core/Resource/Resource.h"
#include "Platform/Bass/Bass.h"

namespace resource
{
// A sound effect decoded whole into memory, shared by name.
class ResourceSound : public Resource
{
public:
    HSAMPLE GetSample() const { return m_sample; }

    HVResultEnum Release() override;

protected:
    HVResultEnum DoLoad() override;
    HVResultEnum DoUnLoad() override;

private:
    HSAMPLE m_sample = 0;
};
} // namespace resource
