#include "business/DefaultStringHelperFactory.h"
#include "business/DefaultStringHelper.h"
#include <new>

CDefaultStringHelperFactory::CDefaultStringHelperFactory() {}

CDefaultStringHelperFactory::~CDefaultStringHelperFactory() {}

std::unique_ptr<CStringHelper> CDefaultStringHelperFactory::Create() {
    return std::unique_ptr<CStringHelper>(new (std::nothrow) CDefaultStringHelper());
}
