#include "framework/PropertySheet.h"

CPropertySheetBase*& CPropertySheetBase::Running()
{
    static thread_local CPropertySheetBase* running = nullptr;
    return running;
}

int CALLBACK CPropertySheetBase::SheetCallback(HWND hWnd, UINT msg, LPARAM lParam)
{
    switch (msg) {
    case PSCB_PRECREATE: {
        // No context-help button in the caption. The template is a DLGTEMPLATE or, with the
        // 0xFFFF signature, a DLGTEMPLATEEX (help id, extended style, style follow).
        auto* words = reinterpret_cast<WORD*>(lParam);
        if (words[1] == 0xFFFF) {
            DWORD* fields = reinterpret_cast<DWORD*>(words + 2);  // helpID, exStyle, style
            fields[1] &= ~static_cast<DWORD>(WS_EX_CONTEXTHELP);
            fields[2] &= ~static_cast<DWORD>(DS_CONTEXTHELP);
        } else {
            auto* tmpl = reinterpret_cast<DLGTEMPLATE*>(lParam);
            tmpl->style &= ~static_cast<DWORD>(DS_CONTEXTHELP);
            tmpl->dwExtendedStyle &= ~static_cast<DWORD>(WS_EX_CONTEXTHELP);
        }
        break;
    }
    case PSCB_INITIALIZED:
        if (CPropertySheetBase* sheet = Running()) {
            try {
                sheet->OnSheetInitialized(hWnd);
            } catch (...) {}
        }
        break;
    default: break;
    }
    return 0;
}
