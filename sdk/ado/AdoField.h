// CAdoField: one field of a recordset of the double. Members: Value (the default member; the
// current row's value, read at each call) and Name.
#pragma once

#include "sdk/ado/AdoRecordset.h"

class CAdoField : public CDispatchObject {
public:
    CAdoField(CAdoRecordset* recordset, int column);

    std::wstring Label() const override { return L"Field(" + m_recordset->ColumnName(m_column) + L")"; }

protected:
    const CMember* Members(UINT* count) const override;
    void Call(DISPID id, WORD flags, const CArgs& args, VARIANT* result) override;

private:
    CComPtr<CAdoRecordset> m_recordset;
    int m_column;
};
