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
            CAdoConnection* connection = ConnectionOf(args.PutValue());
            if (!connection) ThrowAdo(kAdoArgumentsWrongType, kSource, L"Arguments are of the wrong type.");
            m_connection = CRef<CAdoConnection>(connection);
        } else {
            ReturnObject(result, m_connection.Get());
        }
        break;
    case idCommandText:
        if (IsPut(flags)) {
            const VARIANT& value = args.PutValue();
            m_text = value.vt == VT_BSTR && value.bstrVal ? value.bstrVal : L"";
        } else {
            ReturnText(result, m_text);
        }
        break;
    case idCommandType:
        if (IsPut(flags)) {
            VARIANT number;
            VariantInit(&number);
            if (FAILED(ConvertVariant(&number, args.PutValue(), VT_I4)))
                ThrowAdo(kAdoArgumentsWrongType, kSource, L"Arguments are of the wrong type.");
            m_type = number.lVal;
        } else {
            ReturnLong(result, m_type);
        }
        break;
    case idExecute: {
        CRef<CAdoRecordset> recordset(new CAdoRecordset);
        recordset->OpenOn(m_connection.Get(), m_text, args.Has(2) ? args.Number(2) : m_type);
        ReturnObject(result, recordset.Get());
        break;
    }
    default: break;
    }
}
