#include "tests/bench/BenchSupport.h"

#include <algorithm>

namespace alk_bench {

double Seconds()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Best(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

std::string Ansi(const std::wstring& text)
{
    char buffer[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

SavedValue::SavedValue(HKEY root, const char* path, const char* name) : m_root(root), m_path(path), m_name(name)
{
    m_size = sizeof m_data;
    m_had = RegGetValueA(root, path, name, RRF_RT_ANY, &m_type, m_data, &m_size) == ERROR_SUCCESS;
}

SavedValue::~SavedValue()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (m_had) {
        RegSetValueExA(key, m_name.c_str(), 0, m_type, m_data, m_size);
    } else {
        RegDeleteValueA(key, m_name.c_str());
    }
    RegCloseKey(key);
}

void SavedValue::Set(DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, m_name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

}  // namespace alk_bench
