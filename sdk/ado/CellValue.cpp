#include "sdk/ado/CellValue.h"

#include <oleauto.h>
#include <sqlite3.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The declared type's name in upper case, without its size or precision: "TEXT(50)" -> "TEXT".
std::string BaseTypeName(const char* declared)
{
    std::string name;
    for (const char* p = declared; *p && *p != '(' && !std::isspace(static_cast<unsigned char>(*p)); ++p)
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return name;
}

// value = value * 10 + digit over three 32-bit words (low first); false on overflow of 96 bits.
bool MultiplyAdd(unsigned long words[3], unsigned digit)
{
    unsigned long long carry = digit;
    for (int i = 0; i < 3; ++i) {
        unsigned long long product = static_cast<unsigned long long>(words[i]) * 10 + carry;
        words[i] = static_cast<unsigned long>(product & 0xFFFFFFFFu);
        carry = product >> 32;
    }
    return carry == 0;
}

}  // namespace

VARTYPE DeclaredVarType(const char* declaredType)
{
    if (!declaredType) return VT_ILLEGAL;
    // clang-format off
    static const struct { const char* name; VARTYPE type; } kTypes[] = {
        {"BYTE", VT_UI1},      {"SHORT", VT_I2},      {"SMALLINT", VT_I2},   {"LONG", VT_I4},
        {"INTEGER", VT_I4},    {"INT", VT_I4},        {"SINGLE", VT_R4},     {"REAL", VT_R4},
        {"DOUBLE", VT_R8},     {"FLOAT", VT_R8},      {"CURRENCY", VT_CY},   {"MONEY", VT_CY},
        {"DATETIME", VT_DATE}, {"DATE", VT_DATE},     {"TEXT", VT_BSTR},     {"MEMO", VT_BSTR},
        {"VARCHAR", VT_BSTR},  {"CHAR", VT_BSTR},     {"BIT", VT_BOOL},      {"YESNO", VT_BOOL},
        {"DECIMAL", VT_DECIMAL}, {"NUMERIC", VT_DECIMAL}, {"EMPTY", VT_EMPTY},
    };
    // clang-format on
    const std::string name = BaseTypeName(declaredType);
    for (const auto& entry : kTypes) {
        if (name == entry.name) return entry.type;
    }
    return VT_ILLEGAL;
}

bool ParseDecimal(const char* text, DECIMAL* value)
{
    if (!text || !value) return false;
    const char* p = text;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    unsigned long words[3] = {0, 0, 0};
    int digits = 0, scale = 0;
    bool point = false;
    for (; *p; ++p) {
        if (*p == '.' && !point) {
            point = true;
            continue;
        }
        if (*p < '0' || *p > '9') return false;
        if (!MultiplyAdd(words, static_cast<unsigned>(*p - '0'))) return false;
        ++digits;
        if (point) ++scale;
    }
    if (digits == 0 || scale > 28) return false;
    ZeroMemory(value, sizeof *value);
    value->scale = static_cast<BYTE>(scale);
    value->sign = negative ? DECIMAL_NEG : 0;
    value->Hi32 = words[2];
    value->Lo64 = (static_cast<ULONGLONG>(words[1]) << 32) | words[0];
    return true;
}

bool ParseCurrency(const char* text, CY* value)
{
    if (!text || !value) return false;
    DECIMAL exact;
    if (!ParseDecimal(text, &exact) || exact.scale > 4 || exact.Hi32 != 0) return false;
    ULONGLONG units = exact.Lo64;
    for (int i = exact.scale; i < 4; ++i) {
        if (units > 922337203685477580ULL) return false;
        units *= 10;
    }
    if (units > 9223372036854775807ULL) return false;
    value->int64 = exact.sign ? -static_cast<LONGLONG>(units) : static_cast<LONGLONG>(units);
    return true;
}

bool ParseDateText(const char* text, double* date)
{
    if (!text || !date) return false;
    SYSTEMTIME time{};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
    if (std::sscanf(text, "%4d-%2d-%2d%n", &year, &month, &day, &used) != 3) return false;
    const char* rest = text + used;
    if (*rest) {
        if (std::sscanf(rest, " %2d:%2d:%2d%n", &hour, &minute, &second, &used) != 3 || rest[used]) return false;
    }
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return SystemTimeToVariantTime(&time, date) != FALSE;
}

bool CellValue(sqlite3_stmt* statement, int column, VARTYPE type, VARIANT* value)
{
    VariantInit(value);
    const int storage = sqlite3_column_type(statement, column);
    if (type == VT_EMPTY) return true;
    if (storage == SQLITE_NULL) {
        value->vt = VT_NULL;
        return true;
    }
    if (type == VT_ILLEGAL) {
        type = storage == SQLITE_INTEGER ? VT_I4 : storage == SQLITE_FLOAT ? VT_R8 : VT_BSTR;
        if (storage == SQLITE_INTEGER) {
            const sqlite3_int64 wide = sqlite3_column_int64(statement, column);
            if (wide != static_cast<LONG>(wide)) type = VT_R8;
        }
    }
    const bool isText = storage == SQLITE_TEXT;
    auto text = [&] { return reinterpret_cast<const char*>(sqlite3_column_text(statement, column)); };
    switch (type) {
    case VT_UI1: value->bVal = static_cast<BYTE>(sqlite3_column_int(statement, column)); break;
    case VT_I2: value->iVal = static_cast<SHORT>(sqlite3_column_int(statement, column)); break;
    case VT_I4: value->lVal = static_cast<LONG>(sqlite3_column_int64(statement, column)); break;
    case VT_R4: value->fltVal = static_cast<float>(sqlite3_column_double(statement, column)); break;
    case VT_R8: value->dblVal = sqlite3_column_double(statement, column); break;
    case VT_BOOL: value->boolVal = sqlite3_column_int64(statement, column) ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_CY:
        if (isText) {
            if (!ParseCurrency(text(), &value->cyVal)) return false;
        } else {
            value->cyVal.int64 = std::llround(sqlite3_column_double(statement, column) * 10000.0);
        }
        break;
    case VT_DATE:
        if (isText) {
            if (!ParseDateText(text(), &value->date)) return false;
        } else {
            value->date = sqlite3_column_double(statement, column);
        }
        break;
    case VT_DECIMAL: {
        DECIMAL exact;
        if (storage == SQLITE_FLOAT) {
            VARIANT real;
            VariantInit(&real);
            real.vt = VT_R8;
            real.dblVal = sqlite3_column_double(statement, column);
            if (FAILED(VariantChangeType(value, &real, 0, VT_DECIMAL))) return false;
            return true;
        }
        // An integer's text, or the exact number as text or as a blob of its characters.
        const int bytes = sqlite3_column_bytes(statement, column);
        const std::string digits(text() ? text() : "", static_cast<size_t>(bytes));
        if (!ParseDecimal(digits.c_str(), &exact)) return false;
        value->decVal = exact;  // sets the variant's type word too: set vt afterwards
        break;
    }
    case VT_BSTR: {
        const void* wide = sqlite3_column_text16(statement, column);
        const int bytes = sqlite3_column_bytes16(statement, column);
        value->bstrVal = SysAllocStringLen(static_cast<const OLECHAR*>(wide), static_cast<UINT>(bytes / 2));
        if (!value->bstrVal) return false;
        break;
    }
    default: return false;
    }
    value->vt = type;
    return true;
}
