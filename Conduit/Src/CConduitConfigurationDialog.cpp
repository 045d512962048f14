#include "Conduit/Src/CConduitConfigurationDialog.h"

#include <exception>

#include "Conduit/Src/ConduitLog.h"
#include "Conduit/Src/Helpers.h"

namespace {

// The pictures in the order they are painted: (bitmap, control).
// clang-format off
const struct { UINT bitmap, control; } kPictures[] = {
    {IDB_SYNC_BOTH,        IDC_PICTURE_SYNC},
    {IDB_SYNC_TO_HANDHELD, IDC_PICTURE_TO_HANDHELD},
    {IDB_SYNC_TO_DESKTOP,  IDC_PICTURE_TO_DESKTOP},
    {IDB_SYNC_NOTHING,     IDC_PICTURE_NOTHING},
    {IDB_SYNC_TO_HANDHELD, IDC_PICTURE_DESKTOP_WINS},
    {IDB_SYNC_TO_DESKTOP,  IDC_PICTURE_HANDHELD_WINS},
    {IDB_SYNC_BOTH,        IDC_PICTURE_DUPLICATE},
};
// clang-format on

CStringA LoadTextFrom(HINSTANCE module, UINT id)
{
    char text[256] = {};
    ::LoadStringA(module, id, text, sizeof text);
    return CStringA(text);
}

}  // namespace

CStringA GetActionText(int index)
{
    static const UINT ids[] = {IDS_ACTION_SYNC, IDS_ACTION_TO_HANDHELD, IDS_ACTION_TO_DESKTOP, IDS_ACTION_NOTHING};
    return LoadTextFrom(g_Conduit.ModuleHandle, ids[index >= 0 && index <= 3 ? index : 3]);
}

HWND ChooseDialogOwner()
{
    // The manager's window is in front when the user asks it for the settings. A window of
    // another process in front (the desktop program, say) is not ours to disable for as long as
    // the dialog is open.
    const CWindow foreground(::GetForegroundWindow());
    if (foreground.m_hWnd && foreground.GetWindowProcessID() == ::GetCurrentProcessId()) return foreground;
    return ::GetActiveWindow();  // null when the calling thread has none
}

bool RunConfigurationDialog(ConduitConfigRequest* request)
{
    CConduitConfigurationDialog dialog(request, &g_Conduit);
    return dialog.DoModal(ChooseDialogOwner()) == IDOK;
}

CConduitConfigurationDialog::CConduitConfigurationDialog(ConduitConfigRequest* request, CConduit* module)
    : m_request(request), m_module(module), m_actionIndex(0), m_conflictIndex(2), m_setAsDefault(false)
{}

CConduitConfigurationDialog::~CConduitConfigurationDialog() = default;

int CConduitConfigurationDialog::SyncTypeToIndex(long syncType)
{
    switch (syncType) {
    case HsSyncFast:
    case HsSyncSlow: return 0;
    case HsSyncDesktopToHandheld: return 1;
    case HsSyncHandheldToDesktop: return 2;
    default: return 3;
    }
}

long CConduitConfigurationDialog::IndexToSyncType(int index)
{
    switch (index) {
    case 0: return HsSyncFast;
    case 1: return HsSyncDesktopToHandheld;
    case 2: return HsSyncHandheldToDesktop;
    default: return HsSyncDoNothing;
    }
}

CStringA CConduitConfigurationDialog::LoadText(UINT id) const
{
    return LoadTextFrom(m_module->ModuleHandle, id);
}

BOOL CConduitConfigurationDialog::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult,
                                                       DWORD dwMsgMapID)
{
    if (dwMsgMapID != 0) return FALSE;
    lResult = 0;
    try {
        switch (uMsg) {
        case WM_INITDIALOG:
            OnInitDialog();
            lResult = TRUE;  // the system sets the focus
            return TRUE;
        case WM_CLOSE: EndDialog(IDCANCEL); return TRUE;
        case WM_SYSCOLORCHANGE: SetBitmaps(); return TRUE;
        case WM_DESTROY:
            // The last pictures go with the dialog; the default handling goes on.
            FreeBitmaps();
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                OnOK();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
        }
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    } catch (...) {
        ShowErrorBox("Unknown exception");
    }
    EndDialog(IDCANCEL);
    return TRUE;
}

void CConduitConfigurationDialog::OnInitDialog()
{
    m_actionIndex = SyncTypeToIndex(m_request->nextSyncType);
    m_setAsDefault = false;
    const long conflicts = m_module->ConflictsResolving;
    m_conflictIndex = conflicts == 0 || conflicts == 1 ? static_cast<int>(conflicts) : 2;

    ::SetDlgItemTextA(m_hWnd, IDC_GROUP_ACTION, LoadText(IDS_ACTION_GROUP));
    ::SetWindowTextA(m_hWnd, LoadText(IDS_CONDUIT_NAME));
    ::SetDlgItemTextA(m_hWnd, IDC_NEXT_ACTION, GetActionText(m_actionIndex));
    SetBitmaps();
    // The manager's own request also shows the default action and whose settings these are; the
    // conduit's request (ConfigureConduit) leaves both empty.
    if (m_request->showUserSettings != 0) {
        ::SetDlgItemTextA(m_hWnd, IDC_DEFAULT_ACTION, GetActionText(SyncTypeToIndex(m_request->defaultSyncType)));
        char user[sizeof m_request->userName + 1] = {};
        std::memcpy(user, m_request->userName, sizeof m_request->userName);
        CStringA caption;
        caption.Format(LoadText(IDS_USER_SETTINGS), user);
        ::SetDlgItemTextA(m_hWnd, IDC_GROUP_USER, caption);
    }
    DoDataExchange(FALSE);
}

void CConduitConfigurationDialog::OnOK()
{
    m_actionIndex = -1;
    m_conflictIndex = -1;
    DoDataExchange(TRUE);
    m_request->chosenSyncType = IndexToSyncType(m_actionIndex);
    m_request->preference = m_setAsDefault ? HsPreferenceEveryRun : HsPreferenceNextRun;
    m_module->ConflictsResolving = m_conflictIndex == 0 || m_conflictIndex == 1 ? m_conflictIndex : 2;
    EndDialog(IDOK);
}

void CConduitConfigurationDialog::SetBitmaps()
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (const auto& picture : kPictures) {
        HBITMAP loaded = static_cast<HBITMAP>(
            ::LoadImageA(m_module->ModuleHandle, MAKEINTRESOURCEA(picture.bitmap), IMAGE_BITMAP, 0, 0, 0));
        if (!loaded) continue;
        HBITMAP recoloured = RecolorBitmap(loaded, face);
        ::DeleteObject(loaded);
        if (!recoloured) continue;
        HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(::SendDlgItemMessageA(
            m_hWnd, picture.control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(recoloured)));
        if (previous) ::DeleteObject(previous);
    }
}

void CConduitConfigurationDialog::FreeBitmaps()
{
    for (const auto& picture : kPictures) {
        HGDIOBJ previous =
            reinterpret_cast<HGDIOBJ>(::SendDlgItemMessageA(m_hWnd, picture.control, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (previous) ::DeleteObject(previous);
    }
}
