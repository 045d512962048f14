// The helper every CDataLayer uses unless given another factory. Wide build: UTF-16 <-> UTF-8;
// 8-bit build: bytes pass unchanged. Every buffer it returns is released by its destructor.
#pragma once

#include "business/StringHelper.h"

class ALKBIZ_API CDefaultStringHelper : public CStringHelper {
public:
    CDefaultStringHelper();
    ~CDefaultStringHelper() override;
    const char* Encode(const AlkChar* text) override;
    const AlkChar* Decode(const char* text) override;
#if ALKBIZ_WIDE
    using CStringHelper::Decode;
#endif

    CDefaultStringHelper(const CDefaultStringHelper&) = delete;
    CDefaultStringHelper& operator=(const CDefaultStringHelper&) = delete;

private:
    // Remembers a returned buffer; on failure releases it and returns false.
    bool Keep(void* buffer);

    void** m_buffers;  // malloc'd array of malloc'd buffers
    int m_count;
    int m_capacity;
};
