#include "legacy/LegacyImport.h"

#include <string>

#include "framework/LibraryApp.h"
#include "legacy/ADODataBase.h"
#include "legacy/ADORecordset.h"
#include "legacy/Trigger.h"
#include "legacy/VehicleEvent.h"
#include "legacy/VehicleObject.h"
#include "resources/legacy/resource.h"

namespace {

// The Jet connection string of the old file. OLE DB reads a value between single quotes up to
// the next single quote, so a path holding one (a folder like O'Brien) goes between double quotes
// instead, which a Windows path never holds.
std::wstring JetConnectionString(const wchar_t* path)
{
    const std::wstring file(path);
    const wchar_t* quote = file.find(L'\'') == std::wstring::npos ? L"'" : L"\"";
    return L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + std::wstring(quote) + file + quote;
}

// Adds a record the caller allocated; false (the record freed) when it could not be added.
template <class T>
bool Append(CObjectListT<T>& list, T* record)
{
    if (!record) return false;
    const int before = list.GetCount();
    list.Add(record);  // frees the record itself when its array cannot grow
    return list.GetCount() == before + 1;
}

// Reads a query's rows to their end: test the end, read the row, move to the next; then closes
// the recordset. False at the first error of the data access layer or a record not kept.
template <class ReadRow>
bool ReadRows(CADORecordset& rows, const wchar_t* query, ReadRow readRow)
{
    bool ok = rows.Open(query, CADORecordset::openQuery) != FALSE;
    while (ok) {
        BOOL eof = TRUE;
        if (FAILED(rows.IsEOF(&eof))) {
            ok = false;
            break;
        }
        if (eof) break;
        ok = readRow() && SUCCEEDED(rows.MoveNext());
    }
    if (!ok) {
        OutputDebugStringW(rows.GetLastErrorText().c_str());
        rows.Close();
        return false;
    }
    return SUCCEEDED(rows.Close());
}

}  // namespace

CLegacyImport::CLegacyImport() = default;

CLegacyImport::~CLegacyImport() = default;

CObjectListT<CVehicle>* CLegacyImport::GetVehicleList()
{
    return &m_vehicles;
}

CObjectListT<CEntry>* CLegacyImport::GetEntryList()
{
    return &m_entries;
}

CObjectListT<CKeyword>* CLegacyImport::GetKeywordList()
{
    return &m_keywords;
}

CObjectListT<CNotification>* CLegacyImport::GetNotificationList()
{
    return &m_notifications;
}

int CLegacyImport::Import(const wchar_t* path)
{
    try {
        return ImportFile(path);
    } catch (...) {
        // Out of memory in the middle of the reading: nothing half-read is handed over.
        ClearLists();
        return 0;
    }
}

int CLegacyImport::ImportFile(const wchar_t* path)
{
    if (!path || !*path || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        AppMessageBox(IDS_CANNOT_IMPORT, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    CADODataBase database;
    if (!database.Open(JetConnectionString(path).c_str())) {
        OutputDebugStringW(database.GetLastErrorText().c_str());
        AppMessageBox(IDS_CANNOT_IMPORT, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    // The import does not coordinate with a running synchronisation: the user is asked to
    // disconnect the device, and the import goes on whatever the answer.
    AppMessageBox(IDS_DISCONNECT_DEVICE, MB_OK | MB_ICONHAND);

    if (!ReadTables(database) || !AddFixedKeywords()) {
        ClearLists();
        database.Close();
        AppMessageBox(IDS_CANNOT_IMPORT, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    database.Close();
    return 1;
}

bool CLegacyImport::ReadTables(CADODataBase& database)
{
    CADORecordset rows(&database);

    __CVehicleObject vehicle;
    if (!ReadRows(rows, L"SELECT * from Vehicles", [&] {
            vehicle.Reset();
            vehicle.Read(rows);
            return Append(m_vehicles, vehicle.CreateVehicle());
        }))
        return false;

    __CVehicleEvent event;
    if (!ReadRows(rows, L"SELECT * from events", [&] {
            event.Reset();
            event.Read(rows);
            return Append(m_entries, event.CreateEntry());
        }))
        return false;

    __CTrigger trigger;
    if (!ReadRows(rows, L"SELECT * from Triggers", [&] {
            trigger.Reset();
            trigger.Read(rows);
            return Append(m_notifications, trigger.CreateNotification());
        }))
        return false;

    return ReadRows(rows, L"SELECT * from TableIds WHERE Id >= 1000", [&] {
        std::wstring name;
        long nextId = 0;
        rows.GetFieldValue(L"TableName", name);
        rows.GetFieldValue(L"NextId", nextId);
        CKeyword* keyword = new CKeyword;
        if (!keyword) return false;
        keyword->SetName(name.c_str());
        if (nextId == 1) keyword->SetType(CKeyword::ktRepair);
        if (nextId == 2) keyword->SetType(CKeyword::ktExpense);
        return Append(m_keywords, keyword);
    });
}

bool CLegacyImport::AddFixedKeywords()
{
    // clang-format off
    static const struct { const wchar_t* name; CKeyword::Type type; } kFixed[] = {
        {L"Business", CKeyword::ktCategory}, {L"Personal", CKeyword::ktCategory},
        {L"Shell", CKeyword::ktFuelVendor},  {L"BP", CKeyword::ktFuelVendor},      {L"Mobil", CKeyword::ktFuelVendor},
        {L"Amoco", CKeyword::ktFuelVendor},  {L"Chevron", CKeyword::ktFuelVendor}, {L"Citgo", CKeyword::ktFuelVendor},
        {L"Texaco", CKeyword::ktFuelVendor},
    };
    // clang-format on
    for (const auto& fixed : kFixed) {
        CKeyword* keyword = new CKeyword;
        if (!keyword) return false;
        keyword->SetName(fixed.name);
        keyword->SetType(fixed.type);
        if (!Append(m_keywords, keyword)) return false;
    }
    return true;
}

void CLegacyImport::ClearLists()
{
    m_vehicles.Clear();
    m_entries.Clear();
    m_keywords.Clear();
    m_notifications.Clear();
}
