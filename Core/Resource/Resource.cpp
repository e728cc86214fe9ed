#include "Core/Resource/Resource.h"

#include "Core/Base/LogMessage.h"

namespace resource
{
HVResultEnum Resource::Init(const std::wstring& name)
{
    m_name = name;
    return OnInit();
}

HVResultEnum Resource::Load()
{
    if (m_loaded)
    {
        HV_LOG(L"Trying to Load already loaded resource '%s'.\n").SetStyle(base::LogBlockStyle::Block()) % m_name;
        return HV_OK;
    }
    const HVResultEnum result = DoLoad();
    if (result != HV_OK)
        return result;
    m_loaded = true;
    return HV_OK;
}

HVResultEnum Resource::UnLoad()
{
    if (!m_loaded)
    {
        HV_LOG(L"Trying to UnLoad already unloaded resource '%s'.\n").SetStyle(base::LogBlockStyle::Block()) %
            m_name;
        return HV_OK;
    }
    const HVResultEnum result = DoUnLoad();
    if (result != HV_OK)
        return result;
    m_loaded = false;
    return HV_OK;
}
}
