// For the programs that use the Excel double (tests, benchmarks): registering it as
// "Excel.Application", finding and waiting for the records its processes write, and reading a
// record (its format: RecordFormat.h).
//
// Registration writes HKEY_LOCAL_MACHINE\Software\Classes, which is where Wine keeps
// HKEY_CLASSES_ROOT (it does not merge HKEY_CURRENT_USER\Software\Classes into it): so only
// ever in a test prefix. Programs that register take the registry lock of their test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sdk/excel/RecordFormat.h"

namespace excel_double {

// "Excel.Application" names the double's class, whose local server is serverPath with the
// arguments (options of ExcelDouble.cpp; COM appends -Embedding).
bool RegisterExcelDouble(const std::wstring& serverPath, const std::wstring& arguments);
// The same with the local server's command line as given (for example a program that is not
// there).
bool RegisterExcelServerCommand(const std::wstring& commandLine);
// Removes both the ProgID and the class.
void UnregisterExcelDouble();

// A value as the record wrote it.
struct RecordValue {
    VARTYPE type = VT_EMPTY;         // VT_ARRAY | VT_VARIANT for an array; VT_DISPATCH for an object
    long long integer = 0;           // I2, I4, CY (10,000ths), BOOL (0 or -1), ERROR (the SCODE)
    double number = 0;               // R4, R8, DATE
    std::wstring text;               // BSTR; DISPATCH: the object's name, "null" or "foreign"
    long lowerBound = 0;             // ARRAY
    std::vector<RecordValue> items;  // ARRAY
};

// One GetIDsOfNames ("names") or Invoke ("invoke") line.
struct RecordCall {
    bool invoke = false;
    long n = 0;
    std::wstring object;
    std::wstring member;  // the name asked for (names) or the member called (invoke)
    long dispid = 0;
    int flags = 0;
    unsigned long lcid = 0;
    std::vector<long> named;
    std::vector<RecordValue> args;
    HRESULT hr = S_OK;
    RecordValue result;
    bool failedAsAsked = false;
    std::string line;  // as written, for messages
};

struct RecordCell {
    int workbook = 0;  // from 1
    std::wstring ref;
    RecordValue value;
    double size = 11;
    bool bold = false;
    bool hasFormat = false;
    std::wstring format;
};

// A column ("B") or row ("3") with a format or auto-fit of its own.
struct RecordLine {
    int workbook = 0;
    std::wstring name;
    bool hasFormat = false;
    std::wstring format;
    int autofits = 0;
};

class CExcelRecord {
public:
    // False with the reason for a file that cannot be read or a line that does not parse.
    bool Load(const std::wstring& path, std::string* error);

    DWORD pid = 0;
    std::wstring command;
    std::vector<RecordCall> calls;  // names and invoke lines in the order made
    int workbooks = 0;
    std::vector<RecordCell> cells;
    std::vector<RecordLine> columns;
    std::vector<RecordLine> rows;
    bool visible = false;
    bool exited = false;  // ended by -exitafter
    bool ended = false;   // an end line: the process ended by itself
    std::wstring endReason;
    long held = -1;            // objects still referenced at the end
    std::wstring heldObjects;  // their names, comma-separated

    std::vector<const RecordCall*> Invokes() const;
    // Invoke lines of a member (case as called is ignored).
    std::vector<const RecordCall*> Invokes(const wchar_t* member) const;
    // Whether any GetIDsOfNames asked for the name (any case).
    bool AskedFor(const wchar_t* name) const;
    // A cell or column of the last workbook; null when the record has no line for it.
    const RecordCell* Cell(const wchar_t* ref) const;
    const RecordLine* Column(const wchar_t* letters) const;
};

// excel-*.txt files of a folder, oldest first.
std::vector<std::wstring> RecordFiles(const std::wstring& folder);
// Waits until the process that writes the record has ended (its first line names it). False
// when it is still running after the time.
bool WaitForRecordProcess(const std::wstring& file, DWORD timeoutMs);
// Waits until the folder holds at least count records whose processes have ended; the files,
// oldest first. False on timeout.
bool WaitForRecords(const std::wstring& folder, size_t count, DWORD timeoutMs, std::vector<std::wstring>* files);

}  // namespace excel_double
