#include "business/ObjectList.h"

#include <cstdlib>
#include <cstring>
#if ALKBIZ_WIDE
#include <cwchar>
#else
#include <mbstring.h>
#endif

namespace {

int CompareByName(const void* a, const void* b)
{
    const CBaseObject* left = *static_cast<CBaseObject* const*>(a);
    const CBaseObject* right = *static_cast<CBaseObject* const*>(b);
    const AlkChar* leftName = left ? left->GetName() : ALK_T("");
    const AlkChar* rightName = right ? right->GetName() : ALK_T("");
#if ALKBIZ_WIDE
    return _wcsicmp(leftName, rightName);
#else
    return _mbsicmp(reinterpret_cast<const unsigned char*>(leftName),
                    reinterpret_cast<const unsigned char*>(rightName));
#endif
}

}  // namespace

CObjectList::CObjectList() : m_autoCleanup(1), m_items(nullptr), m_count(0), m_capacity(0) {}

CObjectList::~CObjectList()
{
    if (m_autoCleanup) Clear();
    std::free(m_items);
}

void CObjectList::AllowAutoCleanup(int allow)
{
    m_autoCleanup = allow;
}

void CObjectList::AddItem(CBaseObject* item)
{
    if (m_count == m_capacity) {
        const int capacity = m_capacity ? m_capacity * 2 : 16;
        CBaseObject** grown = static_cast<CBaseObject**>(std::realloc(m_items, capacity * sizeof(CBaseObject*)));
        if (!grown) {
            // The list took ownership and cannot keep it.
            delete item;
            return;
        }
        m_items = grown;
        m_capacity = capacity;
    }
    m_items[m_count++] = item;
}

CBaseObject* CObjectList::GetItem(int index)
{
    if (index < 0 || index >= m_count) return nullptr;
    return m_items[index];
}

CBaseObject* CObjectList::DisownItem(int index)
{
    if (index < 0 || index >= m_count) return nullptr;
    CBaseObject* item = m_items[index];
    std::memmove(m_items + index, m_items + index + 1, (m_count - index - 1) * sizeof(CBaseObject*));
    --m_count;
    return item;
}

int CObjectList::GetCount()
{
    return m_count;
}

void CObjectList::Clear()
{
    // Emptied before deleting, so a record's destructor never sees a half-cleared list.
    CBaseObject** items = m_items;
    const int count = m_count;
    m_items = nullptr;
    m_count = 0;
    m_capacity = 0;
    for (int i = 0; i < count; ++i) delete items[i];
    std::free(items);
}

void CObjectList::SortByName()
{
    if (m_count > 1) std::qsort(m_items, m_count, sizeof(CBaseObject*), CompareByName);
}
