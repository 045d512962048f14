// CAdoCommand: "ADODB.Command" of the double. Members: ActiveConnection, CommandText,
// CommandType and Execute(RecordsAffected, Parameters, Options), which opens a new recordset of
// the command text on the active connection (a stored procedure, command type 4, being a saved
// query: a view of the file) and answers it.
#pragma once

#include "sdk/ado/AdoConnection.h"
#include "sdk/ado/DispatchObject.h"

class CAdoCommand : public CDispatchObject {
public:
    CAdoCommand() = default;

    std::wstring Label() const override { return L"Command"; }

protected:
    const CMember* Members(UINT* count) const override;
    void Call(DISPID id, WORD flags, const CArgs& args, VARIANT* result) override;

private:
    CComPtr<CAdoConnection> m_connection;
    std::wstring m_text;
    long m_type = -1;  // adCmdUnspecified
};
