// An item handle: one record of the database, told apart from the others by its reference id.
#pragma once

#include "activesync/ReplObject.h"

class CItem : public CReplObject {
public:
    UINT GetKind() const final { return kindItem; }
    // Order by reference id, as unsigned numbers: -1, 0 or 1.
    virtual int Compare(const CItem& other) const = 0;
};
