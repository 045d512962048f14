#include "desktop/EntryEditor.h"

#include <cmath>
#include <limits>

#include "desktop/DlgExpenseDetails.h"
#include "desktop/DlgFuelDetails.h"
#include "desktop/DlgNotes.h"
#include "desktop/DlgRepairDetails.h"
#include "desktop/DlgTripDetails.h"
#include "desktop/DlgTripExpense.h"
#include "desktop/SaveEditedRecord.h"
#include "resources/desktop/resource.h"

int EditEntry(CEntry* entry)
{
    CCustomPropertySheet sheet(IDS_ENTRY_PROPERTIES);
    int confirmed = 0;
    switch (entry->GetType()) {
    case CEntry::etFuel: confirmed = EditFuelEntry(entry, sheet); break;
    case CEntry::etRepair: confirmed = EditRepairEntry(entry, sheet); break;
    case CEntry::etTrip: confirmed = EditTripEntry(entry, sheet); break;
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

int EditRepairEntry(CEntry* entry, CCustomPropertySheet& sheet)
{
    CDlgRepairDetails details;
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

long WholeOdometer(float odometer)
{
    // A record from a handheld may hold any float: the range's ends stand for what lies beyond
    // them, and a value that is not a number for none.
    if (std::isnan(odometer)) return 0;
    if (odometer <= static_cast<float>(std::numeric_limits<long>::min())) return std::numeric_limits<long>::min();
    // 2147483648: the first float beyond the range (the largest long has no float of its own).
    if (odometer >= 2147483648.0f) return std::numeric_limits<long>::max();
    return static_cast<long>(odometer);  // toward zero
}

int EditTripEntry(CEntry* entry, CCustomPropertySheet& sheet)
{
    CDlgTripDetails details;
    CDlgTripExpense expense;
    CDlgNotes notes;
    details.m_date = entry->GetDate();
    details.m_description = entry->GetName();
    details.m_start = WholeOdometer(entry->GetCustom1());
    details.m_end = WholeOdometer(entry->GetCustom2());
    expense.m_category = entry->GetVendor();
    expense.m_total = entry->GetAmount();
    notes.m_notes = entry->GetNotes();

    sheet.AddPage(details);
    sheet.AddPage(expense);
    sheet.AddPage(notes);
    if (sheet.DoModal(::GetActiveWindow()) != 1) return 0;

    // The entry's odometer is where the trip ended.
    entry->SetDate(details.m_date);
    entry->SetName(details.m_description);
    entry->SetOdometer(details.m_end);
    entry->SetCustom1(static_cast<float>(details.m_start));
    entry->SetCustom2(static_cast<float>(details.m_end));
    entry->SetVendor(expense.m_category);
    entry->SetAmount(expense.m_total);
    entry->SetNotes(notes.m_notes);
    return 1;
}
