#include "activesync/ObjectEnumerator.h"

#include <new>

#include "activesync/SyncDataLayer.h"

CObjectEnumerator::CObjectEnumerator(CSyncDataLayer* session) : m_session(session) {}

CObjectEnumerator::~CObjectEnumerator()
{
    Close();
}

void CObjectEnumerator::SetTypeFilter(int objectType)
{
    if (m_stage == stageNone && m_typeFilter == 0 && m_end == S_OK) m_typeFilter = objectType;
}

HRESULT CObjectEnumerator::First(CBaseObject** record)
{
    if (record) *record = nullptr;
    if (m_stage != stageNone || m_end != S_OK) return E_INVALIDARG;
    return Next(record);
}

HRESULT CObjectEnumerator::Next(CBaseObject** record)
{
    if (!record) return E_POINTER;
    *record = nullptr;
    while (m_end == S_OK && m_index >= m_count) {
        const HRESULT loaded = LoadNextList();
        if (loaded != S_OK) m_end = loaded;
    }
    if (m_end != S_OK) return m_end;
    *record = m_list->GetItem(m_index++);
    return S_OK;
}

void CObjectEnumerator::Close()
{
    m_list.reset();
    m_stage = stageNone;
    m_typeFilter = 0;
    m_index = m_count = 0;
    m_end = S_OK;
}

HRESULT CObjectEnumerator::LoadNextList()
{
    m_list.reset();
    m_index = m_count = 0;
    int stage = m_stage + 1;
    while (stage <= stageKeywords && m_typeFilter != 0 && stage != m_typeFilter) ++stage;
    if (stage > stageKeywords) return S_FALSE;
    m_stage = stage;
    m_list.reset(LoadList(m_session, stage));
    if (!m_list) return E_FAIL;
    m_count = m_list->GetCount();
    return S_OK;
}

CObjectList* CObjectEnumerator::LoadList(CSyncDataLayer* session, int objectType)
{
    if (!session) return nullptr;
    int loaded = 0;
    CObjectList* list = nullptr;
    switch (objectType) {
    case CBaseObject::otVehicle: {
        auto* vehicles = new (std::nothrow) CObjectListT<CVehicle>;
        if (!vehicles) return nullptr;
        loaded = session->Load(vehicles);
        list = vehicles;
        break;
    }
    case CBaseObject::otEntry: {
        // Vehicle 0, date range 0 and entry type 0: every entry.
        auto* entries = new (std::nothrow) CObjectListT<CEntry>;
        if (!entries) return nullptr;
        CEntryFilter all;
        loaded = session->Load(entries, &all);
        list = entries;
        break;
    }
    case CBaseObject::otNotification: {
        auto* reminders = new (std::nothrow) CObjectListT<CNotification>;
        if (!reminders) return nullptr;
        loaded = session->Load(reminders, 0);
        list = reminders;
        break;
    }
    case CBaseObject::otKeyword: {
        auto* keywords = new (std::nothrow) CObjectListT<CKeyword>;
        if (!keywords) return nullptr;
        loaded = session->Load(keywords, CKeyword::ktAll);
        list = keywords;
        break;
    }
    default: return nullptr;
    }
    if (!loaded) {
        delete list;
        return nullptr;
    }
    return list;
}
