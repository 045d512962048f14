#include "Conduit/Src/CCustomDesktopToDeviceWriter.h"

#include "Conduit/Src/HandheldLink.h"
#include "Conduit/Src/ObjectStores.h"
#include "Conduit/Src/SynchException.h"

void CCustomDesktopToDeviceWriter::Synchronize()
{
    CRecordList records;
    CListObjectStore<CAutoPtr<CBaseObject>> store(records);
    CBizObjectGatherer gatherer(store);
    if (!VisitAllObjects(m_database, gatherer)) ThrowGeneralSynchError(4);
    SendAllObjects(records);
}
