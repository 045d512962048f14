// The Excel double in a test: registered as "Excel.Application" for the length of a scope, with a
// scratch folder for its records, which are read once the double's processes have ended.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sdk/excel/ExcelRecord.h"
#include "tests/support/TestFiles.h"

namespace alk_excel_test {

class CExcelDoubleScope {
public:
    // options: those of ExcelDouble.exe besides -record. A double that a client leaks ends after
    // 20 s without calls, so a test waiting for it fails rather than hangs.
    explicit CExcelDoubleScope(const std::wstring& options = L"") : m_folder(L"excel-records")
    {
        m_registered = excel_double::RegisterExcelDouble(WinePathW(ALK_EXCEL_DOUBLE_PATH),
                                                         L"-record \"" + m_folder.Path() + L"\" -idle 20 " + options);
    }
    ~CExcelDoubleScope() { excel_double::UnregisterExcelDouble(); }
    CExcelDoubleScope(const CExcelDoubleScope&) = delete;
    CExcelDoubleScope& operator=(const CExcelDoubleScope&) = delete;

    bool Registered() const { return m_registered; }
    // Doubles started so far (each writes its record as it starts).
    size_t Started() const { return excel_double::RecordFiles(m_folder.Path()).size(); }

    // The records of the first count doubles, once their processes have ended.
    ::testing::AssertionResult Records(size_t count, std::vector<excel_double::CExcelRecord>* records)
    {
        std::vector<std::wstring> files;
        if (!excel_double::WaitForRecords(m_folder.Path(), count, 30000, &files))
            return ::testing::AssertionFailure() << files.size() << " of " << count << " doubles ended in 30 s";
        records->assign(files.size(), excel_double::CExcelRecord());
        for (size_t i = 0; i < files.size(); ++i) {
            std::string error;
            if (!(*records)[i].Load(files[i], &error)) return ::testing::AssertionFailure() << error;
        }
        return ::testing::AssertionSuccess();
    }
    // The one record of one double.
    ::testing::AssertionResult Record(excel_double::CExcelRecord* record)
    {
        std::vector<excel_double::CExcelRecord> records;
        ::testing::AssertionResult result = Records(1, &records);
        if (result && records.size() != 1) return ::testing::AssertionFailure() << records.size() << " doubles ran";
        if (result) *record = records[0];
        return result;
    }

private:
    CScratchFolder m_folder;
    bool m_registered = false;
};

}  // namespace alk_excel_test
