#include "Game/Data/NQParamSet.h"

#include "Core/Base/Format.h"
#include "Game/Data/DataAttributes.h"

#include <tinyxml2.h>

NQParamSet::NQParamSet(const tinyxml2::XMLElement* element)
{
    if (element == nullptr)
        return;
    for (const tinyxml2::XMLElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement())
        ReadParam(child);
}

void NQParamSet::ReadParam(const tinyxml2::XMLElement* child)
{
    const char* name = child->Attribute("name");
    // Nothing to file it under.
    if (name == nullptr)
        return;
    float value = 0.0f;
    ReadFloatAttribute(child, "value", value);
    mFloats[name] = value;
    // The text is the number written back, not the attribute as written.
    base::FormatA text("%g");
    text % value;
    mTexts[name] = text.GetText();
}

float NQParamSet::GetFloat(std::string name)
{
    return mFloats[name];
}

std::string NQParamSet::GetString(std::string name)
{
    return mTexts[name];
}
