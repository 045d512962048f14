#include "business/DataLayer.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "business/UtcClock.h"

// Statements are built with the engine's printf (%q doubles quotes inside quoted texts, %f
// prints six decimals) and run with exec without a callback. Rows are read by column position in
// the template's column order. Texts reach the engine as UTF-8 through the operation's string
// helper; the wide build reads them back as UTF-16, the 8-bit build as the stored bytes.

namespace {

#if ALKBIZ_WIDE
#define ALK_NEW new
void DebugText(const AlkChar* text)
{
    OutputDebugStringW(text);
}
size_t TextLength(const AlkChar* text)
{
    return std::wcslen(text);
}
#else
#define ALK_NEW new (std::nothrow)
void DebugText(const AlkChar* text)
{
    OutputDebugStringA(text);
}
size_t TextLength(const AlkChar* text)
{
    return std::strlen(text);
}
#endif

// A statement text made by sqlite3_mprintf, freed when it goes out of scope.
class SqlText {
public:
    explicit SqlText(char* text) : m_text(text) {}
    ~SqlText() { sqlite3_free(m_text); }
    SqlText(const SqlText&) = delete;
    SqlText& operator=(const SqlText&) = delete;
    const char* Get() const { return m_text; }

private:
    char* m_text;
};

// A prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : m_statement(nullptr)
    {
        if (!sql || sqlite3_prepare(db, sql, -1, &m_statement, nullptr) != SQLITE_OK) {
            sqlite3_finalize(m_statement);
            m_statement = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* Get() const { return m_statement; }
    int Step() { return m_statement ? sqlite3_step(m_statement) : SQLITE_MISUSE; }

private:
    sqlite3_stmt* m_statement;
};

unsigned long Low32(sqlite3_int64 value)
{
    return static_cast<unsigned long>(value & 0xFFFFFFFF);
}

// The text of a column as the interface's text (a NULL column reads as the empty text).
const AlkChar* ColumnText(CStringHelper* helper, sqlite3_stmt* statement, int column)
{
#if ALKBIZ_WIDE
    const wchar_t* text = static_cast<const wchar_t*>(sqlite3_column_text16(statement, column));
    return helper->Decode(text ? text : L"");
#else
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return helper->Decode(text ? text : "");
#endif
}

// A heap text in UTF-8 for sqlite3_open, or null. The wide build converts from UTF-16; the 8-bit
// build's paths are in the ANSI code page and go through UTF-16 first. (The engine reads the
// file name of sqlite3_open as UTF-8, so an ANSI path would name another file.)
char* PathToUtf8(const AlkChar* path)
{
#if ALKBIZ_WIDE
    const wchar_t* wide = path;
    wchar_t* ownedWide = nullptr;
#else
    const int units = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (units <= 0) return nullptr;
    wchar_t* ownedWide = static_cast<wchar_t*>(std::calloc(units, sizeof(wchar_t)));
    if (!ownedWide) return nullptr;
    MultiByteToWideChar(CP_ACP, 0, path, -1, ownedWide, units);
    const wchar_t* wide = ownedWide;
#endif
    char* utf8 = nullptr;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
        utf8 = static_cast<char*>(std::calloc(bytes, 1));
        if (utf8) WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, bytes, nullptr, nullptr);
    }
    std::free(ownedWide);
    return utf8;
}

// Opens the file with the engine; null when it cannot.
sqlite3* OpenEngine(const AlkChar* path)
{
    sqlite3* db = nullptr;
#if ALKBIZ_WIDE
    if (sqlite3_open16(path, &db) == SQLITE_OK && db) return db;
    sqlite3_close(db);
    db = nullptr;
#endif
    char* utf8 = PathToUtf8(path);
    if (!utf8) return nullptr;
    const int result = sqlite3_open(utf8, &db);
    std::free(utf8);
    if (result == SQLITE_OK && db) return db;
    sqlite3_close(db);
    return nullptr;
}

}  // namespace

// --- connection ------------------------------------------------------------------------------

CDataLayer::CDataLayer() : m_storeID(0), m_connected(0), m_db(nullptr)
{
    m_dbPath[0] = 0;
    m_dbVersion[0] = 0;
}

CDataLayer::~CDataLayer()
{
    Disconnect();
}

CDataLayer::ConnectStatus CDataLayer::Connect(const AlkChar* path)
{
    if (m_connected) {
        CloseDatabase();
        DebugText(ALK_T("\nDatabase Disconnected"));
    }
    CloseDatabase();
    Reset();

    if (!path || !*path) return csFileNotFound;
    // The path buffer holds MaxPath characters; a longer path is refused, not cut.
    if (TextLength(path) > MaxPath) {
        DebugText(ALK_T("\nDatabase path too long\n"));
        return csFileNotFound;
    }
#if ALKBIZ_WIDE
    const DWORD attributes = GetFileAttributesW(path);
#else
    const DWORD attributes = GetFileAttributesA(path);
#endif
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DebugText(ALK_T("\nDatabase file not found\n"));
        return csFileNotFound;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        DebugText(ALK_T("\nDatabase is marked read-only\n"));
        return csReadOnly;
    }

    m_db = OpenEngine(path);
    if (!m_db) return csCannotOpen;
    if (!VerifyDatabase()) {
        CloseDatabase();
        return csInvalidDatabase;
    }

    std::memcpy(m_dbPath, path, (TextLength(path) + 1) * sizeof(AlkChar));
    m_connected = 1;
    DebugText(ALK_T("\nDatabase Connected\n"));
    DebugText(m_dbPath);
    return csConnected;
}

void CDataLayer::Disconnect()
{
    if (!m_connected) return;
    CloseDatabase();
    DebugText(ALK_T("\nDatabase Disconnected"));
}

int CDataLayer::IsConnected()
{
    return m_connected;
}
unsigned long CDataLayer::GetStoreID()
{
    return m_storeID;
}
AlkChar* CDataLayer::GetDBPath()
{
    return m_dbPath;
}
AlkChar* CDataLayer::GetDBVersion()
{
    return m_dbVersion;
}
const char* CDataLayer::GetDBLibVersion()
{
    return sqlite3_libversion();
}

void CDataLayer::Reset()
{
    m_connected = 0;
    m_db = nullptr;
    m_storeID = 0;
    m_dbPath[0] = 0;
    m_dbVersion[0] = 0;
}

void CDataLayer::CloseDatabase()
{
    if (m_db) sqlite3_close(m_db);
    m_db = nullptr;
    m_connected = 0;
}

int CDataLayer::Exec(const char* sql)
{
    return sql && m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

int CDataLayer::VerifyDatabase()
{
    int valid = 0;
    {
        Statement rows(m_db, "SELECT Value FROM MetaData");
        if (rows.Step() == SQLITE_ROW) {
            m_storeID = static_cast<unsigned long>(sqlite3_column_int(rows.Get(), 0));
            if (rows.Step() == SQLITE_ROW) {
#if ALKBIZ_WIDE
                const wchar_t* signature = static_cast<const wchar_t*>(sqlite3_column_text16(rows.Get(), 0));
                const bool signed_ = signature && std::wcscmp(signature, L"ALK") == 0;
#else
                const char* signature = reinterpret_cast<const char*>(sqlite3_column_text(rows.Get(), 0));
                const bool signed_ = signature && std::strcmp(signature, "ALK") == 0;
#endif
                if (signed_ && rows.Step() == SQLITE_ROW) {
#if ALKBIZ_WIDE
                    const wchar_t* version = static_cast<const wchar_t*>(sqlite3_column_text16(rows.Get(), 0));
#else
                    const char* version = reinterpret_cast<const char*>(sqlite3_column_text(rows.Get(), 0));
#endif
                    if (version) {
                        // Kept cut to the buffer's MaxVersion characters.
                        size_t length = TextLength(version);
                        if (length > MaxVersion) length = MaxVersion;
                        std::memcpy(m_dbVersion, version, length * sizeof(AlkChar));
                        m_dbVersion[length] = 0;
                        DebugText(ALK_T("\nDBVersion="));
                        DebugText(m_dbVersion);
                        valid = 1;
                    }
                }
            }
        }
    }
    if (valid && m_storeID == 0) {
        // A fresh copy of the template: it gets its store id once.
        m_storeID = GenerateRefID();
        SqlText sql(sqlite3_mprintf("UPDATE MetaData SET Value=%lu WHERE ID=1", m_storeID));
        valid = Exec(sql.Get());
    }
    return valid;
}

unsigned long CDataLayer::GenerateRefID()
{
    SYSTEMTIME now;
    FILETIME clock = {0, 0};
    GetSystemTime(&now);
    SystemTimeToFileTime(&now, &clock);
    Sleep(10);
    unsigned long id = GetTickCount();
    id += static_cast<unsigned long>(std::rand());
    id += static_cast<unsigned long>(std::rand());
    id += clock.dwHighDateTime;
    id += clock.dwLowDateTime;
    return id;
}

double CDataLayer::GetSystemTimeAsOLEDate()
{
    return CUtcClock::NowAsOLEDate();
}

// --- transactions, counts, maintenance -------------------------------------------------------

int CDataLayer::BeginTransaction()
{
    return m_connected && Exec("BEGIN IMMEDIATE");
}

CDataLayer::CommitResult CDataLayer::Commit()
{
    if (!m_connected) return crFailed;
    const int result = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (result == SQLITE_OK) return crCommitted;
    if (result == SQLITE_BUSY) return crBusy;
    return crFailed;
}

int CDataLayer::RollBack()
{
    return m_connected && Exec("ROLLBACK");
}

int CDataLayer::CountRows(const char* table)
{
    if (!m_connected) return 0;
    SqlText sql(sqlite3_mprintf("SELECT COUNT(*) FROM %s", table));
    Statement count(m_db, sql.Get());
    if (count.Step() != SQLITE_ROW) return 0;
    return sqlite3_column_int(count.Get(), 0);
}

int CDataLayer::GetNumVehicles()
{
    return CountRows("Vehicle");
}
int CDataLayer::GetNumEntries()
{
    return CountRows("Entry");
}
int CDataLayer::GetNumNotifications()
{
    return CountRows("Notification");
}
int CDataLayer::GetNumKeywords()
{
    return CountRows("Keyword");
}

int CDataLayer::DeleteAllData()
{
    if (!m_connected) return 0;
    // No transaction: the tables emptied before a failure stay empty.
    static const char* const tables[] = {"Vehicle", "Entry", "Keyword", "Notification"};
    for (const char* table : tables) {
        SqlText sql(sqlite3_mprintf("DELETE FROM %s", table));
        if (!Exec(sql.Get())) return 0;
    }
    return 1;
}

int CDataLayer::Compress()
{
    return m_connected && Exec("VACUUM");
}

CStringHelperFactory* CDataLayer::GetStringHelperFactory()
{
    return m_factory ? m_factory.get() : &m_defaultFactory;
}

void CDataLayer::SetStringHelperFactory(std::unique_ptr<CStringHelperFactory> factory)
{
    if (factory && factory.get() == m_factory.get()) {
        // Already ours: keep one owner.
        factory.release();
        return;
    }
    m_factory = std::move(factory);
}

// --- saving ----------------------------------------------------------------------------------

int CDataLayer::FinishSave(CBaseObject* record, char* sql, bool insert, unsigned long refID, double created,
                           double modified)
{
    SqlText statement(sql);
    if (!Exec(statement.Get())) return 0;
    if (insert) {
        record->SetID(static_cast<long>(sqlite3_last_insert_rowid(m_db)));
        record->SetDateCreated(created);
        record->SetRefID(refID);
    }
    record->SetDateModified(modified);
    record->SetDirty(0);
    return 1;
}

int CDataLayer::Save(CVehicle* v, int keepDates)
{
    if (!m_connected || !v) return 0;
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return 0;
    double created = v->GetDateCreated(), modified = v->GetDateModified();
    if (!keepDates) created = modified = GetSystemTimeAsOLEDate();
    const unsigned long odometer = static_cast<unsigned long>(v->GetCurrentOdometer());

    if (v->GetID() != 0) {
        char* sql = sqlite3_mprintf(
            "UPDATE Vehicle SET Name='%q',Notes='%q',Modified=%f,\t\t\tLicensePlate='%q',VIN='%q',"
            "DealerName='%q',DealerPhone='%q',\t\t\tDealerAddress='%q',InsurancePolicyNumber='%q',"
            "InsuranceAgentName='%q',\t\t\tInsuranceAgentPhone='%q',InsuranceCoverage='%q',"
            "InsuranceExpirationDate=%f,\t\t\tCurrentOdometer=%lu,Year=%d,ImagePath='%q' WHERE ID=%d",
            h->Encode(v->GetName()), h->Encode(v->GetNotes()), modified, h->Encode(v->GetLicensePlate()),
            h->Encode(v->GetVIN()), h->Encode(v->GetDealerName()), h->Encode(v->GetDealerPhone()),
            h->Encode(v->GetDealerAddress()), h->Encode(v->GetInsurancePolicyNumber()),
            h->Encode(v->GetInsuranceAgentName()), h->Encode(v->GetInsuranceAgentPhone()),
            h->Encode(v->GetInsuranceCoverage()), v->GetInsuranceExpirationDate(), odometer, v->GetYear(),
            h->Encode(v->GetImagePath()), static_cast<int>(v->GetID()));
        return FinishSave(v, sql, false, v->GetRefID(), created, modified);
    }
    const unsigned long refID = v->GetRefID() ? v->GetRefID() : GenerateRefID();
    char* sql = sqlite3_mprintf(
        "INSERT INTO Vehicle VALUES(NULL,%lu,'%q','%q',%f,\t\t\t%f,'%q','%q','%q','%q','%q','%q',"
        "'%q','%q','%q',%f,%lu,%d,'%q')",
        refID, h->Encode(v->GetName()), h->Encode(v->GetNotes()), created, modified, h->Encode(v->GetLicensePlate()),
        h->Encode(v->GetVIN()), h->Encode(v->GetDealerName()), h->Encode(v->GetDealerPhone()),
        h->Encode(v->GetDealerAddress()), h->Encode(v->GetInsurancePolicyNumber()),
        h->Encode(v->GetInsuranceAgentName()), h->Encode(v->GetInsuranceAgentPhone()),
        h->Encode(v->GetInsuranceCoverage()), v->GetInsuranceExpirationDate(), odometer, v->GetYear(),
        h->Encode(v->GetImagePath()));
    return FinishSave(v, sql, true, refID, created, modified);
}

int CDataLayer::Save(CEntry* e, int keepDates)
{
    if (!m_connected || !e) return 0;
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return 0;
    double created = e->GetDateCreated(), modified = e->GetDateModified();
    if (!keepDates) created = modified = GetSystemTimeAsOLEDate();
    const unsigned long odometer = static_cast<unsigned long>(e->GetOdometer());
    const double amount = e->GetAmount(), custom1 = e->GetCustom1(), custom2 = e->GetCustom2();

    if (e->GetID() != 0) {
        // The entry's vehicle and type are fixed once stored.
        char* sql = sqlite3_mprintf(
            "UPDATE Entry SET Name='%q',Notes='%q',Modified=%f,Date=%f,Odometer=%lu,\t\t\t"
            "Vendor='%q',Amount=%f,Custom1=%f,Custom2=%f WHERE ID=%d",
            h->Encode(e->GetName()), h->Encode(e->GetNotes()), modified, e->GetDate(), odometer,
            h->Encode(e->GetVendor()), amount, custom1, custom2, static_cast<int>(e->GetID()));
        return FinishSave(e, sql, false, e->GetRefID(), created, modified);
    }
    const unsigned long refID = e->GetRefID() ? e->GetRefID() : GenerateRefID();
    char* sql = sqlite3_mprintf("INSERT INTO Entry VALUES (NULL,%lu,'%q','%q',%f,%f,%f,%lu,%lu,%d,'%q',%f,%f,%f)",
                                refID, h->Encode(e->GetName()), h->Encode(e->GetNotes()), created, modified,
                                e->GetDate(), odometer, e->GetVehicleID(), static_cast<int>(e->GetType()),
                                h->Encode(e->GetVendor()), amount, custom1, custom2);
    return FinishSave(e, sql, true, refID, created, modified);
}

int CDataLayer::Save(CKeyword* k, int keepDates)
{
    if (!m_connected || !k) return 0;
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return 0;
    double created = k->GetDateCreated(), modified = k->GetDateModified();
    if (!keepDates) created = modified = GetSystemTimeAsOLEDate();

    if (k->GetID() != 0) {
        char* sql = sqlite3_mprintf("UPDATE Keyword SET Name='%q',Modified=%f WHERE ID=%d", h->Encode(k->GetName()),
                                    modified, static_cast<int>(k->GetID()));
        return FinishSave(k, sql, false, k->GetRefID(), created, modified);
    }
    const unsigned long refID = k->GetRefID() ? k->GetRefID() : GenerateRefID();
    char* sql = sqlite3_mprintf("INSERT INTO Keyword VALUES(NULL,%lu,'%q',%d,%f,%f)", refID, h->Encode(k->GetName()),
                                static_cast<int>(k->GetType()), created, modified);
    return FinishSave(k, sql, true, refID, created, modified);
}

int CDataLayer::Save(CNotification* n, int keepDates)
{
    if (!m_connected || !n) return 0;
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return 0;
    double created = n->GetDateCreated(), modified = n->GetDateModified();
    if (!keepDates) created = modified = GetSystemTimeAsOLEDate();
    // A reminder's odometer is written signed (those of vehicles and entries unsigned).
    const int odometer = static_cast<int>(n->GetOdometer());

    if (n->GetID() != 0) {
        char* sql =
            sqlite3_mprintf("UPDATE Notification SET Name='%q',Date=%f,Odometer=%d,Modified=%f WHERE ID=%d",
                            h->Encode(n->GetName()), n->GetDate(), odometer, modified, static_cast<int>(n->GetID()));
        return FinishSave(n, sql, false, n->GetRefID(), created, modified);
    }
    const unsigned long refID = n->GetRefID() ? n->GetRefID() : GenerateRefID();
    char* sql = sqlite3_mprintf("INSERT INTO Notification VALUES(NULL,%lu,'%q',%f,%f,%f,%d,%lu)", refID,
                                h->Encode(n->GetName()), created, modified, n->GetDate(), odometer, n->GetVehicleID());
    return FinishSave(n, sql, true, refID, created, modified);
}

// --- loading ---------------------------------------------------------------------------------

int CDataLayer::Load(CVehicle* v, sqlite3_stmt* s)
{
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return 0;
    v->SetID(sqlite3_column_int(s, 0));
    v->SetRefID(Low32(sqlite3_column_int64(s, 1)));
    v->SetName(ColumnText(h.get(), s, 2));
    v->SetNotes(ColumnText(h.get(), s, 3));
    v->SetDateCreated(sqlite3_column_double(s, 4));
    v->SetDateModified(sqlite3_column_double(s, 5));
    v->SetLicensePlate(ColumnText(h.get(), s, 6));
    v->SetVIN(ColumnText(h.get(), s, 7));
    v->SetDealerName(ColumnText(h.get(), s, 8));
    v->SetDealerPhone(ColumnText(h.get(), s, 9));
    v->SetDealerAddress(ColumnText(h.get(), s, 10));
    v->SetInsurancePolicyNumber(ColumnText(h.get(), s, 11));
    v->SetInsuranceAgentName(ColumnText(h.get(), s, 12));
    v->SetInsuranceAgentPhone(ColumnText(h.get(), s, 13));
    v->SetInsuranceCoverage(ColumnText(h.get(), s, 14));
    v->SetInsuranceExpirationDate(sqlite3_column_double(s, 15));
    v->SetCurrentOdometer(sqlite3_column_int(s, 16));
    v->SetYear(sqlite3_column_int(s, 17));
    v->SetImagePath(ColumnText(h.get(), s, 18));
    v->SetDirty(0);
    return 1;
}

int CDataLayer::Load(CEntry* e, sqlite3_stmt* s)
{
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return 0;
    e->SetID(sqlite3_column_int(s, 0));
    e->SetRefID(Low32(sqlite3_column_int64(s, 1)));
    e->SetName(ColumnText(h.get(), s, 2));
    e->SetNotes(ColumnText(h.get(), s, 3));
    e->SetDateCreated(sqlite3_column_double(s, 4));
    e->SetDateModified(sqlite3_column_double(s, 5));
    e->SetDate(sqlite3_column_double(s, 6));
    // Stored unsigned; the low 32 bits give the signed value back.
    e->SetOdometer(sqlite3_column_int(s, 7));
    e->SetVehicleID(Low32(sqlite3_column_int64(s, 8)));
    e->SetType(static_cast<CEntry::Type>(sqlite3_column_int(s, 9)));
    e->SetVendor(ColumnText(h.get(), s, 10));
    e->SetAmount(static_cast<float>(sqlite3_column_double(s, 11)));
    e->SetCustom1(static_cast<float>(sqlite3_column_double(s, 12)));
    e->SetCustom2(static_cast<float>(sqlite3_column_double(s, 13)));
    e->SetDirty(0);
    return 1;
}

int CDataLayer::Load(CKeyword* k, sqlite3_stmt* s)
{
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return 0;
    k->SetID(sqlite3_column_int(s, 0));
    k->SetRefID(Low32(sqlite3_column_int64(s, 1)));
    k->SetName(ColumnText(h.get(), s, 2));
    k->SetType(static_cast<CKeyword::Type>(sqlite3_column_int(s, 3)));
    k->SetDateCreated(sqlite3_column_double(s, 4));
    k->SetDateModified(sqlite3_column_double(s, 5));
    k->SetDirty(0);
    return 1;
}

int CDataLayer::Load(CNotification* n, sqlite3_stmt* s)
{
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return 0;
    n->SetID(sqlite3_column_int(s, 0));
    n->SetRefID(Low32(sqlite3_column_int64(s, 1)));
    n->SetName(ColumnText(h.get(), s, 2));
    n->SetDateCreated(sqlite3_column_double(s, 3));
    n->SetDateModified(sqlite3_column_double(s, 4));
    n->SetDate(sqlite3_column_double(s, 5));
    n->SetOdometer(sqlite3_column_int(s, 6));
    n->SetVehicleID(Low32(sqlite3_column_int64(s, 7)));
    n->SetDirty(0);
    return 1;
}

int CDataLayer::ReadRow(CBaseObject* record, sqlite3_stmt* statement)
{
    switch (record->GetObjectType()) {
    case CBaseObject::otVehicle: return Load(static_cast<CVehicle*>(record), statement);
    case CBaseObject::otEntry: return Load(static_cast<CEntry*>(record), statement);
    case CBaseObject::otKeyword: return Load(static_cast<CKeyword*>(record), statement);
    case CBaseObject::otNotification: return Load(static_cast<CNotification*>(record), statement);
    default: return 0;
    }
}

int CDataLayer::LoadSingle(CBaseObject* record, char* sql)
{
    SqlText text(sql);
    Statement row(m_db, text.Get());
    if (row.Step() != SQLITE_ROW) return 0;
    return ReadRow(record, row.Get());
}

int CDataLayer::Load(CVehicle* v)
{
    if (!m_connected || !v || v->GetID() == 0) return 0;
    return LoadSingle(v, sqlite3_mprintf("SELECT * FROM Vehicle WHERE ID=%d", static_cast<int>(v->GetID())));
}

#if ALKBIZ_WIDE
int CDataLayer::Load(CEntry* e)
{
    if (!m_connected || !e || e->GetID() == 0) return 0;
    return LoadSingle(e, sqlite3_mprintf("SELECT * FROM Entry WHERE ID=%d", static_cast<int>(e->GetID())));
}
#else
int CDataLayer::Load(CEntry* e, int newest)
{
    if (!m_connected || !e) return 0;
    if (!newest) {
        if (e->GetID() == 0) return 0;
        return LoadSingle(e, sqlite3_mprintf("SELECT * FROM Entry WHERE ID=%d", static_cast<int>(e->GetID())));
    }
    if (e->GetID() == 0 && e->GetVehicleID() == 0) return 0;
    return LoadSingle(e, sqlite3_mprintf("SELECT * FROM Entry WHERE Created = (SELECT max(Created) "
                                         "FROM Entry WHERE VehicleID = %u)",
                                         static_cast<unsigned>(e->GetVehicleID())));
}
#endif

int CDataLayer::Load(CKeyword* k)
{
    if (!m_connected || !k || k->GetID() == 0) return 0;
    return LoadSingle(k, sqlite3_mprintf("SELECT * FROM Keyword WHERE ID=%d", static_cast<int>(k->GetID())));
}

int CDataLayer::Load(CNotification* n)
{
    if (!m_connected || !n || n->GetID() == 0) return 0;
    return LoadSingle(n, sqlite3_mprintf("SELECT * FROM Notification WHERE ID=%d", static_cast<int>(n->GetID())));
}

int CDataLayer::LoadByRefID(CVehicle* v)
{
    if (!m_connected || !v || v->GetRefID() == 0) return 0;
    return LoadSingle(v, sqlite3_mprintf("SELECT * FROM Vehicle WHERE RefID=%lu", v->GetRefID()));
}

int CDataLayer::LoadList(CObjectList* list, CBaseObject::ObjectType type, char* sql)
{
    SqlText text(sql);
    list->Clear();
    Statement rows(m_db, text.Get());
    if (!rows.Get()) return 0;

    int step;
    while ((step = rows.Step()) == SQLITE_ROW) {
        CBaseObject* record = nullptr;
        switch (type) {
        case CBaseObject::otVehicle: record = ALK_NEW CVehicle; break;
        case CBaseObject::otEntry: record = ALK_NEW CEntry; break;
        case CBaseObject::otKeyword: record = ALK_NEW CKeyword; break;
        case CBaseObject::otNotification: record = ALK_NEW CNotification; break;
        default: break;
        }
        if (!record || !ReadRow(record, rows.Get())) {
            delete record;
            step = SQLITE_NOMEM;
            break;
        }
        list->AddItem(record);
    }
    // Rows that stop before the end are no whole list: callers that mirror the list elsewhere
    // would take every missing row for a deleted record.
    if (step != SQLITE_DONE) {
        list->Clear();
        return 0;
    }
    return 1;
}

int CDataLayer::Load(CObjectListT<CVehicle>* list)
{
    if (!m_connected || !list) return 0;
    return LoadList(list, CBaseObject::otVehicle, sqlite3_mprintf("SELECT * FROM Vehicle"));
}

int CDataLayer::Load(CObjectListT<CEntry>* list, CEntryFilter* filter)
{
    if (!m_connected || !list || !filter) return 0;
    char sql[300] = "SELECT * FROM Entry ";
    size_t used = std::strlen(sql);
    const char* joiner = " WHERE ";
    if (filter->GetVehicleID() != 0) {
        used += std::snprintf(sql + used, sizeof sql - used, "%s VehicleID=%lu ", joiner, filter->GetVehicleID());
        joiner = " AND ";
    }
    if (filter->HaveDateRange()) {
        const double start = CUtcClock::ToOLEDate(*filter->GetStartDate());
        const double end = CUtcClock::ToOLEDate(*filter->GetEndDate());
        used += std::snprintf(sql + used, sizeof sql - used, "%s (Date >= %f) AND (Date <= %f)", joiner, start, end);
        joiner = " AND ";
    }
    if (filter->GetEntryType() != CEntry::etNone) {
        std::snprintf(sql + used, sizeof sql - used, "%s Type=%ld", joiner, static_cast<long>(filter->GetEntryType()));
    }
    return LoadList(list, CBaseObject::otEntry, sqlite3_mprintf("%s", sql));
}

int CDataLayer::Load(CObjectListT<CKeyword>* list, CKeyword::Type type)
{
    if (!m_connected || !list) return 0;
    char* sql = type == CKeyword::ktAll
                    ? sqlite3_mprintf("SELECT * FROM Keyword")
                    : sqlite3_mprintf("SELECT * FROM Keyword WHERE Type=%d", static_cast<int>(type));
    return LoadList(list, CBaseObject::otKeyword, sql);
}

int CDataLayer::Load(CObjectListT<CNotification>* list, unsigned long vehicleRefID)
{
    if (!m_connected || !list) return 0;
    char* sql = vehicleRefID == 0 ? sqlite3_mprintf("SELECT * FROM Notification")
                                  : sqlite3_mprintf("SELECT * FROM Notification WHERE VehicleID=%lu", vehicleRefID);
    return LoadList(list, CBaseObject::otNotification, sql);
}

// --- deleting and look-ups -------------------------------------------------------------------

const char* CDataLayer::GetTableName(CBaseObject::ObjectType type)
{
    switch (type) {
    case CBaseObject::otVehicle: return "Vehicle";
    case CBaseObject::otEntry: return "Entry";
    case CBaseObject::otNotification: return "Notification";
    case CBaseObject::otKeyword: return "Keyword";
    default: return "";
    }
}

int CDataLayer::RunDeleteQuery(const char* table, int id)
{
    if (!m_connected || id <= 0) return 0;
    SqlText sql(sqlite3_mprintf("DELETE FROM %s WHERE ID=%d", table, id));
    return Exec(sql.Get());
}

int CDataLayer::Delete(CVehicle* v)
{
    if (!v || !RunDeleteQuery("Vehicle", static_cast<int>(v->GetID()))) return 0;
    // Not one transaction: when these fail the vehicle is gone and its rows stay behind.
    SqlText entries(sqlite3_mprintf("DELETE FROM Entry WHERE VehicleID=%lu", v->GetRefID()));
    Exec(entries.Get());
    SqlText reminders(sqlite3_mprintf("DELETE FROM Notification WHERE VehicleID=%lu", v->GetRefID()));
    Exec(reminders.Get());
    return 1;
}

int CDataLayer::Delete(CEntry* e)
{
    return e && RunDeleteQuery("Entry", static_cast<int>(e->GetID()));
}

int CDataLayer::Delete(CNotification* n)
{
    return n && RunDeleteQuery("Notification", static_cast<int>(n->GetID()));
}

int CDataLayer::Delete(CKeyword* k)
{
    return k && RunDeleteQuery("Keyword", static_cast<int>(k->GetID()));
}

int CDataLayer::Delete(CBaseObject::ObjectType type, unsigned long id)
{
    // An id of 2^31 or more is no positive row id.
    return RunDeleteQuery(GetTableName(type), static_cast<int>(id));
}

unsigned long CDataLayer::GetID(CBaseObject::ObjectType type, unsigned long refID)
{
    if (!m_connected) return 0;
    SqlText sql(sqlite3_mprintf("SELECT ID FROM %s WHERE RefID=%lu", GetTableName(type), refID));
    Statement row(m_db, sql.Get());
    if (row.Step() != SQLITE_ROW) return 0;
    return static_cast<unsigned long>(sqlite3_column_int(row.Get(), 0));
}

#if ALKBIZ_WIDE
int CDataLayer::GetMaxOdometer(unsigned long vehicleRefID, long* result)
{
    if (!m_connected || !result) return 0;
    SqlText sql(
        sqlite3_mprintf("SELECT MAX(Odometer) FROM Entry WHERE VehicleID = %u", static_cast<unsigned>(vehicleRefID)));
    Statement row(m_db, sql.Get());
    if (row.Step() != SQLITE_ROW) return 0;
    *result = sqlite3_column_int(row.Get(), 0);
    return 1;
}
#endif

int CDataLayer::UpdateCurrentOdometer(CVehicle* v, long odometer)
{
    if (!m_connected || !v || v->GetID() == 0) return 0;
    const double now = GetSystemTimeAsOLEDate();
    SqlText sql(sqlite3_mprintf("UPDATE Vehicle SET Modified=%f,CurrentOdometer=%lu WHERE ID=%d", now,
                                static_cast<unsigned long>(odometer), static_cast<int>(v->GetID())));
    if (!Exec(sql.Get())) return 0;
    v->SetCurrentOdometer(odometer);
    v->SetDateModified(now);
    return 1;
}
