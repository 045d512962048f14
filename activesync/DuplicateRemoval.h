// The removal of duplicate records: what the folder's RemoveDuplicates does once its session is
// connected, kept apart from the folder and the store so that it runs, and is tested, on a
// session alone.
//
// A record is a duplicate when another record of its kind with another reference id still in
// the database holds the same data (AreObjectsEqual). Walking every record in database
// order (vehicles, entries, reminders, keywords) and deleting each duplicate as it comes, every
// group of equal records keeps its last one, and a record found equal to an earlier survivor
// goes too. Within a kind the database at a record's turn is that kind's list less the records
// deleted before it, so each kind's list is loaded once: a vehicle's deletion changes entries and
// reminders, which are loaded after the vehicles are done. Only records with equal numbers,
// dates and kinds can be equal, so the search for a record's match runs over the records that
// share those fields (its bucket) in list order.
//
// A vehicle made on both sides before their first synchronisation may have entries and
// reminders on each: before it goes, they move to the vehicle it was found equal to, each saved
// anew under that vehicle with its reference id and creation date, and a modification date the
// file keeps as later than the one it had (CStoredDate::Later), so that it travels to the
// device again. A vehicle whose dependents cannot all be moved stays.
#pragma once

#include "business/AlkBiz.h"

class CSyncDataLayer;

class CDuplicateRemoval {
public:
    // The session is borrowed, connected, and outlives the removal.
    explicit CDuplicateRemoval(CSyncDataLayer& session) : m_session(session) {}
    CDuplicateRemoval(const CDuplicateRemoval&) = delete;
    CDuplicateRemoval& operator=(const CDuplicateRemoval&) = delete;

    // Every kind in turn. False when a kind's list could not be loaded (the kinds after it are
    // not looked at); Deleted() tells whether any record went, on either road.
    bool Run();
    bool Deleted() const { return m_deleted; }

    // The duplicates of one kind's list, the list as the database holds it now; whether it
    // deleted any.
    bool RemoveFrom(CObjectList& list);

private:
    // Moves the entries and reminders of one vehicle to another; false when any move failed.
    bool MoveDependents(const CBaseObject& from, const CBaseObject& to);
    // Saves each record anew under the vehicle toRef, modified now or later, and deletes its old
    // row; false at the first that fails.
    template <class T>
    bool MoveAll(CObjectListT<T>& records, unsigned long toRef, double now);

    CSyncDataLayer& m_session;
    bool m_deleted = false;
};
