// The old version's record classes (__CBaseObject and its three kinds) hold one row of the old
// tables as the import reads it, column by column through CADORecordset::GetFieldValue, before
// it becomes a record of the business library. Their values travel unchanged: dates stay OLE
// dates, amounts floats, and no unit is converted.
//
// The import reads every row of a table into one old-format record, which it resets to its
// defaults before each row (so that a column that cannot be read gives the default, never the
// previous row's value). A date column read as NULL (or not at all) leaves the date's status
// null, and the business record then keeps its own default date.
#pragma once

#include <string>

#include "framework/Object.h"

class __CBaseObject : public CObject {
    DECLARE_DYNAMIC(__CBaseObject)

public:
    __CBaseObject() = default;

    // Back to the defaults of a new record.
    virtual void Reset();

    std::wstring m_description;
    long m_id = -1;
};
