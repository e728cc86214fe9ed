#pragma once

namespace resource
{
// Frees one type's name map when the manager goes.
class Destroyer
{
public:
    virtual ~Destroyer() = default;
};
}
