#include "sdk/ado/AdoCommand.h"

#include <oleauto.h>

#include "sdk/ado/AdoRecordset.h"

namespace {

enum : DISPID { idActiveConnection = 1, idCommandText, idCommandType, idExecute };
// clang-format off
const CMember kMembers[] = {
    {L"ActiveConnection", idActiveConnection}, {L"CommandText", idCommandText},
    {L"CommandType", idCommandType},           {L"Execute", idExecute},
};
// clang-format on

const wchar_t kSource[] = L"ADODB.Command";

}  // namespace

const CMember* CAdoCommand::Members(UINT* count) const
{
    *count = sizeof kMembers / sizeof kMembers[0];
    return kMembers;
}

void CAdoCommand::Call(DISPID id, WORD flags, const CArgs& args, VARIANT* result)
{
    switch (id) {
    case idActiveConnection:
        if (IsPut(flags)) {
            m_connection.Attach(PutConnection(args, kSource));
        } else {
            ReturnObject(result, m_connection.Get());
        }
        break;
    case idCommandText:
        if (IsPut(flags)) {
            m_text = args.PutText();
        } else {
            ReturnText(result, m_text);
        }
        break;
    case idCommandType:
        if (IsPut(flags)) {
            m_type = args.PutNumber(kSource);
        } else {
            ReturnLong(result, m_type);
        }
        break;
    case idExecute: {
        CComPtr<CAdoRecordset> recordset;
        recordset.Attach(new CAdoRecordset);
        recordset->OpenOn(m_connection.Get(), m_text, args.Has(2) ? args.Number(2) : m_type);
        ReturnObject(result, recordset.Get());
        break;
    }
    default: break;
    }
}
