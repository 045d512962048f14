#pragma once

#include <memory>

#include "business/StringHelper.h"

// Makes the string helper of one save or one row read.
class ALKBIZ_API CStringHelperFactory {
public:
    virtual ~CStringHelperFactory();
    virtual std::unique_ptr<CStringHelper> Create() = 0;

protected:
    CStringHelperFactory();
};
