#pragma once

#include "Core/Base/Singletone.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tinyxml2
{
class XMLDocument;
class XMLElement;
}

namespace file
{
// The players' profiles in "profiles.xml" of the user-data folder: a root
// "Profiles" naming the current profile, one "Profile" per player, and beside
// the root the store's "Purchases". Saving never puts a good file at risk:
// the new document goes to a temporary file that replaces the old one.
class Profiles : public base::Singletone<Profiles>
{
public:
    // The name to keep for a name read from the file, both in UTF-8: the game
    // holds stored names to what its own name input could have typed.
    using NameRule = std::string (*)(std::string_view name);

    Profiles();
    // Saves, unless another copy of the program is running.
    ~Profiles() override;

    // The user-data container, so that this store saves before it goes.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    // Applied by every later Load; null keeps names as they are.
    void SetNameRule(NameRule rule) { m_nameRule = rule; }
    // (Re)reads the file; afterwards there is always a current profile.
    void Load();
    // 0 (XML_SUCCESS) when the file was replaced.
    int Save();

    // Makes the named profile current, appending it when absent.
    void SelectProfile(const std::wstring& name);
    tinyxml2::XMLElement* FindProfile(const std::wstring& name);
    std::vector<std::wstring> GetProfileNames();
    std::wstring GetCurrentProfileName();
    void RemoveProfile(const std::wstring& name);
    void RenameCurrentProfile(const std::wstring& name);
    // The top-level "Purchases", appended when absent.
    tinyxml2::XMLElement* GetPurchasesElement();

    tinyxml2::XMLElement* GetCurrentProfile() { return m_current; }
    tinyxml2::XMLDocument* GetDocument() { return m_document.get(); }

    static const std::wstring kFileName;
    // Damaged files kept: "profiles.xml.corrupt" (the newest), then ".corrupt.1" and on.
    static constexpr int kKeptDamagedFiles = 5;
    static const std::wstring kDefaultProfileName;
    // Set when the file on disk could not be used; the main menu reads and clears it.
    static inline bool sProfilesReset = false;
    // Called after each file-system step of a save; tests end the process there.
    static inline void (*sAfterSaveStep)() = nullptr;

private:
    void StartFresh();
    void StartDamaged();
    // Holds every profile name, and the current one, to the name rule.
    void FitNames();
    // Makes room for one more kept damaged file; the oldest goes.
    void ShiftDamagedFiles(const std::wstring& damaged);
    int WriteDocument();

    std::unique_ptr<tinyxml2::XMLDocument> m_document;
    tinyxml2::XMLElement* m_root = nullptr;
    tinyxml2::XMLElement* m_current = nullptr;
    // The file on disk was damaged: the first save keeps it as "profiles.xml.corrupt",
    // the copies kept before moving one number up.
    bool m_keepDamagedFile = false;
    // The kept copies moved up for this load's damaged file.
    bool m_damagedFilesShifted = false;
    NameRule m_nameRule = nullptr;
};
}
