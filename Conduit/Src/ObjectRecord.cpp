#include "Conduit/Src/ObjectRecord.h"

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
    CBaseObject* record = nullptr;
    switch (type) {
    case CBaseObject::otVehicle: record = new CVehicle; break;
    case CBaseObject::otEntry: record = new CEntry; break;
    case CBaseObject::otNotification: record = new CNotification; break;
    case CBaseObject::otKeyword: record = new CKeyword; break;
    default: return result;
    }
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
