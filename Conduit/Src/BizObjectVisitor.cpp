#include "Conduit/Src/BizObjectVisitor.h"

#include "Conduit/Src/ObjectRecord.h"

void CBizObjectInfoGatherer::Visit(CAutoPtr<CBaseObject> record)
{
    CDbItemInfo info;
    MakeItemInfo(record.Get(), info);
    m_store.Add(info);
}

void VisitObjectList(CObjectList& list, IBizObjectVisitor& visitor)
{
    for (int i = list.GetCount() - 1; i >= 0; --i) {
        CAutoPtr<CBaseObject> record(&DeleteRecord, list.DisownItem(i));
        visitor.Visit(record);
    }
}

bool VisitAllObjects(CDataLayer& database, IBizObjectVisitor& visitor)
{
    {
        CObjectListT<CVehicle> vehicles;
        if (!database.Load(&vehicles)) return false;
        VisitObjectList(vehicles, visitor);
    }
    {
        CEntryFilter everything;
        everything.SetVehicleID(0);
        everything.SetEntryType(CEntry::etNone);
        everything.SetDateRangeType(CEntryFilter::drAll);
        CObjectListT<CEntry> entries;
        if (!database.Load(&entries, &everything)) return false;
        VisitObjectList(entries, visitor);
    }
    {
        CObjectListT<CNotification> reminders;
        if (!database.Load(&reminders, 0UL)) return false;
        VisitObjectList(reminders, visitor);
    }
    CObjectListT<CKeyword> keywords;
    if (!database.Load(&keywords, CKeyword::ktAll)) return false;
    VisitObjectList(keywords, visitor);
    return true;
}

bool GatherItemInfos(IObjectStore<CDbItemInfo>& store, CDataLayer& database)
{
    CBizObjectInfoGatherer gatherer(store);
    return VisitAllObjects(database, gatherer);
}
