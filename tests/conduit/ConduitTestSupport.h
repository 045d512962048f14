// Helpers of the conduit's tests: the manager's libraries set up and put back, a scripted link
// that answers remote calls from a test's function, what an exception thrown by the conduit
// says, and files read back as lines.
#pragma once

#include <windows.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Conduit/Src/SynchException.h"
#include "sdk/hotsync/HotSync.h"
#include "tests/support/TestFiles.h"

namespace alk_conduit_test {

inline std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream file(path, std::ios::binary);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The manager's libraries with a core folder, one user ("Ann", id 1, folder "Ann"), the folder
// "Autolark" of the creator aLRK and a log file, all in a scratch folder; everything unset again
// when it goes.
class CManager {
public:
    CManager() : m_folder(L"alkconduit"), m_root(ToAnsi(m_folder.Path()))
    {
        m_core = m_root + "\\HotSync";
        m_log = m_root + "\\HotSync.log";
        HsSimSetCorePath(m_core.c_str());
        HsSimClearUsers();
        HsSimAddUser("Ann", 1, "Ann");
        HsSimSetCreatorDirectory("aLRK", "Autolark");
        HsSimSetLogFile(m_log.c_str());
    }
    ~CManager()
    {
        HsSimSetCorePath(nullptr);
        HsSimClearUsers();
        HsSimSetCreatorDirectory("aLRK", nullptr);
        HsSimSetLogFile(nullptr);
        HsSimSetRemoteHandler(nullptr, nullptr);
    }
    CManager(const CManager&) = delete;
    CManager& operator=(const CManager&) = delete;

    const std::string& Root() const { return m_root; }
    const std::string& Core() const { return m_core; }
    std::string ConduitFolder() const { return m_core + "\\Ann\\Autolark\\"; }
    const std::string& LogFile() const { return m_log; }
    std::vector<std::string> Log() const { return ReadLines(m_log); }

private:
    CScratchFolder m_folder;
    std::string m_root, m_core, m_log;
};

// Answers every remote call with a test's function and keeps a copy of each call block and its
// parameter bytes.
class CScriptedLink {
public:
    struct Call {
        RemoteCallBlock block;
        std::string param;
    };
    typedef std::function<long(RemoteCallBlock& call, int index)> Answer;

    explicit CScriptedLink(Answer answer) : m_answer(answer) { HsSimSetRemoteHandler(&CScriptedLink::Handle, this); }
    ~CScriptedLink() { HsSimSetRemoteHandler(nullptr, nullptr); }
    CScriptedLink(const CScriptedLink&) = delete;
    CScriptedLink& operator=(const CScriptedLink&) = delete;

    const std::vector<Call>& Calls() const { return m_calls; }

private:
    static long Handle(RemoteCallBlock* call, void* context)
    {
        CScriptedLink* self = static_cast<CScriptedLink*>(context);
        Call copy{*call, std::string(static_cast<const char*>(call->param), call->paramSize)};
        self->m_calls.push_back(copy);
        return self->m_answer(*call, static_cast<int>(self->m_calls.size()) - 1);
    }

    Answer m_answer;
    std::vector<Call> m_calls;
};

inline void PutU32(std::string& out, DWORD value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

inline DWORD GetU32(const std::string& bytes, size_t offset)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + offset;
    return (static_cast<DWORD>(p[0]) << 24) | (static_cast<DWORD>(p[1]) << 16) | (static_cast<DWORD>(p[2]) << 8) | p[3];
}

// A reply of a receive: the header (chunk, total, header length) and the data, into the call's
// buffer; resultSize is what the reply says it is unless size is given.
inline long Reply(RemoteCallBlock& call, DWORD chunk, DWORD total, DWORD header, const std::string& data,
                  long size = -1)
{
    std::string reply;
    PutU32(reply, chunk);
    PutU32(reply, total);
    PutU32(reply, header);
    reply += data;
    const size_t n = reply.size() < call.resultBufferSize ? reply.size() : call.resultBufferSize;
    std::memcpy(call.resultBuffer, reply.data(), n);
    call.resultSize = size < 0 ? static_cast<DWORD>(reply.size()) : static_cast<DWORD>(size);
    return HsOk;
}

// The general synch error number f throws, 0 when it throws nothing, -1 for anything else.
inline long GeneralError(const std::function<void()>& f)
{
    try {
        f();
    } catch (const CGeneralSynchErrorException& e) {
        return e.GetErrorCode();
    } catch (...) {
        return -1;
    }
    return 0;
}

// The text of what f throws ("" when nothing).
inline std::string ThrownText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

}  // namespace alk_conduit_test
