// Failed ALK_ASSERTs in a test program. Every test program exports AlkOnAssertionFailed
// (Assertions.cpp, compiled into each by alk_add_test), so a failed assertion in any module of the
// process (the program, AlkBiz.dll, ...) fails the running test, unless a CExpectedAssertions
// scope is open: a test that breaks an invariant on purpose, to see the defensive code behind the
// assertion, counts them instead.
#pragma once

#include <string>

class CExpectedAssertions {
public:
    CExpectedAssertions();
    ~CExpectedAssertions();
    CExpectedAssertions(const CExpectedAssertions&) = delete;
    CExpectedAssertions& operator=(const CExpectedAssertions&) = delete;

    // Failed assertions seen while the scope was open, and the condition text of the last one.
    int Count() const { return m_count; }
    const std::string& Last() const { return m_last; }

    static CExpectedAssertions* Current();
    void Record(const char* condition);

private:
    CExpectedAssertions* m_outer;
    int m_count = 0;
    std::string m_last;
};
