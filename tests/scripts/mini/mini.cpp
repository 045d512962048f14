// Exits with the code that the check writes into mini.h: 0 passes, anything else fails.
#include "mini.h"

#include <cstdio>

int main()
{
    std::printf("mini: %d-bit, exit %d\n", static_cast<int>(sizeof(void*) * 8), MINI_EXIT);
    return MINI_EXIT;
}
