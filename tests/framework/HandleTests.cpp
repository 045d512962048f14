// The owners of a kernel handle and of a global memory block: a file held open exclusively shows
// whether its handle is still open, and the program's own GlobalFree, replaced for the test,
// shows which blocks were freed.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Handle.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/TestFiles.h"

namespace {

// Opened for writing and shared with no one: while the handle is open, no other open succeeds.
HANDLE OpenExclusive(const std::wstring& path)
{
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Whether a handle opened by OpenExclusive is still open somewhere.
bool HeldOpen(const std::wstring& path)
{
    HANDLE probe = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_SHARING_VIOLATION;
    ::CloseHandle(probe);
    return false;
}

std::vector<HGLOBAL> g_freed;
HGLOBAL(WINAPI* g_globalFree)(HGLOBAL) = nullptr;

HGLOBAL WINAPI RecordingGlobalFree(HGLOBAL block)
{
    g_freed.push_back(block);
    return g_globalFree(block);
}

}  // namespace

TEST(HandleTest, ClosesTheHandleItHoldsAtItsEndAndHoldsAFailedOpenAsNothing)
{
    CScratchFolder folder(L"alk-handle");
    const std::wstring path = folder.File(L"held.bin");
    {
        CHandle file(OpenExclusive(path));
        ASSERT_TRUE(file);
        EXPECT_TRUE(HeldOpen(path));
    }
    EXPECT_FALSE(HeldOpen(path));

    CHandle missing(::CreateFileW(folder.File(L"absent.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_EQ(nullptr, missing.Get()) << "INVALID_HANDLE_VALUE tested like null";
    EXPECT_TRUE(missing.Close()) << "nothing to close";
    missing.Attach(INVALID_HANDLE_VALUE);
    EXPECT_EQ(nullptr, missing.Get());
}

TEST(HandleTest, DetachHandsTheHandleOverAndAttachClosesTheOneBefore)
{
    CScratchFolder folder(L"alk-handle");
    const std::wstring first = folder.File(L"first.bin"), second = folder.File(L"second.bin");
    HANDLE raw = nullptr;
    {
        CHandle file(OpenExclusive(first));
        raw = file.Detach();
        EXPECT_EQ(nullptr, file.Get());
    }
    EXPECT_TRUE(HeldOpen(first)) << "a detached handle stays open";

    CHandle owner;
    owner.Attach(raw);
    owner.Attach(owner.Get());
    EXPECT_TRUE(HeldOpen(first)) << "attached to itself, it is kept";
    owner.Attach(OpenExclusive(second));
    EXPECT_FALSE(HeldOpen(first));
    EXPECT_TRUE(HeldOpen(second));
    EXPECT_TRUE(owner.Close());
    EXPECT_FALSE(HeldOpen(second));
    EXPECT_EQ(nullptr, owner.Get());
}

TEST(GlobalMemoryTest, FreesTheBlockItHoldsOnceAndNoneItHandedOver)
{
    CImportPatch patch(nullptr, "kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&RecordingGlobalFree));
    ASSERT_TRUE(patch.Patched());
    g_globalFree = reinterpret_cast<HGLOBAL(WINAPI*)(HGLOBAL)>(patch.Original());
    g_freed.clear();

    HGLOBAL held = nullptr;
    {
        CGlobalMemory block(::GlobalAlloc(GMEM_MOVEABLE, 16));
        held = block;
        ASSERT_NE(nullptr, held);
    }
    EXPECT_EQ(std::vector<HGLOBAL>{held}, g_freed);

    g_freed.clear();
    HGLOBAL handed = nullptr;
    {
        CGlobalMemory block(::GlobalAlloc(GMEM_MOVEABLE, 16));
        handed = block.Detach();
        EXPECT_EQ(nullptr, block.Get());
    }
    EXPECT_TRUE(g_freed.empty()) << "a detached block is the caller's";

    CGlobalMemory owner(handed);
    owner.Attach(owner.Get());
    EXPECT_TRUE(g_freed.empty()) << "attached to itself, it is kept";
    HGLOBAL other = ::GlobalAlloc(GMEM_MOVEABLE, 16);
    owner.Attach(other);
    EXPECT_EQ(std::vector<HGLOBAL>{handed}, g_freed);
    owner.Free();
    owner.Free();
    EXPECT_EQ((std::vector<HGLOBAL>{handed, other}), g_freed) << "freed once";
    EXPECT_EQ(nullptr, owner.Get());
}
