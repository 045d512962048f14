#ifndef ALKBIZ_DEFAULTSTRINGHELPERFACTORY_H
#define ALKBIZ_DEFAULTSTRINGHELPERFACTORY_H

#include "business/StringHelperFactory.h"

class ALKBIZ_API CDefaultStringHelperFactory : public CStringHelperFactory {
public:
    CDefaultStringHelperFactory();
    ~CDefaultStringHelperFactory() override;
    // A new CDefaultStringHelper; empty when it could not be allocated.
    std::unique_ptr<CStringHelper> Create() override;
};

#endif
