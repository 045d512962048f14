// Exits with the code that the check writes into mini.h: 0 passes, anything else fails. It
// imports the common controls, so it starts only where its manifest names an assembly of its
// own architecture.
#include "mini.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>

int main()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    const BOOL controls = InitCommonControlsEx(&icc);
    std::printf("mini: %d-bit, common controls %s, exit %d\n", static_cast<int>(sizeof(void*) * 8),
                controls ? "loaded" : "refused", MINI_EXIT);
    return controls ? MINI_EXIT : 4;
}
