#include "sdk/ado/AdoField.h"

namespace {

enum : DISPID { idValue = DISPID_VALUE, idName = 1 };
const CMember kMembers[] = {{L"Value", idValue}, {L"Name", idName}};

}  // namespace

CAdoField::CAdoField(CAdoRecordset* recordset, int column) : m_recordset(recordset), m_column(column) {}

const CMember* CAdoField::Members(UINT* count) const
{
    *count = sizeof kMembers / sizeof kMembers[0];
    return kMembers;
}

void CAdoField::Call(DISPID id, WORD flags, const CArgs&, VARIANT* result)
{
    if (IsPut(flags)) ThrowAdo(E_FAIL, L"ADODB.Field", L"Current Recordset does not support updating.");
    if (id == idName) {
        ReturnText(result, m_recordset->ColumnName(m_column));
        return;
    }
    m_recordset->ReadValue(m_column, result);
}
