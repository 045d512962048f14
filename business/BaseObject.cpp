#include "business/BaseObject.h"

#include <cstdlib>

#include "business/StringHelper.h"

CBaseObject::CBaseObject()
    : m_id(0),
      m_refID(0),
      m_name(nullptr),
      m_notes(nullptr),
      m_dateCreated(0),
      m_dateModified(0),
      m_objectType(otNone),
      m_dirty(0)
{}

CBaseObject::~CBaseObject()
{
    CStringHelper::FreeStringValue(&m_name);
    CStringHelper::FreeStringValue(&m_notes);
}

#if ALKBIZ_WIDE
void* CBaseObject::operator new(std::size_t size) noexcept
{
    return std::malloc(size);
}

void CBaseObject::operator delete(void* p) noexcept
{
    std::free(p);
}
#endif

CBaseObject::ObjectType CBaseObject::GetObjectType() const
{
    return m_objectType;
}
void CBaseObject::SetObjectType(ObjectType type)
{
    m_objectType = type;
}

long CBaseObject::GetID() const
{
    return m_id;
}
void CBaseObject::SetID(long id)
{
    m_id = id;
}
unsigned long CBaseObject::GetRefID() const
{
    return m_refID;
}
void CBaseObject::SetRefID(unsigned long refID)
{
    m_refID = refID;
}
double CBaseObject::GetDateCreated() const
{
    return m_dateCreated;
}
void CBaseObject::SetDateCreated(double date)
{
    m_dateCreated = date;
}
double CBaseObject::GetDateModified() const
{
    return m_dateModified;
}
void CBaseObject::SetDateModified(double date)
{
    m_dateModified = date;
}
int CBaseObject::IsDirty() const
{
    return m_dirty;
}
void CBaseObject::SetDirty(int dirty)
{
    m_dirty = dirty;
}

const AlkChar* CBaseObject::GetName() const
{
    return TextOf(m_name);
}
void CBaseObject::SetName(const AlkChar* name)
{
    SetText(&m_name, name);
}
const AlkChar* CBaseObject::GetNotes() const
{
    return TextOf(m_notes);
}
void CBaseObject::SetNotes(const AlkChar* notes)
{
    SetText(&m_notes, notes);
}

void CBaseObject::SetText(AlkChar** field, const AlkChar* value)
{
    if (CStringHelper::SetStringValue(field, value)) m_dirty = 1;
}

void CBaseObject::MarkDirtyIf(bool changed)
{
    if (changed) m_dirty = 1;
}

const AlkChar* CBaseObject::TextOf(const AlkChar* field)
{
    return field ? field : ALK_T("");
}
