// CRegKey: an open registry key, closed by the destructor (or Close).
//
// Every call that names a key or a value comes in both text forms: UTF-16 names (the ...W
// functions) and 8-bit names in the thread's ANSI code page (the ...A functions), for the
// modules built without UNICODE (the synchronisation plug-ins). A string value is read and
// written in the form of its name. A call with a null name and nothing else to tell the forms
// apart is ambiguous: name the default value "" (or L"").
//
// The typed reads accept a value only when it has the right type and size and leave the
// caller's variable alone otherwise:
//   QueryDWORDValue   REG_DWORD, 4 bytes
//   QueryStringValue  REG_SZ or REG_EXPAND_SZ, ending in a terminator, fitting the buffer
//                     (chars in: the buffer's size in characters; out: characters with the
//                     terminator)
//   QueryBinaryValue  REG_BINARY no larger than the buffer (bytes in: buffer size; out: size read)
//   QueryValue        any type, as stored: the platform's own read, for callers with rules of
//                     their own (type, size and bytes out, the buffer as the platform leaves it)
// Results are the platform's error codes: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND (no value),
// ERROR_INVALID_DATA (wrong type or not terminated), ERROR_MORE_DATA (too large).
#pragma once

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

class CRegKey {
public:
    HKEY m_hKey = nullptr;

    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    operator HKEY() const { return m_hKey; }

    LONG Open(HKEY parent, LPCWSTR name, REGSAM access = KEY_READ | KEY_WRITE) { return OpenKey(parent, name, access); }
    LONG Open(HKEY parent, LPCSTR name, REGSAM access = KEY_READ | KEY_WRITE) { return OpenKey(parent, name, access); }
    LONG Create(HKEY parent, LPCWSTR name, LPWSTR className = nullptr, DWORD options = REG_OPTION_NON_VOLATILE,
                REGSAM access = KEY_READ | KEY_WRITE, LPSECURITY_ATTRIBUTES sa = nullptr, LPDWORD disposition = nullptr)
    {
        return CreateKey(parent, name, className, options, access, sa, disposition);
    }
    LONG Create(HKEY parent, LPCSTR name, LPSTR className = nullptr, DWORD options = REG_OPTION_NON_VOLATILE,
                REGSAM access = KEY_READ | KEY_WRITE, LPSECURITY_ATTRIBUTES sa = nullptr, LPDWORD disposition = nullptr)
    {
        return CreateKey(parent, name, className, options, access, sa, disposition);
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

    LONG QueryValue(LPCWSTR name, DWORD* type, void* data, DWORD* bytes)
    {
        return ::RegQueryValueExW(m_hKey, name, nullptr, type, static_cast<LPBYTE>(data), bytes);
    }
    LONG QueryValue(LPCSTR name, DWORD* type, void* data, DWORD* bytes)
    {
        return ::RegQueryValueExA(m_hKey, name, nullptr, type, static_cast<LPBYTE>(data), bytes);
    }

    LONG QueryDWORDValue(LPCWSTR name, DWORD& value) { return QueryDWORD(name, value); }
    LONG QueryDWORDValue(LPCSTR name, DWORD& value) { return QueryDWORD(name, value); }
    LONG QueryStringValue(LPCWSTR name, LPWSTR value, ULONG* chars) { return QueryString(name, value, chars); }
    LONG QueryStringValue(LPCSTR name, LPSTR value, ULONG* chars) { return QueryString(name, value, chars); }
    LONG QueryBinaryValue(LPCWSTR name, void* value, ULONG* bytes) { return QueryBinary(name, value, bytes); }
    LONG QueryBinaryValue(LPCSTR name, void* value, ULONG* bytes) { return QueryBinary(name, value, bytes); }

    LONG SetDWORDValue(LPCWSTR name, DWORD value)
    {
        return ::RegSetValueExW(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    LONG SetDWORDValue(LPCSTR name, DWORD value)
    {
        return ::RegSetValueExA(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    // Writes the characters and the terminator.
    LONG SetStringValue(LPCWSTR name, LPCWSTR value, DWORD type = REG_SZ)
    {
        DWORD size = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
        return ::RegSetValueExW(m_hKey, name, 0, type, reinterpret_cast<const BYTE*>(value), size);
    }
    LONG SetStringValue(LPCSTR name, LPCSTR value, DWORD type = REG_SZ)
    {
        DWORD size = static_cast<DWORD>(strlen(value) + 1);
        return ::RegSetValueExA(m_hKey, name, 0, type, reinterpret_cast<const BYTE*>(value), size);
    }
    LONG SetBinaryValue(LPCWSTR name, const void* value, ULONG bytes)
    {
        return ::RegSetValueExW(m_hKey, name, 0, REG_BINARY, static_cast<const BYTE*>(value), bytes);
    }
    LONG SetBinaryValue(LPCSTR name, const void* value, ULONG bytes)
    {
        return ::RegSetValueExA(m_hKey, name, 0, REG_BINARY, static_cast<const BYTE*>(value), bytes);
    }
    LONG DeleteValue(LPCWSTR name) { return ::RegDeleteValueW(m_hKey, name); }
    LONG DeleteValue(LPCSTR name) { return ::RegDeleteValueA(m_hKey, name); }
    LONG DeleteSubKey(LPCWSTR name) { return ::RegDeleteKeyW(m_hKey, name); }
    LONG DeleteSubKey(LPCSTR name) { return ::RegDeleteKeyA(m_hKey, name); }
    // Deletes a sub-key with everything below it.
    LONG RecurseDeleteKey(LPCWSTR name) { return RecurseDelete(name); }
    LONG RecurseDeleteKey(LPCSTR name) { return RecurseDelete(name); }

private:
    static LONG OpenKeyEx(HKEY parent, LPCWSTR name, REGSAM access, HKEY* key)
    {
        return ::RegOpenKeyExW(parent, name, 0, access, key);
    }
    static LONG OpenKeyEx(HKEY parent, LPCSTR name, REGSAM access, HKEY* key)
    {
        return ::RegOpenKeyExA(parent, name, 0, access, key);
    }
    static LONG CreateKeyEx(HKEY parent, LPCWSTR name, LPWSTR className, DWORD options, REGSAM access,
                            LPSECURITY_ATTRIBUTES sa, HKEY* key, LPDWORD disposition)
    {
        return ::RegCreateKeyExW(parent, name, 0, className, options, access, sa, key, disposition);
    }
    static LONG CreateKeyEx(HKEY parent, LPCSTR name, LPSTR className, DWORD options, REGSAM access,
                            LPSECURITY_ATTRIBUTES sa, HKEY* key, LPDWORD disposition)
    {
        return ::RegCreateKeyExA(parent, name, 0, className, options, access, sa, key, disposition);
    }
    static LONG EnumKey(HKEY key, DWORD index, wchar_t* name, DWORD* chars)
    {
        return ::RegEnumKeyExW(key, index, name, chars, nullptr, nullptr, nullptr, nullptr);
    }
    static LONG EnumKey(HKEY key, DWORD index, char* name, DWORD* chars)
    {
        return ::RegEnumKeyExA(key, index, name, chars, nullptr, nullptr, nullptr, nullptr);
    }

    template <class Char>
    LONG OpenKey(HKEY parent, const Char* name, REGSAM access)
    {
        HKEY key = nullptr;
        LONG r = OpenKeyEx(parent, name, access, &key);
        if (r == ERROR_SUCCESS) Attach(key);
        return r;
    }

    template <class Char>
    LONG CreateKey(HKEY parent, const Char* name, Char* className, DWORD options, REGSAM access,
                   LPSECURITY_ATTRIBUTES sa, LPDWORD disposition)
    {
        HKEY key = nullptr;
        LONG r = CreateKeyEx(parent, name, className, options, access, sa, &key, disposition);
        if (r == ERROR_SUCCESS) Attach(key);
        return r;
    }

    template <class Char>
    LONG QueryDWORD(const Char* name, DWORD& value)
    {
        DWORD type = 0, data = 0, size = sizeof data;
        LONG r = QueryValue(name, &type, &data, &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_DWORD || size != sizeof data) return ERROR_INVALID_DATA;
        value = data;
        return ERROR_SUCCESS;
    }

    template <class Char>
    LONG QueryString(const Char* name, Char* value, ULONG* chars)
    {
        DWORD type = 0, size = 0;
        LONG r = QueryValue(name, &type, nullptr, &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
        if (size % sizeof(Char) || size < sizeof(Char)) return ERROR_INVALID_DATA;
        if (size > *chars * sizeof(Char)) {
            *chars = size / sizeof(Char);
            return ERROR_MORE_DATA;
        }
        std::vector<Char> buf(size / sizeof(Char));
        r = QueryValue(name, &type, buf.data(), &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
        size_t n = size / sizeof(Char);
        if (n == 0 || n > buf.size() || buf[n - 1] != 0) return ERROR_INVALID_DATA;  // not terminated
        memcpy(value, buf.data(), n * sizeof(Char));
        *chars = static_cast<ULONG>(n);
        return ERROR_SUCCESS;
    }

    template <class Char>
    LONG QueryBinary(const Char* name, void* value, ULONG* bytes)
    {
        DWORD type = 0, size = 0;
        LONG r = QueryValue(name, &type, nullptr, &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_BINARY) return ERROR_INVALID_DATA;
        if (size > *bytes) {
            *bytes = size;
            return ERROR_MORE_DATA;
        }
        r = QueryValue(name, &type, value, &size);
        if (r != ERROR_SUCCESS) return r;
        if (type != REG_BINARY) return ERROR_INVALID_DATA;
        *bytes = size;
        return ERROR_SUCCESS;
    }

    template <class Char>
    LONG RecurseDelete(const Char* name)
    {
        CRegKey sub;
        LONG r = sub.Open(m_hKey, name, KEY_READ | KEY_WRITE);
        if (r != ERROR_SUCCESS) return r;
        Char child[256];
        for (;;) {
            DWORD len = 256;
            if (EnumKey(sub, 0, child, &len) != ERROR_SUCCESS) break;
            r = sub.RecurseDelete(static_cast<const Char*>(child));
            if (r != ERROR_SUCCESS) return r;
        }
        sub.Close();
        return DeleteSubKey(name);
    }
};
