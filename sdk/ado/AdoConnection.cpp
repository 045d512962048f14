#include "sdk/ado/AdoConnection.h"

#include <sqlite3.h>

#include <cwchar>
#include <cwctype>

#include "sdk/ado/AdoIds.h"
#include "sdk/ado/OldDataFormat.h"

namespace {

enum : DISPID { idOpen = 1, idClose, idState, idConnectionString };

// clang-format off
const CMember kMembers[] = {
    {L"Open", idOpen}, {L"Close", idClose}, {L"State", idState}, {L"ConnectionString", idConnectionString},
};
// clang-format on

const wchar_t kSource[] = L"ADODB.Connection";
const wchar_t kJetProvider[] = L"Microsoft.Jet.OLEDB.4.0";

std::wstring Trim(const std::wstring& text)
{
    size_t first = 0, last = text.size();
    while (first < last && std::iswspace(text[first])) ++first;
    while (last > first && std::iswspace(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool ContainsIgnoringCase(const std::wstring& text, const std::wstring& part)
{
    if (part.empty()) return true;
    for (size_t i = 0; i + part.size() <= text.size(); ++i) {
        if (_wcsnicmp(text.c_str() + i, part.c_str(), part.size()) == 0) return true;
    }
    return false;
}

std::wstring ColumnText(sqlite3_stmt* statement, int column)
{
    const void* text = sqlite3_column_text16(statement, column);
    return text ? std::wstring(static_cast<const wchar_t*>(text)) : std::wstring();
}

}  // namespace

CAdoConnection::~CAdoConnection()
{
    if (m_db) sqlite3_close(m_db);
}

const CMember* CAdoConnection::Members(UINT* count) const
{
    *count = sizeof kMembers / sizeof kMembers[0];
    return kMembers;
}

bool CAdoConnection::AnswersAlso(REFIID iid) const
{
    return IsEqualIID(iid, IID_AdoDoubleConnection) != FALSE;
}

void CAdoConnection::Call(DISPID id, WORD flags, const CArgs& args, VARIANT* result)
{
    switch (id) {
    case idOpen: Open(args.Text(0, m_connectionString)); break;
    case idClose: Close(); break;
    case idState: ReturnLong(result, IsOpen() ? 1 : 0); break;
    case idConnectionString:
        if (IsPut(flags)) {
            if (IsOpen()) ThrowAdo(kAdoObjectOpen, kSource, L"Operation is not allowed when the object is open.");
            m_connectionString = args.PutText();
        } else {
            ReturnText(result, m_connectionString);
        }
        break;
    default: break;
    }
}

bool CAdoConnection::ParseConnectionString(const std::wstring& text,
                                           std::vector<std::pair<std::wstring, std::wstring>>* pairs)
{
    pairs->clear();
    size_t i = 0;
    const size_t n = text.size();
    for (;;) {
        while (i < n && (text[i] == L';' || std::iswspace(text[i]))) ++i;
        if (i >= n) return true;
        // The key runs to the first single "=" ("==" stands for an "=" in it).
        std::wstring key;
        for (;;) {
            if (i >= n) return false;
            if (text[i] == L'=') {
                if (i + 1 < n && text[i + 1] == L'=') {
                    key += L'=';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            key += text[i++];
        }
        key = Trim(key);
        if (key.empty()) return false;

        while (i < n && std::iswspace(text[i])) ++i;
        std::wstring value;
        if (i < n && (text[i] == L'\'' || text[i] == L'"')) {
            const wchar_t quote = text[i++];
            for (;;) {
                if (i >= n) return false;  // no closing quote
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            while (i < n && std::iswspace(text[i])) ++i;
            if (i < n && text[i] != L';') return false;  // text after the closing quote
        } else {
            while (i < n && text[i] != L';') value += text[i++];
            value = Trim(value);
        }
        // A key given twice keeps its last value.
        bool replaced = false;
        for (auto& pair : *pairs) {
            if (_wcsicmp(pair.first.c_str(), key.c_str()) == 0) {
                pair.second = value;
                replaced = true;
            }
        }
        if (!replaced) pairs->emplace_back(key, value);
    }
}

void CAdoConnection::Open(const std::wstring& connectionString)
{
    if (IsOpen()) ThrowAdo(kAdoObjectOpen, kSource, L"Operation is not allowed when the object is open.");
    m_connectionString = connectionString;

    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    if (!ParseConnectionString(connectionString, &pairs))
        ThrowAdo(E_FAIL, L"Microsoft OLE DB Service Components", L"Format of the initialization string is not valid.");
    std::wstring provider, path;
    for (const auto& pair : pairs) {
        if (_wcsicmp(pair.first.c_str(), L"Provider") == 0) provider = pair.second;
        if (_wcsicmp(pair.first.c_str(), L"Data Source") == 0) path = pair.second;
    }
    if (_wcsicmp(provider.c_str(), kJetProvider) != 0)
        ThrowAdo(kAdoProviderNotFound, kSource, L"Provider cannot be found. It may not be properly installed.");

    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        ThrowAdo(E_FAIL, kJetSource, L"Could not find file '" + path + L"'.");

    sqlite3* db = nullptr;
    int id = 0;
    if (sqlite3_open_v2(Utf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA application_id", -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            id = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    if (id != ALK_OLD_DATA_APPLICATION_ID) {
        sqlite3_close(db);
        ThrowAdo(E_FAIL, kJetSource, L"Unrecognized database format '" + path + L"'.");
    }
    m_db = db;
    LoadFaults();
}

void CAdoConnection::Close()
{
    if (!IsOpen()) ThrowAdo(kAdoObjectClosed, kSource, L"Operation is not allowed when the object is closed.");
    sqlite3_close(m_db);
    m_db = nullptr;
    m_faults.clear();
}

void CAdoConnection::LoadFaults()
{
    m_faults.clear();
    sqlite3_stmt* statement = nullptr;
    // A file without the table has no faults.
    if (sqlite3_prepare_v2(m_db, "SELECT Call, Subject, Skip, Times, Code FROM __faults", -1, &statement, nullptr) ==
        SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            Fault fault;
            fault.call = ColumnText(statement, 0);
            fault.subject = ColumnText(statement, 1);
            fault.skip = sqlite3_column_int(statement, 2);
            fault.times = sqlite3_column_int(statement, 3);
            fault.code = sqlite3_column_type(statement, 4) == SQLITE_NULL
                             ? E_FAIL
                             : static_cast<HRESULT>(sqlite3_column_int64(statement, 4) & 0xFFFFFFFF);
            fault.seen = 0;
            m_faults.push_back(fault);
        }
    }
    sqlite3_finalize(statement);
}

void CAdoConnection::CheckFault(const wchar_t* call, const std::wstring& subject)
{
    const bool field = _wcsicmp(call, L"Field") == 0;
    for (Fault& fault : m_faults) {
        if (_wcsicmp(fault.call.c_str(), call) != 0) continue;
        const bool matches = field ? _wcsicmp(fault.subject.c_str(), subject.c_str()) == 0
                                   : ContainsIgnoringCase(subject, fault.subject);
        if (!matches) continue;
        ++fault.seen;
        if (fault.seen > fault.skip && (fault.times <= 0 || fault.seen <= fault.skip + fault.times))
            ThrowAdo(fault.code, kJetSource, L"Fault on cue: " + fault.call + L" " + subject);
    }
}
