// The two object stores the synchronizers fill: a list of shared records, and the map of item
// information ordered by object type, then RefID (CDbItemInfoMap).
#pragma once

#include "Conduit/Src/BizObjectVisitor.h"
#include "Conduit/Src/ObjectRecord.h"

// Appends each record to the caller's list, which then shares it (the record is not copied).
template <class T>
class CListObjectStore : public IObjectStore<T> {
public:
    explicit CListObjectStore(std::list<T>& list) : m_list(list) {}
    void Add(const T& item) override { m_list.push_back(item); }

private:
    std::list<T>& m_list;
};

// Stores each item's dates under its key; a key already there gets the new dates.
template <class T>
class CMapObjectStore;

template <>
class CMapObjectStore<CDbItemInfo> : public IObjectStore<CDbItemInfo> {
public:
    explicit CMapObjectStore(CDbItemInfoMap& map) : m_map(map) {}
    void Add(const CDbItemInfo& item) override { m_map[item.GetKey()] = item.GetValue(); }

private:
    CDbItemInfoMap& m_map;
};
