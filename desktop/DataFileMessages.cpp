#include "desktop/DataFileMessages.h"

#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "resources/desktop/resource.h"

namespace {

// Whether the damage of the connected file has been told (reset when a file is connected).
bool g_damageTold = false;

}  // namespace

CString DescribeFailure(CDataLayer::FailureCause cause)
{
    switch (cause) {
    case CDataLayer::fcBusy: return LoadResString(IDS_CAUSE_BUSY);
    case CDataLayer::fcReadOnly: return LoadResString(IDS_CAUSE_READ_ONLY);
    case CDataLayer::fcDamaged: return LoadResString(IDS_CAUSE_DAMAGED);
    case CDataLayer::fcLayout: return LoadResString(IDS_CAUSE_LAYOUT);
    case CDataLayer::fcDiskFull: return LoadResString(IDS_CAUSE_DISK_FULL);
    case CDataLayer::fcDiskError: return LoadResString(IDS_CAUSE_DISK_ERROR);
    case CDataLayer::fcCannotOpen: return LoadResString(IDS_CAUSE_CANNOT_OPEN);
    case CDataLayer::fcNotConnected: return LoadResString(IDS_CAUSE_NOT_CONNECTED);
    case CDataLayer::fcNotFound: return LoadResString(IDS_CAUSE_NOT_FOUND);
    case CDataLayer::fcPathTooLong: return LoadResString(IDS_CAUSE_PATH_TOO_LONG);
    default: return LoadResString(IDS_CAUSE_OTHER);
    }
}

bool CanRetry(CDataLayer::FailureCause cause)
{
    switch (cause) {
    case CDataLayer::fcBusy:
    case CDataLayer::fcReadOnly:
    case CDataLayer::fcDiskFull:
    case CDataLayer::fcDiskError:
    case CDataLayer::fcCannotOpen: return true;
    default: return false;
    }
}

void TellOfDamage()
{
    if (!DamageToTell()) return;
    g_damageTold = true;
    CString text;
    text.Format(LoadResString(IDS_DATABASE_DAMAGED), g_DataLayer.GetDBPath());
    ::MessageBoxW(::GetActiveWindow(), text, LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONEXCLAMATION);
}

bool DamageToTell()
{
    return !g_damageTold && g_DataLayer.FoundDamage();
}

void ForgetDamageTold()
{
    g_damageTold = false;
}
