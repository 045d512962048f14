// What the tests of the old-data import share: the ADO double registered in the test prefix, its
// journal, old-format files, and the message boxes of a caption answered from a watcher thread.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sdk/ado/OldDataFile.h"

// Registers the copy of AdoDouble.dll beside the test program under ADO's ProgIDs (in the test
// prefix's registry; its registry is fresh at each test run). False when it could not.
bool RegisterAdoDouble();

// The double's journal for a scope: ALK_ADO_JOURNAL names a fresh file, unset again at the end.
class CJournal {
public:
    explicit CJournal(const std::wstring& path);
    ~CJournal();
    CJournal(const CJournal&) = delete;
    CJournal& operator=(const CJournal&) = delete;

    std::vector<std::wstring> Lines() const;
    // Index of the first line equal to line, or -1.
    int Find(const std::wstring& line) const;
    // Index of the first line starting with prefix, or -1.
    int FindPrefix(const std::wstring& prefix) const;
    void Clear() const;

private:
    std::wstring m_path;
};

// Answers every message box (a "#32770" window) of the caption with its first button, from a
// thread that looks for one every 10 ms, one box at a time; keeps what each box said.
class CBoxWatcher {
public:
    struct Box {
        std::wstring text;
        UINT icon;  // MB_ICONHAND, MB_ICONEXCLAMATION, MB_ICONINFORMATION ... as shown; 0 unknown
    };

    // beforeAnswer, when given, runs on the watcher's thread with each box before it is answered
    // (a test looks at the rest of the program while the box holds its thread).
    explicit CBoxWatcher(const std::wstring& caption, std::function<void(HWND box)> beforeAnswer = nullptr);
    ~CBoxWatcher();
    CBoxWatcher(const CBoxWatcher&) = delete;
    CBoxWatcher& operator=(const CBoxWatcher&) = delete;

    std::vector<Box> Boxes() const;
    std::vector<std::wstring> Texts() const;
    void Clear();

private:
    void Watch();

    std::wstring m_caption;
    std::function<void(HWND)> m_beforeAnswer;
    mutable std::mutex m_lock;
    std::vector<Box> m_boxes;
    HANDLE m_stop;
    std::thread m_thread;
};

// The texts of the import library's messages.
extern const wchar_t kDisconnectText[];
extern const wchar_t kCannotImportText[];

// An OLE date from its parts (no time-zone change).
double OleDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
