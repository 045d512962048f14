#include "sdk/activesync/manager/SyncState.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const char kSignature[] = "alk-activesync-state 1";

}  // namespace

std::string CSyncState::ToHex(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

bool CSyncState::FromHex(const std::string& text, std::vector<uint8_t>* bytes)
{
    bytes->clear();
    if (text.size() % 2) return false;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = digit(text[i]), low = digit(text[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes->push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return true;
}

bool CSyncState::Load(const std::string& path, std::string* error)
{
    storeID.clear();
    objects.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;  // never synchronised
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        bool ok = true;
        if (number == 1) {
            ok = line == kSignature;
        } else if (kind == "store") {
            std::string hex;
            ok = static_cast<bool>(words >> hex) && FromHex(hex, &storeID);
        } else if (kind == "object") {
            CSyncObject object;
            std::string handle, hash;
            ok = static_cast<bool>(words >> object.file >> handle >> hash) && FromHex(handle, &object.handle) &&
                 hash.size() == 16;
            if (ok) {
                char* end = nullptr;
                object.hash = std::strtoull(hash.c_str(), &end, 16);
                ok = end && *end == 0;
                objects.push_back(object);
            }
        } else {
            ok = false;
        }
        if (!ok) {
            *error = path + ":" + std::to_string(number) + ": not a state line";
            storeID.clear();
            objects.clear();
            return false;
        }
    }
    if (number == 0) {
        *error = path + " is empty";
        return false;
    }
    return true;
}

bool CSyncState::Save(const std::string& path, std::string* error) const
{
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << kSignature << "\r\n";
        if (!storeID.empty()) out << "store " << ToHex(storeID) << "\r\n";
        for (const CSyncObject& object : objects) {
            char hash[24];
            std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(object.hash));
            out << "object " << object.file << ' ' << ToHex(object.handle) << ' ' << hash << "\r\n";
        }
        out.flush();
        if (!out) {
            *error = "cannot write " + temporary;
            return false;
        }
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        *error = "cannot replace " + path;
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

const CSyncObject* CSyncState::Find(const std::string& file) const
{
    for (const CSyncObject& object : objects) {
        if (object.file == file) return &object;
    }
    return nullptr;
}
