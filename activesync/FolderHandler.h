// The object handler (IReplObjHandler): turns a desktop record into one packet for the device
// (GetPacket), a packet from the device into a new or changed desktop record (SetPacket), and
// deletes a desktop record (DeleteObj). Each call opens its own database session on the path of
// its setup's folder's store. The packet format is CPropertyPacket's; the properties:
//
//   tag         kind          field                               type
//   0x80010003  all (first)   object type                         integer
//   0x8004001F  all           name                                text
//   0x8005001F  all           notes                               text
//   0x80000003  vehicle       reference id (the integer's bits)   integer
//   0x8006001F  vehicle       licence plate                       text
//   0x8007001F  vehicle       vehicle identification number       text
//   0x8008001F  vehicle       dealer name                         text
//   0x8009001F  vehicle       dealer phone                        text
//   0x800A001F  vehicle       dealer address                      text
//   0x800B001F  vehicle       insurance policy number             text
//   0x800C001F  vehicle       insurance agent name                text
//   0x800D001F  vehicle       insurance agent phone               text
//   0x800E001F  vehicle       insurance coverage                  text
//   0x800F0005  vehicle       insurance expiration date           double
//   0x80100003  vehicle       current odometer                    integer
//   0x80110003  vehicle       model year                          integer
//   0x801E001F  vehicle       picture path                        text
//   0x80120005  entry         date                                double
//   0x80130003  entry         odometer                            integer
//   0x80140003  entry         vehicle's reference id              integer
//   0x80150003  entry         entry type                          integer
//   0x8016001F  entry         vendor                              text
//   0x80170004  entry         amount                              float
//   0x80180004  entry         Custom1                             float
//   0x80190004  entry         Custom2                             float
//   0x801A0005  notification  due date                            double
//   0x801B0003  notification  due odometer                        integer
//   0x801C0003  notification  vehicle's reference id              integer
//   0x801D0003  keyword       keyword type                        integer
//
// GetPacket writes them in this order for the record's kind (vehicle 17, entry 11, notification 6,
// keyword 4 properties). Only vehicles carry their own reference id (taken from the item handle);
// entries and reminders name their vehicle by its reference id. SetPacket reads the properties in
// packet order and sets each through the record's setter; a tag of another kind or not in the
// table is skipped, and the reference id is taken only by a new vehicle. A new vehicle whose
// reference id the desktop already holds is that vehicle: the packet is applied to it as to any
// changed one, so no two vehicles ever share a reference id. A record whose entry or keyword type
// is not 1 to 4, or with a number the file cannot keep, is not stored.
//
// Its owners: the folder that made it holds one reference, and each hand-out adds one. The
// manager uses it without QueryInterface, which answers IUnknown alone.
#pragma once

#include <windows.h>

#include "activesync/PropertyPacket.h"
#include "framework/ComObject.h"
#include "sdk/activesync/ReplStore.h"

class CBaseObject;
class CFolderImpl;
class CItemImpl;

class CFolderHandler : public CComObjectImpl<CFolderHandler, IReplObjHandler> {
public:
    // IUnknown alone: the manager calls the handler without asking for it.
    INTERFACE_TABLE(&IID_IUnknown)

    // clang-format off
    enum Tag : DWORD {
        tagObjectType        = 0x80010003,
        tagName              = 0x8004001F,
        tagNotes             = 0x8005001F,
        tagVehicleRefID      = 0x80000003,
        tagLicensePlate      = 0x8006001F,
        tagVIN               = 0x8007001F,
        tagDealerName        = 0x8008001F,
        tagDealerPhone       = 0x8009001F,
        tagDealerAddress     = 0x800A001F,
        tagPolicyNumber      = 0x800B001F,
        tagAgentName         = 0x800C001F,
        tagAgentPhone        = 0x800D001F,
        tagCoverage          = 0x800E001F,
        tagExpirationDate    = 0x800F0005,
        tagCurrentOdometer   = 0x80100003,
        tagYear              = 0x80110003,
        tagImagePath         = 0x801E001F,
        tagEntryDate         = 0x80120005,
        tagEntryOdometer     = 0x80130003,
        tagEntryVehicle      = 0x80140003,
        tagEntryType         = 0x80150003,
        tagVendor            = 0x8016001F,
        tagAmount            = 0x80170004,
        tagCustom1           = 0x80180004,
        tagCustom2           = 0x80190004,
        tagReminderDate      = 0x801A0005,
        tagReminderOdometer  = 0x801B0003,
        tagReminderVehicle   = 0x801C0003,
        tagKeywordType       = 0x801D0003,
    };
    // clang-format on

    CFolderHandler() = default;
    // A setup with its read flag set becomes the read setup, any other the write setup (not
    // owned: the manager keeps it until Reset).
    HRESULT STDMETHODCALLTYPE Setup(REPLSETUP* setup) override;
    // Ends an object: a read setup's packet is freed. The setup is forgotten.
    HRESULT STDMETHODCALLTYPE Reset(REPLSETUP* setup) override;
    // The read setup's record as one packet: REPL_S_LAST_PACKET; E_OUTOFMEMORY without a buffer
    // (recommended size 0) or past the packet limit; E_FAIL without a database;
    // REPL_E_NOTHING_TO_SEND when the record is gone.
    HRESULT STDMETHODCALLTYPE GetPacket(BYTE** data, DWORD* size, DWORD recommendedSize) override;
    // Stores the packet in the write setup's record (a new one for a new object, whose item is
    // left in the setup). S_OK; E_FAIL for a packet that cannot be read whole, does not start with
    // the object type, or makes an object of no known type (nothing saved, no item left), or
    // without a database; REPL_E_CANNOT_STORE when the record is gone or cannot be saved, or
    // holds a value the desktop cannot keep.
    HRESULT STDMETHODCALLTYPE SetPacket(BYTE* data, DWORD size) override;
    // Deletes the setup's record (a vehicle with its entries and reminders): S_OK or E_FAIL.
    HRESULT STDMETHODCALLTYPE DeleteObj(REPLSETUP* setup) override;

private:
    // Appends the record's properties in their order; the first failure's result.
    HRESULT WriteRecord(const CBaseObject& record, const CItemImpl& item);
    // Applies one property to the record (see the table above).
    static void ApplyProperty(CBaseObject* record, DWORD tag, const BYTE* value, bool newObject);
    // Whether the attached packet holds its count of properties, the first the object type;
    // gives the object type.
    static bool CheckPacket(CPropertyPacket& packet, long* objectType);
    // The reference id a vehicle packet carries (the packet attached again to the bytes); 0 when
    // it carries none.
    static unsigned long FindVehicleRefID(CPropertyPacket& packet, BYTE* data, DWORD size);

    REPLSETUP* m_writeSetup = nullptr;
    REPLSETUP* m_readSetup = nullptr;
    CPropertyPacket m_packet;  // the last outgoing packet
};
