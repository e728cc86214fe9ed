#pragma once

#include "Core/Base/Result.h"

#include <string>

namespace resource
{
// A named, loadable object shared through counted handles. Each type loads
// and unloads itself; the manager creates, shares and deletes.
class Resource
{
public:
    virtual ~Resource() = default;

    // Hands the resource back to the manager: each type calls the manager's
    // Remove for its own type with itself.
    virtual HVResultEnum Release() = 0;
    // A non-zero result makes the creation fail.
    virtual HVResultEnum OnInit() { return HV_OK; }
    virtual HVResultEnum DoLoad() = 0;
    virtual HVResultEnum DoUnLoad() = 0;

    HVResultEnum Init(const std::wstring& name);
    // Loading a loaded resource (or unloading an unloaded one) only logs.
    HVResultEnum Load();
    HVResultEnum UnLoad();

    const std::wstring& GetName() const { return m_name; }
    bool IsLoaded() const { return m_loaded; }

private:
    std::wstring m_name;
    bool m_loaded = false;
};
}
