#include "sdk/ado/AdoRecordset.h"

#include <oleauto.h>
#include <sqlite3.h>

#include <cwchar>

#include "sdk/ado/AdoFields.h"
#include "sdk/ado/AdoIds.h"
#include "sdk/ado/CellValue.h"

namespace {

// clang-format off
enum : DISPID {
    idOpen = 1, idClose, idState, idEOF, idBOF, idMoveFirst, idMoveNext, idRecordCount, idFields, idSource,
    idActiveConnection, idCursorLocation, idCursorType, idLockType,
};
const CMember kMembers[] = {
    {L"Open", idOpen},               {L"Close", idClose},           {L"State", idState},
    {L"EOF", idEOF},                 {L"BOF", idBOF},               {L"MoveFirst", idMoveFirst},
    {L"MoveNext", idMoveNext},       {L"RecordCount", idRecordCount}, {L"Fields", idFields},
    {L"Source", idSource},           {L"ActiveConnection", idActiveConnection},
    {L"CursorLocation", idCursorLocation}, {L"CursorType", idCursorType}, {L"LockType", idLockType},
};
// clang-format on

const wchar_t kSource[] = L"ADODB.Recordset";
const wchar_t kClosed[] = L"Operation is not allowed when the object is closed.";
const wchar_t kNoCurrentRecord[] =
    L"Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current "
    L"record.";

std::wstring Wide(const char* utf8)
{
    if (!utf8) return std::wstring();
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], units);
    wide.resize(static_cast<size_t>(units - 1));
    return wide;
}

bool IsOneWord(const std::wstring& text)
{
    if (text.empty()) return false;
    for (wchar_t c : text) {
        if (!(iswalnum(c) || c == L'_')) return false;
    }
    return true;
}

// Jet's answer to a statement the engine refused: a missing table or query by its name, any other
// refusal as a syntax error.
[[noreturn]] void ThrowStatementError(sqlite3* db)
{
    const std::wstring message = Wide(sqlite3_errmsg(db));
    const std::wstring noTable = L"no such table: ";
    if (message.compare(0, noTable.size(), noTable) == 0) {
        std::wstring name = message.substr(noTable.size());
        ThrowAdo(kJetTableNotFound, kJetSource,
                 L"The Microsoft Jet database engine cannot find the input table or query '" + name +
                     L"'.  Make sure it exists and that its name is spelled correctly.");
    }
    ThrowAdo(kJetSyntaxError, kJetSource, L"Syntax error in query. " + message);
}

}  // namespace

CAdoConnection* ConnectionOf(const VARIANT& value)
{
    if ((value.vt != VT_DISPATCH && value.vt != VT_UNKNOWN) || !value.punkVal) return nullptr;
    void* connection = nullptr;
    if (FAILED(value.punkVal->QueryInterface(IID_AdoDoubleConnection, &connection))) return nullptr;
    return static_cast<CAdoConnection*>(static_cast<IDispatch*>(connection));
}

CAdoConnection* PutConnection(const CArgs& args, const wchar_t* source)
{
    CAdoConnection* connection = ConnectionOf(args.PutValue());
    if (!connection) ThrowAdo(kAdoArgumentsWrongType, source, L"Arguments are of the wrong type.");
    return connection;
}

CAdoRecordset::~CAdoRecordset()
{
    ClearRows();
}

const CMember* CAdoRecordset::Members(UINT* count) const
{
    *count = sizeof kMembers / sizeof kMembers[0];
    return kMembers;
}

void CAdoRecordset::CheckOpen() const
{
    if (!m_open) ThrowAdo(kAdoObjectClosed, kSource, kClosed);
}

void CAdoRecordset::ClearRows()
{
    for (VARIANT& cell : m_cells) VariantClear(&cell);
    m_cells.clear();
    m_columns.clear();
    m_rowCount = m_position = 0;
}

int CAdoRecordset::FindColumn(const std::wstring& name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (_wcsicmp(m_columns[i].c_str(), name.c_str()) == 0) return static_cast<int>(i);
    }
    return -1;
}

void CAdoRecordset::ReadValue(int column, VARIANT* result)
{
    if (!m_open) ThrowAdo(kAdoObjectClosed, L"ADODB.Field", kClosed);
    if (AtEnd()) ThrowAdo(kAdoNoCurrentRecord, L"ADODB.Field", kNoCurrentRecord);
    m_connection->CheckFault(L"Field", m_columns[column]);
    if (result && FAILED(VariantCopy(result, &m_cells[m_position * m_columns.size() + column]))) throw std::bad_alloc();
}

void CAdoRecordset::OpenOn(CAdoConnection* connection, const std::wstring& source, long options)
{
    if (m_open) ThrowAdo(kAdoObjectOpen, kSource, L"Operation is not allowed when the object is open.");
    if (!connection || !connection->IsOpen())
        ThrowAdo(kAdoConnectionClosed, kSource,
                 L"The connection cannot be used to perform this operation. It is either closed or invalid in this "
                 L"context.");
    m_connection = connection;
    m_source = source;
    connection->CheckFault(L"Open", source);

    const long type = options & 0xFF;
    const bool named = type == 2 || type == 4 || ((type == 8 || options == -1) && IsOneWord(source));
    const std::wstring sql = named ? L"SELECT * FROM [" + source + L"]" : source;

    sqlite3* db = connection->Db();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, Utf8(sql).c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        ThrowStatementError(db);
    }
    ClearRows();
    const int columns = sqlite3_column_count(statement);
    std::vector<VARTYPE> types;
    for (int c = 0; c < columns; ++c) {
        m_columns.push_back(Wide(sqlite3_column_name(statement, c)));
        types.push_back(DeclaredVarType(sqlite3_column_decltype(statement, c)));
    }
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            VARIANT cell;
            if (!CellValue(statement, c, types[c], &cell)) {
                sqlite3_finalize(statement);
                const std::wstring name = m_columns[c];
                ClearRows();
                ThrowAdo(E_FAIL, kJetSource, L"Data type mismatch in column '" + name + L"'.");
            }
            m_cells.push_back(cell);
        }
        ++m_rowCount;
    }
    if (step != SQLITE_DONE) {
        ClearRows();
        sqlite3_finalize(statement);
        ThrowStatementError(db);
    }
    sqlite3_finalize(statement);
    m_position = 0;
    m_open = true;
}

void CAdoRecordset::Close()
{
    CheckOpen();
    m_connection->CheckFault(L"Close", m_source);
    ClearRows();
    m_open = false;
}

void CAdoRecordset::Call(DISPID id, WORD flags, const CArgs& args, VARIANT* result)
{
    switch (id) {
    case idOpen: {
        CComPtr<CAdoConnection> connection;
        if (args.Has(1)) {
            connection.Attach(ConnectionOf(args.Get(1)));
        } else {
            connection = m_connection;
        }
        if (args.Has(2)) m_cursorType = args.Number(2);
        if (args.Has(3)) m_lockType = args.Number(3);
        OpenOn(connection, args.Text(0, m_source), args.Number(4, -1));
        break;
    }
    case idClose: Close(); break;
    case idState: ReturnLong(result, m_open ? 1 : 0); break;
    case idEOF:
        CheckOpen();
        m_connection->CheckFault(L"EOF", m_source);
        ReturnBool(result, AtEnd());
        break;
    case idBOF:
        CheckOpen();
        ReturnBool(result, m_rowCount == 0);
        break;
    case idMoveFirst:
        CheckOpen();
        m_position = 0;
        break;
    case idMoveNext:
        CheckOpen();
        if (AtEnd()) ThrowAdo(kAdoNoCurrentRecord, kSource, kNoCurrentRecord);
        m_connection->CheckFault(L"MoveNext", m_source);
        ++m_position;
        break;
    case idRecordCount:
        CheckOpen();
        ReturnLong(result, static_cast<long>(m_rowCount));
        break;
    case idFields: {
        CComPtr<CAdoFields> fields;
        fields.Attach(new CAdoFields(this));
        ReturnObject(result, fields.Get());
        break;
    }
    case idSource:
        if (IsPut(flags)) {
            if (m_open) ThrowAdo(kAdoObjectOpen, kSource, L"Operation is not allowed when the object is open.");
            m_source = args.PutText();
        } else {
            ReturnText(result, m_source);
        }
        break;
    case idActiveConnection:
        if (IsPut(flags)) {
            if (m_open) ThrowAdo(kAdoObjectOpen, kSource, L"Operation is not allowed when the object is open.");
            m_connection.Attach(PutConnection(args, kSource));
        } else {
            ReturnObject(result, m_connection.Get());
        }
        break;
    case idCursorLocation:
    case idCursorType:
    case idLockType: {
        long& property = id == idCursorLocation ? m_cursorLocation : id == idCursorType ? m_cursorType : m_lockType;
        if (IsPut(flags)) {
            if (m_open) ThrowAdo(kAdoObjectOpen, kSource, L"Operation is not allowed when the object is open.");
            property = args.PutNumber(kSource);
        } else {
            ReturnLong(result, property);
        }
        break;
    }
    default: break;
    }
}
