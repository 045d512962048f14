// Every column of every record kind, written by one connection and read back by another: first
// as the engine sees each column by name, then as a second CDataLayer loads the record. Each field
// holds a value no other field holds, so a statement argument or a row reader put in the wrong
// place shows.
#include <string>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "tests/support/TestDatabase.h"

namespace {

class RoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CDataLayer::csConnected, m_writer.Connect(m_db.Path().c_str()));
        ASSERT_EQ(CDataLayer::csConnected, m_reader.Connect(m_db.Path().c_str()));
    }
    void TearDown() override { m_db.CloseHandle(); }

    // One column of the row with that id, as the engine gives it back as text.
    std::string Column(const char* table, const char* column, long id)
    {
        return m_db.Text(std::string("SELECT ") + column + " FROM " + table + " WHERE ID=" + std::to_string(id));
    }

    CTestDatabase m_db;
    CDataLayer m_writer;
    CDataLayer m_reader;
};

// Vehicles ----------------------------------------------------------------------------------------

void FillVehicle(CVehicle& v, const wchar_t* tag, double expires, long odometer, int year)
{
    const std::wstring t(tag);
    v.SetName((t + L"-name").c_str());
    v.SetNotes((t + L"-notes").c_str());
    v.SetLicensePlate((t + L"-plate").c_str());
    v.SetVIN((t + L"-vin").c_str());
    v.SetDealerName((t + L"-dealer").c_str());
    v.SetDealerPhone((t + L"-dphone").c_str());
    v.SetDealerAddress((t + L"-daddress").c_str());
    v.SetInsurancePolicyNumber((t + L"-policy").c_str());
    v.SetInsuranceAgentName((t + L"-agent").c_str());
    v.SetInsuranceAgentPhone((t + L"-aphone").c_str());
    v.SetInsuranceCoverage((t + L"-coverage").c_str());
    v.SetImagePath((t + L"-image").c_str());
    v.SetInsuranceExpirationDate(expires);
    v.SetCurrentOdometer(odometer);
    v.SetYear(year);
}

void ExpectVehicle(const CVehicle& v, const wchar_t* tag, double expires, long odometer, int year)
{
    const std::wstring t(tag);
    EXPECT_EQ(t + L"-name", v.GetName());
    EXPECT_EQ(t + L"-notes", v.GetNotes());
    EXPECT_EQ(t + L"-plate", v.GetLicensePlate());
    EXPECT_EQ(t + L"-vin", v.GetVIN());
    EXPECT_EQ(t + L"-dealer", v.GetDealerName());
    EXPECT_EQ(t + L"-dphone", v.GetDealerPhone());
    EXPECT_EQ(t + L"-daddress", v.GetDealerAddress());
    EXPECT_EQ(t + L"-policy", v.GetInsurancePolicyNumber());
    EXPECT_EQ(t + L"-agent", v.GetInsuranceAgentName());
    EXPECT_EQ(t + L"-aphone", v.GetInsuranceAgentPhone());
    EXPECT_EQ(t + L"-coverage", v.GetInsuranceCoverage());
    EXPECT_EQ(t + L"-image", v.GetImagePath());
    EXPECT_EQ(expires, v.GetInsuranceExpirationDate());
    EXPECT_EQ(odometer, v.GetCurrentOdometer());
    EXPECT_EQ(year, v.GetYear());
    EXPECT_EQ(0, v.IsDirty());
}

TEST_F(RoundTrip, EveryVehicleColumnInsertedAndUpdated)
{
    CVehicle v;
    v.SetRefID(3000000001u);
    v.SetDateCreated(39500.25);
    v.SetDateModified(39501.5);
    FillVehicle(v, L"a", 39800.75, 123456, 1999);
    ASSERT_EQ(1, m_writer.Save(&v, 1));
    const long id = v.GetID();

    const char* texts[] = {"Name",
                           "Notes",
                           "LicensePlate",
                           "VIN",
                           "DealerName",
                           "DealerPhone",
                           "DealerAddress",
                           "InsurancePolicyNumber",
                           "InsuranceAgentName",
                           "InsuranceAgentPhone",
                           "InsuranceCoverage",
                           "ImagePath"};
    const char* suffixes[] = {"-name",     "-notes",  "-plate", "-vin",    "-dealer",   "-dphone",
                              "-daddress", "-policy", "-agent", "-aphone", "-coverage", "-image"};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(std::string("a") + suffixes[i], Column("Vehicle", texts[i], id)) << texts[i];
    EXPECT_EQ("3000000001", Column("Vehicle", "RefID", id));
    EXPECT_EQ("39500.25", Column("Vehicle", "Created", id));
    EXPECT_EQ("39501.5", Column("Vehicle", "Modified", id));
    EXPECT_EQ("39800.75", Column("Vehicle", "InsuranceExpirationDate", id));
    EXPECT_EQ("123456", Column("Vehicle", "CurrentOdometer", id));
    EXPECT_EQ("1999", Column("Vehicle", "Year", id));

    CVehicle read;
    read.SetID(id);
    ASSERT_EQ(1, m_reader.Load(&read));
    ExpectVehicle(read, L"a", 39800.75, 123456, 1999);
    EXPECT_EQ(3000000001u, read.GetRefID());
    EXPECT_EQ(39500.25, read.GetDateCreated());
    EXPECT_EQ(39501.5, read.GetDateModified());

    // Every editable field anew: the update writes each into its own column.
    FillVehicle(v, L"b", 40100.5, 234567, 2007);
    v.SetDateModified(39700.125);
    ASSERT_EQ(1, m_writer.Save(&v, 1));
    for (int i = 0; i < 12; ++i) EXPECT_EQ(std::string("b") + suffixes[i], Column("Vehicle", texts[i], id)) << texts[i];
    CVehicle updated;
    updated.SetRefID(3000000001u);
    ASSERT_EQ(1, m_reader.LoadByRefID(&updated));
    ExpectVehicle(updated, L"b", 40100.5, 234567, 2007);
    EXPECT_EQ(id, updated.GetID());
    EXPECT_EQ(39500.25, updated.GetDateCreated()) << "an update never writes Created";
    EXPECT_EQ(39700.125, updated.GetDateModified());
}

// Entries -----------------------------------------------------------------------------------------

TEST_F(RoundTrip, EveryEntryColumnInsertedAndUpdated)
{
    CEntry* e = CEntryRecord(3000000002u, CEntry::etTrip)
                    .Date(39510.5)
                    .Odometer(-2)
                    .Amount(12.25f)
                    .Custom(1100.5f, 1250.75f)
                    .Vendor(L"vendor-a")
                    .Description(L"name-a")
                    .Notes(L"notes-a")
                    .Take();
    CObjectListT<CEntry> kept;
    kept.Add(e);
    e->SetRefID(3000000003u);
    e->SetDateCreated(39500.25);
    e->SetDateModified(39501.5);
    ASSERT_EQ(1, m_writer.Save(e, 1));
    const long id = e->GetID();
    EXPECT_EQ(
        "3000000003|name-a|notes-a|39500.25|39501.5|39510.5|4294967294|3000000002|3|vendor-a|12.25|1100.5|1250.75",
        m_db.Text("SELECT RefID||'|'||Name||'|'||Notes||'|'||Created||'|'||Modified||'|'||Date||'|'||Odometer||"
                  "'|'||VehicleID||'|'||Type||'|'||Vendor||'|'||Amount||'|'||Custom1||'|'||Custom2 FROM Entry "
                  "WHERE ID=" +
                  std::to_string(id)));

    CEntry read;
    read.SetID(id);
    ASSERT_EQ(1, m_reader.Load(&read));
    EXPECT_EQ(3000000003u, read.GetRefID());
    EXPECT_STREQ(L"name-a", read.GetName());
    EXPECT_STREQ(L"notes-a", read.GetNotes());
    EXPECT_EQ(39500.25, read.GetDateCreated());
    EXPECT_EQ(39501.5, read.GetDateModified());
    EXPECT_EQ(39510.5, read.GetDate());
    EXPECT_EQ(-2, read.GetOdometer());
    EXPECT_EQ(3000000002u, read.GetVehicleID());
    EXPECT_EQ(CEntry::etTrip, read.GetType());
    EXPECT_STREQ(L"vendor-a", read.GetVendor());
    EXPECT_EQ(12.25f, read.GetAmount());
    EXPECT_EQ(1100.5f, read.GetCustom1());
    EXPECT_EQ(1250.75f, read.GetCustom2());
    EXPECT_EQ(0, read.IsDirty());

    e->SetName(L"name-b");
    e->SetNotes(L"notes-b");
    e->SetDate(39520.75);
    e->SetOdometer(7654321);
    e->SetVendor(L"vendor-b");
    e->SetAmount(99.5f);
    e->SetCustom1(3.25f);
    e->SetCustom2(4.125f);
    e->SetDateModified(39600.5);
    ASSERT_EQ(1, m_writer.Save(e, 1));
    CObjectListT<CEntry> list;
    CEntryFilter all;
    ASSERT_EQ(1, m_reader.Load(&list, &all));
    ASSERT_EQ(1, list.GetCount());
    const CEntry* updated = list.Get(0);
    EXPECT_STREQ(L"name-b", updated->GetName());
    EXPECT_STREQ(L"notes-b", updated->GetNotes());
    EXPECT_EQ(39520.75, updated->GetDate());
    EXPECT_EQ(7654321, updated->GetOdometer());
    EXPECT_STREQ(L"vendor-b", updated->GetVendor());
    EXPECT_EQ(99.5f, updated->GetAmount());
    EXPECT_EQ(3.25f, updated->GetCustom1());
    EXPECT_EQ(4.125f, updated->GetCustom2());
    EXPECT_EQ(39600.5, updated->GetDateModified());
    EXPECT_EQ(39500.25, updated->GetDateCreated());
    EXPECT_EQ(3000000002u, updated->GetVehicleID());
    EXPECT_EQ(CEntry::etTrip, updated->GetType());
    EXPECT_EQ(3000000003u, updated->GetRefID());
}

// Keywords and reminders --------------------------------------------------------------------------

TEST_F(RoundTrip, EveryKeywordColumn)
{
    CKeyword k;
    k.SetType(CKeyword::ktRepair);
    k.SetName(L"Brakes");
    k.SetRefID(3000000004u);
    k.SetDateCreated(39500.25);
    k.SetDateModified(39501.5);
    ASSERT_EQ(1, m_writer.Save(&k, 1));
    EXPECT_EQ("3000000004|Brakes|2|39500.25|39501.5",
              m_db.Text("SELECT RefID||'|'||Name||'|'||Type||'|'||Created||'|'||Modified FROM Keyword"));
    CObjectListT<CKeyword> list;
    ASSERT_EQ(1, m_reader.Load(&list, CKeyword::ktRepair));
    ASSERT_EQ(1, list.GetCount());
    const CKeyword* read = list.Get(0);
    EXPECT_EQ(k.GetID(), read->GetID());
    EXPECT_EQ(3000000004u, read->GetRefID());
    EXPECT_STREQ(L"Brakes", read->GetName());
    EXPECT_EQ(CKeyword::ktRepair, read->GetType());
    EXPECT_EQ(39500.25, read->GetDateCreated());
    EXPECT_EQ(39501.5, read->GetDateModified());
    EXPECT_EQ(0, read->IsDirty());
}

TEST_F(RoundTrip, EveryReminderColumnInsertedAndUpdated)
{
    CNotification n;
    n.SetName(L"Oil");
    n.SetVehicleID(3000000005u);
    n.SetOdometer(-3);
    n.SetDate(39550.5);
    n.SetRefID(3000000006u);
    n.SetDateCreated(39500.25);
    n.SetDateModified(39501.5);
    ASSERT_EQ(1, m_writer.Save(&n, 1));
    EXPECT_EQ(
        "3000000006|Oil|39500.25|39501.5|39550.5|-3|3000000005",
        m_db.Text("SELECT RefID||'|'||Name||'|'||Created||'|'||Modified||'|'||Date||'|'||Odometer||'|'||VehicleID "
                  "FROM Notification"));
    n.SetName(L"Oil and filter");
    n.SetOdometer(45000);
    n.SetDate(39560.75);
    n.SetDateModified(39502.5);
    ASSERT_EQ(1, m_writer.Save(&n, 1));
    CObjectListT<CNotification> list;
    ASSERT_EQ(1, m_reader.Load(&list, 3000000005u));
    ASSERT_EQ(1, list.GetCount());
    const CNotification* read = list.Get(0);
    EXPECT_EQ(3000000006u, read->GetRefID());
    EXPECT_STREQ(L"Oil and filter", read->GetName());
    EXPECT_EQ(39500.25, read->GetDateCreated());
    EXPECT_EQ(39502.5, read->GetDateModified());
    EXPECT_EQ(39560.75, read->GetDate());
    EXPECT_EQ(45000, read->GetOdometer());
    EXPECT_EQ(3000000005u, read->GetVehicleID());
    EXPECT_EQ(0, read->IsDirty());
}

}  // namespace
