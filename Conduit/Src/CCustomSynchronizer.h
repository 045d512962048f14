// The two-way synchronizer (fast and slow HotSync alike).
//
// Every record is known on both sides by its key (object type, RefID); only its modification
// date tells whether it changed. Each side's state of a key is found against the snapshot of
// the last committed run (ChangeState): unchanged, modified (the dates differ, either way),
// added (not in the snapshot), deleted (only in the snapshot). Dates are compared as the database
// file keeps them (CStoredDate::Same): the handheld stamps whole seconds, and a date that differs
// from its stored form only beyond the file's six decimals would read as an edit at every run.
//
// One action per key and side follows from the pair of states (DecideItem); where both sides
// changed, the conflict setting decides: 0 the desktop's record wins, 1 the handheld's, 2 both
// are kept (a modification beats a deletion; two modifications keep the desktop's record as a
// new record and give its key to the handheld's). The desktop's actions run first, inside the
// run's transaction; the handheld's follow in one update, the last step before the commit.
//
// A key added on both sides since the snapshot (a first run, a damaged snapshot, the run after a
// failed commit) is the same record made or sent twice, or two copies this run cannot tell apart:
// it is left alone on both sides, and one log line counts such keys.
//
// What the handheld sends is checked before it is used. An item whose type is not 1 to 4 or whose
// dates are not finite, and a fetched record with a value the desktop cannot keep (a number that
// is not finite, an entry or keyword type outside 1 to 4), is refused with a log line naming its
// kind and RefID; for the rest of the run neither side acts on its key (a missing key would read
// as a deletion), and the other records synchronise. A fetched record that was not asked for
// fails the run.
//
// A pair of states that two maps compared with one snapshot cannot give is an internal error of
// this unit (fatal lines 301, 346, 349, 373).
#pragma once

#include <list>
#include <map>
#include <set>

#include "Conduit/Src/CCustomSynchronizerBase.h"
#include "Conduit/Src/ObjectRecord.h"

class CCustomSynchronizer : public CCustomSynchronizerBase {
public:
    enum ChangeState { StateUnchanged = 0, StateModified = 1, StateAdded = 2, StateDeleted = 3 };
    // Not a state: the key is missing from the desktop's change map.
    enum { StateAbsent = -1 };
    enum ItemAction {
        ActionNothing = 0,
        ActionCopy = 1,
        ActionDelete = 2,
        ActionCannotCreate = 3,
        ActionDuplicate = 4
    };
    enum ConflictRule { ConflictDesktopWins = 0, ConflictHandheldWins = 1, ConflictDuplicate = 2 };

    struct ActionItem {
        CDbItemInfoKey Key;
        long Action;
    };
    typedef std::map<CDbItemInfoKey, long> CChangeMap;  // key -> ChangeState
    typedef std::list<ActionItem> CActionList;

    using CCustomSynchronizerBase::CCustomSynchronizerBase;

    // The snapshot file of the run's folder into map (a missing file gives an empty map).
    void LoadSyncInfo(CDbItemInfoMap& map) const;
    static void ComputeChanges(const CDbItemInfoMap& current, const CDbItemInfoMap& snapshot, CChangeMap& out);
    // Empties desktopChanges.
    void Decide(const CChangeMap& handheldChanges, CChangeMap& desktopChanges, CActionList& handheldActions,
                CActionList& desktopActions);
    // d is StateAbsent when the desktop has no state for the key.
    void DecideItem(const CDbItemInfoKey& key, long h, long d, CActionList& handheldActions,
                    CActionList& desktopActions);
    static long StateToAction(long state);

    // Takes the handheld's item information that does not read sound (a type outside 1 to 4, a
    // date that is not finite) out of HandheldInfo into RefusedKeys, one log line each.
    void RefuseUnsoundItems();

    void ApplyToDesktop();
    // Takes every copy to the desktop out of DesktopActions and fetches the handheld's records of
    // them. A record that does not read sound is refused (logged, and every desktop action on its
    // key dropped); one that was not asked for fails the run with general error 6.
    void FetchCopies(CRecordList& records);
    void Duplicate();
    void ApplyToDevice();

    CDbItemInfoMap LastSyncInfo;
    CDbItemInfoMap DesktopInfo;
    CDbItemInfoMap HandheldInfo;
    CChangeMap HandheldChanges;
    CDbItemInfoMap NewKeys;
    CActionList HandheldActions;
    CActionList DesktopActions;
    std::set<CDbItemInfoKey> RefusedKeys;
    // Keys added on both sides since the snapshot, which Decide leaves alone (counted for the log).
    unsigned long BothSidesAdded = 0;

    // The run's database (for tests that drive the steps one by one).
    CDataLayer& Database() { return m_database; }

protected:
    void Synchronize() override;
};

// Writes "%s (%u): the object can't be created on the device" with the type's table name.
void LogCannotCreateOnDevice(long objectType, unsigned long refID);
