#include "legacy/BaseObject.h"

IMPLEMENT_DYNAMIC(__CBaseObject, CObject)

void __CBaseObject::Reset()
{
    m_description.clear();
    m_id = -1;
}
