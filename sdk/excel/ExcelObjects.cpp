#include "sdk/excel/ExcelObjects.h"

#include "sdk/excel/DispatchObject.h"
#include "sdk/excel/ServerState.h"

namespace excel_double {

namespace {

// clang-format off
const Member kApplicationMembers[] = {
    {L"Workbooks",    1, mkGet},
    {L"ActiveSheet",  2, mkGet},
    {L"Visible",      3, mkGet | mkPut},
};
const Member kWorkbooksMembers[] = {
    {L"Add",          1, mkMethod},
};
const Member kWorksheetMembers[] = {
    {L"Range",        1, mkGet},
};
const Member kRangeMembers[] = {
    {L"Value",        1, mkGet | mkPut},
    {L"NumberFormat", 2, mkPut},
    {L"EntireColumn", 3, mkGet},
    {L"AutoFit",      4, mkMethod},
    {L"Font",         5, mkGet},
};
const Member kFontMembers[] = {
    {L"Size",         1, mkGet | mkPut},
    {L"Bold",         2, mkGet | mkPut},
};
// clang-format on

template <size_t N>
constexpr size_t Count(const Member (&)[N])
{
    return N;
}

class CWorkbook : public CDispatchObject {
public:
    CWorkbook() : CDispatchObject(L"Workbook", nullptr, 0) {}

protected:
    HRESULT Run(Call&, std::wstring*) override { return DISP_E_MEMBERNOTFOUND; }
};

class CWorkbooks : public CDispatchObject {
public:
    CWorkbooks() : CDispatchObject(L"Workbooks", kWorkbooksMembers, Count(kWorkbooksMembers)) {}

protected:
    HRESULT Run(Call& call, std::wstring*) override
    {
        if (!call.args.empty()) return DISP_E_BADPARAMCOUNT;
        TheModel().workbooks.push_back(std::make_unique<CSheet>());
        if (call.result) ReturnObject(call, new CWorkbook);
        return S_OK;
    }
};

class CFont : public CDispatchObject {
public:
    CFont(CSheet* sheet, const Area& area)
        : CDispatchObject(L"Font", kFontMembers, Count(kFontMembers), area.Name()), m_sheet(sheet), m_area(area)
    {}

protected:
    HRESULT Run(Call& call, std::wstring* error) override
    {
        VARIANT value;
        if (call.id == 1) {
            if (call.kind == mkGet) return Put(call, VT_R8, m_sheet->FontSize(m_area));
            HRESULT hr = ArgAs(call, VT_R8, &value);
            return FAILED(hr) ? hr : m_sheet->PutFontSize(m_area, value.dblVal, error);
        }
        if (call.kind == mkGet) return Put(call, VT_BOOL, m_sheet->Bold(m_area) ? 1 : 0);
        HRESULT hr = ArgAs(call, VT_BOOL, &value);
        return FAILED(hr) ? hr : m_sheet->PutBold(m_area, value.boolVal != VARIANT_FALSE, error);
    }

private:
    static HRESULT Put(Call& call, VARTYPE type, double value)
    {
        if (!call.result) return S_OK;
        call.result->vt = type;
        if (type == VT_BOOL)
            call.result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        else
            call.result->dblVal = value;
        return S_OK;
    }

    CSheet* m_sheet;
    Area m_area;
};

class CRange : public CDispatchObject {
public:
    CRange(CSheet* sheet, const Area& area)
        : CDispatchObject(L"Range", kRangeMembers, Count(kRangeMembers), area.Name()), m_sheet(sheet), m_area(area)
    {}

protected:
    HRESULT Run(Call& call, std::wstring* error) override
    {
        switch (call.id) {
        case 1:  // Value
            if (call.kind == mkGet) {
                VARIANT value;
                HRESULT hr = m_sheet->GetValue(m_area, &value, error);
                if (SUCCEEDED(hr) && call.result)
                    *call.result = value;
                else if (SUCCEEDED(hr))
                    ::VariantClear(&value);
                return hr;
            }
            return m_sheet->PutValue(m_area, *call.args[0], error);
        case 2: {  // NumberFormat
            VARIANT format;
            HRESULT hr = ArgAs(call, VT_BSTR, &format);
            if (FAILED(hr)) return hr;
            hr = m_sheet->PutNumberFormat(m_area, format.bstrVal ? format.bstrVal : L"", error);
            ::VariantClear(&format);
            return hr;
        }
        case 3: {  // EntireColumn
            Area columns = m_area;
            columns.top = 1;
            columns.bottom = kSheetRows;
            ReturnObject(call, new CRange(m_sheet, columns));
            return S_OK;
        }
        case 4: return m_sheet->AutoFit(m_area, error);
        case 5: ReturnObject(call, new CFont(m_sheet, m_area)); return S_OK;
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    CSheet* m_sheet;
    Area m_area;
};

class CWorksheet : public CDispatchObject {
public:
    explicit CWorksheet(CSheet* sheet)
        : CDispatchObject(L"Worksheet", kWorksheetMembers, Count(kWorksheetMembers)), m_sheet(sheet)
    {}

protected:
    HRESULT Run(Call& call, std::wstring* error) override
    {
        if (call.args.size() != 1) return DISP_E_BADPARAMCOUNT;
        VARIANT address;
        HRESULT hr = ArgAs(call, VT_BSTR, &address);
        if (FAILED(hr)) return hr;
        Area area;
        bool ok = ParseAddress(address.bstrVal, &area);
        ::VariantClear(&address);
        if (!ok) {
            *error = L"not a cell address";
            return DISP_E_EXCEPTION;
        }
        ReturnObject(call, new CRange(m_sheet, area));
        return S_OK;
    }

private:
    CSheet* m_sheet;
};

class CApplication : public CDispatchObject {
public:
    CApplication() : CDispatchObject(L"Application", kApplicationMembers, Count(kApplicationMembers)) {}

protected:
    HRESULT Run(Call& call, std::wstring* error) override
    {
        switch (call.id) {
        case 1: ReturnObject(call, new CWorkbooks); return S_OK;
        case 2:
            if (!TheModel().ActiveSheet()) {
                *error = L"there is no workbook, so no active sheet";
                return DISP_E_EXCEPTION;
            }
            ReturnObject(call, new CWorksheet(TheModel().ActiveSheet()));
            return S_OK;
        default: {
            if (call.kind == mkGet) {
                if (call.result) {
                    call.result->vt = VT_BOOL;
                    call.result->boolVal = TheModel().visible ? VARIANT_TRUE : VARIANT_FALSE;
                }
                return S_OK;
            }
            VARIANT visible;
            HRESULT hr = ArgAs(call, VT_BOOL, &visible);
            if (SUCCEEDED(hr)) TheModel().visible = visible.boolVal != VARIANT_FALSE;
            return hr;
        }
        }
    }
};

}  // namespace

Model& TheModel()
{
    static Model model;
    return model;
}

std::string Model::RecordLines() const
{
    std::string lines;
    for (size_t i = 0; i < workbooks.size(); ++i) {
        lines += "workbook\tn=" + std::to_string(i + 1) + "\r\n";
        lines += workbooks[i]->RecordLines();
    }
    lines += std::string("visible\tvalue=") + (visible ? "1" : "0") + "\r\n";
    return lines;
}

CDispatchObject* CApplicationFactory::NewObject()
{
    CDispatchObject* application = new CApplication;
    ++m_created;
    return application;
}

void CApplicationFactory::LockModule(bool lock)
{
    if (lock)
        CServer::Get().ObjectMade(L"lock");
    else
        CServer::Get().ObjectGone(L"lock");
}

}  // namespace excel_double
