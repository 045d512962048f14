// Support of the list tests: the bold font made as the program makes it, and a database copied
// from the template for each test, connected as the program's own (records are written into it
// with the builders of business/RecordBuilder.h through g_DataLayer).
#pragma once

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "desktop/AppSettings.h"
#include "desktop/Startup.h"  // the program's data layer and bold font
#include "tests/support/MessagePump.h"
#include "tests/support/SettingsScope.h"
#include "tests/support/TestDatabase.h"

// A fresh copy of the template in a folder of its own, connected to g_DataLayer for the life of
// the object; the folder (Folder(), for other files of the test: pictures ...) goes with it.
class CTestDataFile : public CTestDatabase {
public:
    CTestDataFile()
        : CTestDatabase(L"test.dat", L"", L"alk-lists"), m_connected(Connect(g_DataLayer) == CDataLayer::csConnected)
    {
        EXPECT_TRUE(m_connected);
    }
    ~CTestDataFile() { g_DataLayer.Disconnect(); }

    bool Connected() const { return m_connected; }

private:
    bool m_connected;
};
