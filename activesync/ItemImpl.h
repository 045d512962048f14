// The item handle: what the synchronisation knows of one record (its object type, row id,
// reference id and the modification date it last saw). Made by the enumeration, from bytes, and
// by the object handler for an object new to the desktop; the manager owns and frees it.
#pragma once

#include "activesync/Item.h"

class CBaseObject;

class CItemImpl : public CItem {
public:
    enum { ByteSize = 24 };

    CItemImpl() = default;
    // The record's object type, row id, reference id and modification date.
    explicit CItemImpl(const CBaseObject& record);

    UINT ToBytes(BYTE* buffer) const override;
    // Needs the 20 bytes after the kind word; fewer leave the item as it is.
    void FromBytes(const BYTE* bytes, UINT size) override;
    BOOL CopyFrom(const CReplObject& other) override;
    int Compare(const CItem& other) const override;

    // The item behind a handle, or null for null or a folder handle.
    static CItemImpl* FromHandle(HREPLOBJ handle);

    int GetObjectType() const { return m_objectType; }
    void SetObjectType(int type) { m_objectType = type; }
    long GetRowID() const { return m_rowID; }
    void SetRowID(long id) { m_rowID = id; }
    unsigned long GetRefID() const { return m_refID; }
    void SetRefID(unsigned long id) { m_refID = id; }
    double GetDateModified() const { return m_dateModified; }
    void SetDateModified(double date) { m_dateModified = date; }

private:
    int m_objectType = 0;
    long m_rowID = 0;
    unsigned long m_refID = 0;
    double m_dateModified = 0;
};
