// Typed access to a list of one record kind (CVehicle, CEntry, CKeyword, CNotification).
#pragma once

#include "business/ObjectList.h"

template <class T>
class CObjectListT : public CObjectList {
public:
    void Add(T* item) { AddItem(item); }
    T* Get(int index) { return static_cast<T*>(GetItem(index)); }
    T* Disown(int index) { return static_cast<T*>(DisownItem(index)); }
};
