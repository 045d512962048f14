#include "business/StringHelper.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

#if ALKBIZ_WIDE
size_t TextLength(const AlkChar* text)
{
    return std::wcslen(text);
}
int TextCompare(const AlkChar* a, const AlkChar* b)
{
    return std::wcscmp(a, b);
}
#else
size_t TextLength(const AlkChar* text)
{
    return std::strlen(text);
}
int TextCompare(const AlkChar* a, const AlkChar* b)
{
    return std::strcmp(a, b);
}
#endif

}  // namespace

CStringHelper::CStringHelper() {}

CStringHelper::~CStringHelper() {}

#if ALKBIZ_WIDE
const wchar_t* CStringHelper::Decode(const wchar_t* text)
{
    return text;
}
#endif

int CStringHelper::SetStringValue(AlkChar** field, const AlkChar* value)
{
    if (!*field && !value) return 0;
    const AlkChar* text = value ? value : ALK_T("");
    if (*field && TextCompare(*field, text) == 0) return 0;

    // The copy is made before the old text goes: value may point into it (a field set to a part
    // of itself).
    const size_t length = TextLength(text);
    AlkChar* copy = static_cast<AlkChar*>(std::malloc((length + 1) * sizeof(AlkChar)));
    if (!copy) return 0;
    std::memcpy(copy, text, (length + 1) * sizeof(AlkChar));
    const bool released = *field != nullptr;
    FreeStringValue(field);
    *field = copy;
    return (length != 0 || released) ? 1 : 0;
}

void CStringHelper::FreeStringValue(AlkChar** field)
{
    std::free(*field);
    *field = nullptr;
}
