#ifndef ALKBIZ_STRINGHELPERFACTORY_H
#define ALKBIZ_STRINGHELPERFACTORY_H

#include "business/StringHelper.h"
#include <memory>

// Makes the string helper of one save or one row read.
class ALKBIZ_API CStringHelperFactory {
public:
    virtual ~CStringHelperFactory();
    virtual std::unique_ptr<CStringHelper> Create() = 0;

protected:
    CStringHelperFactory();
};

#endif
