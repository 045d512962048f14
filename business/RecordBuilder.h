// Records made field by field and saved through a CDataLayer, for the sample-database tool and
// the tests:
//
//   unsigned long car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db);
//   CEntryRecord(car, CEntry::etFuel).Date(date).Odometer(11950).Amount(30).Custom(10, 3).Save(db);
//
// A builder holds one new record; a field it is not given keeps a new record's default. Save
// writes the record and answers its reference id (0 when the save failed); Take hands the record
// to the caller, who owns it from then on (the builder is empty afterwards). The builder deletes
// what it still holds.
//
// Header only, in the interface's text type: the users link the AlkBiz build they test (the wide
// DLL or the 8-bit library).
#pragma once

#include "business/AlkBiz.h"

template <class Record, class Builder>
class CRecordBuilder {
public:
    CRecordBuilder() : m_record(new Record) {}
    ~CRecordBuilder() { delete m_record; }
    CRecordBuilder(const CRecordBuilder&) = delete;
    CRecordBuilder& operator=(const CRecordBuilder&) = delete;

    Builder& Name(const AlkChar* name) { return Set(&CBaseObject::SetName, name); }
    Builder& Notes(const AlkChar* notes) { return Set(&CBaseObject::SetNotes, notes); }
    // The reference id to store the record with (a new record has none, and Save gives it one).
    Builder& RefID(unsigned long refID) { return Set(&CBaseObject::SetRefID, refID); }

    // The record as built so far; it stays the builder's.
    Record& Get() { return *m_record; }
    Record* Take()
    {
        Record* record = m_record;
        m_record = nullptr;
        return record;
    }
    // keepDates as CDataLayer::Save takes it: write the record's own dates.
    unsigned long Save(CDataLayer& db, int keepDates = 0)
    {
        return m_record && db.Save(m_record, keepDates) ? m_record->GetRefID() : 0;
    }

protected:
    template <class Owner, class Value, class Arg>
    Builder& Set(void (Owner::*setter)(Value), Arg value)
    {
        if (m_record) (m_record->*setter)(value);
        return static_cast<Builder&>(*this);
    }

private:
    Record* m_record;
};

class CVehicleRecord : public CRecordBuilder<CVehicle, CVehicleRecord> {
public:
    explicit CVehicleRecord(const AlkChar* name) { Name(name); }
    CVehicleRecord& Year(int year) { return Set(&CVehicle::SetYear, year); }
    CVehicleRecord& Odometer(long odometer) { return Set(&CVehicle::SetCurrentOdometer, odometer); }
    CVehicleRecord& Plate(const AlkChar* plate) { return Set(&CVehicle::SetLicensePlate, plate); }
    CVehicleRecord& VIN(const AlkChar* vin) { return Set(&CVehicle::SetVIN, vin); }
    CVehicleRecord& Picture(const AlkChar* path) { return Set(&CVehicle::SetImagePath, path); }
    CVehicleRecord& Dealer(const AlkChar* name, const AlkChar* phone = ALK_T(""), const AlkChar* address = ALK_T(""))
    {
        Set(&CVehicle::SetDealerName, name);
        Set(&CVehicle::SetDealerPhone, phone);
        return Set(&CVehicle::SetDealerAddress, address);
    }
    CVehicleRecord& Insurance(const AlkChar* agent, const AlkChar* phone = ALK_T(""), const AlkChar* policy = ALK_T(""),
                              const AlkChar* coverage = ALK_T(""))
    {
        Set(&CVehicle::SetInsuranceAgentName, agent);
        Set(&CVehicle::SetInsuranceAgentPhone, phone);
        Set(&CVehicle::SetInsurancePolicyNumber, policy);
        return Set(&CVehicle::SetInsuranceCoverage, coverage);
    }
    CVehicleRecord& InsuranceExpires(double date) { return Set(&CVehicle::SetInsuranceExpirationDate, date); }
};

// The description of an entry is its name (Name or Description); fuel entries have none.
class CEntryRecord : public CRecordBuilder<CEntry, CEntryRecord> {
public:
    CEntryRecord(unsigned long vehicleRefID, CEntry::Type type)
    {
        Set(&CEntry::SetVehicleID, vehicleRefID);
        Set(&CEntry::SetType, type);
    }
    CEntryRecord& Date(double date) { return Set(&CEntry::SetDate, date); }
    CEntryRecord& Odometer(long odometer) { return Set(&CEntry::SetOdometer, odometer); }
    CEntryRecord& Amount(float amount) { return Set(&CEntry::SetAmount, amount); }
    CEntryRecord& Vendor(const AlkChar* vendor) { return Set(&CEntry::SetVendor, vendor); }
    CEntryRecord& Description(const AlkChar* text) { return Name(text); }
    // Fuel: quantity and price per unit; trip: start and end odometer.
    CEntryRecord& Custom(float custom1, float custom2)
    {
        Set(&CEntry::SetCustom1, custom1);
        return Set(&CEntry::SetCustom2, custom2);
    }
};

class CReminderRecord : public CRecordBuilder<CNotification, CReminderRecord> {
public:
    CReminderRecord(unsigned long vehicleRefID, const AlkChar* description)
    {
        Set(&CNotification::SetVehicleID, vehicleRefID);
        Name(description);
    }
    CReminderRecord& Odometer(long odometer) { return Set(&CNotification::SetOdometer, odometer); }
    CReminderRecord& Date(double date) { return Set(&CNotification::SetDate, date); }
};

class CKeywordRecord : public CRecordBuilder<CKeyword, CKeywordRecord> {
public:
    CKeywordRecord(CKeyword::Type type, const AlkChar* name)
    {
        Set(&CKeyword::SetType, type);
        Name(name);
    }
};
