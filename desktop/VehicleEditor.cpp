#include "desktop/VehicleEditor.h"

#include "desktop/CustomPropertySheet.h"
#include "desktop/DlgNotes.h"
#include "desktop/DlgVehicleDealer.h"
#include "desktop/DlgVehicleDetails.h"
#include "desktop/DlgVehicleInsurance.h"
#include "desktop/SaveEditedRecord.h"
#include "resources/desktop/resource.h"

int EditVehicle(CVehicle* vehicle)
{
    CCustomPropertySheet sheet(IDS_VEHICLE_PROPERTIES);
    CDlgVehicleDetails details;
    CDlgVehicleInsurance insurance;
    CDlgVehicleDealer dealer;
    CDlgNotes notes;
    details.m_name = vehicle->GetName();
    details.m_plate = vehicle->GetLicensePlate();
    details.m_vin = vehicle->GetVIN();
    details.m_odometer = vehicle->GetCurrentOdometer();
    details.m_year = vehicle->GetYear();
    details.m_picturePath = vehicle->GetImagePath();
    insurance.m_policyNumber = vehicle->GetInsurancePolicyNumber();
    insurance.m_agentName = vehicle->GetInsuranceAgentName();
    insurance.m_agentPhone = vehicle->GetInsuranceAgentPhone();
    insurance.m_coverage = vehicle->GetInsuranceCoverage();
    insurance.m_expirationDate = vehicle->GetInsuranceExpirationDate();
    dealer.m_name = vehicle->GetDealerName();
    dealer.m_phone = vehicle->GetDealerPhone();
    dealer.m_address = vehicle->GetDealerAddress();
    notes.m_notes = vehicle->GetNotes();

    sheet.AddPage(details);
    sheet.AddPage(insurance);
    sheet.AddPage(dealer);
    sheet.AddPage(notes);
    if (sheet.DoModal(::GetActiveWindow()) != 1) return 0;

    // Each setter raises the dirty flag only for a value that differs.
    vehicle->SetName(details.m_name);
    vehicle->SetLicensePlate(details.m_plate);
    vehicle->SetVIN(details.m_vin);
    vehicle->SetCurrentOdometer(details.m_odometer);
    vehicle->SetYear(details.m_year);
    vehicle->SetImagePath(details.m_picturePath);
    vehicle->SetInsurancePolicyNumber(insurance.m_policyNumber);
    vehicle->SetInsuranceAgentName(insurance.m_agentName);
    vehicle->SetInsuranceAgentPhone(insurance.m_agentPhone);
    vehicle->SetInsuranceCoverage(insurance.m_coverage);
    vehicle->SetInsuranceExpirationDate(insurance.m_expirationDate);
    vehicle->SetDealerName(dealer.m_name);
    vehicle->SetDealerPhone(dealer.m_phone);
    vehicle->SetDealerAddress(dealer.m_address);
    vehicle->SetNotes(notes.m_notes);
    if (!vehicle->IsDirty()) return 0;
    return SaveEditedRecord(vehicle);
}
