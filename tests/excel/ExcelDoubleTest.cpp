// The Excel double as a client of Excel meets it: names in any case, unknown names refused, puts
// that must name their argument, addresses and arrays taken as Excel takes them, failures asked
// for on its command line, and a record that gives back exactly what was sent. The calls go
// through the export's own InvokeAutomation where its conventions are under test too.
#include <windows.h>

#include <objbase.h>
#include <ole2.h>

#include <cstring>

#include <gtest/gtest.h>

#include "desktop/ExcelExport.h"
#include "ExcelTestSupport.h"

using namespace alk_excel_test;
using excel_double::CExcelRecord;

namespace {

class ExcelDoubleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }

    // A new application object of the registered double.
    void Start(VARIANT* application)
    {
        CLSID clsid;
        ASSERT_EQ(S_OK, CLSIDFromProgID(L"Excel.Application", &clsid));
        VariantInit(application);
        ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                         reinterpret_cast<void**>(&application->pdispVal)));
        application->vt = VT_DISPATCH;
    }
    HRESULT Get(const VARIANT& object, const wchar_t* name, VARIANT* result, const wchar_t* address = nullptr)
    {
        VARIANT arg;
        VariantInit(&arg);
        if (address) {
            arg.vt = VT_BSTR;
            arg.bstrVal = SysAllocString(address);
        }
        HRESULT hr = InvokeAutomation(DISPATCH_PROPERTYGET, result, object, name, address ? 1 : 0, &arg);
        VariantClear(&arg);
        return hr;
    }
    HRESULT Put(const VARIANT& object, const wchar_t* name, const VARIANT& value)
    {
        return InvokeAutomation(DISPATCH_PROPERTYPUT, nullptr, object, name, 1, &value);
    }
};

VARIANT Integer(long value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

TEST_F(ExcelDoubleTest, AnswersAsExcelDoesAndRecordsExactlyWhatItWasSent)
{
    CExcelDoubleScope excel(L"-failmember bold");
    ASSERT_TRUE(excel.Registered());
    VARIANT app, books, sheet, range, other;
    Start(&app);
    VariantInit(&books), VariantInit(&sheet), VariantInit(&range), VariantInit(&other);

    EXPECT_EQ(S_OK, Get(app, L"WORKBOOKS", &books));  // any case
    // Wine's proxy keeps a result that the caller did not ask for until the apartment ends.
    EXPECT_EQ(S_OK, InvokeAutomation(DISPATCH_METHOD, &other, books, L"add", 0, nullptr));
    EXPECT_EQ(VT_DISPATCH, other.vt);
    VariantClear(&other);
    EXPECT_EQ(S_OK, Get(app, L"ActiveSheet", &sheet));
    EXPECT_EQ(DISP_E_UNKNOWNNAME, InvokeAutomation(DISPATCH_METHOD, nullptr, app, L"Quit", 0, nullptr));
    EXPECT_EQ(E_FAIL, Get(other, L"range", &range, L"A1")) << "no object, no call";

    // A two-element row array on three columns of two rows: #N/A beyond it, EMPTY leaves a hole.
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 1, 2);
    LONG first = 1;
    VARIANT seven = Integer(7);
    SafeArrayPutElement(array, &first, &seven);
    VARIANT rows;
    rows.vt = VT_ARRAY | VT_VARIANT;
    rows.parray = array;
    EXPECT_EQ(S_OK, Get(sheet, L"range", &range, L"b2:$D$3"));
    EXPECT_EQ(S_OK, Put(range, L"Value", rows));
    VariantClear(&rows);

    // Texts and doubles come back unit for unit and bit for bit.
    const wchar_t text[] = L"tab\there \"quoted\"\r\nline \u00e9\u20ac\\";
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text);
    EXPECT_EQ(S_OK, Get(sheet, L"range", &range, L"A1"));
    EXPECT_EQ(S_OK, Put(range, L"Value", value));
    VariantClear(&value);
    value.vt = VT_R8;
    value.dblVal = 0.1f;
    EXPECT_EQ(S_OK, Get(sheet, L"range", &range, L"A5"));
    EXPECT_EQ(S_OK, Put(range, L"Value", value));

    // A put must name its argument DISPID_PROPERTYPUT; Excel raises an exception otherwise.
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Value");
    ASSERT_EQ(S_OK, range.pdispVal->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    DISPPARAMS unnamed = {&value, nullptr, 1, 0};
    EXCEPINFO exception = {};
    EXPECT_EQ(DISP_E_EXCEPTION, range.pdispVal->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYPUT,
                                                       &unnamed, nullptr, &exception, nullptr));
    EXPECT_EQ(static_cast<SCODE>(0x800A03EC), exception.scode);
    EXPECT_NE(nullptr, exception.bstrDescription);
    SysFreeString(exception.bstrSource), SysFreeString(exception.bstrDescription);

    EXPECT_EQ(DISP_E_EXCEPTION, Get(sheet, L"range", &other, L"A0"));
    EXPECT_EQ(DISP_E_EXCEPTION, Get(sheet, L"range", &other, L"B"));
    EXPECT_EQ(DISP_E_EXCEPTION, InvokeAutomation(DISPATCH_METHOD, nullptr, range, L"AutoFit", 0, nullptr))
        << "AutoFit wants whole columns or rows";
    SetRangeFont(range, true, 12);  // its Bold fails as told
    for (VARIANT* v : {&app, &books, &sheet, &range, &other}) VariantClear(v);

    CExcelRecord record;
    ASSERT_TRUE(excel.Record(&record));
    EXPECT_TRUE(record.ended);
    EXPECT_EQ(L"released", record.endReason);
    EXPECT_EQ(0, record.held) << record.heldObjects;
    const wchar_t* row2[] = {L"B2", L"D2", L"B3", L"D3"};
    for (const wchar_t* ref : row2) ASSERT_NE(nullptr, record.Cell(ref)) << ref;
    EXPECT_EQ(VT_I4, record.Cell(L"B2")->value.type);
    EXPECT_EQ(7, record.Cell(L"B3")->value.integer);
    EXPECT_EQ(nullptr, record.Cell(L"C2")) << "an EMPTY element leaves its cell empty";
    EXPECT_EQ(VT_ERROR, record.Cell(L"D3")->value.type);
    EXPECT_EQ(static_cast<long long>(excel_double::kErrorNotAvailable), record.Cell(L"D2")->value.integer);
    ASSERT_NE(nullptr, record.Cell(L"A1"));
    EXPECT_EQ(text, record.Cell(L"A1")->value.text);
    ASSERT_NE(nullptr, record.Cell(L"A5"));
    double widened = 0.1f;
    EXPECT_EQ(0, std::memcmp(&widened, &record.Cell(L"A5")->value.number, sizeof widened));
    EXPECT_EQ(12, record.Cell(L"A5")->size);
    EXPECT_FALSE(record.Cell(L"A5")->bold);

    EXPECT_TRUE(record.AskedFor(L"quit"));
    std::vector<const excel_double::RecordCall*> bold = record.Invokes(L"Bold");
    ASSERT_EQ(1u, bold.size());
    EXPECT_TRUE(bold[0]->failedAsAsked);
    EXPECT_EQ(DISP_E_EXCEPTION, bold[0]->hr);
    for (const excel_double::RecordCall& call : record.calls)
        EXPECT_EQ(call.invoke ? LOCALE_SYSTEM_DEFAULT : LOCALE_USER_DEFAULT, call.lcid) << call.line;
    std::vector<const excel_double::RecordCall*> values = record.Invokes(L"Value");
    ASSERT_EQ(4u, values.size());
    EXPECT_EQ(std::vector<long>{DISPID_PROPERTYPUT}, values[0]->named);
    EXPECT_NE(std::wstring::npos, values[0]->object.find(L"[B2:D3]")) << values[0]->line;
}

TEST_F(ExcelDoubleTest, AClientThatKeepsItsReferencesLeavesTheDoubleToEndWhenIdle)
{
    CExcelDoubleScope excel(L"-idle 1");
    VARIANT app, books;
    Start(&app);
    VariantInit(&books);
    EXPECT_EQ(S_OK, Get(app, L"Workbooks", &books));

    CExcelRecord record;
    ASSERT_TRUE(excel.Record(&record));
    EXPECT_EQ(L"idle", record.endReason);
    EXPECT_EQ(2, record.held);
    EXPECT_EQ(0, record.workbooks);
    EXPECT_FALSE(record.visible);
    // The process is gone: the client's last calls fail, and its releases must not hang.
    EXPECT_TRUE(FAILED(InvokeAutomation(DISPATCH_METHOD, nullptr, books, L"Add", 0, nullptr)));
    VariantClear(&books);
    VariantClear(&app);
}

}  // namespace
