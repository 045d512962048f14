#pragma once

#include "business/StringHelperFactory.h"

class ALKBIZ_API CDefaultStringHelperFactory : public CStringHelperFactory {
public:
    CDefaultStringHelperFactory();
    ~CDefaultStringHelperFactory() override;
    // A new CDefaultStringHelper; empty when it could not be allocated.
    std::unique_ptr<CStringHelper> Create() override;
};
