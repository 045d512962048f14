#include "framework/OleDateTime.h"

#include <windows.h>

#include <oleauto.h>

COleDateTime COleDateTime::Now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wMilliseconds = 0;
    COleDateTime result;
    if (!SystemTimeToVariantTime(&now, &result.m_dt)) result.m_status = invalid;
    return result;
}
