// The ActiveSync manager's callback as a test or the manager double gives it to a store: it
// answers GetWindow with the window it was made with, and QueryDevice's synchronisation-data
// requests as the device application would, from the state in sdk/activesync/DeviceState.h:
//   code 2 (get)  the DWORD "SyncValue" written into the request's 4-byte buffer; fails when the
//                 value is missing or the buffer is smaller
//   code 10 (set) the request's UTF-16 text appended to <Root>\Messages.txt as a UTF-8 line
//   "QueryFails" non-zero makes every query fail (E_FAIL).
//
// Its owner keeps it (on the stack or as a member): the reference count only tells who else
// still holds it, and the last Release deletes nothing.
#pragma once

#include <windows.h>

#include "framework/ComObject.h"
#include "sdk/activesync/ReplStore.h"

class CReplNotifyDouble : public CComObjectImpl<CReplNotifyDouble, IReplNotify, comOwned> {
public:
    INTERFACE_TABLE(&IID_IUnknown, &IID_IReplNotify)

    explicit CReplNotifyDouble(HWND window = nullptr) : CComObjectImpl(0), m_window(window) {}
    HWND STDMETHODCALLTYPE GetWindow(UINT flags) override;
    HRESULT STDMETHODCALLTYPE QueryDevice(UINT code, void* data) override;

    // References held besides the owner's (0 when no one else holds it).
    LONG References() const { return ReferenceCount(); }
    // Queries answered or refused so far.
    int Queries() const { return m_queries; }

private:
    HRESULT AppendMessage(const BYTE* text, UINT size);

    HWND m_window;
    int m_queries = 0;
};
