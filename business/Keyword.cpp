#include "business/Keyword.h"

CKeyword::CKeyword() : m_type(ktAll)
{
    SetObjectType(otKeyword);
}

CKeyword::~CKeyword() {}

CKeyword::Type CKeyword::GetType() const
{
    return m_type;
}
void CKeyword::SetType(Type type)
{
    m_type = type;
}
