#include "ListsTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The bold interface font, made once for the whole test program as the program makes it.
struct BoldFont {
    BoldFont() { CreateBoldFont(); }
    ~BoldFont() { DeleteObject(g_hBoldFont); }
} g_boldFont;

}  // namespace

CTestDataFile::CTestDataFile() : m_folder(L"alk-lists")
{
    const std::wstring file = m_folder.File(L"test.dat");
    EXPECT_TRUE(CopyTemplate(file)) << "no template beside the tests";
    m_connected = g_DataLayer.Connect(file.c_str()) == CDataLayer::csConnected;
    EXPECT_TRUE(m_connected);
}

// The folder goes after the disconnection, with the member.
CTestDataFile::~CTestDataFile()
{
    g_DataLayer.Disconnect();
}
