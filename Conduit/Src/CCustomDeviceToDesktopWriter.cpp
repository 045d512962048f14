#include "Conduit/Src/CCustomDeviceToDesktopWriter.h"

#include "Conduit/Src/HandheldLink.h"
#include "Conduit/Src/SynchException.h"

void CCustomDeviceToDesktopWriter::Synchronize()
{
    if (!m_database.DeleteAllData()) ThrowGeneralSynchError(4);
    CRecordList records;
    ReceiveAllObjects(records);
    for (const CAutoPtr<CBaseObject>& record : records)
        if (!SaveObject(record.Get(), m_database)) ThrowGeneralSynchError(4);
}
