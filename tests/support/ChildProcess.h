// Programs of the build run as child processes of a test, their output (standard output and
// error together) in a file the test reads afterwards.
#pragma once

#include <windows.h>

#include <string>

// Starts a program, its output in the file; the process handle (null when it could not start).
HANDLE StartProgram(const std::string& program, const std::string& arguments, const std::string& output);
// Runs a program; its exit code (-1 when it could not start; a program that does not end in
// time is ended and gives 259).
long RunProgram(const std::string& program, const std::string& arguments, const std::string& output,
                DWORD timeoutMs = 120000);
