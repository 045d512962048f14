// The factory a CDataLayer uses unless it is given another (SetStringHelperFactory): each save
// and each row read gets a CDefaultStringHelper of its own.
#pragma once

#include "business/StringHelperFactory.h"

class ALKBIZ_API CDefaultStringHelperFactory : public CStringHelperFactory {
public:
    CDefaultStringHelperFactory();
    ~CDefaultStringHelperFactory() override;
    // A new CDefaultStringHelper; empty when it could not be allocated.
    std::unique_ptr<CStringHelper> Create() override;
};
