#include "ListsTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The bold interface font, made once for the whole test program as the program makes it.
struct BoldFont {
    BoldFont() { CreateBoldFont(); }
    ~BoldFont() { DeleteObject(g_hBoldFont); }
} g_boldFont;

}  // namespace
