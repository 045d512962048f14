#include "activesync/ObjectHolder.h"

CObjectHolder::~CObjectHolder()
{
    delete m_record;
}

void CObjectHolder::Hold(CBaseObject* record)
{
    if (record == m_record) return;
    delete m_record;
    m_record = record;
}

CBaseObject* CObjectHolder::GiveUp()
{
    CBaseObject* record = m_record;
    m_record = nullptr;
    return record;
}
