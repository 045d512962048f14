// CAdoFields: the Fields collection of a recordset of the double. Members: Count and Item(index),
// the default member, where the index is a field's name (ignoring case) or its ordinal.
#pragma once

#include "sdk/ado/AdoRecordset.h"

class CAdoFields : public CDispatchObject {
public:
    explicit CAdoFields(CAdoRecordset* recordset);

    std::wstring Label() const override { return L"Fields"; }

protected:
    const CMember* Members(UINT* count) const override;
    void Call(DISPID id, WORD flags, const CArgs& args, VARIANT* result) override;

private:
    CComPtr<CAdoRecordset> m_recordset;
};
