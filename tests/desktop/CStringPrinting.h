// CString in test assertions: printed as its text by GoogleTest, and turned into a std::wstring of
// its full length (embedded NULs included).
#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "framework/String.h"

inline void PrintTo(const CString& s, std::ostream* os)
{
    *os << ::testing::PrintToString(std::wstring(s.GetString(), s.GetLength()));
}

namespace alk_test {

inline std::wstring W(const CString& s)
{
    return std::wstring(s.GetString(), s.GetLength());
}

}  // namespace alk_test
