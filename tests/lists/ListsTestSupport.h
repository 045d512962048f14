// Support of the list tests: the bold font made as the program makes it, and a database copied
// from the template for each test, connected as the program's own (records are written into it
// with the builders of business/RecordBuilder.h through g_DataLayer).
#pragma once

#include <windows.h>

#include <string>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "desktop/AppSettings.h"
#include "desktop/Startup.h"  // the program's data layer and bold font
#include "tests/support/MessagePump.h"
#include "tests/support/SettingsScope.h"
#include "tests/support/TestFiles.h"

// A fresh copy of the template in a folder of its own, connected to g_DataLayer for the life of
// the object; the folder goes with it.
class CTestDataFile {
public:
    CTestDataFile();
    ~CTestDataFile();
    CTestDataFile(const CTestDataFile&) = delete;
    CTestDataFile& operator=(const CTestDataFile&) = delete;

    bool Connected() const { return m_connected; }
    // A folder for other files of the test (pictures ...).
    const std::wstring& Folder() const { return m_folder.Path(); }

private:
    CScratchFolder m_folder;
    bool m_connected = false;
};
