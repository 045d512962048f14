#include "sdk/activesync/manager/StoreHost.h"

#include "sdk/activesync/CeServices.h"

namespace {

const char kDefaultsType[] =
    "SOFTWARE\\Microsoft\\Windows CE Services\\SpecialDefaults\\PocketPC\\Services\\Synchronization\\Objects\\ALK";
const char kPartnershipType[] = "Services\\Synchronization\\Objects\\ALK";

bool ReadText(HKEY parent, const char* path, const char* name, std::string* text)
{
    char buffer[MAX_PATH * 2];
    DWORD size = sizeof buffer;
    if (RegGetValueA(parent, path, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return false;
    *text = buffer;
    return !text->empty();
}

}  // namespace

CStoreHost::Result CStoreHost::Locate(bool hasProfile, DWORD profile)
{
    HKEY type = nullptr;
    std::string where;
    if (hasProfile) {
        HCESVC partnership = nullptr;
        const HRESULT hr = CeSvcOpen(CESVC_PARTNERSHIP, profile, FALSE, &partnership);
        m_log.Result(("CeSvcOpen(" + std::to_string(static_cast<long>(profile)) + ")").c_str(), hr);
        if (SUCCEEDED(hr) && partnership) {
            RegOpenKeyExA(partnership, kPartnershipType, 0, KEY_READ, &type);
            CeSvcClose(partnership);
        }
        where = "partnership " + std::to_string(static_cast<long>(profile));
    } else {
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDefaultsType, 0, KEY_READ, &type);
        where = "PocketPC defaults";
    }
    if (!type) {
        m_log.Line("object type ALK: not registered (%s)", where.c_str());
        return notRegistered;
    }
    DWORD disabledValue = 0, size = sizeof disabledValue;
    const bool hasDisabled =
        RegGetValueA(type, nullptr, "Disabled", RRF_RT_REG_DWORD, nullptr, &disabledValue, &size) == ERROR_SUCCESS;
    const bool hasStore = ReadText(type, nullptr, "Store", &m_progID);
    RegCloseKey(type);
    if (hasDisabled && disabledValue != 0) {
        m_log.Line("object type ALK: disabled (%s)", where.c_str());
        return disabled;
    }
    if (!hasStore) {
        m_log.Line("object type ALK: no store (%s)", where.c_str());
        return notRegistered;
    }
    if (!ReadText(HKEY_CLASSES_ROOT, (m_progID + "\\CLSID").c_str(), nullptr, &m_classID)) {
        m_log.Line("object type ALK: store %s has no class id", m_progID.c_str());
        return noClass;
    }
    ReadText(HKEY_CLASSES_ROOT, ("CLSID\\" + m_classID + "\\InprocServer32").c_str(), nullptr, &m_serverPath);
    m_log.Line("object type ALK (%s): store %s, class %s, server %s", where.c_str(), m_progID.c_str(),
               m_classID.c_str(), m_serverPath.c_str());
    return found;
}

CStoreHost::Result CStoreHost::Create()
{
    wchar_t text[64];
    CLSID classID;
    if (!MultiByteToWideChar(CP_ACP, 0, m_classID.c_str(), -1, text, 64) || FAILED(CLSIDFromString(text, &classID))) {
        m_log.Line("object type ALK: class id %s unreadable", m_classID.c_str());
        return noClass;
    }
    void* store = nullptr;
    const HRESULT hr = CoCreateInstance(classID, nullptr, CLSCTX_INPROC_SERVER, IID_IReplStore, &store);
    m_log.Result(("CoCreateInstance(" + m_classID + ", IReplStore)").c_str(), hr);
    if (FAILED(hr) || !store) return notCreated;
    m_store = static_cast<IReplStore*>(store);
    return found;
}

HRESULT CStoreHost::Release()
{
    if (!m_store) return S_FALSE;
    const ULONG left = m_store->Release();
    m_store = nullptr;
    m_log.Line("Release() = %lu", static_cast<unsigned long>(left));

    HMODULE server = m_serverPath.empty() ? nullptr : GetModuleHandleA(m_serverPath.c_str());
    typedef HRESULT(STDAPICALLTYPE * CanUnload)();
    CanUnload canUnload =
        server ? reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow")))
               : nullptr;
    if (!canUnload) {
        m_log.Line("DllCanUnloadNow: the server is not loaded");
        return E_FAIL;
    }
    const HRESULT hr = canUnload();
    m_log.Result("DllCanUnloadNow()", hr);
    return hr;
}
