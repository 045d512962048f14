// CLegacyImport: the Legacy library's one exported class. It reads the data of the product's
// older version, an Access database, through ADO with the Jet provider, and hands it over as four
// lists of the business library's records; it writes nothing anywhere.
//
// Use, on one thread: construct, Import(path), take the lists, destroy. Import answers 1 when the
// four lists are complete, 0 when nothing is to be written (it has then told the user itself).
// After a successful import:
//   vehicles       one per old "Vehicles" row; the old vehicle id as row id, reference id 0
//   entries        one per old "events" row; the old vehicle id as vehicle reference id, row id
//                  and reference id 0
//   notifications  one per old "Triggers" row; as entries
//   keywords       one per old "TableIds" row with Id 1000 or more, then nine fixed keywords
//                  ("Business", "Personal" categories; seven fuel vendors); row id 0
// The lists own their records (auto-cleanup on); a caller may take records out of them, and the
// destructor frees everything left, the lists destroyed in the reverse of their construction.
// Nothing is ever thrown out of the library.
#pragma once

#include "business/AlkBiz.h"
#include "legacy/LegacyDefs.h"

class CADODataBase;

class LEGACY_API CLegacyImport {
public:
    CLegacyImport();
    ~CLegacyImport();
    CLegacyImport(const CLegacyImport&) = delete;
    CLegacyImport& operator=(const CLegacyImport&) = delete;

    // Reads the old database at path into the lists (which a new object holds empty). Shows the
    // message "cannot import" and answers 0 for an empty or missing path, a file the provider
    // cannot open, and a read that fails part-way (the lists are then emptied); otherwise first
    // asks the user to disconnect a synchronised device (OK only) and answers 1.
    int Import(const wchar_t* path);

    CObjectListT<CVehicle>* GetVehicleList();
    CObjectListT<CEntry>* GetEntryList();
    CObjectListT<CKeyword>* GetKeywordList();
    CObjectListT<CNotification>* GetNotificationList();

private:
    int ImportFile(const wchar_t* path);
    // The four tables in their order; false at the first error of the data access layer.
    bool ReadTables(CADODataBase& database);
    bool AddFixedKeywords();
    void ClearLists();

    CObjectListT<CVehicle> m_vehicles;
    CObjectListT<CEntry> m_entries;
    CObjectListT<CKeyword> m_keywords;
    CObjectListT<CNotification> m_notifications;
};
