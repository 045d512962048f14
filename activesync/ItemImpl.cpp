#include "activesync/ItemImpl.h"

#include <cstdint>
#include <cstring>

#include "business/AlkBiz.h"

static_assert(sizeof(double) == 8, "the handle's date is an IEEE double");

namespace {

// x86 is little-endian: the handle's integers are copied as they lie in memory.
template <class T>
void Put(BYTE* at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

template <class T>
T Take(const BYTE* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

CItemImpl::CItemImpl(const CBaseObject& record)
    : m_objectType(record.GetObjectType()),
      m_rowID(record.GetID()),
      m_refID(record.GetRefID()),
      m_dateModified(record.GetDateModified())
{}

UINT CItemImpl::ToBytes(BYTE* buffer) const
{
    if (buffer) {
        Put<uint32_t>(buffer, kindItem);
        Put<int32_t>(buffer + 4, m_objectType);
        Put<int32_t>(buffer + 8, static_cast<int32_t>(m_rowID));
        Put<uint32_t>(buffer + 12, static_cast<uint32_t>(m_refID));
        Put<double>(buffer + 16, m_dateModified);
    }
    return ByteSize;
}

void CItemImpl::FromBytes(const BYTE* bytes, UINT size)
{
    if (!bytes || size < ByteSize - KindSize) return;
    m_objectType = Take<int32_t>(bytes);
    m_rowID = Take<int32_t>(bytes + 4);
    m_refID = Take<uint32_t>(bytes + 8);
    m_dateModified = Take<double>(bytes + 12);
}

BOOL CItemImpl::CopyFrom(const CReplObject& other)
{
    if (other.GetKind() != kindItem) return FALSE;
    const CItemImpl& item = static_cast<const CItemImpl&>(other);
    m_objectType = item.m_objectType;
    m_rowID = item.m_rowID;
    m_refID = item.m_refID;
    m_dateModified = item.m_dateModified;
    return TRUE;
}

int CItemImpl::Compare(const CItem& other) const
{
    const unsigned long mine = m_refID, theirs = static_cast<const CItemImpl&>(other).m_refID;
    if (mine < theirs) return -1;
    return mine > theirs ? 1 : 0;
}

CItemImpl* CItemImpl::FromHandle(HREPLOBJ handle)
{
    CReplObject* object = CReplObject::FromHandle(handle);
    if (!object || object->GetKind() != kindItem) return nullptr;
    return static_cast<CItemImpl*>(object);
}
