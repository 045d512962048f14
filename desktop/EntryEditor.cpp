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

namespace {

// What every entry sheet does around its own pages: the pages in the order given, then the notes
// page filled from the entry; the sheet run owned by the window active at that moment. After OK,
// giveBack copies the pages' fields into the entry and the notes follow: 1. Otherwise 0, and the
// entry is untouched. Each setter raises the dirty flag only for a value that differs.
template <class TGiveBack, class... TPages>
int RunEntrySheet(CEntry* entry, CCustomPropertySheet& sheet, TGiveBack giveBack, TPages&... pages)
{
    CDlgNotes notes;
    notes.m_notes = entry->GetNotes();
    (sheet.AddPage(pages), ...);
    sheet.AddPage(notes);
    if (sheet.DoModal(::GetActiveWindow()) != 1) return 0;
    giveBack();
    entry->SetNotes(notes.m_notes);
    return 1;
}

// Repairs and other expenses: one details page of the same fields.
template <class TDetails>
int EditDetailedEntry(CEntry* entry, CCustomPropertySheet& sheet)
{
    TDetails details;
    details.m_date = entry->GetDate();
    details.m_odometer = entry->GetOdometer();
    details.m_amount = entry->GetAmount();
    details.m_vendor = entry->GetVendor();
    details.m_description = entry->GetName();
    const auto giveBack = [&] {
        entry->SetDate(details.m_date);
        entry->SetOdometer(details.m_odometer);
        entry->SetAmount(details.m_amount);
        entry->SetVendor(details.m_vendor);
        entry->SetName(details.m_description);
    };
    return RunEntrySheet(entry, sheet, giveBack, details);
}

}  // namespace

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
    details.m_date = entry->GetDate();
    details.m_odometer = entry->GetOdometer();
    details.m_quantity = entry->GetCustom1();
    details.m_price = entry->GetCustom2();
    details.m_total = entry->GetAmount();
    details.m_vendor = entry->GetVendor();
    const auto giveBack = [&] {
        entry->SetDate(details.m_date);
        entry->SetOdometer(details.m_odometer);
        entry->SetCustom1(details.m_quantity);
        entry->SetCustom2(details.m_price);
        entry->SetAmount(details.m_total);
        entry->SetVendor(details.m_vendor);
    };
    return RunEntrySheet(entry, sheet, giveBack, details);
}

int EditExpenseEntry(CEntry* entry, CCustomPropertySheet& sheet)
{
    return EditDetailedEntry<CDlgExpenseDetails>(entry, sheet);
}

int EditRepairEntry(CEntry* entry, CCustomPropertySheet& sheet)
{
    return EditDetailedEntry<CDlgRepairDetails>(entry, sheet);
}

int EditTripEntry(CEntry* entry, CCustomPropertySheet& sheet)
{
    CDlgTripDetails details;
    CDlgTripExpense expense;
    details.m_date = entry->GetDate();
    details.m_description = entry->GetName();
    details.m_start = WholeOdometer(entry->GetCustom1());
    details.m_end = WholeOdometer(entry->GetCustom2());
    expense.m_category = entry->GetVendor();
    expense.m_total = entry->GetAmount();
    // The entry's odometer is where the trip ended.
    const auto giveBack = [&] {
        entry->SetDate(details.m_date);
        entry->SetName(details.m_description);
        entry->SetOdometer(details.m_end);
        entry->SetCustom1(static_cast<float>(details.m_start));
        entry->SetCustom2(static_cast<float>(details.m_end));
        entry->SetVendor(expense.m_category);
        entry->SetAmount(expense.m_total);
    };
    return RunEntrySheet(entry, sheet, giveBack, details, expense);
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
