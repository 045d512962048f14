#include "sdk/activesync/device/ReplNotifyDouble.h"

#include <cstring>
#include <string>

#include "sdk/activesync/DeviceState.h"

namespace {

bool ReadDword(const wchar_t* name, DWORD* value)
{
    DWORD size = sizeof *value;
    return RegGetValueW(HKEY_CURRENT_USER, ALK_SDK_DEVICE_KEY, name, RRF_RT_REG_DWORD, nullptr, value, &size) ==
           ERROR_SUCCESS;
}

}  // namespace

HWND STDMETHODCALLTYPE CReplNotifyDouble::GetWindow(UINT)
{
    return m_window;
}

HRESULT STDMETHODCALLTYPE CReplNotifyDouble::QueryDevice(UINT code, void* data)
{
    ++m_queries;
    if (code != REPL_QUERY_SYNC_DATA) return E_NOTIMPL;
    SDREQUEST* request = static_cast<SDREQUEST*>(data);
    if (!request) return E_INVALIDARG;
    DWORD fails = 0;
    if (ReadDword(L"QueryFails", &fails) && fails) return E_FAIL;

    if (!request->set && request->code == REPL_SYNCDATA_STORE_VALUE) {
        DWORD value = 0;
        if (!ReadDword(L"SyncValue", &value)) return E_FAIL;
        if (!request->data || request->dataSize < sizeof value) return E_INVALIDARG;
        std::memcpy(request->data, &value, sizeof value);
        return S_OK;
    }
    if (request->set && request->code == REPL_SYNCDATA_MESSAGE) {
        return AppendMessage(request->data, request->dataSize);
    }
    return E_NOTIMPL;
}

HRESULT CReplNotifyDouble::AppendMessage(const BYTE* text, UINT size)
{
    if (!text) return E_INVALIDARG;
    // The text ends at its NUL or at the end of the data, whichever comes first.
    std::wstring message(size / sizeof(wchar_t), L'\0');
    std::memcpy(&message[0], text, message.size() * sizeof(wchar_t));
    message.resize(std::wcslen(message.c_str()));

    wchar_t root[MAX_PATH];
    DWORD rootSize = sizeof root;
    if (RegGetValueW(HKEY_CURRENT_USER, ALK_SDK_DEVICE_KEY, L"Root", RRF_RT_REG_SZ, nullptr, root, &rootSize) !=
        ERROR_SUCCESS) {
        return E_FAIL;
    }
    std::wstring path = root;
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    path += ALK_SDK_MESSAGES_FILE;

    std::string line;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, message.c_str(), static_cast<int>(message.size()), nullptr, 0,
                                          nullptr, nullptr);
    if (bytes > 0) {
        line.resize(bytes);
        WideCharToMultiByte(CP_UTF8, 0, message.c_str(), static_cast<int>(message.size()), &line[0], bytes, nullptr,
                            nullptr);
    }
    line += "\r\n";
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return E_FAIL;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? S_OK : E_FAIL;
}
