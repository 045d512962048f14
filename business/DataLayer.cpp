// CDataLayer: the database file of the vehicle log, and the only code that reads or writes it.
//
// THE FILE
//
// A database is one SQLite 3 file (the engine's rollback journal, "<file>-journal", lies beside
// it while a transaction is open). This library never makes a schema: a new file is a copy of the
// template Default.ENU (business/Default.sql), and Connect refuses a file whose MetaData does not
// read as below. Four record tables and MetaData:
//
//   Vehicle       0 ID, 1 RefID, 2 Name, 3 Notes, 4 Created, 5 Modified, 6 LicensePlate, 7 VIN,
//                 8 DealerName, 9 DealerPhone, 10 DealerAddress, 11 InsurancePolicyNumber,
//                 12 InsuranceAgentName, 13 InsuranceAgentPhone, 14 InsuranceCoverage,
//                 15 InsuranceExpirationDate, 16 CurrentOdometer, 17 Year, 18 ImagePath
//   Entry         0 ID, 1 RefID, 2 Name, 3 Notes, 4 Created, 5 Modified, 6 Date, 7 Odometer,
//                 8 VehicleID, 9 Type, 10 Vendor, 11 Amount, 12 Custom1, 13 Custom2
//   Keyword       0 ID, 1 RefID, 2 Name, 3 Type, 4 Created, 5 Modified
//   Notification  0 ID, 1 RefID, 2 Name, 3 Created, 4 Modified, 5 Date, 6 Odometer, 7 VehicleID
//   MetaData      ID, Value
//
// The numbers are column positions, and they are the format: inserts give every column in this
// order ("INSERT INTO Entry VALUES (...)") and rows are read with "SELECT *" by position (the
// enums below name them). A template with another column order is another format.
//
// ID is the table's integer primary key, local to one file: an insert gives NULL and the engine
// numbers the row. RefID identifies a record on every device that synchronises with the file;
// an entry's or reminder's VehicleID is the RefID of its vehicle. Keywords and reminders have no
// notes in the file.
//
// VALUES
//
// - RefID, VehicleID and the store id are unsigned 32-bit values written as unsigned decimals
//   (%lu); they are read back as 64-bit integers of which the low 32 bits are kept, so 3000000000
//   stays 3000000000.
// - The odometers of vehicles and entries are signed in memory but written unsigned, -1 as
//   4294967295; a reminder's odometer is written signed. Both read back with the engine's 32-bit
//   integer reader, which keeps the low 32 bits: the signed value comes back either way.
// - Dates (Created, Modified, Date, InsuranceExpirationDate) are OLE Automation dates, days since
//   30 December 1899 in UTC, printed with %f: six decimals of a day, about 86 milliseconds. A date
//   read back can differ from the one in memory before the save; compare with what was stored.
// - Amount, Custom1 and Custom2 are floats widened to double and printed with six decimals; read
//   back as doubles and narrowed to float again.
// - Only finite numbers are written. %f prints "nan" or "inf", which the engine takes for a column
//   name and refuses, so such a save could only fail with a layout error; it is refused before
//   any statement is built (fcNotFinite), and the record is left as it was.
// - Texts are UTF-8, quoted with %q (a quote doubled), written through the operation's string
//   helper (CStringHelperFactory); an unset text is written as ''. The wide build reads them back
//   as UTF-16 from the engine, the 8-bit build as the stored bytes.
// - MetaData holds three rows, read in stored order: 1 the store id (0 in the template: the first
//   Connect gives the copy its own, once), 2 the signature "ALK" (exact), 3 the version text (at
//   most MaxVersion characters are kept). Nothing else in MetaData is read or written.
//
// STATEMENTS
//
// Every statement is built with the engine's printf (sqlite3_mprintf) and run with exec without a
// callback, or prepared where rows come back; nothing is cached. The statement texts are kept byte
// for byte as this format has always written them, the runs of three tabs in the vehicle and entry
// statements included (what is left of how they were first laid out in source). The engine ignores
// the tabs; they are kept because the texts are the reference of what this format's writers send:
// a statement trace, the engine's error log, a comparison with the other programs that write this
// file see the same bytes, and "tidying" them would change the format's writer in a way no test of
// the stored rows notices. The statement tables sit between clang-format off and on.
//
// A record is saved in one statement without a transaction of its own; a caller that wants several
// in one transaction opens it (BeginTransaction). Nothing waits on a busy file: the statement
// fails, and only Commit tells busy apart in its result.
//
// FAILURES
//
// Results keep their meanings (false, 0, the ConnectStatus and CommitResult values); what made an
// operation fail is kept beside them for callers that tell the user (GetLastFailure): the
// engine's result sorted into causes (Classify below), or a cause of our own (no connection, a
// path too long, a text that could not be encoded). A damaged file verifies like any other
// (Connect reads MetaData only) and shows its damage when a load reaches the pages it cannot
// read; FoundDamage keeps that for the rest of the connection.
#include "business/DataLayer.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <new>

#include "business/UtcClock.h"
#include "common/Assert.h"

namespace {

// --- what differs between the wide and the 8-bit build -----------------------------------------

#if ALKBIZ_WIDE
// Records are made with the class-level allocation, which yields null when it fails.
#define ALK_NEW new
void DebugText(const AlkChar* text)
{
    OutputDebugStringW(text);
}
size_t TextLength(const AlkChar* text)
{
    return std::wcslen(text);
}
bool TextEqual(const AlkChar* a, const AlkChar* b)
{
    return std::wcscmp(a, b) == 0;
}
DWORD FileAttributes(const AlkChar* path)
{
    return GetFileAttributesW(path);
}
// A column as the interface's text, the engine's own buffer (null for NULL).
const AlkChar* RawColumnText(sqlite3_stmt* statement, int column)
{
    return static_cast<const wchar_t*>(sqlite3_column_text16(statement, column));
}
// The path as UTF-16: the wide build's own text, nothing to free.
const wchar_t* WidePath(const AlkChar* path, wchar_t** owned)
{
    *owned = nullptr;
    return path;
}
// The engine opens a UTF-16 name directly; this build tries that first. *systemError: the
// system's error of a failed open (0 when none).
sqlite3* OpenNative(const AlkChar* path, DWORD* systemError)
{
    sqlite3* db = nullptr;
    if (sqlite3_open16(path, &db) == SQLITE_OK && db) return db;
    *systemError = db ? static_cast<DWORD>(sqlite3_system_errno(db)) : 0;
    sqlite3_close(db);
    return nullptr;
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
bool TextEqual(const AlkChar* a, const AlkChar* b)
{
    return std::strcmp(a, b) == 0;
}
DWORD FileAttributes(const AlkChar* path)
{
    return GetFileAttributesA(path);
}
const AlkChar* RawColumnText(sqlite3_stmt* statement, int column)
{
    return reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
}
// The path, in the ANSI code page, as a heap UTF-16 text (*owned, freed by the caller); null when
// it does not convert.
const wchar_t* WidePath(const AlkChar* path, wchar_t** owned)
{
    *owned = nullptr;
    const int units = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (units <= 0) return nullptr;
    *owned = static_cast<wchar_t*>(std::calloc(units, sizeof(wchar_t)));
    if (*owned) MultiByteToWideChar(CP_ACP, 0, path, -1, *owned, units);
    return *owned;
}
// No UTF-16 open in this build: the UTF-8 name is the only one tried.
sqlite3* OpenNative(const AlkChar*, DWORD*)
{
    return nullptr;
}
#endif

// --- column positions: the order of the template's columns ---------------------------------------

// clang-format off
struct VehicleColumn {
    enum { ID, RefID, Name, Notes, Created, Modified, LicensePlate, VIN, DealerName, DealerPhone, DealerAddress,
           InsurancePolicyNumber, InsuranceAgentName, InsuranceAgentPhone, InsuranceCoverage,
           InsuranceExpirationDate, CurrentOdometer, Year, ImagePath };
};
struct EntryColumn {
    enum { ID, RefID, Name, Notes, Created, Modified, Date, Odometer, VehicleID, Type, Vendor, Amount, Custom1,
           Custom2 };
};
struct KeywordColumn {
    enum { ID, RefID, Name, Type, Created, Modified };
};
struct NotificationColumn {
    enum { ID, RefID, Name, Created, Modified, Date, Odometer, VehicleID };
};
// clang-format on

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
    // A null text is a statement the builder could not make (out of memory).
    Statement(sqlite3* db, const char* sql) : m_statement(nullptr), m_failure(SQLITE_NOMEM)
    {
        if (!sql) return;
        m_failure = sqlite3_prepare(db, sql, -1, &m_statement, nullptr);
        if (m_failure != SQLITE_OK || !m_statement) {
            sqlite3_finalize(m_statement);
            m_statement = nullptr;
            if (m_failure == SQLITE_OK) m_failure = SQLITE_MISUSE;  // a text with no statement
        }
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* Get() const { return m_statement; }
    // SQLITE_ROW, SQLITE_DONE, or the engine's result that says why not: a statement of the
    // legacy interface steps to a bare SQLITE_ERROR, and its reset gives the cause (a damaged
    // page, a full disk).
    int Step()
    {
        if (!m_statement) return m_failure;
        const int step = sqlite3_step(m_statement);
        if (step == SQLITE_ROW || step == SQLITE_DONE) return step;
        const int cause = sqlite3_reset(m_statement);
        return cause != SQLITE_OK ? cause : step;
    }

private:
    sqlite3_stmt* m_statement;
    int m_failure;  // why it was not prepared
};

// The statements of Save, byte for byte (see STATEMENTS above); %q texts come from the helper.
// clang-format off
const char kInsertVehicle[] = "INSERT INTO Vehicle VALUES(NULL,%lu,'%q','%q',%f,\t\t\t%f,'%q','%q','%q','%q','%q','%q','%q','%q','%q',%f,%lu,%d,'%q')";
const char kUpdateVehicle[] = "UPDATE Vehicle SET Name='%q',Notes='%q',Modified=%f,\t\t\tLicensePlate='%q',VIN='%q',DealerName='%q',DealerPhone='%q',\t\t\tDealerAddress='%q',InsurancePolicyNumber='%q',InsuranceAgentName='%q',\t\t\tInsuranceAgentPhone='%q',InsuranceCoverage='%q',InsuranceExpirationDate=%f,\t\t\tCurrentOdometer=%lu,Year=%d,ImagePath='%q' WHERE ID=%d";
const char kInsertEntry[] = "INSERT INTO Entry VALUES (NULL,%lu,'%q','%q',%f,%f,%f,%lu,%lu,%d,'%q',%f,%f,%f)";
const char kUpdateEntry[] = "UPDATE Entry SET Name='%q',Notes='%q',Modified=%f,Date=%f,Odometer=%lu,\t\t\tVendor='%q',Amount=%f,Custom1=%f,Custom2=%f WHERE ID=%d";
const char kInsertKeyword[] = "INSERT INTO Keyword VALUES(NULL,%lu,'%q',%d,%f,%f)";
const char kUpdateKeyword[] = "UPDATE Keyword SET Name='%q',Modified=%f WHERE ID=%d";
const char kInsertNotification[] = "INSERT INTO Notification VALUES(NULL,%lu,'%q',%f,%f,%f,%d,%lu)";
const char kUpdateNotification[] = "UPDATE Notification SET Name='%q',Date=%f,Odometer=%d,Modified=%f WHERE ID=%d";
// clang-format on

// The texts of one save, encoded through the operation's helper. A text the helper cannot
// convert (it could not allocate) fails the save instead of being written as something else.
class Encoder {
public:
    explicit Encoder(CStringHelper* helper) : m_helper(helper) {}
    const char* operator()(const AlkChar* text)
    {
        const char* encoded = m_helper->Encode(text);
        if (!encoded) m_failed = true;
        return encoded ? encoded : "";
    }
    bool Complete() const { return !m_failed; }

private:
    CStringHelper* m_helper;
    bool m_failed = false;
};

unsigned long Low32(sqlite3_int64 value)
{
    return static_cast<unsigned long>(value & 0xFFFFFFFF);
}

// The text of a column through the operation's helper (a NULL column reads as the empty text).
const AlkChar* ColumnText(CStringHelper* helper, sqlite3_stmt* statement, int column)
{
    const AlkChar* text = RawColumnText(statement, column);
    return helper->Decode(text ? text : ALK_T(""));
}

// A heap text in UTF-8 for sqlite3_open, or null. (The engine reads the file name of
// sqlite3_open as UTF-8, so an ANSI path would name another file.)
char* PathToUtf8(const AlkChar* path)
{
    wchar_t* owned = nullptr;
    const wchar_t* wide = WidePath(path, &owned);
    char* utf8 = nullptr;
    const int bytes = wide ? WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr) : 0;
    if (bytes > 0) {
        utf8 = static_cast<char*>(std::calloc(bytes, 1));
        if (utf8) WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, bytes, nullptr, nullptr);
    }
    std::free(owned);
    return utf8;
}

// A file another program holds open without sharing it: the system's errors for it.
bool IsSharingError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Opens the file with the engine; null when it cannot, with the system's error of the failed
// open in *systemError (0 when none).
sqlite3* OpenEngine(const AlkChar* path, DWORD* systemError)
{
    *systemError = 0;
    if (sqlite3* db = OpenNative(path, systemError)) return db;
    // The other name names the same file: no second try for a file that is held (the engine
    // has already waited on it for a while).
    if (IsSharingError(*systemError)) return nullptr;
    char* utf8 = PathToUtf8(path);
    if (!utf8) return nullptr;
    sqlite3* db = nullptr;
    const int result = sqlite3_open(utf8, &db);
    std::free(utf8);
    if (result == SQLITE_OK && db) return db;
    *systemError = db ? static_cast<DWORD>(sqlite3_system_errno(db)) : 0;
    sqlite3_close(db);
    return nullptr;
}

// The cause of an engine result that is a failure.
CDataLayer::FailureCause Classify(int result)
{
    switch (result & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return CDataLayer::fcBusy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return CDataLayer::fcDamaged;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return CDataLayer::fcReadOnly;
    case SQLITE_FULL: return CDataLayer::fcDiskFull;
    case SQLITE_IOERR: return CDataLayer::fcDiskError;
    case SQLITE_CANTOPEN: return CDataLayer::fcCannotOpen;
    // A statement the file's tables do not take: a missing table or column, another number of
    // columns, a constraint of another layout.
    case SQLITE_ERROR:
    case SQLITE_SCHEMA:
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_RANGE: return CDataLayer::fcLayout;
    default: return CDataLayer::fcOther;
    }
}

// Compares the leading numbers of two version texts ("1.0", "2.13") group by group, a group the
// shorter text lacks counting as 0 ("1" is "1.0"); the version ends at anything but a dot and a
// digit. -1, 0 or 1 as a is earlier than, the same as or later than b; -2 when a text does not
// begin with a digit (no version to compare).
int CompareVersions(const AlkChar* a, const AlkChar* b)
{
    const auto isDigit = [](AlkChar c) { return c >= ALK_T('0') && c <= ALK_T('9'); };
    if (!isDigit(*a) || !isDigit(*b)) return -2;
    static const AlkChar ended[] = ALK_T("");
    const auto group = [&](const AlkChar*& text) {
        unsigned long value = 0;
        for (; isDigit(*text); ++text) value = value * 10 + static_cast<unsigned long>(*text - ALK_T('0'));
        text = *text == ALK_T('.') && isDigit(text[1]) ? text + 1 : ended;
        return value;
    };
    while (*a || *b) {
        const unsigned long x = group(a), y = group(b);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

// Whether every number of a record's statement can be written (see VALUES above).
bool AllFinite(std::initializer_list<double> values)
{
    for (double value : values)
        if (!std::isfinite(value)) return false;
    return true;
}

// The version of the template's MetaData (Default.sql).
const AlkChar kFormatVersion[] = ALK_T("1.0");

}  // namespace

// --- connection ------------------------------------------------------------------------------

CDataLayer::CDataLayer() : m_storeID(0), m_connected(0), m_db(nullptr), m_lastFailure(fcNone), m_foundDamage(0)
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
    m_lastFailure = fcNone;

    if (!path || !*path) {
        Fail(fcNotFound);
        return csFileNotFound;
    }
    // The path buffer holds MaxPath characters; a longer path is refused, not cut.
    if (TextLength(path) > MaxPath) {
        DebugText(ALK_T("\nDatabase path too long\n"));
        Fail(fcPathTooLong);
        return csFileNotFound;
    }
    const DWORD attributes = FileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();  // before the debug output, which may set its own
        DebugText(ALK_T("\nDatabase file not found\n"));
        Fail(error == ERROR_FILENAME_EXCED_RANGE ? fcPathTooLong : fcNotFound);
        return csFileNotFound;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        DebugText(ALK_T("\nDatabase is marked read-only\n"));
        Fail(fcReadOnly);
        return csReadOnly;
    }

    DWORD systemError = 0;
    m_db = OpenEngine(path, &systemError);
    if (!m_db) {
        Fail(IsSharingError(systemError) ? fcBusy : fcCannotOpen);
        return csCannotOpen;
    }
    if (!VerifyDatabase()) {
        // Nothing of the refused file stays readable: not its version, not a store id that was
        // read, or made for it and never written. (The cause stays.)
        CloseDatabase();
        Reset();
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

int CDataLayer::Connected()
{
    // Connected means a verified file is open: never the flag without the handle.
    ALK_ASSERT(!m_connected || m_db);
    if (m_connected && m_db) return 1;
    return Fail(fcNotConnected);
}

int CDataLayer::Fail(int engineResult)
{
    const FailureCause cause = Classify(engineResult);
    if (cause == fcDamaged) m_foundDamage = 1;
    m_lastFailure = cause;
    return 0;
}

int CDataLayer::Fail(FailureCause cause)
{
    m_lastFailure = cause;
    return 0;
}

CDataLayer::FailureCause CDataLayer::GetLastFailure()
{
    return m_lastFailure;
}

int CDataLayer::FoundDamage()
{
    return m_foundDamage;
}

int CDataLayer::CheckForDamage()
{
    if (!Connected()) return 0;
    // One row "ok" for a sound file; otherwise a row for each fault found. A page so damaged that
    // the check itself cannot go on ends the statement with SQLITE_CORRUPT instead.
    Statement check(m_db, "PRAGMA quick_check");
    const int step = check.Step();
    if (step != SQLITE_ROW) {
        Fail(step);  // damage that stopped the check is recorded as damage met
        return m_foundDamage;
    }
    const unsigned char* first = sqlite3_column_text(check.Get(), 0);
    if (first && std::strcmp(reinterpret_cast<const char*>(first), "ok") == 0) return 0;
    m_foundDamage = 1;
    Fail(fcDamaged);
    return 1;
}

const AlkChar* CDataLayer::GetFormatVersion()
{
    return kFormatVersion;
}

int CDataLayer::IsNewerVersion()
{
    return m_connected && CompareVersions(m_dbVersion, kFormatVersion) > 0;
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
    m_foundDamage = 0;  // the damage met belongs to the connection
}

void CDataLayer::CloseDatabase()
{
    if (m_db) sqlite3_close(m_db);
    m_db = nullptr;
    m_connected = 0;
}

int CDataLayer::Exec(const char* sql)
{
    ALK_ASSERT(!m_connected || m_db);
    if (!sql) return Fail(fcOther);  // the builder could not make it
    if (!m_db) return Fail(fcNotConnected);
    const int result = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    return result == SQLITE_OK ? 1 : Fail(result);
}

int CDataLayer::VerifyDatabase()
{
    {
        Statement rows(m_db, "SELECT Value FROM MetaData");
        // A file that could not be read at all says why; one that reads but is not ours (too
        // few rows in it, SQLITE_DONE, among them) is no database of this program.
        const auto refuse = [&](int step) {
            const FailureCause cause = (step & 0xFF) == SQLITE_NOTADB ? fcNotDatabase : Classify(step);
            return Fail(cause == fcBusy || cause == fcDamaged || cause == fcDiskError ? cause : fcNotDatabase);
        };
        // Row 1: the store id.
        int step = rows.Step();
        if (step != SQLITE_ROW) return refuse(step);
        m_storeID = static_cast<unsigned long>(sqlite3_column_int(rows.Get(), 0));
        // Row 2: the signature, exactly.
        if ((step = rows.Step()) != SQLITE_ROW) return refuse(step);
        const AlkChar* signature = RawColumnText(rows.Get(), 0);
        if (!signature || !TextEqual(signature, ALK_T("ALK"))) return Fail(fcNotDatabase);
        // Row 3: the version text, kept cut to the buffer's MaxVersion characters.
        if ((step = rows.Step()) != SQLITE_ROW) return refuse(step);
        const AlkChar* version = RawColumnText(rows.Get(), 0);
        if (!version) return Fail(fcNotDatabase);
        size_t length = TextLength(version);
        if (length > MaxVersion) length = MaxVersion;
        std::memcpy(m_dbVersion, version, length * sizeof(AlkChar));
        m_dbVersion[length] = 0;
        DebugText(ALK_T("\nDBVersion="));
        DebugText(m_dbVersion);
    }
    if (m_storeID == 0) {
        // A fresh copy of the template: it gets its store id once.
        m_storeID = GenerateRefID();
        SqlText sql(sqlite3_mprintf("UPDATE MetaData SET Value=%lu WHERE ID=1", m_storeID));
        return Exec(sql.Get());
    }
    return 1;
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
    return Connected() && Exec("BEGIN IMMEDIATE");
}

CDataLayer::CommitResult CDataLayer::Commit()
{
    if (!Connected()) return crFailed;
    const int result = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (result == SQLITE_OK) return crCommitted;
    Fail(result);
    if (result == SQLITE_BUSY) return crBusy;
    return crFailed;
}

int CDataLayer::RollBack()
{
    return Connected() && Exec("ROLLBACK");
}

int CDataLayer::CountRows(const char* table)
{
    if (!Connected()) return 0;
    SqlText sql(sqlite3_mprintf("SELECT COUNT(*) FROM %s", table));
    Statement count(m_db, sql.Get());
    const int step = count.Step();
    if (step != SQLITE_ROW) return Fail(step);
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
    if (!Connected()) return 0;
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
    return Connected() && Exec("VACUUM");
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

int CDataLayer::FinishSave(CBaseObject* record, char* sql, bool textsEncoded, bool insert, unsigned long refID,
                           double created, double modified)
{
    SqlText statement(sql);
    if (!textsEncoded) return Fail(fcOther);
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
    if (!Connected() || !v) return 0;
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return Fail(fcOther);
    Encoder text(h.get());
    double created = v->GetDateCreated(), modified = v->GetDateModified();
    if (!keepDates) created = modified = GetSystemTimeAsOLEDate();
    if (!AllFinite({created, modified, v->GetInsuranceExpirationDate()})) return Fail(fcNotFinite);
    const unsigned long odometer = static_cast<unsigned long>(v->GetCurrentOdometer());

    if (v->GetID() != 0) {
        char* sql = sqlite3_mprintf(
            kUpdateVehicle, text(v->GetName()), text(v->GetNotes()), modified, text(v->GetLicensePlate()),
            text(v->GetVIN()), text(v->GetDealerName()), text(v->GetDealerPhone()), text(v->GetDealerAddress()),
            text(v->GetInsurancePolicyNumber()), text(v->GetInsuranceAgentName()), text(v->GetInsuranceAgentPhone()),
            text(v->GetInsuranceCoverage()), v->GetInsuranceExpirationDate(), odometer, v->GetYear(),
            text(v->GetImagePath()), static_cast<int>(v->GetID()));
        return FinishSave(v, sql, text.Complete(), false, v->GetRefID(), created, modified);
    }
    const unsigned long refID = v->GetRefID() ? v->GetRefID() : GenerateRefID();
    char* sql = sqlite3_mprintf(kInsertVehicle, refID, text(v->GetName()), text(v->GetNotes()), created, modified,
                                text(v->GetLicensePlate()), text(v->GetVIN()), text(v->GetDealerName()),
                                text(v->GetDealerPhone()), text(v->GetDealerAddress()),
                                text(v->GetInsurancePolicyNumber()), text(v->GetInsuranceAgentName()),
                                text(v->GetInsuranceAgentPhone()), text(v->GetInsuranceCoverage()),
                                v->GetInsuranceExpirationDate(), odometer, v->GetYear(), text(v->GetImagePath()));
    return FinishSave(v, sql, text.Complete(), true, refID, created, modified);
}

int CDataLayer::Save(CEntry* e, int keepDates)
{
    if (!Connected() || !e) return 0;
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return Fail(fcOther);
    Encoder text(h.get());
    double created = e->GetDateCreated(), modified = e->GetDateModified();
    if (!keepDates) created = modified = GetSystemTimeAsOLEDate();
    const unsigned long odometer = static_cast<unsigned long>(e->GetOdometer());
    const double amount = e->GetAmount(), custom1 = e->GetCustom1(), custom2 = e->GetCustom2();
    if (!AllFinite({created, modified, e->GetDate(), amount, custom1, custom2})) return Fail(fcNotFinite);

    if (e->GetID() != 0) {
        // The entry's vehicle and type are fixed once stored.
        char* sql =
            sqlite3_mprintf(kUpdateEntry, text(e->GetName()), text(e->GetNotes()), modified, e->GetDate(), odometer,
                            text(e->GetVendor()), amount, custom1, custom2, static_cast<int>(e->GetID()));
        return FinishSave(e, sql, text.Complete(), false, e->GetRefID(), created, modified);
    }
    const unsigned long refID = e->GetRefID() ? e->GetRefID() : GenerateRefID();
    char* sql = sqlite3_mprintf(kInsertEntry, refID, text(e->GetName()), text(e->GetNotes()), created, modified,
                                e->GetDate(), odometer, e->GetVehicleID(), static_cast<int>(e->GetType()),
                                text(e->GetVendor()), amount, custom1, custom2);
    return FinishSave(e, sql, text.Complete(), true, refID, created, modified);
}

int CDataLayer::Save(CKeyword* k, int keepDates)
{
    if (!Connected() || !k) return 0;
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return Fail(fcOther);
    Encoder text(h.get());
    double created = k->GetDateCreated(), modified = k->GetDateModified();
    if (!keepDates) created = modified = GetSystemTimeAsOLEDate();
    if (!AllFinite({created, modified})) return Fail(fcNotFinite);

    if (k->GetID() != 0) {
        char* sql = sqlite3_mprintf(kUpdateKeyword, text(k->GetName()), modified, static_cast<int>(k->GetID()));
        return FinishSave(k, sql, text.Complete(), false, k->GetRefID(), created, modified);
    }
    const unsigned long refID = k->GetRefID() ? k->GetRefID() : GenerateRefID();
    char* sql =
        sqlite3_mprintf(kInsertKeyword, refID, text(k->GetName()), static_cast<int>(k->GetType()), created, modified);
    return FinishSave(k, sql, text.Complete(), true, refID, created, modified);
}

int CDataLayer::Save(CNotification* n, int keepDates)
{
    if (!Connected() || !n) return 0;
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return Fail(fcOther);
    Encoder text(h.get());
    double created = n->GetDateCreated(), modified = n->GetDateModified();
    if (!keepDates) created = modified = GetSystemTimeAsOLEDate();
    if (!AllFinite({created, modified, n->GetDate()})) return Fail(fcNotFinite);
    // A reminder's odometer is written signed (those of vehicles and entries unsigned).
    const int odometer = static_cast<int>(n->GetOdometer());

    if (n->GetID() != 0) {
        char* sql = sqlite3_mprintf(kUpdateNotification, text(n->GetName()), n->GetDate(), odometer, modified,
                                    static_cast<int>(n->GetID()));
        return FinishSave(n, sql, text.Complete(), false, n->GetRefID(), created, modified);
    }
    const unsigned long refID = n->GetRefID() ? n->GetRefID() : GenerateRefID();
    char* sql = sqlite3_mprintf(kInsertNotification, refID, text(n->GetName()), created, modified, n->GetDate(),
                                odometer, n->GetVehicleID());
    return FinishSave(n, sql, text.Complete(), true, refID, created, modified);
}

// --- loading ---------------------------------------------------------------------------------

int CDataLayer::Load(CVehicle* v, sqlite3_stmt* s)
{
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return Fail(fcOther);
    v->SetID(sqlite3_column_int(s, VehicleColumn::ID));
    v->SetRefID(Low32(sqlite3_column_int64(s, VehicleColumn::RefID)));
    v->SetName(ColumnText(h.get(), s, VehicleColumn::Name));
    v->SetNotes(ColumnText(h.get(), s, VehicleColumn::Notes));
    v->SetDateCreated(sqlite3_column_double(s, VehicleColumn::Created));
    v->SetDateModified(sqlite3_column_double(s, VehicleColumn::Modified));
    v->SetLicensePlate(ColumnText(h.get(), s, VehicleColumn::LicensePlate));
    v->SetVIN(ColumnText(h.get(), s, VehicleColumn::VIN));
    v->SetDealerName(ColumnText(h.get(), s, VehicleColumn::DealerName));
    v->SetDealerPhone(ColumnText(h.get(), s, VehicleColumn::DealerPhone));
    v->SetDealerAddress(ColumnText(h.get(), s, VehicleColumn::DealerAddress));
    v->SetInsurancePolicyNumber(ColumnText(h.get(), s, VehicleColumn::InsurancePolicyNumber));
    v->SetInsuranceAgentName(ColumnText(h.get(), s, VehicleColumn::InsuranceAgentName));
    v->SetInsuranceAgentPhone(ColumnText(h.get(), s, VehicleColumn::InsuranceAgentPhone));
    v->SetInsuranceCoverage(ColumnText(h.get(), s, VehicleColumn::InsuranceCoverage));
    v->SetInsuranceExpirationDate(sqlite3_column_double(s, VehicleColumn::InsuranceExpirationDate));
    v->SetCurrentOdometer(sqlite3_column_int(s, VehicleColumn::CurrentOdometer));
    v->SetYear(sqlite3_column_int(s, VehicleColumn::Year));
    v->SetImagePath(ColumnText(h.get(), s, VehicleColumn::ImagePath));
    v->SetDirty(0);
    return 1;
}

int CDataLayer::Load(CEntry* e, sqlite3_stmt* s)
{
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return Fail(fcOther);
    e->SetID(sqlite3_column_int(s, EntryColumn::ID));
    e->SetRefID(Low32(sqlite3_column_int64(s, EntryColumn::RefID)));
    e->SetName(ColumnText(h.get(), s, EntryColumn::Name));
    e->SetNotes(ColumnText(h.get(), s, EntryColumn::Notes));
    e->SetDateCreated(sqlite3_column_double(s, EntryColumn::Created));
    e->SetDateModified(sqlite3_column_double(s, EntryColumn::Modified));
    e->SetDate(sqlite3_column_double(s, EntryColumn::Date));
    // Stored unsigned; the low 32 bits give the signed value back.
    e->SetOdometer(sqlite3_column_int(s, EntryColumn::Odometer));
    e->SetVehicleID(Low32(sqlite3_column_int64(s, EntryColumn::VehicleID)));
    e->SetType(static_cast<CEntry::Type>(sqlite3_column_int(s, EntryColumn::Type)));
    e->SetVendor(ColumnText(h.get(), s, EntryColumn::Vendor));
    e->SetAmount(static_cast<float>(sqlite3_column_double(s, EntryColumn::Amount)));
    e->SetCustom1(static_cast<float>(sqlite3_column_double(s, EntryColumn::Custom1)));
    e->SetCustom2(static_cast<float>(sqlite3_column_double(s, EntryColumn::Custom2)));
    e->SetDirty(0);
    return 1;
}

int CDataLayer::Load(CKeyword* k, sqlite3_stmt* s)
{
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return Fail(fcOther);
    k->SetID(sqlite3_column_int(s, KeywordColumn::ID));
    k->SetRefID(Low32(sqlite3_column_int64(s, KeywordColumn::RefID)));
    k->SetName(ColumnText(h.get(), s, KeywordColumn::Name));
    k->SetType(static_cast<CKeyword::Type>(sqlite3_column_int(s, KeywordColumn::Type)));
    k->SetDateCreated(sqlite3_column_double(s, KeywordColumn::Created));
    k->SetDateModified(sqlite3_column_double(s, KeywordColumn::Modified));
    k->SetDirty(0);
    return 1;
}

int CDataLayer::Load(CNotification* n, sqlite3_stmt* s)
{
    std::unique_ptr<CStringHelper> h = GetStringHelperFactory()->Create();
    if (!h) return Fail(fcOther);
    n->SetID(sqlite3_column_int(s, NotificationColumn::ID));
    n->SetRefID(Low32(sqlite3_column_int64(s, NotificationColumn::RefID)));
    n->SetName(ColumnText(h.get(), s, NotificationColumn::Name));
    n->SetDateCreated(sqlite3_column_double(s, NotificationColumn::Created));
    n->SetDateModified(sqlite3_column_double(s, NotificationColumn::Modified));
    n->SetDate(sqlite3_column_double(s, NotificationColumn::Date));
    n->SetOdometer(sqlite3_column_int(s, NotificationColumn::Odometer));
    n->SetVehicleID(Low32(sqlite3_column_int64(s, NotificationColumn::VehicleID)));
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
    default: ALK_ASSERT(!"a record of no stored kind"); return 0;
    }
}

int CDataLayer::LoadSingle(CBaseObject* record, char* sql)
{
    SqlText text(sql);
    Statement row(m_db, text.Get());
    const int step = row.Step();
    if (step != SQLITE_ROW) return step == SQLITE_DONE ? 0 : Fail(step);  // no such row: no failure of the file
    return ReadRow(record, row.Get());
}

int CDataLayer::Load(CVehicle* v)
{
    if (!Connected() || !v || v->GetID() == 0) return 0;
    return LoadSingle(v, sqlite3_mprintf("SELECT * FROM Vehicle WHERE ID=%d", static_cast<int>(v->GetID())));
}

#if ALKBIZ_WIDE
int CDataLayer::Load(CEntry* e)
{
    if (!Connected() || !e || e->GetID() == 0) return 0;
    return LoadSingle(e, sqlite3_mprintf("SELECT * FROM Entry WHERE ID=%d", static_cast<int>(e->GetID())));
}
#else
int CDataLayer::Load(CEntry* e, int newest)
{
    if (!Connected() || !e) return 0;
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
    if (!Connected() || !k || k->GetID() == 0) return 0;
    return LoadSingle(k, sqlite3_mprintf("SELECT * FROM Keyword WHERE ID=%d", static_cast<int>(k->GetID())));
}

int CDataLayer::Load(CNotification* n)
{
    if (!Connected() || !n || n->GetID() == 0) return 0;
    return LoadSingle(n, sqlite3_mprintf("SELECT * FROM Notification WHERE ID=%d", static_cast<int>(n->GetID())));
}

int CDataLayer::LoadByRefID(CVehicle* v)
{
    if (!Connected() || !v || v->GetRefID() == 0) return 0;
    return LoadSingle(v, sqlite3_mprintf("SELECT * FROM Vehicle WHERE RefID=%lu", v->GetRefID()));
}

int CDataLayer::LoadList(CObjectList* list, CBaseObject::ObjectType type, char* sql)
{
    SqlText text(sql);
    list->Clear();
    Statement rows(m_db, text.Get());
    if (!rows.Get()) return Fail(rows.Step());

    int step;
    while ((step = rows.Step()) == SQLITE_ROW) {
        CBaseObject* record = nullptr;
        switch (type) {
        case CBaseObject::otVehicle: record = ALK_NEW CVehicle; break;
        case CBaseObject::otEntry: record = ALK_NEW CEntry; break;
        case CBaseObject::otKeyword: record = ALK_NEW CKeyword; break;
        case CBaseObject::otNotification: record = ALK_NEW CNotification; break;
        default: ALK_ASSERT(!"a list of no stored kind"); break;
        }
        if (!record || !ReadRow(record, rows.Get())) {
            delete record;
            step = SQLITE_NOMEM;
            break;
        }
        // A list that cannot grow deletes the record it was given: the load is no longer whole.
        const int held = list->GetCount();
        list->AddItem(record);
        if (list->GetCount() != held + 1) {
            step = SQLITE_NOMEM;
            break;
        }
    }
    // Rows that stop before the end (an engine error, a record that could not be made, read or
    // kept) are no whole list: callers that mirror the list elsewhere would take every missing
    // row for a deleted record.
    if (step != SQLITE_DONE) {
        list->Clear();
        return Fail(step);
    }
    return 1;
}

int CDataLayer::Load(CObjectListT<CVehicle>* list)
{
    if (!Connected() || !list) return 0;
    return LoadList(list, CBaseObject::otVehicle, sqlite3_mprintf("SELECT * FROM Vehicle"));
}

int CDataLayer::Load(CObjectListT<CEntry>* list, CEntryFilter* filter)
{
    if (!Connected() || !list || !filter) return 0;
    // Up to three clauses after "SELECT * FROM Entry ", the first joined with " WHERE ", the others
    // with " AND ", printed by the runtime into a buffer of 300 bytes (the longest possible
    // statement takes about 130). A clause that did not fit would leave the buffer's count past
    // its end: the load fails instead.
    char sql[300] = "SELECT * FROM Entry ";
    size_t used = std::strlen(sql);
    const char* joiner = " WHERE ";
    bool fits = true;
    auto append = [&](int written) {
        if (written < 0 || static_cast<size_t>(written) >= sizeof sql - used)
            fits = false;
        else
            used += static_cast<size_t>(written);
        joiner = " AND ";
    };
    if (filter->GetVehicleID() != 0)
        append(std::snprintf(sql + used, sizeof sql - used, "%s VehicleID=%lu ", joiner, filter->GetVehicleID()));
    if (fits && filter->HaveDateRange()) {
        const double start = CUtcClock::ToOLEDate(*filter->GetStartDate());
        const double end = CUtcClock::ToOLEDate(*filter->GetEndDate());
        append(std::snprintf(sql + used, sizeof sql - used, "%s (Date >= %f) AND (Date <= %f)", joiner, start, end));
    }
    if (fits && filter->GetEntryType() != CEntry::etNone)
        append(std::snprintf(sql + used, sizeof sql - used, "%s Type=%ld", joiner,
                             static_cast<long>(filter->GetEntryType())));
    if (!fits) {
        list->Clear();
        return Fail(fcOther);
    }
    return LoadList(list, CBaseObject::otEntry, sqlite3_mprintf("%s", sql));
}

int CDataLayer::Load(CObjectListT<CKeyword>* list, CKeyword::Type type)
{
    if (!Connected() || !list) return 0;
    char* sql = type == CKeyword::ktAll
                    ? sqlite3_mprintf("SELECT * FROM Keyword")
                    : sqlite3_mprintf("SELECT * FROM Keyword WHERE Type=%d", static_cast<int>(type));
    return LoadList(list, CBaseObject::otKeyword, sql);
}

int CDataLayer::Load(CObjectListT<CNotification>* list, unsigned long vehicleRefID)
{
    if (!Connected() || !list) return 0;
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
    if (!Connected() || id <= 0) return 0;
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
    if (!Connected()) return 0;
    SqlText sql(sqlite3_mprintf("SELECT ID FROM %s WHERE RefID=%lu", GetTableName(type), refID));
    Statement row(m_db, sql.Get());
    const int step = row.Step();
    if (step != SQLITE_ROW) return step == SQLITE_DONE ? 0 : Fail(step);
    return static_cast<unsigned long>(sqlite3_column_int(row.Get(), 0));
}

#if ALKBIZ_WIDE
int CDataLayer::GetMaxOdometer(unsigned long vehicleRefID, long* result)
{
    if (!Connected() || !result) return 0;
    SqlText sql(
        sqlite3_mprintf("SELECT MAX(Odometer) FROM Entry WHERE VehicleID = %u", static_cast<unsigned>(vehicleRefID)));
    Statement row(m_db, sql.Get());
    const int step = row.Step();
    if (step != SQLITE_ROW) return Fail(step);
    *result = sqlite3_column_int(row.Get(), 0);
    return 1;
}
#endif

int CDataLayer::UpdateCurrentOdometer(CVehicle* v, long odometer)
{
    if (!Connected() || !v || v->GetID() == 0) return 0;
    const double now = GetSystemTimeAsOLEDate();
    SqlText sql(sqlite3_mprintf("UPDATE Vehicle SET Modified=%f,CurrentOdometer=%lu WHERE ID=%d", now,
                                static_cast<unsigned long>(odometer), static_cast<int>(v->GetID())));
    if (!Exec(sql.Get())) return 0;
    v->SetCurrentOdometer(odometer);
    v->SetDateModified(now);
    return 1;
}
