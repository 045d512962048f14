#include "sdk/excel/ExcelRecord.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <sstream>

namespace excel_double {

namespace {

const wchar_t kClasses[] = L"Software\\Classes\\";
const wchar_t kProgId[] = L"Excel.Application";

bool SetDefaultValue(const std::wstring& key, const std::wstring& value)
{
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG r = ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
    return r == ERROR_SUCCESS;
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// --- values --------------------------------------------------------------------------------

// The end of a bare token: a comma or closing bracket that is not inside brackets of its own.
std::string Token(const std::string& text, size_t* pos)
{
    size_t start = *pos;
    int depth = 0;
    size_t i = start;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '[') ++depth;
        if (c == ']') {
            if (depth == 0) break;
            --depth;
        }
        if (c == ',' && depth == 0) break;
    }
    *pos = i;
    return text.substr(start, i - start);
}

bool ParseInteger(const std::string& text, long long* value, int base = 10)
{
    if (text.empty()) return false;
    char* end = nullptr;
    *value = base == 16 ? static_cast<long long>(std::strtoull(text.c_str(), &end, 16))
                        : std::strtoll(text.c_str(), &end, 10);
    return *end == '\0';
}

bool ParseValue(const std::string& text, size_t* pos, RecordValue* value)
{
    size_t end = *pos;
    while (end < text.size() && ((text[end] >= 'A' && text[end] <= 'Z') || (text[end] >= '0' && text[end] <= '9')))
        ++end;
    std::string tag = text.substr(*pos, end - *pos);
    *pos = end;
    if (tag == "EMPTY" || tag == "NULL") {
        value->type = tag == "EMPTY" ? VT_EMPTY : VT_NULL;
        return true;
    }
    if (end >= text.size() || text[end] != ':') return false;
    *pos = end + 1;
    if (tag == "BSTR") {
        value->type = VT_BSTR;
        return UnquoteText(text, pos, &value->text);
    }
    if (tag == "ARRAY") {
        value->type = VT_ARRAY | VT_VARIANT;
        size_t open = text.find('[', *pos);
        if (open == std::string::npos) return false;
        long long lower = 0;
        if (!ParseInteger(text.substr(*pos, open - *pos), &lower)) return false;
        value->lowerBound = static_cast<long>(lower);
        *pos = open + 1;
        if (*pos < text.size() && text[*pos] == ']') {
            ++*pos;
            return true;
        }
        for (;;) {
            RecordValue item;
            if (!ParseValue(text, pos, &item)) return false;
            value->items.push_back(item);
            if (*pos >= text.size()) return false;
            if (text[*pos] == ']') {
                ++*pos;
                return true;
            }
            if (text[*pos] != ',') return false;
            ++*pos;
        }
    }
    std::string rest = Token(text, pos);
    if (tag == "I2" || tag == "I4" || tag == "CY" || tag == "BOOL") {
        value->type = tag == "I2" ? VT_I2 : tag == "I4" ? VT_I4 : tag == "CY" ? VT_CY : VT_BOOL;
        return ParseInteger(rest, &value->integer);
    }
    if (tag == "R4" || tag == "R8" || tag == "DATE") {
        value->type = tag == "R4" ? VT_R4 : tag == "R8" ? VT_R8 : VT_DATE;
        return ParseNumber(rest, &value->number);
    }
    if (tag == "ERROR" || tag == "OTHER") {
        long long number = 0;
        if (rest.size() < 3 || !ParseInteger(rest.substr(2), &number, 16)) return false;
        if (tag == "ERROR") {
            value->type = VT_ERROR;
            value->integer = static_cast<long>(static_cast<unsigned long>(number));
        } else {
            value->type = static_cast<VARTYPE>(number);
        }
        return true;
    }
    if (tag == "DISPATCH") {
        value->type = VT_DISPATCH;
        value->text = Wide(rest);
        return true;
    }
    return false;
}

bool ParseWholeValue(const std::string& text, RecordValue* value)
{
    size_t pos = 0;
    return ParseValue(text, &pos, value) && pos == text.size();
}

bool ParseValues(const std::string& text, std::vector<RecordValue>* values)
{
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') return false;
    size_t pos = 1;
    while (pos < text.size() - 1) {
        RecordValue value;
        if (!ParseValue(text, &pos, &value)) return false;
        values->push_back(value);
        if (text[pos] == ',') ++pos;
    }
    return pos == text.size() - 1;
}

// --- lines ---------------------------------------------------------------------------------

using Fields = std::map<std::string, std::string>;

bool Number(const Fields& fields, const char* key, long long* value, int base = 10)
{
    auto it = fields.find(key);
    if (it == fields.end()) return false;
    const std::string& text = it->second;
    if (base == 16) return text.size() > 2 && ParseInteger(text.substr(2), value, 16);
    return ParseInteger(text, value);
}

bool Text(const Fields& fields, const char* key, std::wstring* value)
{
    auto it = fields.find(key);
    if (it == fields.end()) return false;
    size_t pos = 0;
    return UnquoteText(it->second, &pos, value) && pos == it->second.size();
}

bool Bare(const Fields& fields, const char* key, std::wstring* value)
{
    auto it = fields.find(key);
    if (it == fields.end()) return false;
    *value = Wide(it->second);
    return true;
}

bool ParseCall(const std::string& tag, const Fields& fields, RecordCall* call)
{
    long long n = 0, dispid = 0, lcid = 0, hr = 0, flags = 0;
    call->invoke = tag == "invoke";
    if (!Number(fields, "n", &n) || !Bare(fields, "object", &call->object) || !Number(fields, "dispid", &dispid) ||
        !Number(fields, "lcid", &lcid) || !Number(fields, "hr", &hr, 16))
        return false;
    call->n = static_cast<long>(n);
    call->dispid = static_cast<long>(dispid);
    call->lcid = static_cast<unsigned long>(lcid);
    call->hr = static_cast<HRESULT>(static_cast<unsigned long>(hr));
    if (!call->invoke) return Text(fields, "name", &call->member);
    if (!Text(fields, "member", &call->member) || !Number(fields, "flags", &flags)) return false;
    call->flags = static_cast<int>(flags);
    auto named = fields.find("named");
    if (named == fields.end()) return false;
    std::stringstream list(named->second);
    for (std::string item; std::getline(list, item, ',');) {
        long long id = 0;
        if (!ParseInteger(item, &id)) return false;
        call->named.push_back(static_cast<long>(id));
    }
    auto args = fields.find("args");
    auto result = fields.find("result");
    if (args == fields.end() || result == fields.end()) return false;
    call->failedAsAsked = fields.count("failed") != 0;
    return ParseValues(args->second, &call->args) && ParseWholeValue(result->second, &call->result);
}

bool ParseLine(CExcelRecord* record, const std::string& line)
{
    std::vector<std::string> parts;
    std::stringstream split(line);
    for (std::string part; std::getline(split, part, '\t');) parts.push_back(part);
    if (parts.empty()) return false;
    Fields fields;
    for (size_t i = 1; i < parts.size(); ++i) {
        size_t equals = parts[i].find('=');
        if (equals == std::string::npos) return false;
        fields[parts[i].substr(0, equals)] = parts[i].substr(equals + 1);
    }
    const std::string& tag = parts[0];
    long long number = 0;
    if (tag == "process") {
        if (!Number(fields, "pid", &number) || !Text(fields, "command", &record->command)) return false;
        record->pid = static_cast<DWORD>(number);
        return true;
    }
    if (tag == "names" || tag == "invoke") {
        RecordCall call;
        call.line = line;
        if (!ParseCall(tag, fields, &call)) return false;
        record->calls.push_back(call);
        return true;
    }
    if (tag == "exit") {
        record->exited = true;
        return true;
    }
    if (tag == "workbook") {
        if (!Number(fields, "n", &number)) return false;
        record->workbooks = static_cast<int>(number);
        return true;
    }
    if (tag == "cell") {
        RecordCell cell;
        cell.workbook = record->workbooks;
        long long bold = 0;
        auto value = fields.find("value");
        auto size = fields.find("size");
        if (!Bare(fields, "ref", &cell.ref) || value == fields.end() || size == fields.end() ||
            !ParseWholeValue(value->second, &cell.value) || !ParseNumber(size->second, &cell.size) ||
            !Number(fields, "bold", &bold))
            return false;
        cell.bold = bold != 0;
        cell.hasFormat = fields.count("format") != 0;
        if (cell.hasFormat && !Text(fields, "format", &cell.format)) return false;
        record->cells.push_back(cell);
        return true;
    }
    if (tag == "column" || tag == "row") {
        RecordLine entry;
        entry.workbook = record->workbooks;
        if (!Bare(fields, tag == "column" ? "col" : "row", &entry.name) || !Number(fields, "autofit", &number))
            return false;
        entry.autofits = static_cast<int>(number);
        entry.hasFormat = fields.count("format") != 0;
        if (entry.hasFormat && !Text(fields, "format", &entry.format)) return false;
        (tag == "column" ? record->columns : record->rows).push_back(entry);
        return true;
    }
    if (tag == "visible") {
        if (!Number(fields, "value", &number)) return false;
        record->visible = number != 0;
        return true;
    }
    if (tag == "end") {
        record->ended = true;
        Bare(fields, "reason", &record->endReason);
        if (Number(fields, "held", &number)) record->held = static_cast<long>(number);
        Bare(fields, "objects", &record->heldObjects);
        return true;
    }
    return false;
}

bool ReadAll(const std::wstring& path, std::string* content)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    content->clear();
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) content->append(buffer, read);
    ::CloseHandle(file);
    return true;
}

DWORD RecordPid(const std::wstring& file)
{
    std::string content;
    if (!ReadAll(file, &content)) return 0;
    const char prefix[] = "process\tpid=";
    if (content.compare(0, sizeof prefix - 1, prefix) != 0) return 0;
    return static_cast<DWORD>(std::strtoul(content.c_str() + sizeof prefix - 1, nullptr, 10));
}

}  // namespace

bool RegisterExcelServerCommand(const std::wstring& commandLine)
{
    std::wstring classKey = std::wstring(kClasses) + L"CLSID\\" + EXCEL_DOUBLE_CLSID_TEXT;
    return SetDefaultValue(std::wstring(kClasses) + kProgId, L"Excel double") &&
           SetDefaultValue(std::wstring(kClasses) + kProgId + L"\\CLSID", EXCEL_DOUBLE_CLSID_TEXT) &&
           SetDefaultValue(classKey, L"Excel double") && SetDefaultValue(classKey + L"\\ProgID", kProgId) &&
           SetDefaultValue(classKey + L"\\LocalServer32", commandLine);
}

bool RegisterExcelDouble(const std::wstring& serverPath, const std::wstring& arguments)
{
    return RegisterExcelServerCommand(L"\"" + serverPath + L"\" " + arguments);
}

void UnregisterExcelDouble()
{
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kClasses) + kProgId).c_str());
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kClasses) + L"CLSID\\" + EXCEL_DOUBLE_CLSID_TEXT).c_str());
}

bool CExcelRecord::Load(const std::wstring& path, std::string* error)
{
    *this = CExcelRecord();
    std::string content;
    if (!ReadAll(path, &content)) {
        *error = "cannot read the record";
        return false;
    }
    size_t start = 0;
    int number = 0;
    while (start < content.size()) {
        size_t end = content.find("\r\n", start);
        if (end == std::string::npos) {
            *error = "the last line is not whole";
            return false;
        }
        std::string line = content.substr(start, end - start);
        ++number;
        if (!ParseLine(this, line)) {
            *error = "line " + std::to_string(number) + " does not parse: " + line;
            return false;
        }
        start = end + 2;
    }
    if (!pid) {
        *error = "no process line";
        return false;
    }
    return true;
}

std::vector<const RecordCall*> CExcelRecord::Invokes() const
{
    std::vector<const RecordCall*> found;
    for (const RecordCall& call : calls)
        if (call.invoke) found.push_back(&call);
    return found;
}

std::vector<const RecordCall*> CExcelRecord::Invokes(const wchar_t* member) const
{
    std::vector<const RecordCall*> found;
    for (const RecordCall& call : calls)
        if (call.invoke && _wcsicmp(call.member.c_str(), member) == 0) found.push_back(&call);
    return found;
}

bool CExcelRecord::AskedFor(const wchar_t* name) const
{
    for (const RecordCall& call : calls)
        if (!call.invoke && _wcsicmp(call.member.c_str(), name) == 0) return true;
    return false;
}

const RecordCell* CExcelRecord::Cell(const wchar_t* ref) const
{
    for (const RecordCell& cell : cells)
        if (cell.workbook == workbooks && cell.ref == ref) return &cell;
    return nullptr;
}

const RecordLine* CExcelRecord::Column(const wchar_t* letters) const
{
    for (const RecordLine& column : columns)
        if (column.workbook == workbooks && column.name == letters) return &column;
    return nullptr;
}

std::vector<std::wstring> RecordFiles(const std::wstring& folder)
{
    struct Found {
        FILETIME created;
        std::wstring path;
    };
    std::vector<Found> found;
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW((folder + L"\\excel-*.txt").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            found.push_back({data.ftCreationTime, folder + L"\\" + data.cFileName});
        } while (::FindNextFileW(search, &data));
        ::FindClose(search);
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        LONG order = ::CompareFileTime(&a.created, &b.created);
        return order != 0 ? order < 0 : a.path < b.path;
    });
    std::vector<std::wstring> files;
    for (const Found& f : found) files.push_back(f.path);
    return files;
}

bool WaitForRecordProcess(const std::wstring& file, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    DWORD pid = 0;
    // The process writes its first line right after making the file.
    while (!(pid = RecordPid(file))) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(10);
    }
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return true;  // already gone
    DWORD elapsed = ::GetTickCount() - start;
    DWORD wait = ::WaitForSingleObject(process, elapsed < timeoutMs ? timeoutMs - elapsed : 0);
    ::CloseHandle(process);
    return wait == WAIT_OBJECT_0;
}

bool WaitForRecords(const std::wstring& folder, size_t count, DWORD timeoutMs, std::vector<std::wstring>* files)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        *files = RecordFiles(folder);
        if (files->size() >= count) break;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
    for (const std::wstring& file : *files) {
        DWORD elapsed = ::GetTickCount() - start;
        if (!WaitForRecordProcess(file, elapsed < timeoutMs ? timeoutMs - elapsed : 0)) return false;
    }
    return true;
}

}  // namespace excel_double
