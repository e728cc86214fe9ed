#pragma once

// One step of an upgrade: its prices and the parameters in force while it is
// the last step bought (each step holds the total for its level).
#include <cstdint>

namespace tinyxml2
{
class XMLElement;
}

class NQParamSet;

class NQUpgradeStep
{
public:
    // "cost_g", "cost_r" and the "attributes" child (no set without one).
    explicit NQUpgradeStep(const tinyxml2::XMLElement* element);
    NQUpgradeStep(const NQUpgradeStep&) = delete;
    NQUpgradeStep& operator=(const NQUpgradeStep&) = delete;
    ~NQUpgradeStep();

    // The parameter, 0 when the step has no such parameter or no set.
    float GetParam(const char* name) const;

    int32_t goldPrice = 0;
    int32_t gemPrice = 0;
    NQParamSet* parameters = nullptr; // owned
};
