// Resources of a DLL that links the framework come from the DLL itself (strings, dialog
// templates), also when the program has resources of the same ids; and the program's module
// object changes what the program's own framework copy uses.
#include <gtest/gtest.h>

#include "framework/Module.h"
#include "framework/String.h"
#include "TestResources.h"
#include "tests/support/Assertions.h"

namespace {

using LoadFn = int (*)(wchar_t*, int);

TEST(ModuleTest, ADllFindsItsOwnStringsAndDialogs)
{
    HMODULE dll = ::LoadLibraryW(L"framework_test_dll.dll");
    ASSERT_NE(nullptr, dll);
    auto load = reinterpret_cast<LoadFn>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllLoadOwnString")));
    auto run = reinterpret_cast<LoadFn>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllRunOwnDialog")));
    ASSERT_NE(nullptr, load);
    ASSERT_NE(nullptr, run);
    wchar_t buf[64] = {};
    EXPECT_EQ(15, load(buf, 64));
    EXPECT_STREQ(L"Text of the DLL", buf);
    EXPECT_EQ(IDOK, run(buf, 64));
    EXPECT_STREQ(L"Dialog of the DLL", buf);

    CString own;
    own.LoadString(IDS_CAPTION);  // the same id in the program
    EXPECT_STREQ(L"Caption from the table", own);
    ::FreeLibrary(dll);
}

TEST(ModuleTest, ADllLoadedAgainRegistersItsWindowClassesAgain)
{
    using MakeFn = int (*)();
    for (int load = 0; load < 2; ++load) {
        HMODULE dll = ::LoadLibraryW(L"framework_test_dll.dll");
        ASSERT_NE(nullptr, dll);
        auto make = reinterpret_cast<MakeFn>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllMakeWindow")));
        ASSERT_NE(nullptr, make);
        EXPECT_EQ(1, make()) << "load " << load;
        ::FreeLibrary(dll);
    }
}

TEST(ModuleTest, InitRecordsTheInstancesAndTermForgetsThem)
{
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    EXPECT_EQ(self, AlkGetResourceInstance()) << "before Init: the module holding the framework";
    {
        CAppModule module;
        module.Init(self);
        EXPECT_EQ(&module, AlkGetModule());
        EXPECT_EQ(self, module.GetModuleInstance());
        EXPECT_EQ(self, module.GetResourceInstance());
        HMODULE dll = ::LoadLibraryW(L"framework_test_dll.dll");
        ASSERT_NE(nullptr, dll);
        module.SetResourceInstance(dll);
        CString s;
        s.LoadString(IDS_CAPTION);
        EXPECT_STREQ(L"Text of the DLL", s) << "resources from the module's resource instance";
        module.SetResourceInstance(self);
        module.Term();
        EXPECT_EQ(nullptr, AlkGetModule());
        ::FreeLibrary(dll);
    }
    EXPECT_EQ(self, AlkGetResourceInstance());
}

int g_termCalls = 0;
void CountTerm()
{
    ++g_termCalls;
}

TEST(ModuleTest, TermRunsTheFunctionsGivenToItOnceEach)
{
    g_termCalls = 0;
    CAppModule module;
    module.Init(::GetModuleHandleW(nullptr));
    AlkAddTermFunc(&CountTerm);
    AlkAddTermFunc(&CountTerm);  // the same function: once
    module.Term();
    EXPECT_EQ(1, g_termCalls);
    module.Init(::GetModuleHandleW(nullptr));
    module.Term();
    EXPECT_EQ(1, g_termCalls) << "given for the next Term only";
}

TEST(ModuleTest, AFailedAssertionInADllReachesTheProgramsHandler)
{
    HMODULE dll = ::LoadLibraryW(L"framework_test_dll.dll");
    ASSERT_NE(nullptr, dll);
    using FailFn = int (*)();
    auto fail = reinterpret_cast<FailFn>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllFailAnAssertion")));
    ASSERT_NE(nullptr, fail);
    {
        CExpectedAssertions expected;
        EXPECT_EQ(1, fail()) << "the code behind the assertion runs on";
        EXPECT_EQ(1, expected.Count());
        EXPECT_EQ("!\"an invariant of the DLL\"", expected.Last());
    }
    ::FreeLibrary(dll);
}

}  // namespace
