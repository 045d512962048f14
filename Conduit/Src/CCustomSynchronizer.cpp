#include "Conduit/Src/CCustomSynchronizer.h"

#include <string>

#include "Conduit/Src/ConduitLog.h"
#include "Conduit/Src/HandheldLink.h"
#include "Conduit/Src/ObjectStores.h"
#include "Conduit/Src/SynchException.h"
#include "sdk/hotsync/HotSync.h"

namespace {

// The unit named by this file's fatal errors: a fixed text, the same in every build.
const char kUnit[] = "Src\\CCustomSynchronizer.cpp";
enum { LineImpossibleStates = 301, LineNotAConflict = 346, LineBadConflictRule = 349, LineBadState = 373 };

// The decision table: what each pair of states (handheld row, desktop column; the last column
// is a key the desktop does not know) queues on each side. An action of -1 queues nothing;
// Conflict cells are decided by the conflict rule, Fatal cells cannot arise.
struct Cell {
    enum Kind { Queue, Conflict, Fatal } kind;
    long desktop;   // queued on DesktopActions first
    long handheld;  // then on HandheldActions
};
const Cell kQ00 = {Cell::Queue, 0, 0}, kQ01 = {Cell::Queue, 0, 1}, kQ02 = {Cell::Queue, 0, 2},
           kQ10 = {Cell::Queue, 1, 0}, kQ20 = {Cell::Queue, 2, 0}, kD1 = {Cell::Queue, 1, -1},
           kNone = {Cell::Queue, -1, -1}, kC = {Cell::Conflict, -1, -1}, kF = {Cell::Fatal, -1, -1};
// clang-format off
//                             d: unchanged modified added deleted absent
const Cell kTable[4][5] = {
    /* h unchanged */ {kQ00,     kQ01,    kF,    kQ02,   kF},
    /* h modified  */ {kQ10,     kC,      kF,    kC,     kF},
    /* h added     */ {kF,       kF,      kNone, kF,     kD1},
    /* h deleted   */ {kQ20,     kC,      kF,    kNone,  kF},
};
// clang-format on

// What a duplicate needs: the database and the map of the keys it makes.
struct CDuplicateContext {
    CDataLayer& database;
    CDbItemInfoMap& newKeys;
};

// Entries and reminders name their vehicle; vehicles and keywords have none to move.
void Relink(CBaseObject*, unsigned long) {}
void Relink(CEntry* record, unsigned long vehicleRefID)
{
    if (vehicleRefID != 0 && vehicleRefID != record->GetVehicleID()) record->SetVehicleID(vehicleRefID);
}
void Relink(CNotification* record, unsigned long vehicleRefID)
{
    if (vehicleRefID != 0 && vehicleRefID != record->GetVehicleID()) record->SetVehicleID(vehicleRefID);
}

// Saves a copy of the stored record with the record's row id as a new record: a new RefID, the
// current time as both dates, and (for an entry or a reminder) the new vehicle when one is given.
template <class T>
bool CopyRecordAsNew(T* record, CDuplicateContext& context, unsigned long newVehicleRefID)
{
    if (!LoadByRowID(context.database, record)) return false;
    record->SetID(0);
    record->SetRefID(0);
    Relink(record, newVehicleRefID);
    if (!context.database.Save(record, 0)) return false;
    context.newKeys[CDbItemInfoKey(record->GetObjectType(), record->GetRefID())] =
        CDbItemInfoValue(record->GetDateCreated(), record->GetDateModified());
    return true;
}

template <class T>
void DuplicateOne(CDuplicateContext& context, CBaseObject::ObjectType type, unsigned long refID, T& copy)
{
    const unsigned long id = context.database.GetID(type, refID);
    if (id == 0) ThrowGeneralSynchError(4);
    copy.SetID(static_cast<long>(id));
    if (!CopyRecordAsNew(&copy, context, 0)) ThrowGeneralSynchError(4);
}

void DuplicateVehicle(CDuplicateContext& context, unsigned long refID)
{
    CVehicle copy;
    DuplicateOne(context, CBaseObject::otVehicle, refID, copy);
    const unsigned long newRefID = copy.GetRefID();

    CEntryFilter filter;
    filter.SetVehicleID(refID);
    filter.SetEntryType(CEntry::etNone);
    filter.SetDateRangeType(CEntryFilter::drAll);
    CObjectListT<CEntry> entries;
    if (!context.database.Load(&entries, &filter)) ThrowGeneralSynchError(4);
    for (int i = 0; i < entries.GetCount(); ++i)
        if (!CopyRecordAsNew(entries.Get(i), context, newRefID)) ThrowGeneralSynchError(4);

    CObjectListT<CNotification> reminders;
    if (!context.database.Load(&reminders, refID)) ThrowGeneralSynchError(4);
    for (int i = 0; i < reminders.GetCount(); ++i)
        if (!CopyRecordAsNew(reminders.Get(i), context, newRefID)) ThrowGeneralSynchError(4);
}

void DuplicateEntry(CDuplicateContext& context, unsigned long refID)
{
    CEntry copy;
    DuplicateOne(context, CBaseObject::otEntry, refID, copy);
}

void DuplicateNotification(CDuplicateContext& context, unsigned long refID)
{
    CNotification copy;
    DuplicateOne(context, CBaseObject::otNotification, refID, copy);
}

void DuplicateKeyword(CDuplicateContext& context, unsigned long refID)
{
    CKeyword copy;
    DuplicateOne(context, CBaseObject::otKeyword, refID, copy);
}

}  // namespace

void LogCannotCreateOnDevice(long objectType, unsigned long refID)
{
    LogToHotSync(HsLogNotice, 0, "%s (%u): %s", TableName(objectType), static_cast<unsigned>(refID),
                 "the object can't be created on the device");
}

void CCustomSynchronizer::LoadSyncInfo(CDbItemInfoMap& map) const
{
    std::string problem;
    if (!::LoadSyncInfo(GetSyncInfoPath(), map, &problem))
        LogToHotSync(HsLogNotice, 0, "The last synchronization information is damaged and was not used (%s)",
                     problem.c_str());
}

void CCustomSynchronizer::RefuseUnsoundItems()
{
    RefusedKeys.clear();
    for (auto it = HandheldInfo.begin(); it != HandheldInfo.end();) {
        const std::string why = FindUnsoundValue(CDbItemInfo(it->first, it->second));
        if (why.empty()) {
            ++it;
            continue;
        }
        LogRefusedRecord(it->first.ObjectType, it->first.RefID, why);
        RefusedKeys.insert(it->first);
        it = HandheldInfo.erase(it);
    }
}

void CCustomSynchronizer::Synchronize()
{
    LoadSyncInfo(LastSyncInfo);
    DesktopInfo.clear();
    CMapObjectStore<CDbItemInfo> desktopStore(DesktopInfo);
    if (!GatherItemInfos(desktopStore, m_database)) ThrowGeneralSynchError(3);
    ReceiveItemInfos(HandheldInfo);
    RefuseUnsoundItems();

    CChangeMap desktopChanges;
    ComputeChanges(HandheldInfo, LastSyncInfo, HandheldChanges);
    ComputeChanges(DesktopInfo, LastSyncInfo, desktopChanges);
    // A refused key is not known on the handheld this run: taken as missing there, it would read
    // as a deletion. Neither side does anything with it until the handheld sends it whole.
    for (const CDbItemInfoKey& key : RefusedKeys) {
        HandheldChanges.erase(key);
        desktopChanges.erase(key);
    }

    HandheldActions.clear();
    DesktopActions.clear();
    BothSidesAdded = 0;
    Decide(HandheldChanges, desktopChanges, HandheldActions, DesktopActions);
    // Without a snapshot that knows them (a first run, a damaged snapshot, the run after a
    // failed commit) such records are left alone on both sides: one line says so for all.
    if (BothSidesAdded)
        LogToHotSync(HsLogNotice, 0,
                     "%lu %s on both the handheld and the desktop with no record of an earlier "
                     "synchronization: each side kept its own",
                     BothSidesAdded, BothSidesAdded == 1 ? "record was" : "records were");

    ApplyToDesktop();
    ApplyToDevice();
}

void CCustomSynchronizer::ComputeChanges(const CDbItemInfoMap& current, const CDbItemInfoMap& snapshot, CChangeMap& out)
{
    out.clear();
    for (const auto& item : current) {
        const auto known = snapshot.find(item.first);
        if (known == snapshot.end())
            out[item.first] = StateAdded;
        else
            out[item.first] = CStoredDate::Same(item.second.DateModified, known->second.DateModified) ? StateUnchanged
                                                                                                      : StateModified;
    }
    for (const auto& item : snapshot)
        if (current.find(item.first) == current.end()) out[item.first] = StateDeleted;
}

long CCustomSynchronizer::StateToAction(long state)
{
    switch (state) {
    case StateUnchanged: return ActionNothing;
    case StateModified:
    case StateAdded: return ActionCopy;
    case StateDeleted: return ActionDelete;
    default: throw CFatalException(kUnit, LineBadState);
    }
}

void CCustomSynchronizer::Decide(const CChangeMap& handheldChanges, CChangeMap& desktopChanges,
                                 CActionList& handheldActions, CActionList& desktopActions)
{
    for (const auto& item : handheldChanges) {
        long d = StateAbsent;
        const auto found = desktopChanges.find(item.first);
        if (found != desktopChanges.end()) {
            d = found->second;
            desktopChanges.erase(found);
        }
        DecideItem(item.first, item.second, d, handheldActions, desktopActions);
    }
    // What is left was added on the desktop alone.
    for (const auto& item : desktopChanges) {
        if (item.second != StateAdded) throw CFatalException(kUnit, LineImpossibleStates);
        handheldActions.push_back(ActionItem{item.first, ActionCopy});
    }
    desktopChanges.clear();
}

void CCustomSynchronizer::DecideItem(const CDbItemInfoKey& key, long h, long d, CActionList& handheldActions,
                                     CActionList& desktopActions)
{
    if (h < StateUnchanged || h > StateDeleted || d < StateAbsent || d > StateDeleted)
        throw CFatalException(kUnit, LineImpossibleStates);
    const Cell& cell = kTable[h][d == StateAbsent ? 4 : d];
    if (cell.kind == Cell::Fatal) throw CFatalException(kUnit, LineImpossibleStates);
    if (h == StateAdded && d == StateAdded) ++BothSidesAdded;
    if (cell.kind == Cell::Queue) {
        if (cell.desktop >= 0) desktopActions.push_back(ActionItem{key, cell.desktop});
        if (cell.handheld >= 0) handheldActions.push_back(ActionItem{key, cell.handheld});
        return;
    }
    switch (*m_conflictsResolving) {
    case ConflictDesktopWins: handheldActions.push_back(ActionItem{key, StateToAction(d)}); return;
    case ConflictHandheldWins: desktopActions.push_back(ActionItem{key, StateToAction(h)}); return;
    case ConflictDuplicate:
        if (h == StateModified && d == StateModified) {
            // The desktop's record lives on as a new one; the handheld's takes its key.
            desktopActions.push_back(ActionItem{key, ActionDuplicate});
            desktopActions.push_back(ActionItem{key, ActionCopy});
        } else if (h == StateModified && d == StateDeleted) {
            desktopActions.push_back(ActionItem{key, ActionCopy});
        } else if (h == StateDeleted && d == StateModified) {
            handheldActions.push_back(ActionItem{key, ActionCopy});
        } else {
            throw CFatalException(kUnit, LineNotAConflict);
        }
        return;
    default: throw CFatalException(kUnit, LineBadConflictRule);
    }
}

void CCustomSynchronizer::ApplyToDesktop()
{
    // The handheld's records are fetched and checked before the desktop changes: a refused record
    // must not leave behind the copy a duplicate would have made of the desktop's.
    CRecordList incoming;
    FetchCopies(incoming);
    Duplicate();
    for (const CAutoPtr<CBaseObject>& record : incoming)
        if (!SaveObject(record.Get(), m_database)) ThrowGeneralSynchError(4);
    for (const ActionItem& item : DesktopActions) {
        switch (item.Action) {
        case ActionDelete: {
            // That one row: a vehicle's entries and reminders go only where the handheld deleted
            // them too.
            const unsigned long id = m_database.GetID(item.Key.ObjectType, item.Key.RefID);
            if (id == 0 || !m_database.Delete(item.Key.ObjectType, id)) ThrowGeneralSynchError(4);
            break;
        }
        case ActionCannotCreate: LogCannotCreateOnDevice(item.Key.ObjectType, item.Key.RefID); break;
        default: break;
        }
    }
}

void CCustomSynchronizer::Duplicate()
{
    NewKeys.clear();
    CDuplicateContext context{m_database, NewKeys};
    for (auto it = DesktopActions.begin(); it != DesktopActions.end();) {
        if (it->Action != ActionDuplicate) {
            ++it;
            continue;
        }
        switch (it->Key.ObjectType) {
        case CBaseObject::otVehicle: DuplicateVehicle(context, it->Key.RefID); break;
        case CBaseObject::otEntry: DuplicateEntry(context, it->Key.RefID); break;
        case CBaseObject::otNotification: DuplicateNotification(context, it->Key.RefID); break;
        case CBaseObject::otKeyword: DuplicateKeyword(context, it->Key.RefID); break;
        default: break;
        }
        it = DesktopActions.erase(it);
    }
    // A new key the handheld or the snapshot already knows cannot be given to the handheld.
    for (const auto& item : NewKeys) {
        if (HandheldInfo.count(item.first) || LastSyncInfo.count(item.first))
            DesktopActions.push_back(ActionItem{item.first, ActionCannotCreate});
        else
            HandheldActions.push_back(ActionItem{item.first, ActionCopy});
    }
}

void CCustomSynchronizer::FetchCopies(CRecordList& records)
{
    records.clear();
    CKeyList keys;
    for (auto it = DesktopActions.begin(); it != DesktopActions.end();) {
        if (it->Action == ActionCopy) {
            keys.push_back(it->Key);
            it = DesktopActions.erase(it);
        } else {
            ++it;
        }
    }
    if (keys.empty()) return;
    FetchObjectsFromDevice(keys, records);

    // Each record must be one that was asked for, once: another would be stored under a key the
    // decisions never saw.
    std::set<CDbItemInfoKey> wanted(keys.begin(), keys.end());
    for (auto it = records.begin(); it != records.end();) {
        const CBaseObject* record = it->Get();
        const CDbItemInfoKey key(record->GetObjectType(), record->GetRefID());
        if (!wanted.erase(key)) {
            char cause[256];
            FormatText(cause, "the handheld sent %s (%u), which was not asked for", TableName(key.ObjectType),
                       static_cast<unsigned>(key.RefID));
            ThrowGeneralSynchError(6, cause);
        }
        const std::string why = FindUnsoundValue(record);
        if (why.empty()) {
            ++it;
            continue;
        }
        // Refused: the desktop keeps its record of the key as it is, not even duplicated.
        LogRefusedRecord(key.ObjectType, key.RefID, why);
        DesktopActions.remove_if([&](const ActionItem& item) { return item.Key == key; });
        it = records.erase(it);
    }
}

void CCustomSynchronizer::ApplyToDevice()
{
    CKeyList deletions;
    CRecordList records;
    for (const ActionItem& item : HandheldActions) {
        if (item.Action == ActionDelete) {
            deletions.push_back(item.Key);
        } else if (item.Action == ActionCopy) {
            CAutoPtr<CBaseObject> record = LoadDesktopRecord(m_database, item.Key);
            if (!record.Get()) ThrowGeneralSynchError(4);
            records.push_back(record);
        }
    }
    SendChangesToDevice(deletions, records);
}
