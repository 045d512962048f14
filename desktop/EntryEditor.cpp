#include "desktop/EntryEditor.h"

#include "desktop/DlgExpenseDetails.h"
#include "desktop/DlgFuelDetails.h"
#include "desktop/DlgNotes.h"
#include "desktop/SaveEditedRecord.h"
#include "resources/desktop/resource.h"

int EditEntry(CEntry* entry)
{
    CCustomPropertySheet sheet(IDS_ENTRY_PROPERTIES);
    int confirmed = 0;
    switch (entry->GetType()) {
    case CEntry::etFuel: confirmed = EditFuelEntry(entry, sheet); break;
    case CEntry::etExpense: confirmed = EditExpenseEntry(entry, sheet); break;
    default: return 0;
    }
    if (!confirmed || !entry->IsDirty()) return 0;
    return SaveEditedRecord(entry);
}

int EditFuelEntry(CEntry* entry, CCustomPropertySheet& sheet)
{
    CDlgFuelDetails details;
    CDlgNotes notes;
    details.m_date = entry->GetDate();
    details.m_odometer = entry->GetOdometer();
    details.m_quantity = entry->GetCustom1();
    details.m_price = entry->GetCustom2();
    details.m_total = entry->GetAmount();
    details.m_vendor = entry->GetVendor();
    notes.m_notes = entry->GetNotes();

    sheet.AddPage(details);
    sheet.AddPage(notes);
    if (sheet.DoModal(::GetActiveWindow()) != 1) return 0;

    // Each setter raises the dirty flag only for a value that differs.
    entry->SetDate(details.m_date);
    entry->SetOdometer(details.m_odometer);
    entry->SetCustom1(details.m_quantity);
    entry->SetCustom2(details.m_price);
    entry->SetAmount(details.m_total);
    entry->SetVendor(details.m_vendor);
    entry->SetNotes(notes.m_notes);
    return 1;
}

int EditExpenseEntry(CEntry* entry, CCustomPropertySheet& sheet)
{
    CDlgExpenseDetails details;
    CDlgNotes notes;
    details.m_date = entry->GetDate();
    details.m_odometer = entry->GetOdometer();
    details.m_amount = entry->GetAmount();
    details.m_vendor = entry->GetVendor();
    details.m_description = entry->GetName();
    notes.m_notes = entry->GetNotes();

    sheet.AddPage(details);
    sheet.AddPage(notes);
    if (sheet.DoModal(::GetActiveWindow()) != 1) return 0;

    entry->SetDate(details.m_date);
    entry->SetOdometer(details.m_odometer);
    entry->SetAmount(details.m_amount);
    entry->SetVendor(details.m_vendor);
    entry->SetName(details.m_description);
    entry->SetNotes(notes.m_notes);
    return 1;
}
