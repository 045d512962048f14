// ExcelDouble.exe: a test double of Excel's automation server, for the desktop program's export.
//
// Registered in a test prefix as the class of "Excel.Application" (LocalServer32, see
// ExcelRecord.h), it is started by COM with -Embedding, offers its class for one client only
// (REGCLS_SINGLEUSE, so every export gets a process of its own, as with a fresh Excel) and ends
// when the last reference to its objects goes, or after the idle time without calls. What the
// client did and what the workbook held are in its record (RecordFormat.h).
//
// Options (before -Embedding, which COM appends):
//   -record FOLDER     write FOLDER\excel-<pid>.txt
//   -fail N            the Nth Invoke fails with an exception
//   -failmember NAME   every Invoke of that member fails with an exception
//   -exitafter N       the process dies when Invoke N + 1 arrives (a user closing Excel)
//   -startdelay MS     wait that long before offering the class (a slow start)
//   -idle SECONDS      end after that long without a call (default 120; before the first call
//                      at least 30 s, the time a client of COM waits for a starting server)
// Exit codes: 0 after a run, 2 for bad options or a record that cannot be made, 3 when
// -exitafter ended it.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <algorithm>

#include "sdk/excel/ExcelObjects.h"
#include "sdk/excel/RecordFormat.h"
#include "sdk/excel/ServerState.h"

using namespace excel_double;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    CServer& server = CServer::Get();
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::wstring error;
    bool parsed = argv && ParseOptions(argc, argv, &server.options, &error);
    if (argv) ::LocalFree(argv);
    if (!parsed || !server.OpenRecord(::GetCommandLineW())) return 2;
    if (!server.options.embedding) {
        server.Write("end\treason=" + std::string("not-started-by-com") + "\theld=0\tinvokes=0\tnames=0");
        return 2;
    }

    if (server.options.startDelayMs) ::Sleep(server.options.startDelayMs);
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    CApplicationFactory factory;
    DWORD cookie = 0;
    HRESULT hr = ::CoRegisterClassObject(CLSID_ExcelDouble, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie);
    if (FAILED(hr)) {
        server.Write("end\treason=register-failed\thr=" + HexText(static_cast<unsigned long>(hr)));
        ::CoUninitialize();
        return 2;
    }

    // Calls arrive as messages of this thread; the loop ends when the last object goes (a quit
    // message) or when no call came for the idle time. A client may take a while to reach a
    // server it has just started, so the first call is waited for at least as long as COM's
    // client waits for the server.
    const DWORD firstCallMs = 30000;
    server.Touch();
    UINT_PTR timer = ::SetTimer(nullptr, 0, 250, nullptr);
    const char* reason = "released";
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer) {
            DWORD idleMs = server.Invokes() + server.Names() ? server.options.idleMs
                                                             : std::max(server.options.idleMs, firstCallMs);
            if (server.IdleFor() >= idleMs) {
                reason = "idle";
                break;
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::KillTimer(nullptr, timer);
    ::CoRevokeClassObject(cookie);

    std::string lines = TheModel().RecordLines();
    for (size_t start = 0; start < lines.size();) {
        size_t end = lines.find("\r\n", start);
        server.Write(lines.substr(start, end - start));
        start = end + 2;
    }
    server.Write(std::string("end\treason=") + reason + "\theld=" + std::to_string(server.Alive()) +
                 "\tobjects=" + server.AliveNames() + "\tinvokes=" + std::to_string(server.Invokes()) +
                 "\tnames=" + std::to_string(server.Names()));
    ::CoUninitialize();
    return 0;
}
