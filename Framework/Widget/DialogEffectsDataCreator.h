#pragma once

// Makes empty effects data of one type, by the type's element name.
#include "Framework/Widget/DialogEffectsData.h"

namespace widget
{
class DialogEffectsDataCreatorBase
{
public:
    virtual ~DialogEffectsDataCreatorBase() = default;
    virtual DialogEffectsData* Create() = 0;
};

template <class T>
class DialogEffectsDataCreator : public DialogEffectsDataCreatorBase
{
public:
    DialogEffectsData* Create() override { return new T; }
};
} // namespace widget
