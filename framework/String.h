// CStringT: a reference-counted string of wide (CStringW, alias CString) or 8-bit (CStringA)
// characters.
//
// Copies share one heap block until one of them is changed (copy on write). The block keeps an
// explicit length, so a string may hold embedded NULs: GetBuffer hands out the characters for
// writing, and ReleaseBuffer(n) sets the length to n (or, with -1, to the position of the first
// NUL). The buffer always ends with a NUL after the last counted character.
//
// Format and AppendFormat follow the platform C runtime (msvcrt) conventions, not C99: in the
// wide form "%s" takes a wide string and "%S" an 8-bit one; in the 8-bit form the reverse.
// LoadString reads the string table of a given module, or of the module that holds the
// resources (see CAppModule / GetResourceInstance in framework/Module.h).
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

namespace alk_string_detail {

// Character-width specific calls, one set per character type.
template <typename T>
struct Traits;

template <>
struct Traits<wchar_t> {
    static size_t Length(const wchar_t* s) { return s ? wcslen(s) : 0; }
    static int Compare(const wchar_t* a, const wchar_t* b) { return wcscmp(a, b); }
    static int CompareNoCase(const wchar_t* a, const wchar_t* b) { return _wcsicmp(a, b); }
    // -1 when the buffer is too small (msvcrt semantics: "%s" is a wide string).
    static int VFormat(wchar_t* buf, size_t n, const wchar_t* fmt, va_list args)
    {
        return _vsnwprintf(buf, n, fmt, args);
    }
    static int LoadString(HINSTANCE inst, UINT id, wchar_t* buf, int n) { return ::LoadStringW(inst, id, buf, n); }
    static void Lower(wchar_t* s, size_t n) { ::CharLowerBuffW(s, static_cast<DWORD>(n)); }
    static void Upper(wchar_t* s, size_t n) { ::CharUpperBuffW(s, static_cast<DWORD>(n)); }
    static bool IsSpace(wchar_t c)
    {
        return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
    }
};

template <>
struct Traits<char> {
    static size_t Length(const char* s) { return s ? strlen(s) : 0; }
    static int Compare(const char* a, const char* b) { return strcmp(a, b); }
    static int CompareNoCase(const char* a, const char* b) { return _stricmp(a, b); }
    static int VFormat(char* buf, size_t n, const char* fmt, va_list args) { return _vsnprintf(buf, n, fmt, args); }
    static int LoadString(HINSTANCE inst, UINT id, char* buf, int n) { return ::LoadStringA(inst, id, buf, n); }
    static void Lower(char* s, size_t n) { ::CharLowerBuffA(s, static_cast<DWORD>(n)); }
    static void Upper(char* s, size_t n) { ::CharUpperBuffA(s, static_cast<DWORD>(n)); }
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
};

}  // namespace alk_string_detail

HINSTANCE AlkGetResourceInstance();  // framework/Module.cpp

template <typename T>
class CStringT {
    using Tr = alk_string_detail::Traits<T>;

    // One heap block: this header, then capacity + 1 characters.
    struct Data {
        volatile LONG refs;
        int length;
        int capacity;
        T* Chars() { return reinterpret_cast<T*>(this + 1); }
    };

public:
    using XCHAR = T;

    CStringT() : m_data(nullptr) {}
    CStringT(const CStringT& other) : m_data(other.m_data)
    {
        if (m_data) InterlockedIncrement(&m_data->refs);
    }
    CStringT(CStringT&& other) noexcept : m_data(other.m_data) { other.m_data = nullptr; }
    CStringT(const T* s) : m_data(nullptr) { Assign(s, static_cast<int>(Tr::Length(s))); }
    CStringT(const T* s, int length) : m_data(nullptr) { Assign(s, length); }
    CStringT(T ch, int repeat = 1) : m_data(nullptr)
    {
        if (repeat > 0) {
            T* p = PrepareWrite(repeat, false);
            for (int i = 0; i < repeat; ++i) p[i] = ch;
            SetLength(repeat);
        }
    }
    ~CStringT() { Release(); }

    CStringT& operator=(const CStringT& other)
    {
        if (m_data != other.m_data) {
            if (other.m_data) InterlockedIncrement(&other.m_data->refs);
            Release();
            m_data = other.m_data;
        }
        return *this;
    }
    CStringT& operator=(CStringT&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_data = other.m_data;
            other.m_data = nullptr;
        }
        return *this;
    }
    CStringT& operator=(const T* s)
    {
        Assign(s, static_cast<int>(Tr::Length(s)));
        return *this;
    }
    CStringT& operator=(T ch)
    {
        Assign(&ch, 1);
        return *this;
    }

    // --- size and access ---------------------------------------------------------------------
    int GetLength() const { return m_data ? m_data->length : 0; }
    bool IsEmpty() const { return GetLength() == 0; }
    void Empty() { Release(); }
    const T* GetString() const { return m_data ? m_data->Chars() : EmptyChars(); }
    operator const T*() const { return GetString(); }
    T GetAt(int i) const { return GetString()[i]; }
    T operator[](int i) const { return GetString()[i]; }
    void SetAt(int i, T ch)
    {
        if (i < 0 || i >= GetLength()) return;
        MakeUnique();
        m_data->Chars()[i] = ch;
    }

    // Characters for writing, room for at least minLength characters plus the terminator. The
    // present content is kept. Call ReleaseBuffer before any other member.
    T* GetBuffer(int minLength = 0)
    {
        if (minLength < GetLength()) minLength = GetLength();
        return PrepareWrite(minLength, true);
    }
    T* GetBufferSetLength(int length)
    {
        T* p = PrepareWrite(length, true);
        SetLength(length);
        return p;
    }
    // newLength -1: up to the first NUL; otherwise exactly that many characters (NULs included).
    void ReleaseBuffer(int newLength = -1)
    {
        if (!m_data) return;
        if (newLength < 0) newLength = static_cast<int>(Tr::Length(m_data->Chars()));
        if (newLength > m_data->capacity) newLength = m_data->capacity;
        SetLength(newLength);
    }

    // --- building ----------------------------------------------------------------------------
    CStringT& operator+=(const CStringT& s)
    {
        Append(s.GetString(), s.GetLength());
        return *this;
    }
    CStringT& operator+=(const T* s)
    {
        Append(s, static_cast<int>(Tr::Length(s)));
        return *this;
    }
    CStringT& operator+=(T ch)
    {
        Append(&ch, 1);
        return *this;
    }
    void Append(const T* s, int n)
    {
        if (n <= 0) return;
        int old = GetLength();
        // s may point into our own block, which may move: hold on to the block meanwhile.
        CStringT keep;
        if (m_data && s >= m_data->Chars() && s <= m_data->Chars() + m_data->capacity) keep = *this;
        int need = old + n;
        int capacity = m_data ? m_data->capacity : 0;
        // Grow by half again so that repeated appends stay linear.
        T* p = PrepareWrite(need > capacity ? (need > capacity + capacity / 2 ? need : capacity + capacity / 2) : need,
                            true);
        memmove(p + old, s, n * sizeof(T));
        SetLength(need);
    }

    friend CStringT operator+(const CStringT& a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const CStringT& a, const T* b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const T* a, const CStringT& b)
    {
        CStringT r(a);
        r += b;
        return r;
    }
    friend CStringT operator+(const CStringT& a, T b)
    {
        CStringT r(a);
        r += b;
        return r;
    }

    void __cdecl Format(const T* fmt, ...)
    {
        va_list args;
        va_start(args, fmt);
        FormatV(fmt, args);
        va_end(args);
    }
    void __cdecl AppendFormat(const T* fmt, ...)
    {
        va_list args;
        va_start(args, fmt);
        CStringT more;
        more.FormatV(fmt, args);
        va_end(args);
        *this += more;
    }
    // Format with a string-table entry as the format.
    void __cdecl Format(UINT formatId, ...)
    {
        CStringT fmt;
        fmt.LoadString(formatId);
        va_list args;
        va_start(args, formatId);
        FormatV(fmt.GetString(), args);
        va_end(args);
    }
    void FormatV(const T* fmt, va_list args)
    {
        int size = 128;
        for (;;) {
            T* p = PrepareWrite(size, false);
            va_list copy;
            va_copy(copy, args);
            int n = Tr::VFormat(p, size + 1, fmt, copy);
            va_end(copy);
            if (n >= 0 && n <= size) {
                SetLength(n);
                return;
            }
            if (size > (1 << 24)) {  // a format that never fits: give up empty
                Empty();
                return;
            }
            size *= 2;
        }
    }

    // Loads a string-table entry of the given module (default: the resource module). Entries
    // of any length are read whole. False (and the string emptied) when there is none.
    bool LoadString(UINT id) { return LoadString(AlkGetResourceInstance(), id); }
    bool LoadString(HINSTANCE inst, UINT id)
    {
        int size = 256;
        for (;;) {
            T* p = PrepareWrite(size, false);
            int n = Tr::LoadString(inst, id, p, size + 1);
            if (n <= 0) {
                Empty();
                return false;
            }
            if (n < size) {
                SetLength(n);
                return true;
            }
            size += 256;
            if (size > 65536) {
                SetLength(n);
                return true;
            }
        }
    }

    // --- searching and comparing ---------------------------------------------------------------
    int Find(T ch, int start = 0) const
    {
        const T* s = GetString();
        for (int i = start < 0 ? 0 : start; i < GetLength(); ++i)
            if (s[i] == ch) return i;
        return -1;
    }
    int Find(const T* sub, int start = 0) const
    {
        int n = static_cast<int>(Tr::Length(sub));
        const T* s = GetString();
        if (start < 0) start = 0;
        if (n == 0) return start <= GetLength() ? start : -1;
        for (int i = start; i + n <= GetLength(); ++i)
            if (memcmp(s + i, sub, n * sizeof(T)) == 0) return i;
        return -1;
    }
    int ReverseFind(T ch) const
    {
        const T* s = GetString();
        for (int i = GetLength() - 1; i >= 0; --i)
            if (s[i] == ch) return i;
        return -1;
    }
    int Compare(const T* s) const { return Tr::Compare(GetString(), s ? s : EmptyChars()); }
    int CompareNoCase(const T* s) const { return Tr::CompareNoCase(GetString(), s ? s : EmptyChars()); }
    friend bool operator==(const CStringT& a, const CStringT& b)
    {
        return a.GetLength() == b.GetLength() && memcmp(a.GetString(), b.GetString(), a.GetLength() * sizeof(T)) == 0;
    }
    friend bool operator==(const CStringT& a, const T* b) { return a.Compare(b) == 0; }
    friend bool operator==(const T* a, const CStringT& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return !(a == b); }
    friend bool operator!=(const CStringT& a, const T* b) { return !(a == b); }
    friend bool operator!=(const T* a, const CStringT& b) { return !(b == a); }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.Compare(b) < 0; }

    // --- extracting --------------------------------------------------------------------------
    CStringT Mid(int first, int count = -1) const
    {
        if (first < 0) first = 0;
        if (first > GetLength()) first = GetLength();
        if (count < 0 || first + count > GetLength()) count = GetLength() - first;
        return CStringT(GetString() + first, count);
    }
    CStringT Left(int count) const { return Mid(0, count < 0 ? 0 : count); }
    CStringT Right(int count) const
    {
        if (count < 0) count = 0;
        if (count > GetLength()) count = GetLength();
        return Mid(GetLength() - count, count);
    }

    // --- changing ----------------------------------------------------------------------------
    // Both return the number of replacements.
    int Replace(T oldCh, T newCh)
    {
        int n = 0;
        for (int i = 0; i < GetLength(); ++i)
            if (GetString()[i] == oldCh) {
                if (n++ == 0) MakeUnique();
                m_data->Chars()[i] = newCh;
            }
        return n;
    }
    int Replace(const T* oldText, const T* newText)
    {
        int oldLen = static_cast<int>(Tr::Length(oldText));
        if (oldLen == 0) return 0;
        int newLen = static_cast<int>(Tr::Length(newText));
        CStringT result;
        int count = 0, pos = 0;
        for (int hit; (hit = Find(oldText, pos)) >= 0; pos = hit + oldLen, ++count) {
            result.Append(GetString() + pos, hit - pos);
            result.Append(newText, newLen);
        }
        if (count) {
            result.Append(GetString() + pos, GetLength() - pos);
            *this = result;
        }
        return count;
    }
    // Removes count characters from index; returns the new length.
    int Delete(int index, int count = 1)
    {
        const int length = GetLength();
        if (index < 0) index = 0;
        if (count <= 0 || index >= length) return length;
        if (count > length - index) count = length - index;
        const unsigned tail = static_cast<unsigned>(length - index - count);
        MakeUnique();
        T* p = m_data->Chars();
        memmove(p + index, p + index + count, tail * sizeof(T));
        SetLength(length - count);
        return length - count;
    }
    int Insert(int index, const T* s)
    {
        if (index < 0) index = 0;
        if (index > GetLength()) index = GetLength();
        CStringT tail = Mid(index);
        CStringT head = Left(index);
        head += s;
        head += tail;
        *this = head;
        return GetLength();
    }
    int Insert(int index, T ch)
    {
        T s[2] = {ch, 0};
        return Insert(index, s);
    }
    CStringT& MakeLower()
    {
        if (GetLength()) {
            MakeUnique();
            Tr::Lower(m_data->Chars(), GetLength());
        }
        return *this;
    }
    CStringT& MakeUpper()
    {
        if (GetLength()) {
            MakeUnique();
            Tr::Upper(m_data->Chars(), GetLength());
        }
        return *this;
    }
    CStringT& TrimLeft()
    {
        int i = 0;
        while (i < GetLength() && Tr::IsSpace(GetString()[i])) ++i;
        if (i) Delete(0, i);
        return *this;
    }
    CStringT& TrimRight()
    {
        int n = GetLength();
        while (n > 0 && Tr::IsSpace(GetString()[n - 1])) --n;
        if (n != GetLength()) Delete(n, GetLength() - n);
        return *this;
    }
    CStringT& Trim() { return TrimRight().TrimLeft(); }

private:
    static const T* EmptyChars()
    {
        static const T empty[1] = {0};
        return empty;
    }

    void Release()
    {
        if (m_data && InterlockedDecrement(&m_data->refs) == 0) free(m_data);
        m_data = nullptr;
    }
    void Assign(const T* s, int n)
    {
        if (n <= 0 || !s) {
            Empty();
            return;
        }
        CStringT keep(*this);  // s may point into our block
        T* p = PrepareWrite(n, false);
        memmove(p, s, n * sizeof(T));
        SetLength(n);
    }
    void SetLength(int n)
    {
        if (!m_data) return;
        m_data->length = n;
        m_data->Chars()[n] = 0;
    }
    void MakeUnique() { PrepareWrite(GetLength(), true); }

    // Makes the block ours alone with room for capacity characters; keeps the content when
    // asked. Returns the characters. Throws std::bad_alloc when memory runs out.
    T* PrepareWrite(int capacity, bool keep)
    {
        if (capacity < 0) capacity = 0;
        if (m_data && m_data->refs == 1 && m_data->capacity >= capacity) return m_data->Chars();
        int cap = capacity < 15 ? 15 : capacity;
        Data* d = static_cast<Data*>(malloc(sizeof(Data) + (cap + 1) * sizeof(T)));
        if (!d) throw std::bad_alloc();
        d->refs = 1;
        d->capacity = cap;
        d->length = 0;
        if (keep && m_data) {
            d->length = m_data->length < cap ? m_data->length : cap;
            memcpy(d->Chars(), m_data->Chars(), d->length * sizeof(T));
        }
        d->Chars()[d->length] = 0;
        Release();
        m_data = d;
        return d->Chars();
    }

    Data* m_data;
};

using CStringW = CStringT<wchar_t>;
using CStringA = CStringT<char>;
using CString = CStringW;
