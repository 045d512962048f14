#include "Conduit/Src/ObjectRecord.h"

#include <cmath>

#include "Conduit/Src/ConduitLog.h"
#include "sdk/hotsync/HotSync.h"

namespace {

bool KnownType(long type)
{
    return type >= 1 && type <= 4;
}

// Names the first value that is not finite: why stays as it is once it names one.
void CheckFinite(std::string& why, double value, const char* what)
{
    if (why.empty() && !std::isfinite(value)) why = std::string("its ") + what + " is not a finite number";
}

std::string TypeOutOfRange(const char* what, long type)
{
    return std::string("its ") + what + " " + std::to_string(type) + " is not one of 1 to 4";
}

}  // namespace

void DeleteRecord(CBaseObject* record)
{
    delete record;
}

void WriteObject(const CBaseObject* record, IDataWriter& writer)
{
    writer.WriteByte(static_cast<BYTE>(record->GetObjectType()));
    writer.WriteDWord(static_cast<DWORD>(record->GetID()));
    writer.WriteDWord(record->GetRefID());
    writer.WriteString(record->GetName());
    writer.WriteString(record->GetNotes());
    writer.WriteDouble(record->GetDateCreated());
    writer.WriteDouble(record->GetDateModified());

    switch (record->GetObjectType()) {
    case CBaseObject::otVehicle: {
        const CVehicle* v = static_cast<const CVehicle*>(record);
        writer.WriteString(v->GetLicensePlate());
        writer.WriteString(v->GetVIN());
        writer.WriteString(v->GetDealerName());
        writer.WriteString(v->GetDealerPhone());
        writer.WriteString(v->GetDealerAddress());
        writer.WriteString(v->GetInsurancePolicyNumber());
        writer.WriteString(v->GetInsuranceAgentName());
        writer.WriteString(v->GetInsuranceAgentPhone());
        writer.WriteString(v->GetInsuranceCoverage());
        writer.WriteDouble(v->GetInsuranceExpirationDate());
        writer.WriteDWord(static_cast<DWORD>(v->GetCurrentOdometer()));
        writer.WriteDWord(static_cast<DWORD>(v->GetYear()));
        writer.WriteString(v->GetImagePath());
        break;
    }
    case CBaseObject::otEntry: {
        const CEntry* e = static_cast<const CEntry*>(record);
        writer.WriteDouble(e->GetDate());
        writer.WriteDWord(static_cast<DWORD>(e->GetOdometer()));
        writer.WriteDWord(e->GetVehicleID());
        writer.WriteByte(static_cast<BYTE>(e->GetType()));
        writer.WriteString(e->GetVendor());
        writer.WriteDouble(e->GetAmount());
        writer.WriteDouble(e->GetCustom1());
        writer.WriteDouble(e->GetCustom2());
        break;
    }
    case CBaseObject::otNotification: {
        const CNotification* n = static_cast<const CNotification*>(record);
        writer.WriteDouble(n->GetDate());
        writer.WriteDWord(static_cast<DWORD>(n->GetOdometer()));
        writer.WriteDWord(n->GetVehicleID());
        break;
    }
    case CBaseObject::otKeyword:
        writer.WriteByte(static_cast<BYTE>(static_cast<const CKeyword*>(record)->GetType()));
        break;
    default: break;
    }
}

CAutoPtr<CBaseObject> ReadObject(IDataReader& reader)
{
    CAutoPtr<CBaseObject> result;
    const BYTE type = reader.ReadByte();
    if (reader.IsFailed()) return result;
    CBaseObject* record = NewRecord(type);
    if (!record) return result;
    result.Reset(&DeleteRecord, record);

    // Identity and dates are assigned; texts and the kinds' values go through their setters,
    // which raise the dirty flag where the value differs from the new record's default.
    record->SetID(static_cast<long>(reader.ReadDWord()));
    record->SetRefID(reader.ReadDWord());
    record->SetName(reader.ReadString().Get());
    record->SetNotes(reader.ReadString().Get());
    record->SetDateCreated(reader.ReadDouble());
    record->SetDateModified(reader.ReadDouble());

    switch (type) {
    case CBaseObject::otVehicle: {
        CVehicle* v = static_cast<CVehicle*>(record);
        v->SetLicensePlate(reader.ReadString().Get());
        v->SetVIN(reader.ReadString().Get());
        v->SetDealerName(reader.ReadString().Get());
        v->SetDealerPhone(reader.ReadString().Get());
        v->SetDealerAddress(reader.ReadString().Get());
        v->SetInsurancePolicyNumber(reader.ReadString().Get());
        v->SetInsuranceAgentName(reader.ReadString().Get());
        v->SetInsuranceAgentPhone(reader.ReadString().Get());
        v->SetInsuranceCoverage(reader.ReadString().Get());
        v->SetInsuranceExpirationDate(reader.ReadDouble());
        v->SetCurrentOdometer(static_cast<long>(reader.ReadDWord()));
        v->SetYear(static_cast<int>(reader.ReadDWord()));
        v->SetImagePath(reader.ReadString().Get());
        break;
    }
    case CBaseObject::otEntry: {
        CEntry* e = static_cast<CEntry*>(record);
        e->SetDate(reader.ReadDouble());
        e->SetOdometer(static_cast<long>(reader.ReadDWord()));
        e->SetVehicleID(reader.ReadDWord());
        e->SetType(static_cast<CEntry::Type>(reader.ReadByte()));
        e->SetVendor(reader.ReadString().Get());
        e->SetAmount(static_cast<float>(reader.ReadDouble()));
        e->SetCustom1(static_cast<float>(reader.ReadDouble()));
        e->SetCustom2(static_cast<float>(reader.ReadDouble()));
        break;
    }
    case CBaseObject::otNotification: {
        CNotification* n = static_cast<CNotification*>(record);
        n->SetDate(reader.ReadDouble());
        n->SetOdometer(static_cast<long>(reader.ReadDWord()));
        n->SetVehicleID(reader.ReadDWord());
        break;
    }
    case CBaseObject::otKeyword:
        static_cast<CKeyword*>(record)->SetType(static_cast<CKeyword::Type>(reader.ReadByte()));
        break;
    }
    return result;
}

void MakeItemInfo(const CBaseObject* record, CDbItemInfo& info)
{
    info.GetKey() = CDbItemInfoKey(record->GetObjectType(), record->GetRefID());
    info.GetValue() = CDbItemInfoValue(record->GetDateCreated(), record->GetDateModified());
}

bool SaveObject(CBaseObject* record, CDataLayer& database)
{
    const CBaseObject::ObjectType type = record->GetObjectType();
    if (type < CBaseObject::otVehicle || type > CBaseObject::otKeyword) return false;
    record->SetID(static_cast<long>(database.GetID(type, record->GetRefID())));
    switch (type) {
    case CBaseObject::otVehicle: return database.Save(static_cast<CVehicle*>(record), 1) != 0;
    case CBaseObject::otEntry: return database.Save(static_cast<CEntry*>(record), 1) != 0;
    case CBaseObject::otNotification: return database.Save(static_cast<CNotification*>(record), 1) != 0;
    default: return database.Save(static_cast<CKeyword*>(record), 1) != 0;
    }
}

CBaseObject* NewRecord(long objectType)
{
    switch (objectType) {
    case CBaseObject::otVehicle: return new CVehicle;
    case CBaseObject::otEntry: return new CEntry;
    case CBaseObject::otNotification: return new CNotification;
    case CBaseObject::otKeyword: return new CKeyword;
    default: return nullptr;
    }
}

bool LoadByRowID(CDataLayer& database, CBaseObject* record)
{
    switch (record->GetObjectType()) {
    case CBaseObject::otVehicle: return database.Load(static_cast<CVehicle*>(record)) != 0;
    case CBaseObject::otEntry: return database.Load(static_cast<CEntry*>(record), 0) != 0;
    case CBaseObject::otNotification: return database.Load(static_cast<CNotification*>(record)) != 0;
    case CBaseObject::otKeyword: return database.Load(static_cast<CKeyword*>(record)) != 0;
    default: return false;
    }
}

CAutoPtr<CBaseObject> LoadDesktopRecord(CDataLayer& database, const CDbItemInfoKey& key)
{
    CAutoPtr<CBaseObject> holder;
    const long id = static_cast<long>(database.GetID(key.ObjectType, key.RefID));
    CBaseObject* record = id ? NewRecord(key.ObjectType) : nullptr;
    if (!record) return holder;
    holder.Reset(&DeleteRecord, record);
    record->SetID(id);
    if (!LoadByRowID(database, record)) holder.Release();
    return holder;
}

std::string FindUnsoundValue(const CBaseObject* record)
{
    std::string why;
    CheckFinite(why, record->GetDateCreated(), "creation date");
    CheckFinite(why, record->GetDateModified(), "modification date");
    switch (record->GetObjectType()) {
    case CBaseObject::otVehicle:
        CheckFinite(why, static_cast<const CVehicle*>(record)->GetInsuranceExpirationDate(),
                    "insurance expiration date");
        break;
    case CBaseObject::otEntry: {
        const CEntry* e = static_cast<const CEntry*>(record);
        const bool fuel = e->GetType() == CEntry::etFuel, trip = e->GetType() == CEntry::etTrip;
        CheckFinite(why, e->GetDate(), "date");
        CheckFinite(why, e->GetAmount(), "amount");
        CheckFinite(why, e->GetCustom1(), fuel ? "quantity" : trip ? "start odometer" : "first extra value");
        CheckFinite(why, e->GetCustom2(), fuel ? "price per unit" : trip ? "end odometer" : "second extra value");
        if (why.empty() && !KnownType(e->GetType())) why = TypeOutOfRange("entry type", e->GetType());
        break;
    }
    case CBaseObject::otNotification:
        CheckFinite(why, static_cast<const CNotification*>(record)->GetDate(), "due date");
        break;
    case CBaseObject::otKeyword: {
        const long type = static_cast<const CKeyword*>(record)->GetType();
        if (why.empty() && !KnownType(type)) why = TypeOutOfRange("keyword type", type);
        break;
    }
    default: why = TypeOutOfRange("record type", record->GetObjectType()); break;
    }
    return why;
}

std::string FindUnsoundValue(const CDbItemInfo& info)
{
    std::string why;
    if (!KnownType(info.GetKey().ObjectType)) return TypeOutOfRange("record type", info.GetKey().ObjectType);
    CheckFinite(why, info.GetValue().DateCreated, "creation date");
    CheckFinite(why, info.GetValue().DateModified, "modification date");
    return why;
}

const char* TableName(long objectType)
{
    switch (objectType) {
    case CBaseObject::otVehicle: return "Vehicle";
    case CBaseObject::otEntry: return "Entry";
    case CBaseObject::otNotification: return "Notification";
    case CBaseObject::otKeyword: return "Keyword";
    default: return "";
    }
}

void LogRefusedRecord(long objectType, unsigned long refID, const std::string& why)
{
    const char* table = TableName(objectType);
    LogToHotSync(HsLogNotice, 0, "%s (%u): the handheld's record was not taken: %s", *table ? table : "Record",
                 static_cast<unsigned>(refID), why.c_str());
}
