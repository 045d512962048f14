#include "Conduit/Src/CCustomDeviceToDesktopWriter.h"

#include <string>

#include "Conduit/Src/HandheldLink.h"
#include "Conduit/Src/SynchException.h"

void CCustomDeviceToDesktopWriter::Synchronize()
{
    CRecordList records;
    ReceiveAllObjects(records);
    // A record the desktop cannot keep is refused; the desktop's own record of its key, if it has
    // one, stays instead of going with the rest.
    CRecordList kept;
    for (auto it = records.begin(); it != records.end();) {
        const std::string why = FindUnsoundValue(it->Get());
        if (why.empty()) {
            ++it;
            continue;
        }
        const CDbItemInfoKey key((*it)->GetObjectType(), (*it)->GetRefID());
        LogRefusedRecord(key.ObjectType, key.RefID, why);
        CAutoPtr<CBaseObject> own = LoadDesktopRecord(m_database, key);
        if (own.Get()) kept.push_back(own);
        it = records.erase(it);
    }

    if (!m_database.DeleteAllData()) ThrowGeneralSynchError(4);
    for (const CAutoPtr<CBaseObject>& record : records)
        if (!SaveObject(record.Get(), m_database)) ThrowGeneralSynchError(4);
    for (const CAutoPtr<CBaseObject>& record : kept) {
        // Unless a sound copy of the same key came too: the handheld's own record wins then.
        if (m_database.GetID(record->GetObjectType(), record->GetRefID()) != 0) continue;
        if (!SaveObject(record.Get(), m_database)) ThrowGeneralSynchError(4);
    }
}
