#include "business/StringHelperFactory.h"

CStringHelperFactory::CStringHelperFactory() {}

CStringHelperFactory::~CStringHelperFactory() {}
