// Whole synchronisations: the manager double runs as a separate process, finds AlkSync.dll by its
// registration and drives it as ActiveSync would; the test looks at both sides afterwards, the
// desktop file through AlkBiz and the device's files through the device application's own packet
// reader. Edits the test makes on the desktop run on a pinned clock far from the manager's, so
// that their modification dates can never match a date the provider stamped.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "activesync/SyncDataLayer.h"
#include "resources/activesync/resource.h"
#include "sdk/activesync/manager/SyncRun.h"
#include "tests/activesync/ManagerTestSupport.h"

using namespace alk_sync_test;

namespace {

std::wstring Text(const wchar_t* text)
{
    return text ? text : L"";
}

CDevicePacket VehiclePacket(unsigned long ref, const std::wstring& name, int year = 1999, long odometer = 1000)
{
    CDevicePacket p(CBaseObject::otVehicle);
    p.SetText(CDevicePacket::Name, name).SetText(CDevicePacket::Notes, L"");
    p.SetInteger(CDevicePacket::VehicleRefID, static_cast<int32_t>(ref));
    for (uint32_t tag : {CDevicePacket::LicensePlate, CDevicePacket::VIN, CDevicePacket::DealerName,
                         CDevicePacket::DealerPhone, CDevicePacket::DealerAddress, CDevicePacket::PolicyNumber,
                         CDevicePacket::AgentName, CDevicePacket::AgentPhone, CDevicePacket::Coverage}) {
        p.SetText(tag, L"");
    }
    p.SetDouble(CDevicePacket::ExpirationDate, 0).SetInteger(CDevicePacket::CurrentOdometer, odometer);
    p.SetInteger(CDevicePacket::Year, year).SetText(CDevicePacket::ImagePath, L"");
    return p;
}

CDevicePacket EntryPacket(unsigned long vehicle, CEntry::Type type, const std::wstring& name, double date,
                          long odometer, float amount)
{
    CDevicePacket p(CBaseObject::otEntry);
    p.SetText(CDevicePacket::Name, name).SetText(CDevicePacket::Notes, L"");
    p.SetDouble(CDevicePacket::EntryDate, date).SetInteger(CDevicePacket::EntryOdometer, odometer);
    p.SetInteger(CDevicePacket::EntryVehicle, static_cast<int32_t>(vehicle));
    p.SetInteger(CDevicePacket::EntryType, type).SetText(CDevicePacket::Vendor, L"Corner shop");
    p.SetFloat(CDevicePacket::Amount, amount).SetFloat(CDevicePacket::Custom1, 0).SetFloat(CDevicePacket::Custom2, 0);
    return p;
}

class SyncRunTest : public CManagerFixture {
protected:
    // The desktop's records of a kind, as the file holds them now.
    std::vector<std::unique_ptr<CVehicle>> Vehicles()
    {
        CObjectListT<CVehicle> list;
        EXPECT_TRUE(db.Db().Load(&list));
        return Take(list);
    }
    std::vector<std::unique_ptr<CEntry>> Entries(unsigned long vehicle = 0)
    {
        CObjectListT<CEntry> list;
        CEntryFilter filter;
        filter.SetVehicleID(vehicle);
        EXPECT_TRUE(db.Db().Load(&list, &filter));
        return Take(list);
    }
    template <class T>
    static std::vector<std::unique_ptr<T>> Take(CObjectListT<T>& list)
    {
        std::vector<std::unique_ptr<T>> records;
        while (list.GetCount() > 0) {
            T* record = list.Get(0);
            list.DisownItem(0);
            records.emplace_back(record);
        }
        return records;
    }
    // The device file of a desktop record.
    std::string FileOf(int type, unsigned long ref)
    {
        const CSyncState state = manager.State();
        const CSyncObject* object = FindObject(state, type, ref);
        EXPECT_NE(nullptr, object) << "no object of type " << type << " ref " << ref;
        return object ? object->file : std::string();
    }
    // A desktop edit at a time the provider never stamps.
    template <class Edit>
    void OnDesktop(int day, Edit edit)
    {
        CFixedClock clock(Utc(2031, 1, static_cast<WORD>(day), 12));
        edit(db.Db());
    }
    template <class T>
    void Resave(long row, const std::function<void(T&)>& change, int day)
    {
        OnDesktop(day, [&](CDataLayer& data) {
            T record;
            record.SetID(row);
            ASSERT_TRUE(data.Load(&record));
            change(record);
            ASSERT_TRUE(data.Save(&record, 0));
        });
    }
    void ExpectQuietRun()
    {
        const int reloads = window.Reloads();
        ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
        EXPECT_EQ(0, manager.Count("Setup(")) << manager.Text();
        EXPECT_EQ(0, manager.Count("DeleteObj(")) << manager.Text();
        EXPECT_EQ(reloads, window.Reloads());
    }
};

// The packet's properties in order and every field against the desktop record.
void ExpectSameObject(const CBaseObject& record, const CSyncObject& object, const CDevicePacket& packet)
{
    SCOPED_TRACE(object.file);
    std::vector<uint32_t> tags;
    for (const CDevicePacket::Property& p : packet.Properties()) tags.push_back(p.tag);
    EXPECT_EQ(record.GetObjectType(), packet.GetObjectType());
    EXPECT_EQ(Text(record.GetName()), packet.Text(CDevicePacket::Name));
    EXPECT_EQ(Text(record.GetNotes()), packet.Text(CDevicePacket::Notes));
    std::vector<uint32_t> expected = {CDevicePacket::ObjectType, CDevicePacket::Name, CDevicePacket::Notes};
    switch (record.GetObjectType()) {
    case CBaseObject::otVehicle: {
        const CVehicle& v = static_cast<const CVehicle&>(record);
        expected.insert(expected.end(),
                        {CDevicePacket::VehicleRefID, CDevicePacket::LicensePlate, CDevicePacket::VIN,
                         CDevicePacket::DealerName, CDevicePacket::DealerPhone, CDevicePacket::DealerAddress,
                         CDevicePacket::PolicyNumber, CDevicePacket::AgentName, CDevicePacket::AgentPhone,
                         CDevicePacket::Coverage, CDevicePacket::ExpirationDate, CDevicePacket::CurrentOdometer,
                         CDevicePacket::Year, CDevicePacket::ImagePath});
        EXPECT_EQ(static_cast<int32_t>(HandleFields(object).ref), packet.Integer(CDevicePacket::VehicleRefID));
        EXPECT_EQ(static_cast<int32_t>(v.GetRefID()), packet.Integer(CDevicePacket::VehicleRefID));
        EXPECT_EQ(Text(v.GetLicensePlate()), packet.Text(CDevicePacket::LicensePlate));
        EXPECT_EQ(Text(v.GetVIN()), packet.Text(CDevicePacket::VIN));
        EXPECT_EQ(Text(v.GetDealerName()), packet.Text(CDevicePacket::DealerName));
        EXPECT_EQ(Text(v.GetDealerPhone()), packet.Text(CDevicePacket::DealerPhone));
        EXPECT_EQ(Text(v.GetDealerAddress()), packet.Text(CDevicePacket::DealerAddress));
        EXPECT_EQ(Text(v.GetInsurancePolicyNumber()), packet.Text(CDevicePacket::PolicyNumber));
        EXPECT_EQ(Text(v.GetInsuranceAgentName()), packet.Text(CDevicePacket::AgentName));
        EXPECT_EQ(Text(v.GetInsuranceAgentPhone()), packet.Text(CDevicePacket::AgentPhone));
        EXPECT_EQ(Text(v.GetInsuranceCoverage()), packet.Text(CDevicePacket::Coverage));
        EXPECT_EQ(v.GetInsuranceExpirationDate(), packet.Double(CDevicePacket::ExpirationDate, -1));
        EXPECT_EQ(v.GetCurrentOdometer(), packet.Integer(CDevicePacket::CurrentOdometer, -1));
        EXPECT_EQ(v.GetYear(), packet.Integer(CDevicePacket::Year, -1));
        EXPECT_EQ(Text(v.GetImagePath()), packet.Text(CDevicePacket::ImagePath, L"?"));
        break;
    }
    case CBaseObject::otEntry: {
        const CEntry& e = static_cast<const CEntry&>(record);
        expected.insert(expected.end(), {CDevicePacket::EntryDate, CDevicePacket::EntryOdometer,
                                         CDevicePacket::EntryVehicle, CDevicePacket::EntryType, CDevicePacket::Vendor,
                                         CDevicePacket::Amount, CDevicePacket::Custom1, CDevicePacket::Custom2});
        EXPECT_EQ(e.GetDate(), packet.Double(CDevicePacket::EntryDate, -1));
        EXPECT_EQ(e.GetOdometer(), packet.Integer(CDevicePacket::EntryOdometer, -1));
        EXPECT_EQ(static_cast<int32_t>(e.GetVehicleID()), packet.Integer(CDevicePacket::EntryVehicle));
        EXPECT_EQ(e.GetType(), packet.Integer(CDevicePacket::EntryType));
        EXPECT_EQ(Text(e.GetVendor()), packet.Text(CDevicePacket::Vendor, L"?"));
        EXPECT_EQ(e.GetAmount(), packet.Float(CDevicePacket::Amount, -1));
        EXPECT_EQ(e.GetCustom1(), packet.Float(CDevicePacket::Custom1, -1));
        EXPECT_EQ(e.GetCustom2(), packet.Float(CDevicePacket::Custom2, -1));
        break;
    }
    case CBaseObject::otNotification: {
        const CNotification& n = static_cast<const CNotification&>(record);
        expected.insert(expected.end(),
                        {CDevicePacket::ReminderDate, CDevicePacket::ReminderOdometer, CDevicePacket::ReminderVehicle});
        EXPECT_EQ(n.GetDate(), packet.Double(CDevicePacket::ReminderDate, -1));
        EXPECT_EQ(n.GetOdometer(), packet.Integer(CDevicePacket::ReminderOdometer, -1));
        EXPECT_EQ(static_cast<int32_t>(n.GetVehicleID()), packet.Integer(CDevicePacket::ReminderVehicle));
        break;
    }
    case CBaseObject::otKeyword:
        expected.push_back(CDevicePacket::KeywordType);
        EXPECT_EQ(static_cast<const CKeyword&>(record).GetType(), packet.Integer(CDevicePacket::KeywordType));
        break;
    default: ADD_FAILURE() << "object type " << record.GetObjectType();
    }
    EXPECT_EQ(expected, tags);
}

std::unique_ptr<CBaseObject> LoadRecord(CDataLayer& db, int type, long row)
{
    std::unique_ptr<CBaseObject> record;
    int loaded = 0;
    switch (type) {
    case CBaseObject::otVehicle: {
        auto v = std::make_unique<CVehicle>();
        v->SetID(row);
        loaded = db.Load(v.get());
        record = std::move(v);
        break;
    }
    case CBaseObject::otEntry: {
        auto e = std::make_unique<CEntry>();
        e->SetID(row);
        loaded = db.Load(e.get());
        record = std::move(e);
        break;
    }
    case CBaseObject::otNotification: {
        auto n = std::make_unique<CNotification>();
        n->SetID(row);
        loaded = db.Load(n.get());
        record = std::move(n);
        break;
    }
    case CBaseObject::otKeyword: {
        auto k = std::make_unique<CKeyword>();
        k->SetID(row);
        loaded = db.Load(k.get());
        record = std::move(k);
        break;
    }
    default: break;
    }
    if (!loaded) record.reset();
    return record;
}

}  // namespace

TEST_F(SyncRunTest, TheSampleDatabaseReachesAnEmptyDeviceAndASecondRunChangesNothing)
{
    db.CloseDb();
    CopySampleDatabase(db.Path());
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(manager.Has("starting afresh: every object is new to the other side"));
    EXPECT_TRUE(manager.Has("RemoveDuplicates(\"ALK\", 0) = 0x00000000"));
    EXPECT_EQ(0, window.Reloads()) << "nothing was written on the desktop";

    CDataLayer& data = db.Db();
    const int records =
        data.GetNumVehicles() + data.GetNumEntries() + data.GetNumNotifications() + data.GetNumKeywords();
    ASSERT_GT(data.GetNumEntries(), 100);
    const CSyncState state = manager.State();
    ASSERT_EQ(static_cast<size_t>(records), state.objects.size());
    EXPECT_EQ(state.objects.size(), objects.Files().size());
    std::set<std::pair<int, uint32_t>> seen;
    for (const CSyncObject& object : state.objects) {
        const ItemFields fields = HandleFields(object);
        EXPECT_TRUE(seen.insert({fields.type, fields.ref}).second) << "one file per record";
        std::unique_ptr<CBaseObject> record = LoadRecord(data, fields.type, fields.row);
        ASSERT_NE(nullptr, record) << object.file;
        EXPECT_EQ(fields.ref, record->GetRefID());
        EXPECT_EQ(fields.modified, record->GetDateModified());
        ExpectSameObject(*record, object, objects.Read(object.file));
        EXPECT_EQ(CDeviceFolder::Hash(objects.Bytes(object.file)), object.hash);
    }
    db.CloseDb();

    const std::string device = objects.Snapshot();
    const std::string desktop = FileBytes(db.Path());
    const std::string stateText = FileBytes(std::wstring(manager.Folder()) + L"\\state.txt");
    ExpectQuietRun();
    EXPECT_TRUE(
        manager.Has("summary: fresh=0 sent=0 received=0 deleted-on-device=0 deleted-on-desktop=0 "
                    "conflicts=0 failed=0 exit=0"))
        << manager.Text();
    EXPECT_EQ(0, manager.Count("RemoveDuplicates("));
    EXPECT_EQ(device, objects.Snapshot());
    EXPECT_TRUE(desktop == FileBytes(db.Path())) << "the desktop file was written";
    EXPECT_EQ(stateText, FileBytes(std::wstring(manager.Folder()) + L"\\state.txt"));
}

TEST_F(SyncRunTest, NewChangedAndDeletedDeviceObjectsReachTheDesktop)
{
    db.AddVehicle(0x100, L"Van");
    const long e1 = db.AddEntry(0x101, 0x100, CEntry::etFuel, 40000, 1000, 30.0f);
    db.AddEntry(0x102, 0x100, CEntry::etRepair, 40001, 1100, 90.0f, L"Brakes");
    db.AddVehicle(0x200, L"Old car");
    db.AddEntry(0x201, 0x200, CEntry::etExpense, 40002, 500, 5.0f, L"Parking");
    db.CloseDb();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    ASSERT_EQ(5u, objects.Files().size());

    objects.Write("A0000001.pkt", VehiclePacket(0x300, L"Camper", 2004, 8000));
    objects.Write("A0000002.pkt", EntryPacket(0x300, CEntry::etFuel, L"", 40010, 8020, 45.5f));
    objects.Write("A0000003.pkt", EntryPacket(0x300, CEntry::etTrip, L"To the coast", 40011, 8120, 12.0f));
    const std::string changed = FileOf(CBaseObject::otEntry, 0x101);
    CDevicePacket fuel = objects.Read(changed);
    fuel.SetFloat(CDevicePacket::Amount, 31.25f).SetText(CDevicePacket::Notes, L"Receipt lost");
    objects.Write(changed, fuel);
    const std::string oldCar = FileOf(CBaseObject::otVehicle, 0x200), parking = FileOf(CBaseObject::otEntry, 0x201);
    objects.Remove(oldCar);
    objects.Remove(parking);

    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(
        manager.Has("summary: fresh=0 sent=0 received=4 deleted-on-device=0 deleted-on-desktop=2 "
                    "conflicts=0 failed=0 exit=0"))
        << manager.Text();
    // The vehicle took its entry with it: the entry's own deletion finds it gone.
    EXPECT_TRUE(manager.Has("IsValidObject(" + parking + ") = 0x80140007")) << manager.Text();
    EXPECT_EQ(1, window.Reloads()) << "one reload for the run";

    auto vehicles = Vehicles();
    ASSERT_EQ(2u, vehicles.size());
    EXPECT_EQ(0x100u, vehicles[0]->GetRefID());
    EXPECT_EQ(0x300u, vehicles[1]->GetRefID());
    EXPECT_EQ(L"Camper", Text(vehicles[1]->GetName()));
    EXPECT_EQ(2004, vehicles[1]->GetYear());
    auto camper = Entries(0x300);
    ASSERT_EQ(2u, camper.size());
    EXPECT_EQ(45.5f, camper[0]->GetAmount());
    EXPECT_EQ(L"To the coast", Text(camper[1]->GetName()));
    EXPECT_EQ(CEntry::etTrip, camper[1]->GetType());
    auto van = Entries(0x100);
    ASSERT_EQ(2u, van.size());
    EXPECT_EQ(e1, van[0]->GetID());
    EXPECT_EQ(31.25f, van[0]->GetAmount());
    EXPECT_EQ(L"Receipt lost", Text(van[0]->GetNotes()));
    EXPECT_EQ(L"Brakes", Text(van[1]->GetName()));
    EXPECT_EQ(90.0f, van[1]->GetAmount());
    EXPECT_EQ(4, db.Db().GetNumEntries());
    db.CloseDb();

    // The device's new objects are known now, under the names the device gave them.
    const CSyncState state = manager.State();
    EXPECT_EQ("A0000001.pkt", FileOf(CBaseObject::otVehicle, 0x300));
    EXPECT_EQ(6u, state.objects.size());
    ExpectQuietRun();
}

TEST_F(SyncRunTest, DesktopChangesReachTheDevice)
{
    const long van = db.AddVehicle(0x100, L"Van");
    db.AddEntry(0x101, 0x100, CEntry::etFuel, 40000, 1000, 30.0f);
    const long brakes = db.AddEntry(0x102, 0x100, CEntry::etRepair, 40001, 1100, 90.0f, L"Brakes");
    db.CloseDb();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    const std::string vanFile = FileOf(CBaseObject::otVehicle, 0x100), fuelFile = FileOf(CBaseObject::otEntry, 0x101),
                      brakesFile = FileOf(CBaseObject::otEntry, 0x102);
    const std::vector<uint8_t> fuelBytes = objects.Bytes(fuelFile);

    Resave<CVehicle>(
        van, [](CVehicle& v) { v.SetName(L"Blue van"); }, 1);
    OnDesktop(1, [&](CDataLayer& data) {
        ASSERT_TRUE(
            CEntryRecord(0x100, CEntry::etExpense).Description(L"Car wash").Amount(8.5f).Date(40005).Save(data));
        ASSERT_TRUE(data.Delete(CBaseObject::otEntry, static_cast<unsigned long>(brakes)));
    });
    db.CloseDb();

    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(
        manager.Has("summary: fresh=0 sent=2 received=0 deleted-on-device=1 deleted-on-desktop=0 "
                    "conflicts=0 failed=0 exit=0"))
        << manager.Text();
    EXPECT_EQ(0, window.Reloads()) << "the desktop was not written";
    const std::vector<std::string> files = objects.Files();
    EXPECT_EQ(files.end(), std::find(files.begin(), files.end(), brakesFile));
    EXPECT_EQ(L"Blue van", objects.Read(vanFile).Text(CDevicePacket::Name));
    EXPECT_TRUE(fuelBytes == objects.Bytes(fuelFile));

    auto entries = Entries(0x100);
    ASSERT_EQ(2u, entries.size());
    const CSyncState state = manager.State();
    const CSyncObject* wash = FindObject(state, CBaseObject::otEntry, entries[1]->GetRefID());
    ASSERT_NE(nullptr, wash);
    ExpectSameObject(*entries[1], *wash, objects.Read(wash->file));
    db.CloseDb();
    ExpectQuietRun();
}

TEST_F(SyncRunTest, ConflictsGoByTheRuleAndEqualChangesNeedNoChoice)
{
    db.AddVehicle(0x100, L"Van");
    const long lyon = db.AddEntry(0x101, 0x100, CEntry::etTrip, 40000, 1000, 5.0f, L"To Lyon");
    const long nice = db.AddEntry(0x102, 0x100, CEntry::etTrip, 40001, 1100, 6.0f, L"To Nice");
    db.CloseDb();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    const std::string lyonFile = FileOf(CBaseObject::otEntry, 0x101), niceFile = FileOf(CBaseObject::otEntry, 0x102);
    auto onDevice = [&](const std::string& file, const std::function<void(CDevicePacket&)>& change) {
        CDevicePacket p = objects.Read(file);
        change(p);
        objects.Write(file, p);
        return p.Write();
    };

    // Both trips changed on both sides: the desktop wins.
    Resave<CEntry>(
        lyon, [](CEntry& e) { e.SetName(L"Lyon by road"); }, 1);
    Resave<CEntry>(
        nice, [](CEntry& e) { e.SetAmount(7.0f); }, 1);
    db.CloseDb();
    onDevice(lyonFile, [](CDevicePacket& p) { p.SetText(CDevicePacket::Name, L"Lyon by rail"); });
    onDevice(niceFile, [](CDevicePacket& p) { p.SetFloat(CDevicePacket::Amount, 9.0f); });
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(manager.Has("conflict " + lyonFile +
                            ": desktop Trip \"Lyon by road\", device Trip \"Lyon by rail\"; desktop wins"))
        << manager.Text();
    EXPECT_TRUE(
        manager.Has("conflict " + niceFile + ": desktop Trip \"To Nice\", device Trip \"To Nice\"; desktop wins"))
        << manager.Text();
    EXPECT_EQ(L"Lyon by road", objects.Read(lyonFile).Text(CDevicePacket::Name));
    EXPECT_EQ(7.0f, objects.Read(niceFile).Float(CDevicePacket::Amount));
    auto entries = Entries();
    ASSERT_EQ(2u, entries.size()) << "the device's copies are gone again";
    EXPECT_EQ(L"Lyon by road", Text(entries[0]->GetName()));
    EXPECT_EQ(7.0f, entries[1]->GetAmount());
    db.CloseDb();

    // Again, the device wins.
    Resave<CEntry>(
        lyon, [](CEntry& e) { e.SetName(L"Lyon, desk"); }, 2);
    db.CloseDb();
    const std::vector<uint8_t> written = onDevice(lyonFile, [](CDevicePacket& p) {
        p.SetText(CDevicePacket::Name, L"Lyon, pocket").SetInteger(CDevicePacket::EntryOdometer, 1250);
    });
    ASSERT_EQ(0, manager.Sync("--selected --conflicts device")) << manager.Text();
    EXPECT_TRUE(manager.Has("conflict " + lyonFile +
                            ": desktop Trip \"Lyon, desk\", device Trip \"Lyon, pocket\"; device wins"))
        << manager.Text();
    EXPECT_TRUE(written == objects.Bytes(lyonFile)) << "the device keeps its version";
    entries = Entries();
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(lyon, entries[0]->GetID());
    EXPECT_EQ(L"Lyon, pocket", Text(entries[0]->GetName()));
    EXPECT_EQ(1250, entries[0]->GetOdometer());
    db.CloseDb();

    // The same change on both sides.
    Resave<CEntry>(
        lyon, [](CEntry& e) { e.SetNotes(L"Tolls paid"); }, 3);
    db.CloseDb();
    onDevice(lyonFile, [](CDevicePacket& p) { p.SetText(CDevicePacket::Notes, L"Tolls paid"); });
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(manager.Has("conflict " + lyonFile + ": nothing to choose")) << manager.Text();
    EXPECT_TRUE(manager.Has("GetConflictInfo(" + lyonFile + ") = 0x80140005"));
    EXPECT_EQ(2u, Entries().size());
    db.CloseDb();
    ExpectQuietRun();
}

TEST_F(SyncRunTest, OneCarMadeOnBothSidesEndsAsOneWithEveryEntry)
{
    const long row = db.AddVehicle(0x10, L"Beetle", 1972, 50000);
    db.AddEntry(0x11, 0x10, CEntry::etFuel, 40000, 50100, 20.0f);
    db.AddEntry(0x12, 0x10, CEntry::etRepair, 40001, 50200, 150.0f, L"Clutch");
    CVehicle desktopCar;
    desktopCar.SetID(row);
    ASSERT_TRUE(db.Db().Load(&desktopCar));
    db.CloseDb();
    // The same car made on the device, with every field as the desktop has it.
    CDevicePacket car = VehiclePacket(0x20, L"Beetle", 1972, 50000);
    car.SetDouble(CDevicePacket::ExpirationDate, desktopCar.GetInsuranceExpirationDate());
    car.SetText(CDevicePacket::LicensePlate, Text(desktopCar.GetLicensePlate()));
    objects.Write("B0000001.pkt", car);
    objects.Write("B0000002.pkt", EntryPacket(0x20, CEntry::etExpense, L"Wax", 40002, 50300, 9.0f));
    objects.Write("B0000003.pkt", EntryPacket(0x20, CEntry::etTrip, L"Rally", 40003, 50400, 30.0f));

    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(manager.Has("RemoveDuplicates(\"ALK\", 0) = 0x80140004")) << manager.Text();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();

    auto vehicles = Vehicles();
    ASSERT_EQ(1u, vehicles.size());
    const unsigned long survivor = vehicles[0]->GetRefID();
    EXPECT_EQ(4u, Entries(survivor).size());
    EXPECT_EQ(4u, Entries().size());
    db.CloseDb();
    int cars = 0;
    std::set<std::wstring> names;
    for (const std::string& file : objects.Files()) {
        const CDevicePacket p = objects.Read(file);
        if (p.GetObjectType() == CBaseObject::otVehicle) {
            ++cars;
            EXPECT_EQ(static_cast<int32_t>(survivor), p.Integer(CDevicePacket::VehicleRefID));
        } else {
            EXPECT_EQ(static_cast<int32_t>(survivor), p.Integer(CDevicePacket::EntryVehicle)) << file << "\n"
                                                                                              << manager.Text();
            names.insert(p.Text(CDevicePacket::Name));
        }
    }
    EXPECT_EQ(1, cars);
    EXPECT_EQ((std::set<std::wstring>{L"", L"Clutch", L"Wax", L"Rally"}), names);
    ExpectQuietRun();
}

TEST_F(SyncRunTest, AnotherDatabaseStartsAfreshAndAReplacedStoreEndsTheRun)
{
    db.AddVehicle(0x100, L"First");
    db.CloseDb();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    SyncDatabase other;
    other.AddVehicle(0x500, L"Second");
    const DWORD otherID = other.Db().GetStoreID();
    other.CloseDb();

    // The store replaced in the middle of a run: nothing is written, the state stays.
    const std::string state = FileBytes(std::wstring(manager.Folder()) + L"\\state.txt");
    const std::string device = objects.Snapshot();
    {
        SyncOptions options;
        options.statePath = manager.StatePath();
        options.initializeFlags = REPL_INIT_SELECTED_DEVICE;
        options.onStage = [&](SyncOptions::Stage stage) {
            if (stage == SyncOptions::afterStoreInfo) DesktopKey::SetPath(other.AnsiPath());
        };
        CManagerLog log;
        EXPECT_EQ(exitStoreReplaced, CSyncRun(options, log).Run());
    }
    EXPECT_EQ(state, FileBytes(std::wstring(manager.Folder()) + L"\\state.txt"));
    EXPECT_EQ(device, objects.Snapshot());

    // The next run finds the other store and joins both.
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(manager.Has("starting afresh: every object is new to the other side")) << manager.Text();
    EXPECT_TRUE(manager.Has("RemoveDuplicates(\"ALK\", 0) = 0x00000000"));
    const CSyncState joined = manager.State();
    ASSERT_EQ(8u, joined.storeID.size());
    EXPECT_EQ(0, std::memcmp(&otherID, joined.storeID.data(), 4));
    CObjectListT<CVehicle> vehicles;
    ASSERT_TRUE(other.Db().Load(&vehicles));
    ASSERT_EQ(2, vehicles.GetCount());
    EXPECT_EQ(0x500u, vehicles.Get(0)->GetRefID());
    EXPECT_EQ(0x100u, vehicles.Get(1)->GetRefID());
    other.CloseDb();
    EXPECT_EQ(2u, objects.Files().size());
    EXPECT_EQ(1, db.Db().GetNumVehicles()) << "the first database is left alone";
}

TEST_F(SyncRunTest, AFailedEnumerationEndsTheRunAndDeletesNothing)
{
    db.AddVehicle(0x100, L"Van");
    db.AddEntry(0x101, 0x100, CEntry::etFuel, 40000, 1000, 30.0f);
    db.CloseDb();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    const std::wstring statePath = std::wstring(manager.Folder()) + L"\\state.txt";
    const std::string state = FileBytes(statePath), device = objects.Snapshot(), desktop = FileBytes(db.Path());

    // The desktop file unreadable once the store has started: no item can be enumerated, and
    // none of the device's objects may be taken for deleted.
    const std::string logPath = manager.LogPath() + "-failed.txt";
    {
        SyncOptions options;
        options.statePath = manager.StatePath();
        options.initializeFlags = REPL_INIT_SELECTED_DEVICE;
        options.onStage = [&](SyncOptions::Stage stage) {
            if (stage != SyncOptions::afterStoreInfo) return;
            std::ofstream out(db.Path().c_str(), std::ios::binary | std::ios::trunc);
            out << std::string(4096, 'x');
        };
        CManagerLog log;
        ASSERT_TRUE(log.Open(logPath));
        EXPECT_EQ(exitEnumeration, CSyncRun(options, log).Run());
    }
    manager.ReadLog(logPath);
    EXPECT_TRUE(manager.Has("FindFirstItem() = 0x80004005 exists=0")) << manager.Text();
    EXPECT_EQ(0, manager.Count("Setup(") + manager.Count("DeleteObj(") + manager.Count("IsValidObject("));
    EXPECT_TRUE(manager.Has("DllCanUnloadNow() = 0x00000000")) << manager.Text();
    EXPECT_EQ(state, FileBytes(statePath));
    EXPECT_EQ(device, objects.Snapshot());

    {
        std::ofstream out(db.Path().c_str(), std::ios::binary | std::ios::trunc);
        out << desktop;
    }
    ExpectQuietRun();
}

TEST_F(SyncRunTest, AStoreThatCannotStartIsReportedAndNothingMoves)
{
    const std::string box = "box caption=\"" + LoadAnsi(IDS_ERROR_CAPTION) + "\" text=\"";
    DeviceState::SetDevicePath(L"\\Autolark\\Gone.dat");
    EXPECT_EQ(exitInitialize, manager.Sync());
    EXPECT_TRUE(manager.Has(box + LoadAnsi(IDS_ERROR_NO_DEVICE_DATABASE) + "\" owner=manager")) << manager.Text();
    // The other refusals by the manager's library in this process: the same run, quicker.
    EXPECT_EQ(exitInitialize, manager.SyncHere({"--remote"}));
    EXPECT_EQ(0, manager.Count("box ")) << "a remote connection shows nothing on the desktop";
    EXPECT_EQ(LoadAnsi(IDS_ERROR_NO_DEVICE_DATABASE) + "\r\n", device.Messages());
    DeviceState::SetDevicePath(L"\\Autolark\\Autolark.dat");

    DesktopKey::SetPath(db.AnsiPath() + ".gone");
    EXPECT_EQ(exitInitialize, manager.SyncHere({}));
    EXPECT_TRUE(manager.Has(box + LoadAnsi(IDS_ERROR_NO_DESKTOP_DATABASE) + "\" owner=manager")) << manager.Text();
    DesktopKey::SetPath(db.AnsiPath());

    DeviceState::SetDword(L"QueryFails", 1);
    EXPECT_EQ(exitStoreInfo, manager.SyncHere({}));
    EXPECT_TRUE(manager.Has(box + LoadAnsi(IDS_ERROR_DEVICE_QUERY) + "\" owner=manager")) << manager.Text();
    EXPECT_FALSE(MutexHeldElsewhere());
    DeviceState::SetDword(L"QueryFails", 0);
    DeviceState::SetDword(L"SyncValue", 0);
    EXPECT_EQ(exitStoreInfo, manager.SyncHere({"--remote"}));
    EXPECT_EQ(0, manager.Count("box "));
    EXPECT_EQ(LoadAnsi(IDS_ERROR_NO_DEVICE_DATABASE) + "\r\n" + LoadAnsi(IDS_ERROR_INVALID_DEVICE_DATABASE) + "\r\n",
              device.Messages());
    EXPECT_TRUE(manager.Has("DllCanUnloadNow() = 0x00000000")) << manager.Text();

    HKEY type = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, PocketPCTypeKey().c_str(), 0, KEY_WRITE, &type));
    const DWORD disabled = 1;
    RegSetValueExA(type, "Disabled", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&disabled), sizeof disabled);
    RegCloseKey(type);
    EXPECT_EQ(exitDisabled, manager.SyncHere({"--selected"}));
    EXPECT_EQ(exitNotRegistered, manager.SyncHere({"--selected", "--profile", "9"})) << "no such partnership";
    EXPECT_EQ(exitUsage, manager.SyncHere({"--conflicts", "both"}));

    EXPECT_TRUE(objects.Files().empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(manager.StatePath().c_str()));
}

TEST_F(SyncRunTest, BadDeviceFilesAreLoggedWhileTheRestSynchroniseAndLaterMended)
{
    db.AddVehicle(0x100, L"Van");
    db.AddEntry(0x101, 0x100, CEntry::etFuel, 40000, 1000, 30.0f);
    db.CloseDb();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();

    const std::vector<uint8_t> good = EntryPacket(0x100, CEntry::etRepair, L"Horn", 40001, 1010, 12.0f).Write();
    std::vector<uint8_t> cut(good.begin(), good.end() - 5);
    std::vector<uint8_t> endless = good;
    endless[0] = endless[1] = endless[2] = endless[3] = 0xFF;
    CDevicePacket wrongFirst;
    wrongFirst.SetText(CDevicePacket::Name, L"Nameless").SetInteger(CDevicePacket::ObjectType, 2);
    CDevicePacket lastText(CBaseObject::otEntry);
    lastText.SetText(CDevicePacket::Name, L"No end");
    std::vector<uint8_t> noNul = lastText.Write();
    noNul.resize(noNul.size() - 2);
    CDevicePacket seven = EntryPacket(0x100, CEntry::etRepair, L"Odd", 40001, 1010, 1.0f);
    seven.SetInteger(CDevicePacket::ObjectType, 7);
    objects.Write("C0000001.pkt", good);
    objects.Write("C0000002.pkt", cut);
    objects.Write("C0000003.pkt", endless);
    objects.Write("C0000004.pkt", wrongFirst.Write());
    objects.Write("C0000005.pkt", noNul);
    objects.Write("C0000006.pkt", seven);
    // An object both sides know, damaged on the device.
    const std::string fuelFile = FileOf(CBaseObject::otEntry, 0x101);
    const std::vector<uint8_t> fuel = objects.Bytes(fuelFile);
    objects.Write(fuelFile, std::vector<uint8_t>(fuel.begin(), fuel.begin() + 20));
    const std::string device = objects.Snapshot();

    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(
        manager.Has("summary: fresh=0 sent=0 received=1 deleted-on-device=0 deleted-on-desktop=0 "
                    "conflicts=0 failed=6 exit=0"))
        << manager.Text();
    for (const char* file : {"C0000002.pkt", "C0000003.pkt", "C0000004.pkt", "C0000005.pkt", "C0000006.pkt"}) {
        EXPECT_TRUE(manager.Has("object " + std::string(file) + ": failed, tried again next run")) << file;
    }
    EXPECT_TRUE(manager.Has("SetPacket(" + fuelFile + ") = 0x80004005 size=20")) << manager.Text();
    EXPECT_EQ(device, objects.Snapshot()) << "nothing is lost on the device";
    auto entries = Entries();
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(30.0f, entries[0]->GetAmount()) << "the damaged object is left as it was";
    EXPECT_EQ(L"Horn", Text(entries[1]->GetName()));
    db.CloseDb();
    EXPECT_EQ(3u, manager.State().objects.size());

    objects.Write("C0000002.pkt", EntryPacket(0x100, CEntry::etExpense, L"Mended", 40002, 1020, 3.0f));
    objects.Write(fuelFile, fuel);
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(
        manager.Has("summary: fresh=0 sent=0 received=1 deleted-on-device=0 deleted-on-desktop=0 "
                    "conflicts=0 failed=4 exit=0"))
        << manager.Text();
    entries = Entries();
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(L"Mended", Text(entries[2]->GetName()));
    db.CloseDb();
    EXPECT_EQ(4u, manager.State().objects.size());
}

TEST_F(SyncRunTest, AManagerPausedInTheEnumerationHoldsTheDatabaseAndAKilledOneLetsItGo)
{
    db.AddVehicle(0x100, L"Van");
    db.AddEntry(0x101, 0x100, CEntry::etFuel, 40000, 1000, 30.0f);
    db.CloseDb();
    struct Session {
        static DWORD WINAPI Connect(void* path)
        {
            CSyncDataLayer session;
            return static_cast<DWORD>(session.Connect(static_cast<const std::string*>(path)->c_str()));
        }
    };
    const std::string path = db.AnsiPath();
    for (int round = 0; round < 2; ++round) {
        const std::string name =
            "AlkSyncTestPause-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(round);
        HANDLE go = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
        HANDLE paused = CreateEventA(nullptr, TRUE, FALSE, (name + ".paused").c_str());
        HANDLE process = manager.Start("--selected --pause-in-enumeration " + name);
        ASSERT_NE(nullptr, process);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(paused, 60000)) << "the manager never paused";
        EXPECT_TRUE(MutexHeldElsewhere());

        HANDLE session = CreateThread(nullptr, 0, &Session::Connect, const_cast<std::string*>(&path), 0, nullptr);
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(session, 300)) << "the session must wait";
        if (round == 0) {
            SetEvent(go);
        } else {
            TerminateProcess(process, 1);
        }
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 60000));
        DWORD code = 99;
        GetExitCodeProcess(process, &code);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(session, 60000)) << "the database stayed held";
        DWORD connected = 99;
        GetExitCodeThread(session, &connected);
        EXPECT_EQ(0u, connected);
        EXPECT_FALSE(MutexHeldElsewhere());
        manager.ReadLog(manager.LogPath());
        if (round == 0) {
            EXPECT_EQ(0u, code);
            EXPECT_TRUE(manager.Has("DllCanUnloadNow() = 0x00000000")) << manager.Text();
            EXPECT_EQ(2u, objects.Files().size());
        } else {
            EXPECT_EQ(1u, code);
        }
        for (HANDLE h : {go, paused, process, session}) CloseHandle(h);
    }
}
