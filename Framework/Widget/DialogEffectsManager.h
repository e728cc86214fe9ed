#pragma once

// The dialog-effects table of "data/game.xml": effects data by name, and the
// data name of each dialog that has effects.
#include "Core/Base/Result.h"
#include "Core/Base/Singletone.h"

#include <map>
#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

namespace widget
{
class Dialog;
class DialogEffects;
class DialogEffectsData;
class DialogEffectsDataCreatorBase;

class DialogEffectsManager : public base::Singletone<DialogEffectsManager>
{
public:
    DialogEffectsManager();
    ~DialogEffectsManager() override;

    // Preloaded animations hold resources: the manager goes before the
    // resource manager.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    // The "DialogEffects" element: "Data", then "Dialogs". The first failure
    // ends the load; what was stored before it stays.
    HVResultEnum Load(const tinyxml2::XMLElement* element);
    // A dialog not in the table gets no effects and 0; one listed under data
    // that was not loaded gets 1.
    HVResultEnum GetEffects(Dialog* dialog, DialogEffects** out);
    // Deletes every effects data object and empties the dialog table; the
    // application calls it before its renderer goes.
    void Clear();
    // Clear on the manager when it exists; none is made for it.
    static void ClearIfCreated();

    const std::map<std::string, DialogEffectsData*>& GetData() const { return mData; }
    const std::map<std::string, std::string>& GetDialogs() const { return mDialogs; }

private:
    HVResultEnum LoadData(const tinyxml2::XMLElement* data);
    HVResultEnum LoadDialogs(const tinyxml2::XMLElement* dialogs);

    std::map<std::string, DialogEffectsDataCreatorBase*> mCreators;
    std::map<std::string, DialogEffectsData*> mData;
    std::map<std::string, std::string> mDialogs;
};
} // namespace widget
