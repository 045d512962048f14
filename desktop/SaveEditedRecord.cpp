#include "desktop/SaveEditedRecord.h"

#include "desktop/Utility.h"
#include "resources/desktop/resource.h"

void ShowNotSavedWarning()
{
    ::MessageBoxW(::GetActiveWindow(), LoadResString(IDS_NOT_SAVED), LoadResString(IDR_MAINFRAME),
                  MB_OK | MB_ICONEXCLAMATION);
}
