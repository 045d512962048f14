#include "business/DefaultStringHelperFactory.h"

#include <new>

#include "business/DefaultStringHelper.h"

CDefaultStringHelperFactory::CDefaultStringHelperFactory() {}

CDefaultStringHelperFactory::~CDefaultStringHelperFactory() {}

std::unique_ptr<CStringHelper> CDefaultStringHelperFactory::Create()
{
    return std::unique_ptr<CStringHelper>(new (std::nothrow) CDefaultStringHelper());
}
