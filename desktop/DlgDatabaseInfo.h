// CDlgDatabaseInfo: "Database Information": where the database file is, how many records of each
// kind it holds, its size and the database library's version, with "&Compress" to reclaim the
// space of deleted rows (the dialog stays open and shows the new size).
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "resources/desktop/resource.h"

class CDlgDatabaseInfo : public CDialogImpl<CDlgDatabaseInfo> {
public:
    enum { IDD = IDD_DATABASE_INFO };

    CDlgDatabaseInfo() = default;
    ~CDlgDatabaseInfo() override = default;

    // clang-format off
    BEGIN_MSG_MAP(CDlgDatabaseInfo)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnCompress)
        COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCompress(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(WORD, WORD, HWND, BOOL&);

    // The file's size (its low 32 bits) in the shell's kilobyte form; an unreadable size leaves
    // the field as it was.
    void ShowFileSize();
};
