// The test programs run as the configuration they were built for: the i686 build as a 32-bit
// process, the x86_64 test vehicle as a 64-bit one. A toolchain or Wine loader mixed up between
// the two configurations shows here first.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Architecture, TheProcessIsOfTheBuildsArchitecture)
{
    EXPECT_EQ(static_cast<size_t>(ALK_TEST_POINTER_SIZE), sizeof(void*));
    // The machine field of the program's own image header, as the loader read it.
    const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    EXPECT_EQ(ALK_TEST_POINTER_SIZE == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386, nt->FileHeader.Machine);
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    EXPECT_EQ(ALK_TEST_POINTER_SIZE == 8 ? PROCESSOR_ARCHITECTURE_AMD64 : PROCESSOR_ARCHITECTURE_INTEL,
              info.wProcessorArchitecture);
}
