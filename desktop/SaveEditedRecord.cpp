#include "desktop/SaveEditedRecord.h"

#include "desktop/Utility.h"
#include "resources/desktop/resource.h"

bool AskToSaveAgain()
{
    const CDataLayer::FailureCause cause = g_DataLayer.GetLastFailure();
    CString text;
    if (CanRetry(cause)) {
        text.Format(LoadResString(IDS_NOT_SAVED), DescribeFailure(cause).GetString());
        return ::MessageBoxW(::GetActiveWindow(), text, LoadResString(IDR_MAINFRAME),
                             MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
    }
    text.Format(LoadResString(IDS_NOT_WRITTEN), g_DataLayer.GetDBPath(), DescribeFailure(cause).GetString());
    ::MessageBoxW(::GetActiveWindow(), text, LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONEXCLAMATION);
    return false;
}
