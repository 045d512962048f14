// The vehicle editor: one modal sheet, "Vehicle Properties", with the pages details, insurance,
// dealer and notes. The vehicle's fields are copied into the pages, and back only when the user
// ends with OK; the vehicle is saved afterwards, and only when a value changed. Pages the user
// never opened give back what they were given.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"

// Shows the sheet for the vehicle (the caller's) and saves it when the user confirmed a change;
// a vehicle not stored yet is inserted and gets its reference id. The result of
// CDataLayer::Save, non-zero for "saved"; 0 when the sheet was cancelled, nothing changed or the
// save failed (the user is told).
int EditVehicle(CVehicle* vehicle);
