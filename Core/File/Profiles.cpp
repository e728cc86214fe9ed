#include "Core/File/Profiles.h"

#include "Core/App/Win32/ApplicationWin32.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileInfo.h"
#include "Core/File/ReadStreamBytes.h"
#include "Core/File/UserDataFileContainer.h"
#include "Platform/Win32/Directories.h"
#include "Platform/Win32/FileReplace.h"
#include "Platform/Win32/Files.h"
#include "Platform/Win32/Handles.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <utility>

namespace file
{
const std::wstring Profiles::kFileName = L"profiles.xml";
const std::wstring Profiles::kDefaultProfileName = L"Player01234567890123456789";

namespace
{
const char* const kRoot = "Profiles";
const char* const kProfile = "Profile";
const char* const kName = "name";
const char* const kCurrent = "currentProfile";
const char* const kPurchases = "Purchases";

std::wstring NameOf(const tinyxml2::XMLElement* profile)
{
    const char* name = profile->Attribute(kName);
    return name ? base::ToWide(name, 1) : std::wstring();
}

constexpr size_t kReadChunk = 16 * 1024;

// The byte length of the last UTF-8 character of a text that is valid UTF-8.
size_t LastCharacterBytes(const std::string& text)
{
    size_t bytes = 0;
    while (bytes < text.size() && (static_cast<unsigned char>(text[text.size() - 1 - bytes]) & 0xC0) == 0x80)
        ++bytes;
    return bytes < text.size() ? bytes + 1 : text.size();
}

// A name the rule keeps and no other profile has: the fitted name, shortened
// by as much as a number after it needs. An empty name always takes a number,
// since the game reads an empty name as "no player".
std::string UniqueName(const std::string& fitted, const std::set<std::string>& taken, Profiles::NameRule rule)
{
    if (!fitted.empty() && taken.count(fitted) == 0)
        return fitted;
    std::string stem = fitted;
    for (size_t number = 1;; ++number)
    {
        std::string candidate = stem + std::to_string(number);
        while (!stem.empty() && rule(candidate) != candidate)
        {
            stem.resize(stem.size() - LastCharacterBytes(stem));
            candidate = stem + std::to_string(number);
        }
        if (taken.count(candidate) == 0)
            return candidate;
    }
}

bool WriteAll(HANDLE file, const char* bytes, size_t size)
{
    while (size > 0)
    {
        DWORD written = 0;
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        if (!::WriteFile(file, bytes, chunk, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

void SaveStepDone()
{
    if (Profiles::sAfterSaveStep)
        Profiles::sAfterSaveStep();
}

// Creates or truncates the file and puts the bytes on the disk.
bool WriteWholeFile(const std::wstring& path, const char* bytes, size_t size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    SaveStepDone();
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = WriteAll(file, bytes, size);
    SaveStepDone();
    ok = FlushFileBuffers(file) && ok;
    SaveStepDone();
    ok = CloseHandle(file) && ok;
    SaveStepDone();
    return ok;
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char chunk[kReadChunk];
    bool ok = true;
    for (;;)
    {
        DWORD read = 0;
        ok = ::ReadFile(file, chunk, sizeof(chunk), &read, nullptr) != FALSE;
        bytes.append(chunk, read);
        if (!ok || read < sizeof(chunk))
            break;
    }
    return CloseHandle(file) && ok;
}
}

Profiles::Profiles() = default;

Profiles::~Profiles()
{
    if (m_document && !app::ApplicationWin32::sAnotherInstance)
        Save();
}

std::vector<base::SingletoneBase*> Profiles::GetDependencies()
{
    return {UserDataFileContainer::Instance()};
}

void Profiles::StartFresh()
{
    m_document = std::make_unique<tinyxml2::XMLDocument>(true);
    m_root = m_document->NewElement(kRoot);
    m_document->InsertEndChild(m_root);
    m_current = nullptr;
}

void Profiles::StartDamaged()
{
    StartFresh();
    SelectProfile(kDefaultProfileName);
    sProfilesReset = true;
    m_keepDamagedFile = true;
}

void Profiles::Load()
{
    m_document = std::make_unique<tinyxml2::XMLDocument>(true);
    m_root = nullptr;
    m_current = nullptr;
    m_keepDamagedFile = false;
    m_damagedFilesShifted = false;

    UserDataFileContainer* userData = UserDataFileContainer::Instance();
    // Without a user-data folder the bare name would be looked up elsewhere.
    if (userData->GetRootPath().empty() || !userData->FileExists(kFileName))
    {
        StartFresh();
        SelectProfile(kDefaultProfileName);
        return;
    }

    std::string text;
    bool read = false;
    {
        std::unique_ptr<FileInfo> info(userData->Open(kFileName));
        std::unique_ptr<base::Stream> stream(info ? info->OpenStream() : nullptr);
        read = stream && ReadStreamBytes(*stream, text);
    }
    if (!read || m_document->Parse(text.c_str()) != tinyxml2::XML_SUCCESS)
    {
        StartDamaged();
        return;
    }
    m_root = m_document->FirstChildElement(kRoot);
    if (!m_root)
    {
        // Parsed, but not ours: the same as a damaged file.
        StartDamaged();
        return;
    }
    if (m_nameRule)
        FitNames();
    if (const char* current = m_root->Attribute(kCurrent))
    {
        SelectProfile(base::ToWide(current, 1));
        return;
    }
    // No current profile named: nothing was lost, take the first one.
    const tinyxml2::XMLElement* first = m_root->FirstChildElement(kProfile);
    SelectProfile(first ? NameOf(first) : kDefaultProfileName);
}

void Profiles::FitNames()
{
    // Compared as stored bytes: a name of many megabytes is never widened.
    const char* current = m_root->Attribute(kCurrent);
    tinyxml2::XMLElement* currentProfile = nullptr;
    std::set<std::string> taken;
    std::vector<std::pair<tinyxml2::XMLElement*, std::string>> renamed;
    for (tinyxml2::XMLElement* e = m_root->FirstChildElement(kProfile); e; e = e->NextSiblingElement(kProfile))
    {
        const char* stored = e->Attribute(kName);
        if (current && !currentProfile && stored && std::strcmp(stored, current) == 0)
            currentProfile = e;
        // Without a name the profile reads as the empty name, as before.
        if (!stored)
            continue;
        std::string fitted = m_nameRule(stored);
        if (fitted == stored)
            taken.insert(std::move(fitted));
        else
            renamed.emplace_back(e, std::move(fitted));
    }
    for (auto& [profile, fitted] : renamed)
    {
        const size_t storedBytes = std::strlen(profile->Attribute(kName));
        const std::string name = UniqueName(fitted, taken, m_nameRule);
        taken.insert(name);
        HV_LOG(L"profiles: a stored name of %d bytes is not one a player can type; it is now \"%s\"\n") %
            static_cast<int32_t>(std::min<size_t>(storedBytes, INT32_MAX)) % base::ToWide(name, 1);
        profile->SetAttribute(kName, name.c_str());
    }
    if (currentProfile)
        m_root->SetAttribute(kCurrent, currentProfile->Attribute(kName));
    else if (current)
        m_root->SetAttribute(kCurrent, m_nameRule(current).c_str());
}

void Profiles::SelectProfile(const std::wstring& name)
{
    if (!m_root)
        Load();
    m_current = FindProfile(name);
    if (!m_current)
    {
        m_current = m_document->NewElement(kProfile);
        m_current->SetAttribute(kName, base::ToNarrow(name, 1).c_str());
        m_root->InsertEndChild(m_current);
    }
    const char* currentName = m_current->Attribute(kName);
    m_root->SetAttribute(kCurrent, currentName ? currentName : "");
}

tinyxml2::XMLElement* Profiles::FindProfile(const std::wstring& name)
{
    if (!m_root)
        return nullptr;
    for (tinyxml2::XMLElement* e = m_root->FirstChildElement(kProfile); e; e = e->NextSiblingElement(kProfile))
        if (NameOf(e) == name)
            return e;
    return nullptr;
}

std::vector<std::wstring> Profiles::GetProfileNames()
{
    std::vector<std::wstring> names;
    if (!m_root)
        return names;
    for (const tinyxml2::XMLElement* e = m_root->FirstChildElement(kProfile); e; e = e->NextSiblingElement(kProfile))
        names.push_back(NameOf(e));
    return names;
}

std::wstring Profiles::GetCurrentProfileName()
{
    return m_current ? NameOf(m_current) : std::wstring();
}

void Profiles::RemoveProfile(const std::wstring& name)
{
    tinyxml2::XMLElement* profile = FindProfile(name);
    const bool wasCurrent = profile == m_current;
    if (profile)
    {
        m_root->DeleteChild(profile);
        if (wasCurrent)
            m_current = nullptr;
    }
    if (wasCurrent)
    {
        const std::vector<std::wstring> names = GetProfileNames();
        SelectProfile(names.empty() ? kDefaultProfileName : names.front());
    }
}

void Profiles::RenameCurrentProfile(const std::wstring& name)
{
    if (!m_current)
        return;
    const std::string narrow = base::ToNarrow(name, 1);
    m_current->SetAttribute(kName, narrow.c_str());
    m_root->SetAttribute(kCurrent, narrow.c_str());
}

tinyxml2::XMLElement* Profiles::GetPurchasesElement()
{
    if (!m_document)
        Load();
    tinyxml2::XMLElement* purchases = m_document->FirstChildElement(kPurchases);
    if (!purchases)
    {
        purchases = m_document->NewElement(kPurchases);
        m_document->InsertEndChild(purchases);
    }
    return purchases;
}

int Profiles::Save()
{
    if (!m_document)
        return tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED;
    const int result = WriteDocument();
    if (result != tinyxml2::XML_SUCCESS)
        HV_LOG(L"Could not save the profiles.\n").SetStyle(base::LogBlockStyle());
    return result;
}

void Profiles::ShiftDamagedFiles(const std::wstring& damaged)
{
    const auto numbered = [&damaged](int n) { return n == 0 ? damaged : damaged + L"." + std::to_wstring(n); };
    // A missing copy is no failure: the chain may have gaps after a crash.
    DeleteFileW(numbered(kKeptDamagedFiles - 1).c_str());
    SaveStepDone();
    for (int n = kKeptDamagedFiles - 2; n >= 0; --n)
    {
        MoveFileExW(numbered(n).c_str(), numbered(n + 1).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        SaveStepDone();
    }
}

int Profiles::WriteDocument()
{
    tinyxml2::XMLPrinter printer(nullptr, false);
    m_document->Print(&printer);
    const size_t size = static_cast<size_t>(printer.CStrSize()) - 1; // without the terminator

    const std::wstring root = UserDataFileContainer::Instance()->GetRootPath();
    // No folder (never set, or its container already gone at exit): the bare
    // name would land in the current folder.
    if (root.empty())
        return tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED;
    const std::wstring target = root + kFileName;
    const std::wstring temporary = target + L".tmp";
    const std::wstring damaged = target + L".corrupt";
    const DWORD replace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

    if (!WriteWholeFile(temporary, printer.CStr(), size))
    {
        DeleteFileW(temporary.c_str());
        return tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED;
    }
    if (m_keepDamagedFile)
    {
        // What a player might still recover is copied aside while the damaged
        // file still stands: a crash before the replacement below leaves it in
        // place, so the next start notices the damage again. A file that cannot
        // be read is moved aside instead.
        // Once a load: a save that keeps failing must not push the older copies out.
        if (!m_damagedFilesShifted)
        {
            ShiftDamagedFiles(damaged);
            m_damagedFilesShifted = true;
        }
        std::string bytes;
        const bool copied = ReadWholeFile(target, bytes) && WriteWholeFile(damaged, bytes.data(), bytes.size());
        if (!copied && !MoveFileExW(target.c_str(), damaged.c_str(), replace))
            HV_LOG(L"Could not keep the damaged profiles file.\n").SetStyle(base::LogBlockStyle());
        SaveStepDone();
    }
    const bool replaced = MoveFileExW(temporary.c_str(), target.c_str(), replace);
    SaveStepDone();
    if (!replaced)
    {
        DeleteFileW(temporary.c_str());
        return tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED;
    }
    m_keepDamagedFile = false;
    return tinyxml2::XML_SUCCESS;
}
}
