// Two GoogleTest cases, for tools/run-test with a filter that picks one of them or none.
#include <gtest/gtest.h>

TEST(MiniCases, One)
{
    EXPECT_EQ(2, 1 + 1);
}

TEST(MiniCases, Two)
{
    EXPECT_EQ(4, 2 * 2);
}
