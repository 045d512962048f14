// A folder handle: the provider's one folder, which holds every record of the database. Its
// bytes are the kind word alone. The operations the store forwards to its folder are declared
// here in their order; CFolderImpl implements them.
#pragma once

#include <cstring>

#include "activesync/ReplObject.h"

class CFolderHandler;
class CItemImpl;

class CFolder : public CReplObject {
public:
    UINT GetKind() const final { return kindFolder; }
    UINT ToBytes(BYTE* buffer) const override
    {
        if (buffer) std::memset(buffer, 0, KindSize);
        return KindSize;
    }
    void FromBytes(const BYTE*, UINT) override {}
    // A folder has no content of its own.
    BOOL CopyFrom(const CReplObject& other) override { return other.GetKind() == kindFolder; }

    // The folder's object handler with a reference added for the caller.
    virtual CFolderHandler* GetObjHandler() = 0;
    virtual HRESULT FindFirstItem(HREPLITEM* item, BOOL* exists) = 0;
    virtual HRESULT FindNextItem(HREPLITEM* item, BOOL* exists) = 0;
    virtual HRESULT FindItemClose() = 0;
    virtual HRESULT IsValidObject(HREPLOBJ object) = 0;
    virtual BOOL IsFolderChanged() = 0;
    virtual BOOL IsItemChanged(CItemImpl* item, CItemImpl* comparison) = 0;
    virtual BOOL IsItemReplicated(CItemImpl* item) = 0;
    virtual void UpdateItem(CItemImpl* destination, CItemImpl* source) = 0;
    virtual HRESULT GetConflictInfo(CONFINFO* info) = 0;
    virtual HRESULT GetObjTypeUIData(OBJUIDATA* data) = 0;
    virtual HRESULT ActivateDialog(HWND owner) = 0;
    virtual HRESULT RemoveDuplicates() = 0;
};
