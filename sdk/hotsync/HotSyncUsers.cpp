// HotSyncUsers.dll, the double of the manager's user library: users by name, with an id and a
// folder (relative to the core folder), as its host set them.
#include <windows.h>

#include <cstring>
#include <map>
#include <string>

#include "sdk/hotsync/HotSync.h"

namespace {

struct User {
    DWORD id;
    bool hasFolder;
    std::string folder;
};
std::map<std::string, User> g_users;

}  // namespace

void __cdecl HsSimAddUser(const char* userName, DWORD userId, const char* folder)
{
    if (!userName) return;
    g_users[userName] = User{userId, folder != nullptr, folder ? folder : ""};
}

void __cdecl HsSimClearUsers()
{
    g_users.clear();
}

long __cdecl UmGetIDFromName(const char* userName, DWORD* userId)
{
    auto it = userName ? g_users.find(userName) : g_users.end();
    if (it == g_users.end() || !userId) return -1;
    *userId = it->second.id;
    return 0;
}

long __cdecl UmGetUserDirectory(DWORD userId, char* folder, long* size)
{
    if (!folder || !size) return -1;
    for (const auto& user : g_users) {
        if (user.second.id != userId) continue;
        if (!user.second.hasFolder) return -1;
        const std::string& text = user.second.folder;
        if (*size < 0 || text.size() + 1 > static_cast<size_t>(*size)) return -2;
        std::memcpy(folder, text.c_str(), text.size() + 1);
        *size = static_cast<long>(text.size());
        return static_cast<long>(text.size() + 1);
    }
    return -1;
}
