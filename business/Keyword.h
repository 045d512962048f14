// A keyword offered in the editors' drop-down fields. Its Notes are never stored.
#pragma once

#include "business/BaseObject.h"

class ALKBIZ_API CKeyword : public CBaseObject {
public:
    enum Type {
        ktAll = 0,  // a load selector only
        ktCategory = 1,
        ktRepair = 2,
        ktExpense = 3,
        ktFuelVendor = 4
    };

    CKeyword();
    ~CKeyword() override;

    Type GetType() const;
    // Leaves Dirty alone: a keyword's type is fixed once stored.
    void SetType(Type type);

private:
    Type m_type;
};
