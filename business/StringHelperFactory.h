// Makes the string helper of one save or one row read.
#pragma once

#include <memory>

#include "business/StringHelper.h"

class ALKBIZ_API CStringHelperFactory {
public:
    virtual ~CStringHelperFactory();
    virtual std::unique_ptr<CStringHelper> Create() = 0;

protected:
    CStringHelperFactory();
};
