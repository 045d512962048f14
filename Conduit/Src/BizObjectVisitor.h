// Walking every desktop record: visitors that take each record (shared through a CAutoPtr) into
// an object store, either whole (CBizObjectGatherer) or as its item information
// (CBizObjectInfoGatherer).
#pragma once

#include "business/AlkBiz.h"
#include "Conduit/Src/AutoPtr.h"
#include "Conduit/Src/DbItemInfo.h"

template <class T>
class IObjectStore {
public:
    virtual void Add(const T& item) = 0;

protected:
    ~IObjectStore() = default;
};

class IBizObjectVisitor {
public:
    virtual void Visit(CAutoPtr<CBaseObject> record) = 0;

protected:
    ~IBizObjectVisitor() = default;
};

// Adds each record to its store, which then shares it.
class CBizObjectGatherer : public IBizObjectVisitor {
public:
    explicit CBizObjectGatherer(IObjectStore<CAutoPtr<CBaseObject>>& store) : m_store(store) {}
    void Visit(CAutoPtr<CBaseObject> record) override { m_store.Add(record); }

private:
    IObjectStore<CAutoPtr<CBaseObject>>& m_store;
};

// Adds each record's item information to its store; the record itself is let go.
class CBizObjectInfoGatherer : public IBizObjectVisitor {
public:
    explicit CBizObjectInfoGatherer(IObjectStore<CDbItemInfo>& store) : m_store(store) {}
    void Visit(CAutoPtr<CBaseObject> record) override;

private:
    IObjectStore<CDbItemInfo>& m_store;
};

// Takes every record out of the list, the last first, and hands it to the visitor; the list is
// left empty.
void VisitObjectList(CObjectList& list, IBizObjectVisitor& visitor);
// Loads and visits all vehicles, then all entries, reminders and keywords, each kind as
// VisitObjectList hands it out. False at once when a load fails (later kinds are not visited).
bool VisitAllObjects(CDataLayer& database, IBizObjectVisitor& visitor);
bool GatherItemInfos(IObjectStore<CDbItemInfo>& store, CDataLayer& database);
