// Walks every record of the database through one session, in the order vehicles, entries,
// notifications (reminders), keywords; within a kind in the order the database layer returns
// them. Each kind's list is loaded when the walk reaches it and freed when it moves on, so a
// record handed out stays valid until the walk leaves its kind or is closed. A type filter walks
// one kind alone.
#pragma once

#include <windows.h>

#include <memory>

#include "business/AlkBiz.h"

class CSyncDataLayer;

class CObjectEnumerator {
public:
    // Stages of the walk; a stage's number is the object type of its records.
    enum Stage { stageNone = 0, stageVehicles = 1, stageEntries = 2, stageNotifications = 3, stageKeywords = 4 };

    // The session is borrowed and must outlive the walk.
    explicit CObjectEnumerator(CSyncDataLayer* session);
    ~CObjectEnumerator();
    CObjectEnumerator(const CObjectEnumerator&) = delete;
    CObjectEnumerator& operator=(const CObjectEnumerator&) = delete;

    // Only before the first record, and only once.
    void SetTypeFilter(int objectType);
    // The first record; E_INVALIDARG once the walk has started, else as Next.
    HRESULT First(CBaseObject** record);
    // S_OK and the next record (owned by the walk); S_FALSE and null at the real end; E_FAIL and
    // null when a kind's list could not be loaded (the walk then stays ended with E_FAIL: a
    // caller must not take the missing records for deleted ones).
    HRESULT Next(CBaseObject** record);
    // Frees the current list and resets the walk.
    void Close();

    // Every record of one kind as the database holds it now, in its order; null when the load
    // fails. Owned by the caller.
    static CObjectList* LoadList(CSyncDataLayer* session, int objectType);

private:
    // Moves to the next stage that passes the filter and loads its list.
    HRESULT LoadNextList();

    CSyncDataLayer* m_session;
    int m_stage = stageNone;
    int m_typeFilter = 0;
    std::unique_ptr<CObjectList> m_list;
    int m_index = 0;
    int m_count = 0;
    HRESULT m_end = S_OK;  // S_FALSE or E_FAIL once the walk has ended
};
