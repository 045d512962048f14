// Owning lists: who deletes a record, disowning, typed access and the name order.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"

namespace {

int g_destroyed = 0;

// A record made here and deleted by the library: counts its destruction.
class CCountedEntry : public CEntry {
public:
    explicit CCountedEntry(const wchar_t* name) { SetName(name); }
    ~CCountedEntry() override { ++g_destroyed; }
};

class ObjectListTest : public ::testing::Test {
protected:
    void SetUp() override { g_destroyed = 0; }
    static void Fill(CObjectList& list, std::initializer_list<const wchar_t*> names)
    {
        for (const wchar_t* name : names) list.AddItem(new CCountedEntry(name));
    }
    static std::vector<std::wstring> Names(CObjectList& list)
    {
        std::vector<std::wstring> names;
        for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetItem(i)->GetName());
        return names;
    }
};

TEST_F(ObjectListTest, NewListIsEmpty)
{
    CObjectList list;
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetItem(0));
    EXPECT_EQ(nullptr, list.DisownItem(0));
}

TEST_F(ObjectListTest, DestructorDeletesWhatItHolds)
{
    {
        CObjectList list;
        Fill(list, {L"a", L"b", L"c"});
        EXPECT_EQ(3, list.GetCount());
    }
    EXPECT_EQ(3, g_destroyed);
}

TEST_F(ObjectListTest, WithoutAutoCleanupTheRecordsOutliveTheList)
{
    std::vector<CBaseObject*> kept;
    {
        CObjectList list;
        Fill(list, {L"a", L"b", L"c"});
        for (int i = 0; i < list.GetCount(); ++i) kept.push_back(list.GetItem(i));
        list.AllowAutoCleanup(0);
    }
    EXPECT_EQ(0, g_destroyed);
    for (CBaseObject* r : kept) delete r;
    EXPECT_EQ(3, g_destroyed);
}

TEST_F(ObjectListTest, ClearDeletesEvenWithoutAutoCleanup)
{
    CObjectList list;
    list.AllowAutoCleanup(0);
    Fill(list, {L"a", L"b"});
    list.AddItem(nullptr);  // skipped by Clear
    list.Clear();
    EXPECT_EQ(2, g_destroyed);
    EXPECT_EQ(0, list.GetCount());
    // The list is usable again after Clear.
    Fill(list, {L"c"});
    EXPECT_EQ(1, list.GetCount());
    list.Clear();
}

TEST_F(ObjectListTest, DisownHandsTheRecordOverAndClosesTheGap)
{
    CBaseObject* first = nullptr;
    {
        CObjectList list;
        Fill(list, {L"A", L"B", L"C"});
        first = list.DisownItem(0);
        ASSERT_NE(nullptr, first);
        EXPECT_STREQ(L"A", first->GetName());
        EXPECT_EQ((std::vector<std::wstring>{L"B", L"C"}), Names(list));
        CBaseObject* last = list.DisownItem(1);
        EXPECT_STREQ(L"C", last->GetName());
        delete last;
    }
    EXPECT_EQ(2, g_destroyed);  // B with the list, C by us
    EXPECT_STREQ(L"A", first->GetName());
    delete first;
}

TEST_F(ObjectListTest, GrowsFarBeyondItsFirstArray)
{
    CObjectList list;
    for (int i = 0; i < 1000; ++i) list.AddItem(new CCountedEntry(std::to_wstring(i).c_str()));
    ASSERT_EQ(1000, list.GetCount());
    EXPECT_STREQ(L"0", list.GetItem(0)->GetName());
    EXPECT_STREQ(L"999", list.GetItem(999)->GetName());
    EXPECT_EQ(nullptr, list.GetItem(1000));
    EXPECT_EQ(nullptr, list.GetItem(-1));
    list.Clear();
    EXPECT_EQ(1000, g_destroyed);
}

TEST_F(ObjectListTest, SortsByNameIgnoringCase)
{
    CObjectList list;
    Fill(list, {L"b", L"A", L"_x", L"C", L"a", nullptr});
    list.SortByName();
    const std::vector<std::wstring> names = Names(list);
    ASSERT_EQ(6u, names.size());
    EXPECT_EQ(L"", names[0]);  // an unset name sorts as the empty text
    // '_' folds below the letters once they are lower-cased.
    EXPECT_EQ(L"_x", names[1]);
    EXPECT_TRUE((names[2] == L"A" && names[3] == L"a") || (names[2] == L"a" && names[3] == L"A"));
    EXPECT_EQ(L"b", names[4]);
    EXPECT_EQ(L"C", names[5]);
}

}  // namespace
