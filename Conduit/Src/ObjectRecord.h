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
// Stores a received record on the desktop under its RefID: the row holding that RefID is
// updated, or a new row is made that keeps the RefID; either way with the record's own dates.
bool SaveObject(CBaseObject* record, CDataLayer& database);
