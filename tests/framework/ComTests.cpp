// The COM pieces: the reference-count base with its interface table (answers, a null out
// pointer, the two lifetimes, a release too many), the class factory, the interface pointer, the
// VARIANT and BSTR owners, the dispatch driver against an automation object of the test that
// records how it is called (arguments last first, the named argument of a put, the locale, the
// names asked, and an exception's code and texts), and the owners of a thread's COM and OLE
// initialisation, each on a thread of its own whose apartment is asked of COM itself.
#include <windows.h>

#include <oleauto.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "framework/ClassFactory.h"
#include "framework/ComBSTR.h"
#include "framework/ComInit.h"
#include "framework/ComObject.h"
#include "framework/ComPtr.h"
#include "framework/ComVariant.h"
#include "framework/DispatchDriver.h"
#include "tests/support/Assertions.h"

namespace {

int g_alive = 0;

// An object of the test: IDispatch through the base, counted while it lives.
class CCounted : public CComObjectImpl<CCounted, IDispatch> {
public:
    INTERFACE_TABLE(&IID_IUnknown, &IID_IDispatch)
    CCounted() { ++g_alive; }
    ~CCounted() override { --g_alive; }
    LONG References() const { return ReferenceCount(); }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
};

// The same, kept by its owner and asked for with E_INVALIDARG for a null out pointer.
class COwned : public CComObjectImpl<COwned, IUnknown, comOwned> {
public:
    INTERFACE_TABLE(&IID_IUnknown)
    static constexpr HRESULT NullOutAnswer = E_INVALIDARG;
    COwned() : CComObjectImpl(0) {}
    LONG References() const { return ReferenceCount(); }
};

class CCountedFactory : public CClassFactoryImpl<CCountedFactory, CCounted> {
public:
    static void LockModule(bool lock) { locks += lock ? 1 : -1; }
    static int locks;
};
int CCountedFactory::locks = 0;

// One call as the automation object saw it.
struct Seen {
    DISPID id = 0;
    LCID locale = 0;
    WORD flags = 0;
    std::vector<long> args;  // as given to Invoke: last argument first
    std::vector<DISPID> named;
};

// Names "First" (1) and "Raise" (2); Raise answers with an exception as raiseWith says.
class CRecorder : public CComObjectImpl<CRecorder, IDispatch> {
public:
    INTERFACE_TABLE(&IID_IUnknown, &IID_IDispatch)
    enum Raise { withScode, withWCode, deferred };

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID locale, DISPID* ids) override
    {
        namesAsked.push_back(locale);
        const std::wstring name = names[0];
        if (name == L"First")
            *ids = 1;
        else if (name == L"Raise")
            *ids = 2;
        else
            return DISP_E_UNKNOWNNAME;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override
    {
        Seen call;
        call.id = id;
        call.locale = locale;
        call.flags = flags;
        for (UINT i = 0; i < params->cArgs; ++i) call.args.push_back(params->rgvarg[i].lVal);
        for (UINT i = 0; i < params->cNamedArgs; ++i) call.named.push_back(params->rgdispidNamedArgs[i]);
        calls.push_back(call);
        resultEmptyOnEntry = !result || result->vt == VT_EMPTY;
        if (id == 1) {
            if (result) {
                result->vt = VT_I4;
                result->lVal = 7;
            }
            return S_OK;
        }
        *exception = EXCEPINFO();
        switch (raiseWith) {
        case withScode: exception->scode = static_cast<SCODE>(0x800A03EC); break;
        case withWCode: exception->wCode = 1004; break;
        case deferred: exception->pfnDeferredFillIn = &FillIn; return DISP_E_EXCEPTION;
        }
        exception->bstrSource = ::SysAllocString(L"Recorder");
        exception->bstrDescription = ::SysAllocString(L"refused");
        return DISP_E_EXCEPTION;
    }
    static HRESULT STDMETHODCALLTYPE FillIn(EXCEPINFO* exception)
    {
        exception->scode = E_ACCESSDENIED;
        exception->bstrDescription = ::SysAllocString(L"filled in later");
        return S_OK;
    }

    std::vector<Seen> calls;
    std::vector<LCID> namesAsked;
    Raise raiseWith = withScode;
    bool resultEmptyOnEntry = false;
};

}  // namespace

TEST(ComObjectTest, AnswersItsTableAndCountsItsReferences)
{
    CCounted* object = new CCounted;
    ASSERT_EQ(1, g_alive);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out) << "null first";
    EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IUnknown, nullptr));
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IDispatch, &out));
    EXPECT_EQ(static_cast<IDispatch*>(object), out);
    EXPECT_EQ(2, object->References());
    EXPECT_EQ(1u, object->Release());
    EXPECT_EQ(0u, object->Release());
    EXPECT_EQ(0, g_alive) << "the last release deletes it";
}

TEST(ComObjectTest, AnOwnedObjectOnlyCountsAndAReleaseTooManyIsAsserted)
{
    COwned owned;
    EXPECT_EQ(E_INVALIDARG, owned.QueryInterface(IID_IUnknown, nullptr)) << "the class's own answer";
    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, owned.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(1, owned.References());
    EXPECT_EQ(0u, unknown->Release()) << "and nothing deleted";
    CExpectedAssertions expected;
    owned.Release();
    EXPECT_EQ(1, expected.Count());
}

TEST(ComObjectTest, TheFactoryMakesObjectsAndLetsARefusedOneGo)
{
    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, CCountedFactory::GetClassObject(IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0, g_alive) << "refused: gone at once";
    CCounted outer;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IUnknown, &out));
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, &out));
    EXPECT_EQ(2, g_alive);
    static_cast<IDispatch*>(out)->Release();
    EXPECT_EQ(1, g_alive);
    factory->LockServer(TRUE);
    EXPECT_EQ(1, CCountedFactory::locks);
    factory->LockServer(FALSE);
    EXPECT_EQ(0, CCountedFactory::locks);
    EXPECT_EQ(0u, factory->Release());
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, CCountedFactory::GetClassObject(IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);
}

TEST(ComPtrTest, OwnsOneReference)
{
    CCounted* object = new CCounted;  // the maker's reference
    {
        CComPtr<CCounted> adopted;
        adopted.Attach(object);
        EXPECT_EQ(1, object->References()) << "Attach adds none";
        CComPtr<CCounted> copy(adopted);
        CComPtr<CCounted> moved(std::move(copy));
        EXPECT_EQ(nullptr, copy.Get());
        EXPECT_EQ(2, object->References());
        moved = moved;
        EXPECT_EQ(2, object->References()) << "assigned to itself";
        CComPtr<IDispatch> other;
        EXPECT_EQ(S_OK, adopted.QueryInterface(IID_IDispatch, &other));
        EXPECT_EQ(3, object->References());
        other = nullptr;
        CCounted* handed = moved.Detach();
        EXPECT_EQ(2, object->References()) << "Detach hands the reference over";
        handed->Release();
    }
    EXPECT_EQ(0, g_alive);

    CComPtr<CCounted> filled;
    filled.Attach(new CCounted);
    CExpectedAssertions expected;
    CCounted** address = &filled;  // a filled pointer given as an out parameter would leak
    EXPECT_EQ(1, expected.Count());
    EXPECT_NE(nullptr, address);
}

TEST(ComVariantTest, OwnsWhatItHoldsAndCopiesIt)
{
    CComVariant empty;
    EXPECT_EQ(VT_EMPTY, empty.vt);
    EXPECT_EQ(VT_I4, CComVariant(5).vt);
    EXPECT_EQ(VT_R8, CComVariant::Double(0.5).vt);
    const CComVariant date = CComVariant::Date(46000.25);
    EXPECT_EQ(VT_DATE, date.vt);
    EXPECT_EQ(46000.25, date.date);

    CComVariant text(L"a\0b", 3);
    EXPECT_EQ(3u, ::SysStringLen(text.bstrVal)) << "the length given, NUL and all";
    CComVariant copy(text);
    EXPECT_NE(text.bstrVal, copy.bstrVal) << "a BSTR of its own";
    copy = CComVariant(static_cast<const wchar_t*>(nullptr));
    EXPECT_STREQ(L"", copy.bstrVal);

    CCounted* object = new CCounted;
    {
        CComVariant held(object);
        CComVariant second(held);
        EXPECT_EQ(3, object->References());
        CComVariant::SetMissing(&second);
        EXPECT_EQ(VT_ERROR, second.vt);
        EXPECT_EQ(DISP_E_PARAMNOTFOUND, second.scode);
        EXPECT_EQ(2, object->References());
    }
    EXPECT_EQ(0u, object->Release());
    EXPECT_EQ(0, g_alive);
}

TEST(ComBSTRTest, TakesOverAndHandsBack)
{
    CComBSTR text(L"x\0y", 3);
    EXPECT_EQ(std::wstring(L"x\0y", 3), text.ToString());
    CComBSTR none;
    EXPECT_EQ(L"", none.ToString());
    none.Attach(text.Detach());
    EXPECT_EQ(nullptr, text.Get());
    EXPECT_EQ(3u, none.Length());
    none.Free();
    EXPECT_EQ(nullptr, none.Get());
}

TEST(DispatchDriverTest, PassesArgumentsLastFirstAndNamesAPutsValue)
{
    CComPtr<CRecorder> recorder;
    recorder.Attach(new CRecorder);
    CDispatchDriver driver(LOCALE_SYSTEM_DEFAULT);
    driver.Attach(recorder);
    const CComVariant args[3] = {CComVariant(1), CComVariant(2), CComVariant(3)};
    CComVariant result(L"stale");
    ASSERT_EQ(S_OK, driver.Call(L"First", args, 3, &result, nullptr));
    EXPECT_TRUE(recorder->resultEmptyOnEntry) << "the result is cleared before the call";
    EXPECT_EQ(7, result.lVal);
    ASSERT_EQ(S_OK, driver.PutProperty(L"First", &args[0], nullptr));
    ASSERT_EQ(S_OK, driver.GetProperty(L"First", &result, nullptr));

    ASSERT_EQ(3u, recorder->calls.size());
    EXPECT_EQ((std::vector<long>{3, 2, 1}), recorder->calls[0].args);
    EXPECT_TRUE(recorder->calls[0].named.empty());
    EXPECT_EQ(static_cast<LCID>(LOCALE_SYSTEM_DEFAULT), recorder->calls[0].locale) << "the driver's locale";
    EXPECT_EQ(DISPATCH_PROPERTYPUT, recorder->calls[1].flags);
    EXPECT_EQ(std::vector<DISPID>{DISPID_PROPERTYPUT}, recorder->calls[1].named);
    EXPECT_TRUE(recorder->calls[2].named.empty());
    EXPECT_EQ(std::vector<LCID>{LOCALE_USER_DEFAULT}, recorder->namesAsked) << "each name asked once";

    // Without the driver's cache, every name is asked each time.
    DISPID id = 0;
    ASSERT_EQ(S_OK, CDispatchDriver::GetDispId(recorder, L"First", &id));
    ASSERT_EQ(S_OK, CDispatchDriver::GetDispId(recorder, L"First", &id));
    EXPECT_EQ(3u, recorder->namesAsked.size());
    CComFailure failure;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, driver.Call(L"Missing", nullptr, 0, nullptr, &failure));
    EXPECT_EQ(DISP_E_UNKNOWNNAME, failure.code);
}

TEST(DispatchDriverTest, AnExceptionIsDescribedByItsOwnCodeAndTexts)
{
    CComPtr<CRecorder> recorder;
    recorder.Attach(new CRecorder);
    CDispatchDriver driver;
    driver.Attach(recorder);
    CComFailure failure;
    EXPECT_EQ(static_cast<HRESULT>(0x800A03EC), driver.Call(L"Raise", nullptr, 0, nullptr, &failure))
        << "the driver answers the raised code";
    EXPECT_EQ(static_cast<HRESULT>(0x800A03EC), failure.code);
    EXPECT_EQ(L"Recorder", failure.source);
    EXPECT_EQ(L"refused", failure.description);

    recorder->raiseWith = CRecorder::withWCode;
    EXPECT_EQ(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, 1004),
              driver.Call(L"Raise", nullptr, 0, nullptr, &failure));

    recorder->raiseWith = CRecorder::deferred;
    EXPECT_EQ(E_ACCESSDENIED, driver.Call(L"Raise", nullptr, 0, nullptr, &failure));
    EXPECT_EQ(L"filled in later", failure.description);

    // The static call answers Invoke's own result.
    DISPID id = 0;
    ASSERT_EQ(S_OK, CDispatchDriver::GetDispId(recorder, L"Raise", &id));
    recorder->raiseWith = CRecorder::withScode;
    EXPECT_EQ(DISP_E_EXCEPTION, CDispatchDriver::Invoke(recorder, id, DISPATCH_METHOD, LOCALE_USER_DEFAULT, nullptr, 0,
                                                        nullptr, nullptr));

    CDispatchDriver none;
    EXPECT_EQ(E_POINTER, none.Call(L"First", nullptr, 0, nullptr, &failure));
    EXPECT_EQ(E_POINTER, failure.code);
    EXPECT_EQ(L"CADODataBase Error\n\tCode = 80004003\n\tCode meaning = " + ErrorMeaning(E_POINTER) +
                  L"\n\tSource = \n\tDescription = \n",
              FormatComError(L"CADODataBase", failure));
}

namespace {

enum class Apartment { none, single, multi };

// What the calling thread is now, asked by initialising the multithreaded apartment, which a
// single-threaded apartment refuses; what the question initialised is undone.
Apartment ThreadApartment()
{
    const HRESULT asked = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (asked == RPC_E_CHANGED_MODE) return Apartment::single;
    if (SUCCEEDED(asked)) ::CoUninitialize();
    return asked == S_OK ? Apartment::none : Apartment::multi;
}

// Runs the steps on a thread of their own, which starts without COM; the test looks at what they
// recorded once the thread has ended (the test framework is not called from other threads).
template <class Steps>
void OnNewThread(Steps steps)
{
    std::thread(steps).join();
}

}  // namespace

TEST(ComInitTest, UndoesItsOneInitialisationAtItsEndOrWhenAsked)
{
    CExpectedAssertions expected;
    HRESULT first = E_FAIL, second = E_FAIL;
    Apartment during = Apartment::none, afterEnd = Apartment::single, afterUninitialize = Apartment::single;
    bool held = false;
    OnNewThread([&] {
        {
            CComInit com;
            first = com.Initialize();
            held = com.IsInitialized();
            during = ThreadApartment();
            second = com.Initialize();  // asserted: one initialisation per owner
        }
        afterEnd = ThreadApartment();
        CComInit com;
        com.Initialize(COINIT_MULTITHREADED);
        com.Uninitialize();
        afterUninitialize = ThreadApartment();
    });
    EXPECT_EQ(S_OK, first);
    EXPECT_TRUE(held);
    EXPECT_EQ(Apartment::single, during) << "an apartment by default";
    EXPECT_EQ(1, expected.Count());
    EXPECT_EQ(S_FALSE, second);
    EXPECT_EQ(Apartment::none, afterEnd) << "one uninitialisation undid everything";
    EXPECT_EQ(Apartment::none, afterUninitialize);
}

TEST(ComInitTest, AnInitialisationOfAThreadAlreadyInitialisedCountsOnceAndAFailedOneNotAtAll)
{
    HRESULT again = E_FAIL, refused = S_OK;
    bool againHeld = false, refusedHeld = true;
    Apartment ownerGone = Apartment::none, outerGone = Apartment::single, multiKept = Apartment::none;
    OnNewThread([&] {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // someone else's, before the owner
        {
            CComInit com;
            again = com.Initialize();
            againHeld = com.IsInitialized();
            com.Uninitialize();
        }  // its end must not undo a second time
        ownerGone = ThreadApartment();
        ::CoUninitialize();
        outerGone = ThreadApartment();

        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            CComInit com;
            refused = com.Initialize(COINIT_APARTMENTTHREADED);
            refusedHeld = com.IsInitialized();
        }
        multiKept = ThreadApartment();
        ::CoUninitialize();
    });
    EXPECT_EQ(S_FALSE, again);
    EXPECT_TRUE(againHeld) << "S_FALSE needs its uninitialisation too";
    EXPECT_EQ(Apartment::single, ownerGone) << "the earlier initialisation stays";
    EXPECT_EQ(Apartment::none, outerGone) << "the owner's count was given back";
    EXPECT_EQ(RPC_E_CHANGED_MODE, refused);
    EXPECT_FALSE(refusedHeld);
    EXPECT_EQ(Apartment::multi, multiKept) << "a refused initialisation undoes nothing";
}

TEST(OleInitTest, InitialisesOleOnlyForItsScopeAndNeverUndoesARefusal)
{
    HRESULT first = E_FAIL, refused = S_OK, oleDuring = E_FAIL, oleAfter = E_FAIL;
    Apartment during = Apartment::none, after = Apartment::single, multiKept = Apartment::none;
    bool refusedHeld = true;
    // OleInitialize answers S_FALSE on a thread whose OLE is initialised already and S_OK where
    // only COM is, or nothing (Wine 8, measured); what the question initialised is undone.
    auto oleAnswer = [] {
        const HRESULT answer = ::OleInitialize(nullptr);
        if (SUCCEEDED(answer)) ::OleUninitialize();
        return answer;
    };
    OnNewThread([&] {
        {
            COleInit ole;
            first = ole.Initialize();
            during = ThreadApartment();
            oleDuring = oleAnswer();
        }
        after = ThreadApartment();
        oleAfter = oleAnswer();

        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            COleInit ole;
            refused = ole.Initialize();
            refusedHeld = ole.IsInitialized();
        }
        multiKept = ThreadApartment();
        ::CoUninitialize();
    });
    EXPECT_EQ(S_OK, first);
    EXPECT_EQ(Apartment::single, during);
    EXPECT_EQ(S_FALSE, oleDuring) << "OLE, not COM alone";
    EXPECT_EQ(Apartment::none, after);
    EXPECT_EQ(S_OK, oleAfter);
    EXPECT_EQ(RPC_E_CHANGED_MODE, refused);
    EXPECT_FALSE(refusedHeld);
    EXPECT_EQ(Apartment::multi, multiKept);
}
