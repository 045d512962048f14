// An ordered list that owns the records it holds. A record leaves it only through Clear (deleted)
// or DisownItem (handed to the caller). The array is grown and freed inside this library.
#pragma once

#include "business/BaseObject.h"

class ALKBIZ_API CObjectList {
public:
    CObjectList();
    // Deletes the records still held when auto-cleanup is on (the default).
    ~CObjectList();

    void AllowAutoCleanup(int allow);
    // Appends and takes ownership. Should the array not grow, the record is deleted and the count
    // stays as it was: a caller that must know compares GetCount before and after.
    void AddItem(CBaseObject* item);
    // Null for an index outside 0..GetCount()-1.
    CBaseObject* GetItem(int index);
    // Removes the record at index and returns it to the caller, who owns it from then on; later
    // records move down one place. Null for an index outside the list.
    CBaseObject* DisownItem(int index);
    int GetCount();
    // Deletes every record held, whatever the auto-cleanup switch says.
    void Clear();
    // Ascending by name, case-insensitively; not stable.
    void SortByName();

    CObjectList(const CObjectList&) = delete;
    CObjectList& operator=(const CObjectList&) = delete;

private:
    int m_autoCleanup;
    CBaseObject** m_items;  // malloc'd
    int m_count;
    int m_capacity;
};
