#include "sdk/excel/RecordFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace excel_double {

// {EA0AA164-A2B4-469E-BC85-8F128BC266E7}
const CLSID CLSID_ExcelDouble = {0xea0aa164, 0xa2b4, 0x469e, {0xbc, 0x85, 0x8f, 0x12, 0x8b, 0xc2, 0x66, 0xe7}};

std::string QuoteText(const wchar_t* text, size_t length)
{
    std::string out = "\"";
    char unit[8];
    for (size_t i = 0; i < length; ++i) {
        wchar_t c = text[i];
        switch (c) {
        case L'"': out += "\\\""; break;
        case L'\\': out += "\\\\"; break;
        case L'\t': out += "\\t"; break;
        case L'\r': out += "\\r"; break;
        case L'\n': out += "\\n"; break;
        default:
            if (c < 0x20) {
                snprintf(unit, sizeof unit, "\\x%02X", static_cast<unsigned>(c));
                out += unit;
            } else if (c > 0x7E) {
                snprintf(unit, sizeof unit, "\\u%04X", static_cast<unsigned>(c) & 0xFFFF);
                out += unit;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

namespace {

bool HexDigits(const std::string& text, size_t pos, size_t count, unsigned* value)
{
    if (pos + count > text.size()) return false;
    unsigned v = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        char c = text[i];
        v <<= 4;
        if (c >= '0' && c <= '9')
            v |= c - '0';
        else if (c >= 'A' && c <= 'F')
            v |= c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            v |= c - 'a' + 10;
        else
            return false;
    }
    *value = v;
    return true;
}

}  // namespace

bool UnquoteText(const std::string& text, size_t* pos, std::wstring* out)
{
    size_t i = *pos;
    if (i >= text.size() || text[i] != '"') return false;
    out->clear();
    for (++i; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            *pos = i + 1;
            return true;
        }
        if (c != '\\') {
            *out += static_cast<wchar_t>(static_cast<unsigned char>(c));
            continue;
        }
        if (++i >= text.size()) return false;
        unsigned unit = 0;
        switch (text[i]) {
        case '"': *out += L'"'; break;
        case '\\': *out += L'\\'; break;
        case 't': *out += L'\t'; break;
        case 'r': *out += L'\r'; break;
        case 'n': *out += L'\n'; break;
        case 'x':
            if (!HexDigits(text, i + 1, 2, &unit)) return false;
            *out += static_cast<wchar_t>(unit);
            i += 2;
            break;
        case 'u':
            if (!HexDigits(text, i + 1, 4, &unit)) return false;
            *out += static_cast<wchar_t>(unit);
            i += 4;
            break;
        default: return false;
        }
    }
    return false;
}

std::string NumberText(double value)
{
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char text[40];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    return std::string(text, result.ptr);
}

bool ParseNumber(const std::string& text, double* value)
{
    if (text == "nan") {
        *value = std::nan("");
        return true;
    }
    if (text == "inf" || text == "-inf") {
        *value = text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
        return true;
    }
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, *value);
    return result.ec == std::errc() && result.ptr == end;
}

std::string HexText(unsigned long value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%08lX", value);
    return text;
}

std::wstring ColumnName(int column)
{
    std::wstring name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), static_cast<wchar_t>(L'A' + (column - 1) % 26));
    return name;
}

std::wstring CellName(int row, int column)
{
    return ColumnName(column) + std::to_wstring(row);
}

}  // namespace excel_double
