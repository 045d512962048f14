// Base of every stored record. Texts are owned heap copies (null until set; getters return the
// empty text for null). Dates are OLE Automation dates in UTC.
#pragma once

#include <cstddef>

#include "business/AlkBizDefs.h"

class ALKBIZ_API CBaseObject {
public:
    enum ObjectType {
        otNone = 0,  // only while the base constructor runs
        otVehicle = 1,
        otEntry = 2,
        otNotification = 3,
        otKeyword = 4
    };

    virtual ~CBaseObject();

#if ALKBIZ_WIDE
    // Records cross the DLL boundary as pointers: they are allocated and freed on this library's
    // heap whoever writes `new` or `delete`. A failed allocation yields null (no exception
    // leaves the library).
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* p) noexcept;
#endif

    ObjectType GetObjectType() const;
    long GetID() const;
    void SetID(long id);
    unsigned long GetRefID() const;
    void SetRefID(unsigned long refID);
    double GetDateCreated() const;
    void SetDateCreated(double date);
    double GetDateModified() const;
    void SetDateModified(double date);
    int IsDirty() const;
    void SetDirty(int dirty);
    const AlkChar* GetName() const;
    void SetName(const AlkChar* name);
    const AlkChar* GetNotes() const;
    void SetNotes(const AlkChar* notes);

    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;

protected:
    CBaseObject();
    void SetObjectType(ObjectType type);
    // Stores a text through CStringHelper::SetStringValue and raises Dirty when it changed.
    void SetText(AlkChar** field, const AlkChar* value);
    // Raises Dirty when the flag argument is true; used by the number setters.
    void MarkDirtyIf(bool changed);
    // The text of a field for a getter: the empty text for an unset field.
    static const AlkChar* TextOf(const AlkChar* field);

private:
    long m_id;
    unsigned long m_refID;
    AlkChar* m_name;
    AlkChar* m_notes;
    double m_dateCreated;
    double m_dateModified;
    ObjectType m_objectType;
    int m_dirty;
};
