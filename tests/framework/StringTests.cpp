// CString: sharing and copy on write, formatting with the runtime's conventions, the string
// table, the explicit length of GetBuffer/ReleaseBuffer.
#include <gtest/gtest.h>

#include "framework/String.h"
#include "TestResources.h"

TEST(CStringTest, CopiesShareUntilOneIsChanged)
{
    CString a(L"vehicle");
    CString b = a;
    EXPECT_EQ(a.GetString(), b.GetString()) << "a copy shares the characters";
    b.SetAt(0, L'V');
    EXPECT_STREQ(L"vehicle", a);
    EXPECT_STREQ(L"Vehicle", b);
    EXPECT_NE(a.GetString(), b.GetString());

    CString c = a;
    c += L" log";
    EXPECT_STREQ(L"vehicle", a);
    EXPECT_STREQ(L"vehicle log", c);

    CString d = a;
    d.MakeUpper();
    EXPECT_STREQ(L"vehicle", a);
    EXPECT_STREQ(L"VEHICLE", d);
}

TEST(CStringTest, AppendingItselfAndSubstrings)
{
    CString s(L"ab");
    s += s;
    EXPECT_STREQ(L"abab", s);
    s += s.GetString() + 1;
    EXPECT_STREQ(L"ababbab", s);
    CString t = L"x" + s.Mid(2, 2) + L'y';
    EXPECT_STREQ(L"xaby", t);
    EXPECT_STREQ(L"ab", s.Left(2));
    EXPECT_STREQ(L"ab", s.Right(2));
    EXPECT_STREQ(L"", s.Mid(100));
}

TEST(CStringTest, ManyAppendsKeepEveryCharacter)
{
    CString s;
    CString copy;
    for (int i = 0; i < 5000; ++i) {
        s += static_cast<wchar_t>(L'a' + i % 26);
        if (i == 2500) copy = s;  // a copy taken midway stays as it was
    }
    ASSERT_EQ(5000, s.GetLength());
    EXPECT_EQ(L'a', s[0]);
    EXPECT_EQ(static_cast<wchar_t>(L'a' + 4999 % 26), s[4999]);
    EXPECT_EQ(2501, copy.GetLength());
    EXPECT_EQ(0, copy.Compare(s.Left(2501)));
}

TEST(CStringTest, FormatTakesWideStringsForPercentS)
{
    CString s;
    s.Format(L"%s (%d)", L"Family Car", 2002);
    EXPECT_STREQ(L"Family Car (2002)", s);
    s.Format(L"%.2f|%5d|%-3s|", 3.14159, 42, L"a");
    EXPECT_STREQ(L"3.14|   42|a  |", s);
    s.AppendFormat(L"%S", "narrow");
    EXPECT_STREQ(L"3.14|   42|a  |narrow", s);

    CString longText(L'x', 1000);
    s.Format(L"[%s]", longText.GetString());
    EXPECT_EQ(1002, s.GetLength());

    CStringA a;
    a.Format("%s=%d", "odo", 7);
    EXPECT_STREQ("odo=7", a);
}

TEST(CStringTest, LoadsTheStringTableWithoutLimit)
{
    CString s;
    ASSERT_TRUE(s.LoadString(IDS_CAPTION));
    EXPECT_STREQ(L"Caption from the table", s);
    ASSERT_TRUE(s.LoadString(::GetModuleHandleW(nullptr), IDS_LONG));
    EXPECT_GT(s.GetLength(), 256);
    EXPECT_EQ(s.GetLength() - 4, s.Find(L"-end"));
    EXPECT_FALSE(s.LoadString(4711));
    EXPECT_TRUE(s.IsEmpty());

    s.Format(IDS_FORMAT, L"The van", 4);
    EXPECT_STREQ(L"The van has 4 wheels", s);

    CStringA a;
    ASSERT_TRUE(a.LoadString(IDS_CAPTION));
    EXPECT_STREQ("Caption from the table", a);
}

TEST(CStringTest, SearchReplaceDelete)
{
    CString s(L"one|two|three||");
    EXPECT_EQ(3, s.Find(L'|'));
    EXPECT_EQ(7, s.Find(L'|', 4));
    EXPECT_EQ(4, s.Find(L"two"));
    EXPECT_EQ(-1, s.Find(L"four"));
    EXPECT_EQ(14, s.ReverseFind(L'|'));
    EXPECT_EQ(4, s.Replace(L'|', L';'));
    EXPECT_STREQ(L"one;two;three;;", s);
    EXPECT_EQ(2, s.Replace(L"t", L"TT"));
    EXPECT_STREQ(L"one;TTwo;TThree;;", s);
    EXPECT_EQ(0, s.Replace(L"zzz", L"y"));
    EXPECT_EQ(13, s.Delete(0, 4));
    EXPECT_STREQ(L"TTwo;TThree;;", s);
    s.Delete(100);
    EXPECT_EQ(13, s.GetLength());
    s.Insert(0, L"<");
    EXPECT_STREQ(L"<TTwo;TThree;;", s);
    EXPECT_STREQ(L"<ttwo;tthree;;", s.MakeLower());
    CString blanks(L" \t x y \t");
    EXPECT_STREQ(L"x y", blanks.Trim());
    EXPECT_EQ(0, CString(L"Abc").CompareNoCase(L"aBC"));
    EXPECT_TRUE(CString(L"a") == L"a");
    EXPECT_TRUE(CString(L"a") != CString(L"b"));
}

TEST(CStringTest, ReleaseBufferKeepsAnExplicitLengthWithEmbeddedNuls)
{
    // A file-dialog filter: "|" turned into NULs in place, length kept.
    CString filter(L"Data (*.dat)|*.dat||");
    int length = filter.GetLength();
    CString shared = filter;
    wchar_t* p = filter.GetBuffer(0);
    for (int i = 0; i < length; ++i)
        if (p[i] == L'|') p[i] = 0;
    filter.ReleaseBuffer(length);
    EXPECT_EQ(length, filter.GetLength());
    const wchar_t* s = filter;
    EXPECT_STREQ(L"Data (*.dat)", s);
    EXPECT_STREQ(L"*.dat", s + 13);
    EXPECT_EQ(0, s[19]);
    EXPECT_EQ(0, s[20]) << "terminator after the counted characters";
    EXPECT_STREQ(L"Data (*.dat)|*.dat||", shared) << "the buffer was not shared";

    CString t;
    wcscpy(t.GetBuffer(10), L"abc");
    t.ReleaseBuffer();
    EXPECT_EQ(3, t.GetLength());
    wchar_t* q = t.GetBufferSetLength(5);
    q[3] = L'd';
    q[4] = L'e';
    t.ReleaseBuffer(5);
    EXPECT_STREQ(L"abcde", t);
}
