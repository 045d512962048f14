// ALK_ASSERT(condition): an invariant the code relies on and cannot recover from knowing.
//
//   ALK_ASSERT(m_hWnd != nullptr);
//   if (!m_hWnd) return FALSE;  // the defensive return stays: callers rely on it
//
// Every assertion keeps the defensive code behind it; an assertion only makes a broken invariant
// loud where it would otherwise pass in silence. When ALK_ASSERTIONS is non-zero (the build's
// default, see the root CMakeLists.txt) the condition is evaluated, and a false one is reported:
// a line "<file>(<line>): assertion failed: <condition>" to the debugger output, then to the
// function AlkOnAssertionFailed when the running program exports one (the test programs do:
// tests/support/Assertions.cpp fails the running test). Without that export the program goes on
// to the defensive code. With ALK_ASSERTIONS 0 nothing is evaluated.
//
// Header only, in plain Win32: the business library (AlkBiz.dll, which does not link the
// framework) and every other module use it as they are. The handler is found in the program's
// image rather than in a variable of this header, so that a failure in any DLL of the process
// reaches the one handler. No exception is thrown: an assertion inside a window procedure or a
// DLL export stays inside it.
#pragma once

#include <windows.h>

#include <cstdio>

#ifndef ALK_ASSERTIONS
#define ALK_ASSERTIONS 1
#endif

// What a test program exports to hear of failed assertions (C linkage, no decoration).
extern "C" typedef void (*AlkAssertionHandler)(const char* file, int line, const char* condition);

inline void AlkAssertionFailed(const char* file, int line, const char* condition)
{
    char text[512];
    std::snprintf(text, sizeof text, "%s(%d): assertion failed: %s\n", file, line, condition);
    ::OutputDebugStringA(text);
    FARPROC found = ::GetProcAddress(::GetModuleHandleW(nullptr), "AlkOnAssertionFailed");
    if (found) reinterpret_cast<AlkAssertionHandler>(reinterpret_cast<void*>(found))(file, line, condition);
}

#if ALK_ASSERTIONS
#define ALK_ASSERT(condition) ((condition) ? static_cast<void>(0) : AlkAssertionFailed(__FILE__, __LINE__, #condition))
#else
#define ALK_ASSERT(condition) static_cast<void>(0)
#endif
