#include "tests/support/Assertions.h"

#include <gtest/gtest.h>

namespace {

CExpectedAssertions* g_expected = nullptr;

}  // namespace

CExpectedAssertions::CExpectedAssertions() : m_outer(g_expected)
{
    g_expected = this;
}

CExpectedAssertions::~CExpectedAssertions()
{
    g_expected = m_outer;
}

CExpectedAssertions* CExpectedAssertions::Current()
{
    return g_expected;
}

void CExpectedAssertions::Record(const char* condition)
{
    ++m_count;
    m_last = condition ? condition : "";
}

// Found by common/Assert.h in the program's export table.
extern "C" __declspec(dllexport) void AlkOnAssertionFailed(const char* file, int line, const char* condition)
{
    if (CExpectedAssertions* expected = CExpectedAssertions::Current()) {
        expected->Record(condition);
        return;
    }
    ADD_FAILURE_AT(file, line) << "assertion failed: " << condition;
}
