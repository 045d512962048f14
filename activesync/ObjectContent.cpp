#include "activesync/ObjectContent.h"

#include <windows.h>

#include "framework/Module.h"
#include "resources/activesync/resource.h"

void LoadObjectTypeName(const CBaseObject& object, char* buffer, int capacity)
{
    UINT id = IDS_TYPE_VEHICLE;
    switch (object.GetObjectType()) {
    case CBaseObject::otEntry:
        switch (static_cast<const CEntry&>(object).GetType()) {
        case CEntry::etFuel: id = IDS_TYPE_FUEL; break;
        case CEntry::etRepair: id = IDS_TYPE_REPAIR; break;
        case CEntry::etTrip: id = IDS_TYPE_TRIP; break;
        case CEntry::etExpense: id = IDS_TYPE_EXPENSE; break;
        default: id = IDS_TYPE_ENTRY; break;
        }
        break;
    case CBaseObject::otNotification: id = IDS_TYPE_NOTIFICATION; break;
    case CBaseObject::otKeyword: id = IDS_TYPE_KEYWORD; break;
    default: break;
    }
    if (LoadStringA(AlkGetResourceInstance(), id, buffer, capacity) <= 0) buffer[0] = 0;
}

namespace {

bool SameText(const wchar_t* a, const wchar_t* b)
{
    return lstrcmpW(a ? a : L"", b ? b : L"") == 0;
}

}  // namespace

bool AreObjectsEqual(const CBaseObject& a, const CBaseObject& b)
{
    if (a.GetObjectType() != b.GetObjectType()) return false;
    if (!SameText(a.GetName(), b.GetName()) || !SameText(a.GetNotes(), b.GetNotes())) return false;
    switch (a.GetObjectType()) {
    case CBaseObject::otVehicle: {
        const CVehicle& x = static_cast<const CVehicle&>(a);
        const CVehicle& y = static_cast<const CVehicle&>(b);
        return SameText(x.GetLicensePlate(), y.GetLicensePlate()) && SameText(x.GetVIN(), y.GetVIN()) &&
               SameText(x.GetDealerName(), y.GetDealerName()) && SameText(x.GetDealerPhone(), y.GetDealerPhone()) &&
               SameText(x.GetDealerAddress(), y.GetDealerAddress()) &&
               SameText(x.GetInsuranceAgentName(), y.GetInsuranceAgentName()) &&
               SameText(x.GetInsuranceAgentPhone(), y.GetInsuranceAgentPhone()) &&
               SameText(x.GetInsurancePolicyNumber(), y.GetInsurancePolicyNumber()) &&
               SameText(x.GetInsuranceCoverage(), y.GetInsuranceCoverage()) &&
               x.GetInsuranceExpirationDate() == y.GetInsuranceExpirationDate() &&
               x.GetCurrentOdometer() == y.GetCurrentOdometer() && x.GetYear() == y.GetYear() &&
               SameText(x.GetImagePath(), y.GetImagePath());
    }
    case CBaseObject::otEntry: {
        const CEntry& x = static_cast<const CEntry&>(a);
        const CEntry& y = static_cast<const CEntry&>(b);
        return SameText(x.GetVendor(), y.GetVendor()) && x.GetAmount() == y.GetAmount() && x.GetDate() == y.GetDate() &&
               x.GetType() == y.GetType() && x.GetOdometer() == y.GetOdometer() && x.GetCustom1() == y.GetCustom1() &&
               x.GetCustom2() == y.GetCustom2() && x.GetVehicleID() == y.GetVehicleID();
    }
    case CBaseObject::otNotification: {
        const CNotification& x = static_cast<const CNotification&>(a);
        const CNotification& y = static_cast<const CNotification&>(b);
        return x.GetDate() == y.GetDate() && x.GetOdometer() == y.GetOdometer() && x.GetVehicleID() == y.GetVehicleID();
    }
    case CBaseObject::otKeyword:
        return static_cast<const CKeyword&>(a).GetType() == static_cast<const CKeyword&>(b).GetType();
    default: return false;
    }
}
