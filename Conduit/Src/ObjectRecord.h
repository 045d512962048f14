// Whole business records as bytes (ObjectRecord), in the byte order of the reader or writer:
// big-endian on the link. No length field and no padding; records follow each other directly.
//
//   every kind   type u8 (1 vehicle, 2 entry, 3 reminder, 4 keyword), ID u32 (the sender's row
//                id), RefID u32, Name str, Notes str, DateCreated double, DateModified double
//   vehicle      LicensePlate, VIN, DealerName, DealerPhone, DealerAddress,
//                InsurancePolicyNumber, InsuranceAgentName, InsuranceAgentPhone,
//                InsuranceCoverage (str each), InsuranceExpirationDate double,
//                CurrentOdometer u32, Year u32, ImagePath str
//   entry        Date double, Odometer u32, VehicleID u32 (the vehicle's RefID), Type u8,
//                Vendor str, Amount double, Custom1 double, Custom2 double (the 32-bit floats
//                widened; read back rounded to floats)
//   reminder     Date double, Odometer u32, VehicleID u32
//   keyword      Type u8
//
// str is a 16-bit length n, n bytes, one NUL (a null text goes as the empty one); texts are the
// database's bytes, passed on unchanged. Signed numbers travel as their 32-bit image.
#pragma once

#include <list>
#include <string>

#include "business/AlkBiz.h"
#include "Conduit/Src/AutoPtr.h"
#include "Conduit/Src/DataReader.h"
#include "Conduit/Src/DataWriter.h"
#include "Conduit/Src/DbItemInfo.h"

// The record deleter of CAutoPtr<CBaseObject> (through the virtual destructor).
void DeleteRecord(CBaseObject* record);

typedef std::list<CAutoPtr<CBaseObject>> CRecordList;

// A record whose type is not 1 to 4 gets the seven common fields only.
void WriteObject(const CBaseObject* record, IDataWriter& writer);
// An empty value when the reader has failed on the type byte or the type is not 1 to 4 (nothing
// further is read then). A read that fails half-way leaves later fields at their defaults: the
// caller tests the reader afterwards.
CAutoPtr<CBaseObject> ReadObject(IDataReader& reader);
void MakeItemInfo(const CBaseObject* record, CDbItemInfo& info);

// What a record from the handheld holds that the desktop cannot keep or show, as the end of a
// sentence ("its amount is not a finite number", "its entry type 7 is not one of 1 to 4"); empty
// when it is sound. The file keeps only finite numbers, and the desktop knows entry and keyword
// types 1 to 4 only. Such a record is refused, never stored.
std::string FindUnsoundValue(const CBaseObject* record);
// The same for an item's identity and dates: a type 1 to 4 and finite dates.
std::string FindUnsoundValue(const CDbItemInfo& info);
// "Vehicle", "Entry", "Notification", "Keyword"; the empty text for another type.
const char* TableName(long objectType);
// Logs a record from the handheld that is not taken (activity 22, the run goes on):
// "Entry (123): the handheld's record was not taken: its amount is not a finite number".
void LogRefusedRecord(long objectType, unsigned long refID, const std::string& why);
// Stores a received record on the desktop under its RefID: the row holding that RefID is
// updated, or a new row is made that keeps the RefID; either way with the record's own dates.
bool SaveObject(CBaseObject* record, CDataLayer& database);
// A new record of the object type with its defaults, owned by the caller; null for a type not
// 1 to 4.
CBaseObject* NewRecord(long objectType);
// Fills the record from the desktop row with its row id (an entry by its row id, not as its
// vehicle's newest).
bool LoadByRowID(CDataLayer& database, CBaseObject* record);
// The desktop's record of a key (object type, RefID); empty when there is none or it cannot be
// loaded.
CAutoPtr<CBaseObject> LoadDesktopRecord(CDataLayer& database, const CDbItemInfoKey& key);
