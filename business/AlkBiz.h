// The business library: records, owning lists, the entry filter, text conversion and the
// database layer. Clients include this header only.
#pragma once

#include "business/AlkBizDefs.h"
#include "business/BaseObject.h"
#include "business/DataLayer.h"
#include "business/DefaultStringHelper.h"
#include "business/DefaultStringHelperFactory.h"
#include "business/Entry.h"
#include "business/EntryFilter.h"
#include "business/Keyword.h"
#include "business/Notification.h"
#include "business/ObjectList.h"
#include "business/ObjectListT.h"
#include "business/StoredDate.h"
#include "business/StringHelper.h"
#include "business/StringHelperFactory.h"
#include "business/UtcClock.h"
#include "business/Vehicle.h"
