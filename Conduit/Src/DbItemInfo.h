// The identity and dates of a record, as both sides of a synchronisation know it:
//
//   KeyRecord       object type u8, RefID u32                                   (5 bytes)
//   ItemInfoRecord  object type u8, RefID u32, DateCreated, DateModified        (21 bytes)
//
// doubles as the 8 bytes of their image; big-endian on the link, little-endian in the snapshot
// file. Keys order by object type (signed), then by RefID (unsigned), so a map of them walks
// vehicles, entries, reminders and keywords, each by ascending RefID.
#pragma once

#include <map>

#include "business/AlkBiz.h"
#include "Conduit/Src/DataReader.h"
#include "Conduit/Src/DataWriter.h"

class IWritable {
public:
    virtual void Write(IDataWriter& writer) const = 0;

protected:
    ~IWritable() = default;
};

class CDbItemInfoKey : public IWritable {
public:
    CDbItemInfoKey(CBaseObject::ObjectType type = CBaseObject::otNone, unsigned long refID = 0)
        : ObjectType(type), RefID(refID)
    {}
    CDbItemInfoKey(const CDbItemInfoKey&) = default;
    CDbItemInfoKey& operator=(const CDbItemInfoKey&) = default;
    ~CDbItemInfoKey() = default;

    // The KeyRecord.
    void Write(IDataWriter& writer) const override;

    bool operator<(const CDbItemInfoKey& other) const
    {
        if (ObjectType != other.ObjectType) return static_cast<long>(ObjectType) < static_cast<long>(other.ObjectType);
        return RefID < other.RefID;
    }
    bool operator==(const CDbItemInfoKey& other) const
    {
        return ObjectType == other.ObjectType && RefID == other.RefID;
    }
    bool operator!=(const CDbItemInfoKey& other) const { return !(*this == other); }

    CBaseObject::ObjectType ObjectType;
    unsigned long RefID;
};

class CDbItemInfoValue : public IWritable {
public:
    CDbItemInfoValue(double created = 0, double modified = 0) : DateCreated(created), DateModified(modified) {}
    CDbItemInfoValue(const CDbItemInfoValue&) = default;
    CDbItemInfoValue& operator=(const CDbItemInfoValue&) = default;
    ~CDbItemInfoValue() = default;

    // The two dates.
    void Write(IDataWriter& writer) const override;

    double DateCreated;
    double DateModified;
};

template <class K, class V>
class IKeyValuePair {
public:
    virtual K& GetKey() = 0;
    virtual V& GetValue() = 0;

protected:
    ~IKeyValuePair() = default;
};

class CDbItemInfo : public IKeyValuePair<CDbItemInfoKey, CDbItemInfoValue>, public IWritable {
public:
    CDbItemInfo() = default;
    CDbItemInfo(const CDbItemInfoKey& key, const CDbItemInfoValue& value) : m_key(key), m_value(value) {}
    CDbItemInfo(const CDbItemInfo&) = default;
    CDbItemInfo& operator=(const CDbItemInfo&) = default;
    ~CDbItemInfo() = default;

    CDbItemInfoKey& GetKey() override { return m_key; }
    CDbItemInfoValue& GetValue() override { return m_value; }
    const CDbItemInfoKey& GetKey() const { return m_key; }
    const CDbItemInfoValue& GetValue() const { return m_value; }
    // The ItemInfoRecord: the key, then the value.
    void Write(IDataWriter& writer) const override;

private:
    CDbItemInfoKey m_key;
    CDbItemInfoValue m_value;
};

typedef std::map<CDbItemInfoKey, CDbItemInfoValue> CDbItemInfoMap;

// The sizes of the two records, which lists carry one after the other with nothing between.
enum : unsigned { KeyRecordBytes = 5, ItemInfoRecordBytes = 21 };

// Reads the four fields of an ItemInfoRecord; false (info undefined) when the reader failed.
bool ReadItemInfo(IDataReader& reader, CDbItemInfo& info);
