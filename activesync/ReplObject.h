// The provider's handles as the manager holds them (HREPLOBJ): a folder or an item. The manager
// keeps them between synchronisations as bytes (ToBytes, and the store's BytesToObject), copies
// one onto another of its kind (CopyFrom) and frees them (Free). A handle is the CReplObject
// pointer itself.
//
// Handle bytes (all integers little-endian):
//   offset 0   4  kind: 0 folder, 1 item (unsigned 32-bit); a folder's bytes end here
//   offset 4   4  item: object type (signed 32-bit: 1 vehicle, 2 entry, 3 notification, 4 keyword)
//   offset 8   4  item: row id (signed 32-bit)
//   offset 12  4  item: reference id (unsigned 32-bit)
//   offset 16  8  item: modification date as last seen by the synchronisation (IEEE double, OLE date)
#pragma once

#include <windows.h>

#include "sdk/activesync/ReplStore.h"

class CReplObject {
public:
    enum Kind { kindFolder = 0, kindItem = 1 };
    enum { KindSize = 4 };

    virtual ~CReplObject() = default;
    virtual UINT GetKind() const = 0;
    // Writes the handle's bytes when buffer is given; returns their count.
    virtual UINT ToBytes(BYTE* buffer) const = 0;
    // Takes the content that follows the kind word (size: the bytes there).
    virtual void FromBytes(const BYTE* bytes, UINT size) = 0;
    virtual void Free() { delete this; }
    // The content of another handle of this kind; FALSE for another kind.
    virtual BOOL CopyFrom(const CReplObject& other) = 0;

    HREPLOBJ Handle() { return reinterpret_cast<HREPLOBJ>(this); }
    static CReplObject* FromHandle(HREPLOBJ handle) { return reinterpret_cast<CReplObject*>(handle); }

protected:
    CReplObject() = default;
    CReplObject(const CReplObject&) = default;
    CReplObject& operator=(const CReplObject&) = default;
};
