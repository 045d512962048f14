#include "tests/support/ChildProcess.h"

HANDLE StartProgram(const std::string& program, const std::string& arguments, const std::string& output)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return nullptr;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::string line = "\"" + program + "\" " + arguments;
    const BOOL started =
        CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(out);
    if (!started) return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

long RunProgram(const std::string& program, const std::string& arguments, const std::string& output, DWORD timeoutMs)
{
    HANDLE process = StartProgram(program, arguments, output);
    if (!process) return -1;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process, &code);
    } else {
        TerminateProcess(process, STILL_ACTIVE);
        WaitForSingleObject(process, INFINITE);
    }
    CloseHandle(process);
    return static_cast<long>(code);
}
