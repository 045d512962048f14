// Records: defaults, the dirty rule of every setter, owned texts, and UTF-8 conversion.
#include <memory>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/TestClock.h"

namespace {

TEST(RecordDefaults, VehicleInsuranceExpiresAtTheEndOfTheCurrentUtcYear)
{
    CFixedClock clock(Utc(2008, 6, 17, 13, 45, 12, 500));
    std::unique_ptr<CVehicle> v(new CVehicle);
    EXPECT_EQ(CBaseObject::otVehicle, v->GetObjectType());
    EXPECT_DOUBLE_EQ(39813.0, v->GetInsuranceExpirationDate());
    EXPECT_EQ(20000, v->GetCurrentOdometer());
    EXPECT_EQ(2002, v->GetYear());
    EXPECT_EQ(0, v->IsDirty());
    EXPECT_EQ(0, v->GetID());
    EXPECT_EQ(0u, v->GetRefID());
    EXPECT_STREQ(L"", v->GetName());
    EXPECT_STREQ(L"", v->GetVIN());
    EXPECT_STREQ(L"", v->GetImagePath());
}

TEST(RecordDefaults, VehicleMadeOnNewYearsEveStillExpiresThatDay)
{
    CFixedClock clock(Utc(2008, 12, 31, 23, 59, 59));
    CVehicle v;
    EXPECT_DOUBLE_EQ(39813.0, v.GetInsuranceExpirationDate());
}

TEST(RecordDefaults, EntryIsDatedNowInWholeSeconds)
{
    CFixedClock clock(Utc(2008, 3, 15, 8, 15, 30, 999));
    CEntry e;
    EXPECT_EQ(CBaseObject::otEntry, e.GetObjectType());
    EXPECT_DOUBLE_EQ(OleDate(Utc(2008, 3, 15, 8, 15, 30)), e.GetDate());
    EXPECT_EQ(CEntry::etNone, e.GetType());
    EXPECT_EQ(0, e.GetOdometer());
    EXPECT_EQ(0u, e.GetVehicleID());
    EXPECT_EQ(0.0f, e.GetAmount());
    EXPECT_EQ(0, e.IsDirty());
}

TEST(RecordDefaults, KeywordAndReminderKinds)
{
    CKeyword k;
    CNotification n;
    EXPECT_EQ(CBaseObject::otKeyword, k.GetObjectType());
    EXPECT_EQ(CKeyword::ktAll, k.GetType());
    EXPECT_EQ(CBaseObject::otNotification, n.GetObjectType());
    EXPECT_EQ(0.0, n.GetDate());
    EXPECT_EQ(0, n.GetOdometer());
}

TEST(DirtyRule, NamesCompareCaseSensitively)
{
    CEntry e;
    e.SetName(L"Oil change");
    EXPECT_EQ(1, e.IsDirty());
    e.SetDirty(0);
    e.SetName(L"Oil change");
    EXPECT_EQ(0, e.IsDirty());
    e.SetName(L"oil change");
    EXPECT_EQ(1, e.IsDirty());
    EXPECT_STREQ(L"oil change", e.GetName());
}

TEST(DirtyRule, EmptyTextOnAnUnsetFieldIsNoChange)
{
    CVehicle v;
    v.SetName(L"");
    v.SetNotes(nullptr);
    v.SetDealerAddress(L"");
    EXPECT_EQ(0, v.IsDirty());
    EXPECT_STREQ(L"", v.GetName());
}

TEST(DirtyRule, NullOverATextStoresTheEmptyTextAndIsAChange)
{
    CNotification n;
    n.SetName(L"Rotate tyres");
    n.SetDirty(0);
    n.SetName(nullptr);
    EXPECT_EQ(1, n.IsDirty());
    EXPECT_STREQ(L"", n.GetName());
    // The empty text now stored equals a later empty or null value.
    n.SetDirty(0);
    n.SetName(L"");
    n.SetName(nullptr);
    EXPECT_EQ(0, n.IsDirty());
}

TEST(DirtyRule, IdentityDatesAndKeywordTypeNeverRaiseIt)
{
    CKeyword k;
    k.SetID(12);
    k.SetRefID(3000000000u);
    k.SetDateCreated(39500.25);
    k.SetDateModified(39501.5);
    k.SetType(CKeyword::ktFuelVendor);
    EXPECT_EQ(0, k.IsDirty());
    EXPECT_EQ(12, k.GetID());
    EXPECT_EQ(3000000000u, k.GetRefID());
    EXPECT_EQ(39500.25, k.GetDateCreated());
    EXPECT_EQ(39501.5, k.GetDateModified());
    EXPECT_EQ(CKeyword::ktFuelVendor, k.GetType());
}

TEST(DirtyRule, NumberSettersRaiseItOnlyForANewValue)
{
    CEntry e;
    e.SetAmount(12.5f);
    EXPECT_EQ(1, e.IsDirty());
    e.SetDirty(0);
    e.SetAmount(12.5f);
    EXPECT_EQ(0, e.IsDirty());

    // Each setter given the value it already holds, then a different one.
    const double date = e.GetDate();
    e.SetDate(date);
    e.SetOdometer(0);
    e.SetVehicleID(0);
    e.SetType(CEntry::etNone);
    e.SetCustom1(0.0f);
    e.SetCustom2(0.0f);
    EXPECT_EQ(0, e.IsDirty());
    e.SetCustom2(0.5f);
    EXPECT_EQ(1, e.IsDirty());

    CVehicle v;
    v.SetYear(2002);
    v.SetCurrentOdometer(20000);
    v.SetInsuranceExpirationDate(v.GetInsuranceExpirationDate());
    EXPECT_EQ(0, v.IsDirty());
    v.SetYear(2003);
    EXPECT_EQ(1, v.IsDirty());
    v.SetDirty(0);
    v.SetCurrentOdometer(-1);
    EXPECT_EQ(1, v.IsDirty());

    CNotification n;
    n.SetOdometer(0);
    n.SetDate(0);
    n.SetVehicleID(0);
    EXPECT_EQ(0, n.IsDirty());
    n.SetVehicleID(7);
    EXPECT_EQ(1, n.IsDirty());
}

TEST(SetStringValue, ReportsChangesAsTheDirtyRuleNeedsThem)
{
    wchar_t* field = nullptr;
    EXPECT_EQ(0, CStringHelper::SetStringValue(&field, nullptr));
    EXPECT_EQ(nullptr, field);
    EXPECT_EQ(0, CStringHelper::SetStringValue(&field, L""));
    ASSERT_NE(nullptr, field);
    EXPECT_STREQ(L"", field);
    EXPECT_EQ(1, CStringHelper::SetStringValue(&field, L"x"));
    EXPECT_EQ(0, CStringHelper::SetStringValue(&field, L"x"));
    EXPECT_EQ(1, CStringHelper::SetStringValue(&field, L"X"));
    EXPECT_EQ(1, CStringHelper::SetStringValue(&field, nullptr));
    EXPECT_STREQ(L"", field);
    CStringHelper::FreeStringValue(&field);
    EXPECT_EQ(nullptr, field);
}

TEST(DefaultStringHelper, EncodesToUtf8)
{
    CDefaultStringHelperFactory factory;
    std::unique_ptr<CStringHelper> helper = factory.Create();
    ASSERT_TRUE(helper);
    const char* encoded = helper->Encode(L"M\u00fcller");
    EXPECT_EQ(7u, strlen(encoded));
    EXPECT_STREQ("M\xc3\xbcller", encoded);
    EXPECT_STREQ("", helper->Encode(nullptr));
    EXPECT_STREQ("it's", helper->Encode(L"it's"));
}

TEST(DefaultStringHelper, DecodesUtf8AndKeepsEveryBufferUntilItIsDestroyed)
{
    CDefaultStringHelper helper;
    const wchar_t* first = helper.Decode("\xe2\x82\xac 5");
    const char* second = helper.Encode(L"\u65e5\u672c");
    const wchar_t* third = helper.Decode(static_cast<const char*>(nullptr));
    // Earlier results are still intact after later conversions.
    EXPECT_STREQ(L"\u20ac 5", first);
    EXPECT_STREQ("\xe6\x97\xa5\xe6\x9c\xac", second);
    EXPECT_STREQ(L"", third);
    const wchar_t* wide = L"already wide";
    EXPECT_EQ(wide, helper.Decode(wide));
}

TEST(SetStringValue, AValueInsideTheFieldsOwnTextIsCopiedBeforeTheTextGoes)
{
    // The old text is released only once the new one is copied: a name set to a part of itself
    // reads its own characters, not freed memory (which the heap reuses at once).
    CVehicle v;
    v.SetName(L"Family Car of the Smiths");
    v.SetDirty(0);
    v.SetName(v.GetName() + 7);
    EXPECT_STREQ(L"Car of the Smiths", v.GetName());
    EXPECT_EQ(1, v.IsDirty());
    v.SetNotes(L"Notes that are long enough to span several heap blocks of the allocator");
    v.SetNotes(v.GetNotes() + 1);
    EXPECT_STREQ(L"otes that are long enough to span several heap blocks of the allocator", v.GetNotes());
    CEntry e;
    e.SetVendor(L"Shell Station 42");
    e.SetVendor(e.GetVendor() + 6);
    EXPECT_STREQ(L"Station 42", e.GetVendor());
}

// calloc of AlkBiz.dll, failing while g_failCalloc is set.
bool g_failCalloc = false;
void* (*g_realCalloc)(size_t, size_t) = nullptr;
void* FailingCalloc(size_t count, size_t size)
{
    return g_failCalloc ? nullptr : g_realCalloc(count, size);
}

TEST(DefaultStringHelper, AnEncodingThatCannotBeAllocatedIsNullNotTheEmptyText)
{
    CImportPatch patch(L"AlkBiz.dll", "msvcrt.dll", "calloc", reinterpret_cast<void*>(&FailingCalloc));
    ASSERT_TRUE(patch.Patched());
    g_realCalloc = reinterpret_cast<void* (*)(size_t, size_t)>(patch.Original());
    CDefaultStringHelper helper;
    g_failCalloc = true;
    const char* failed = helper.Encode(L"Bob's car");
    const char* empty = helper.Encode(L"");
    g_failCalloc = false;
    EXPECT_EQ(nullptr, failed);
    EXPECT_STREQ("", empty) << "the empty text needs no buffer";
    EXPECT_STREQ("Bob's car", helper.Encode(L"Bob's car"));
}

}  // namespace
