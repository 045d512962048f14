// CAdoConnection: "ADODB.Connection" of the double, a connection to one old-format file through
// the Jet provider that it plays.
//
// Members: Open(ConnectionString, UserID, Password, Options), Close(), State, ConnectionString.
// The connection string follows OLE DB's rules: "key=value" pairs separated by ";", keys
// compared ignoring case and trimmed, a value either bare (trimmed, up to the next ";") or
// enclosed in single or double quotes, in which the enclosing quote is written twice. It must
// name the Provider "Microsoft.Jet.OLEDB.4.0" and a Data Source, the file's path; user name and
// password are not checked. The file is opened read-only.
#pragma once

#include <string>
#include <vector>

#include "sdk/ado/DispatchObject.h"

struct sqlite3;

class CAdoConnection : public CDispatchObject {
public:
    CAdoConnection() = default;

    std::wstring Label() const override { return L"Connection"; }

    bool IsOpen() const { return m_db != nullptr; }
    sqlite3* Db() const { return m_db; }
    // Throws the fault of the file's __faults table that is due for this call, if any. subject
    // is the recordset's source text (matched by containing) or, for "Field", the field's name
    // (matched whole); both ignoring case.
    void CheckFault(const wchar_t* call, const std::wstring& subject);

    // The key/value pairs of an OLE DB connection string; false when it breaks the rules.
    static bool ParseConnectionString(const std::wstring& text,
                                      std::vector<std::pair<std::wstring, std::wstring>>* pairs);

protected:
    ~CAdoConnection() override;
    const CMember* Members(UINT* count) const override;
    void Call(DISPID id, WORD flags, const CArgs& args, VARIANT* result) override;
    bool AnswersAlso(REFIID iid) const override;

private:
    struct Fault {
        std::wstring call;
        std::wstring subject;
        long skip;
        long times;  // 0: every call after the skipped ones
        HRESULT code;
        long seen;
    };

    void Open(const std::wstring& connectionString);
    void Close();
    void LoadFaults();

    sqlite3* m_db = nullptr;
    std::wstring m_connectionString;
    std::vector<Fault> m_faults;
};
