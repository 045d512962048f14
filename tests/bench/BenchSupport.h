// Shared by the benchmarks: wall time, the best and median of a bench's rounds, text for the
// "A" calls, and a registry value set for the run and put back afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace alk_bench {

// Seconds of the performance counter: only differences between two calls mean anything.
double Seconds();
// The median of a bench's rounds (the upper one of an even count) and the best of them.
double Median(std::vector<double> values);
double Best(const std::vector<double>& values);

// Text in the ANSI code page, cut at MAX_PATH * 2 - 1 bytes (paths and names of the benches).
std::string Ansi(const std::wstring& text);

// A registry value for the run, put back (or removed) afterwards.
class SavedValue {
public:
    SavedValue(HKEY root, const char* path, const char* name);
    ~SavedValue();
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;
    void Set(DWORD type, const void* data, DWORD size);
    void SetText(const std::string& text) { Set(REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1)); }
    void SetNumber(DWORD value) { Set(REG_DWORD, &value, sizeof value); }

private:
    HKEY m_root;
    std::string m_path, m_name;
    bool m_had = false;
    DWORD m_type = 0, m_size = 0;
    BYTE m_data[1024] = {};
};

}  // namespace alk_bench
