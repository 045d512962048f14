// The owner of one business record for the length of an operation: holding another record
// deletes the one held before, and the holder's end deletes what it still holds (through the
// business library's class-level allocation). GiveUp hands the record over.
#pragma once

#include "business/AlkBiz.h"

class CObjectHolder {
public:
    explicit CObjectHolder(CBaseObject* record = nullptr) : m_record(record) {}
    ~CObjectHolder();
    CObjectHolder(const CObjectHolder&) = delete;
    CObjectHolder& operator=(const CObjectHolder&) = delete;

    void Hold(CBaseObject* record);
    CBaseObject* Get() const { return m_record; }
    // The record, no longer deleted by the holder.
    CBaseObject* GiveUp();

private:
    CBaseObject* m_record;
};
