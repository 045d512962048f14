// CVehicleImage: the pane under the quick statistics that shows the active vehicle's picture.
//
// A picture file is decoded through the platform's OLE picture loading (whatever formats it
// knows) and shown stretched to the pane, the aspect ratio not kept; the pane keeps exactly one
// stretched copy, made anew at each size change. Without a picture, or when the file cannot be
// read or decoded, the program's default picture is shown at its own size, centred, and a click
// on it explains how to assign one.
//
// The main frame creates the control as a static with SS_BITMAP | SS_CENTERIMAGE |
// SS_REALSIZEIMAGE | SS_NOTIFY and WS_EX_STATICEDGE, then calls SetPicture(nullptr).
#pragma once

#include <windows.h>

#include "framework/Controls.h"
#include "framework/WindowImpl.h"

class CVehicleImage : public CWindowImpl<CVehicleImage, CStatic,
                                         CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0>> {
public:
    CVehicleImage();
    ~CVehicleImage() override;

    // Shows the picture of that file; null or an empty path shows the default picture, and so
    // does a file that cannot be opened, read or decoded.
    void SetPicture(const wchar_t* path);
    // Decodes the file into the source bitmap; TRUE when it did.
    BOOL LoadPictureFile(const wchar_t* path);
    // Gives the control what it should show at its current size.
    void UpdateDisplay();

    // TRUE while the default picture is shown.
    BOOL IsDefaultPicture() const { return m_defaultPicture; }

    // clang-format off
    BEGIN_MSG_MAP(CVehicleImage)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    void FreeBitmaps();
    void LoadDefaultPicture();

    // Owned: the decoded picture (a copy, independent of the picture object) or the default.
    HBITMAP m_source;
    // Owned when it is a stretched copy; otherwise the source itself.
    HBITMAP m_shown;
    BOOL m_defaultPicture;
};
