#include "Game/Data/NQUpgradeStep.h"

#include "Game/Data/DataAttributes.h"
#include "Game/Data/NQParamSet.h"

#include <tinyxml2.h>

NQUpgradeStep::NQUpgradeStep(const tinyxml2::XMLElement* element)
{
    ReadIntAttribute(element, "cost_g", goldPrice);
    ReadIntAttribute(element, "cost_r", gemPrice);
    if (const tinyxml2::XMLElement* attributes = element->FirstChildElement("attributes"))
        parameters = new NQParamSet(attributes);
}

NQUpgradeStep::~NQUpgradeStep()
{
    delete parameters;
}

float NQUpgradeStep::GetParam(const char* name) const
{
    return parameters == nullptr ? 0.0f : parameters->GetFloat(name);
}
