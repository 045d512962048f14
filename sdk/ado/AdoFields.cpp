#include "sdk/ado/AdoFields.h"

#include <oleauto.h>

#include "sdk/ado/AdoField.h"

namespace {

enum : DISPID { idItem = DISPID_VALUE, idCount = 1 };
const CMember kMembers[] = {{L"Item", idItem}, {L"Count", idCount}};

}  // namespace

CAdoFields::CAdoFields(CAdoRecordset* recordset) : m_recordset(recordset) {}

const CMember* CAdoFields::Members(UINT* count) const
{
    *count = sizeof kMembers / sizeof kMembers[0];
    return kMembers;
}

void CAdoFields::Call(DISPID id, WORD, const CArgs& args, VARIANT* result)
{
    if (id == idCount) {
        ReturnLong(result, m_recordset->IsOpen() ? m_recordset->ColumnCount() : 0);
        return;
    }
    // Item: by name, or by ordinal when the index is a number.
    int column = -1;
    const VARIANT& index = args.Get(0);
    if (m_recordset->IsOpen()) {
        if (index.vt == VT_BSTR) {
            column = m_recordset->FindColumn(args.Text(0));
        } else if (args.Has(0)) {
            long ordinal = args.Number(0, -1);
            if (ordinal >= 0 && ordinal < m_recordset->ColumnCount()) column = static_cast<int>(ordinal);
        }
    }
    if (column < 0)
        ThrowAdo(kAdoItemNotFound, L"ADODB.Fields",
                 L"Item cannot be found in the collection corresponding to the requested name or ordinal.");
    CComPtr<CAdoField> field;
    field.Attach(new CAdoField(m_recordset.Get(), column));
    // Called as the collection's default member with DISPATCH_PROPERTYGET | DISPATCH_METHOD.
    ReturnObject(result, field.Get());
}
