// The test environment is the one the harness promises: its own prefix and home, a United
// States English user locale, and the Windows paths later tests rely on.
#include <windows.h>

#include <shlobj.h>

#include <string>

#include <gtest/gtest.h>

TEST(Environment, UserLocaleIsUnitedStatesEnglish)
{
    EXPECT_EQ(0x0409u, GetUserDefaultLCID());
    wchar_t buf[16];
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 16), 0);
    EXPECT_STREQ(L".", buf);
    ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SCURRENCY, buf, 16), 0);
    EXPECT_STREQ(L"$", buf);
}

TEST(Environment, DocumentsFolderExistsInsideThePrefix)
{
    wchar_t docs[MAX_PATH];
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, docs));
    const DWORD attrs = GetFileAttributesW(docs);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attrs);
    EXPECT_TRUE(attrs & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(0, _wcsnicmp(docs, L"C:\\users\\", 9)) << docs;
}
