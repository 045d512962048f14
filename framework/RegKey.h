// CRegKey: an open registry key, closed by the destructor (or Close).
//
// The typed reads accept a value only when it has the right type and size and leave the
// caller's variable alone otherwise:
//   QueryDWORDValue   REG_DWORD, 4 bytes
//   QueryStringValue  REG_SZ or REG_EXPAND_SZ, ending in a terminator, fitting the buffer
//                     (chars in: the buffer's size in characters; out: characters with the
//                     terminator)
//   QueryBinaryValue  REG_BINARY no larger than the buffer (bytes in: buffer size; out: size read)
// Results are the platform's error codes: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND (no value),
// ERROR_INVALID_DATA (wrong type or not terminated), ERROR_MORE_DATA (too large).
#pragma once

#include <windows.h>

#include <vector>

class CRegKey {
public:
    HKEY m_hKey = nullptr;

    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    operator HKEY() const { return m_hKey; }

    LONG Open(HKEY parent, LPCWSTR name, REGSAM access = KEY_READ | KEY_WRITE)
    {
        HKEY key = nullptr;
        LONG r = ::RegOpenKeyExW(parent, name, 0, access, &key);
        if (r == ERROR_SUCCESS) Attach(key);
        return r;
    }
    LONG Create(HKEY parent, LPCWSTR name, LPWSTR className = nullptr, DWORD options = REG_OPTION_NON_VOLATILE,
                REGSAM access = KEY_READ | KEY_WRITE, LPSECURITY_ATTRIBUTES sa = nullptr, LPDWORD disposition = nullptr)
    {
        HKEY key = nullptr;
        LONG r = ::RegCreateKeyExW(parent, name, 0, className, options, access, sa, &key, disposition);
        if (r == ERROR_SUCCESS) Attach(key);
        return r;
    }
    LONG Close()
    {
        LONG r = ERROR_SUCCESS;
        if (m_hKey) r = ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
        return r;
    }
    void Attach(HKEY key)
    {
        Close();
        m_hKey = key;
    }
    HKEY Detach()
    {
        HKEY key = m_hKey;
        m_hKey = nullptr;
        return key;
    }

    LONG QueryDWORDValue(LPCWSTR name, DWORD& value)
    {
        DWORD type = 0, data = 0, size = sizeof data;
        LONG r = ::RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<LPBYTE>(&data), &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_DWORD || size != sizeof data) return ERROR_INVALID_DATA;
        value = data;
        return ERROR_SUCCESS;
    }

    LONG QueryStringValue(LPCWSTR name, LPWSTR value, ULONG* chars)
    {
        DWORD type = 0, size = 0;
        LONG r = ::RegQueryValueExW(m_hKey, name, nullptr, &type, nullptr, &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
        if (size % sizeof(wchar_t) || size < sizeof(wchar_t)) return ERROR_INVALID_DATA;
        if (size > *chars * sizeof(wchar_t)) {
            *chars = size / sizeof(wchar_t);
            return ERROR_MORE_DATA;
        }
        std::vector<wchar_t> buf(size / sizeof(wchar_t));
        r = ::RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<LPBYTE>(buf.data()), &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
        size_t n = size / sizeof(wchar_t);
        if (n == 0 || n > buf.size() || buf[n - 1] != 0) return ERROR_INVALID_DATA;  // not terminated
        memcpy(value, buf.data(), n * sizeof(wchar_t));
        *chars = static_cast<ULONG>(n);
        return ERROR_SUCCESS;
    }

    LONG QueryBinaryValue(LPCWSTR name, void* value, ULONG* bytes)
    {
        DWORD type = 0, size = 0;
        LONG r = ::RegQueryValueExW(m_hKey, name, nullptr, &type, nullptr, &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_BINARY) return ERROR_INVALID_DATA;
        if (size > *bytes) {
            *bytes = size;
            return ERROR_MORE_DATA;
        }
        r = ::RegQueryValueExW(m_hKey, name, nullptr, &type, static_cast<LPBYTE>(value), &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_BINARY) return ERROR_INVALID_DATA;
        *bytes = size;
        return ERROR_SUCCESS;
    }

    LONG SetDWORDValue(LPCWSTR name, DWORD value)
    {
        return ::RegSetValueExW(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    // Writes the characters and the terminator.
    LONG SetStringValue(LPCWSTR name, LPCWSTR value, DWORD type = REG_SZ)
    {
        DWORD size = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
        return ::RegSetValueExW(m_hKey, name, 0, type, reinterpret_cast<const BYTE*>(value), size);
    }
    LONG SetBinaryValue(LPCWSTR name, const void* value, ULONG bytes)
    {
        return ::RegSetValueExW(m_hKey, name, 0, REG_BINARY, static_cast<const BYTE*>(value), bytes);
    }
    LONG DeleteValue(LPCWSTR name) { return ::RegDeleteValueW(m_hKey, name); }
    LONG DeleteSubKey(LPCWSTR name) { return ::RegDeleteKeyW(m_hKey, name); }
    // Deletes a sub-key with everything below it.
    LONG RecurseDeleteKey(LPCWSTR name)
    {
        CRegKey sub;
        LONG r = sub.Open(m_hKey, name, KEY_READ | KEY_WRITE);
        if (r != ERROR_SUCCESS) return r;
        wchar_t child[256];
        for (;;) {
            DWORD len = 256;
            if (::RegEnumKeyExW(sub, 0, child, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            r = sub.RecurseDeleteKey(child);
            if (r != ERROR_SUCCESS) return r;
        }
        sub.Close();
        return DeleteSubKey(name);
    }
};
