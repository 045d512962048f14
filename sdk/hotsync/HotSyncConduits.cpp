// HotSyncConduits.dll, the double of the manager's conduit library: the core folder and the
// folders of creator ids, as its host set them. Texts are copied whole or not at all.
#include <windows.h>

#include <cstring>
#include <map>
#include <string>

#include "sdk/hotsync/HotSync.h"

namespace {

bool g_haveCorePath = false;
std::string g_corePath;
std::map<std::string, std::string> g_creatorFolders;

// Copies text into a buffer of *size bytes; *size becomes its length. Non-zero for a short buffer.
long CopyOut(const std::string& text, char* buffer, long* size)
{
    if (!buffer || !size) return -1;
    if (*size < 0 || text.size() + 1 > static_cast<size_t>(*size)) return -2;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    *size = static_cast<long>(text.size());
    return 0;
}

}  // namespace

void __cdecl HsSimSetCorePath(const char* path)
{
    g_haveCorePath = path != nullptr;
    g_corePath = path ? path : "";
}

void __cdecl HsSimSetCreatorDirectory(const char* creator, const char* folder)
{
    if (!creator) return;
    if (folder)
        g_creatorFolders[creator] = folder;
    else
        g_creatorFolders.erase(creator);
}

long __cdecl CmGetCorePath(char* path, long* size)
{
    if (!g_haveCorePath) return -1;
    return CopyOut(g_corePath, path, size);
}

long __cdecl CmGetCreatorDirectory(const char* creator, char* folder, long* size)
{
    auto it = creator ? g_creatorFolders.find(creator) : g_creatorFolders.end();
    if (it == g_creatorFolders.end()) return -1;
    return CopyOut(it->second, folder, size);
}
