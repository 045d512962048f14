#include "sdk/activesync/manager/SyncRun.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "sdk/activesync/device/DevicePacket.h"
#include "sdk/activesync/device/ReplNotifyDouble.h"
#include "sdk/activesync/manager/ManagerWindow.h"
#include "sdk/activesync/manager/StoreHost.h"

namespace {

std::string Quoted(const char* text)
{
    return std::string("\"") + text + "\"";
}

}  // namespace

int CSyncRun::Run()
{
    std::string error;
    if (!m_state.Load(m_options.statePath, &error) || !m_device.Open(&error)) {
        m_log.Line("state: %s", error.c_str());
        return exitState;
    }
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(com)) {
        m_log.Result("CoInitializeEx(apartment)", com);
        return exitNoStore;
    }
    int exit = exitDone;
    {
        CManagerWindow window;
        CReplNotifyDouble notify(window.Handle());  // outlives the store, which holds it
        CBoxAnswerer boxes(m_log, window.Handle());
        CStoreHost host(m_log);
        switch (host.Locate(m_options.hasProfile, m_options.profile)) {
        case CStoreHost::found: exit = host.Create() == CStoreHost::found ? exitDone : exitNoStore; break;
        case CStoreHost::disabled: exit = exitDisabled; break;
        case CStoreHost::noClass: exit = exitNoStore; break;
        default: exit = exitNotRegistered; break;
        }
        if (exit == exitDone) exit = Synchronise(host.Store(), &notify);
        host.Release();
    }
    CoUninitialize();
    m_log.Line(
        "summary: fresh=%d sent=%d received=%d deleted-on-device=%d deleted-on-desktop=%d conflicts=%d "
        "failed=%d exit=%d",
        m_counts.fresh ? 1 : 0, m_counts.sent, m_counts.received, m_counts.deletedOnDevice, m_counts.deletedOnDesktop,
        m_counts.conflicts, m_counts.failed, exit);
    m_log.Flush();
    return exit;
}

int CSyncRun::Synchronise(IReplStore* store, IReplNotify* notify)
{
    m_store = store;

    // 1. The store and its id.
    HRESULT hr = store->Initialize(notify, m_options.initializeFlags);
    char call[64];
    std::snprintf(call, sizeof call, "Initialize(flags=0x%X)", m_options.initializeFlags);
    m_log.Result(call, hr);
    if (FAILED(hr)) return exitInitialize;

    BYTE id[64] = {};
    STOREINFO info = {};
    info.size = sizeof info;
    info.maxStoreIdSize = sizeof id;
    info.storeId = id;
    hr = store->GetStoreInfo(&info);
    const std::vector<uint8_t> storeID(id, id + std::min<UINT>(info.storeIdSize, sizeof id));
    m_log.Result("GetStoreInfo()", hr, "id=" + CSyncState::ToHex(storeID));
    if (FAILED(hr)) return exitStoreInfo;

    m_counts.fresh = m_state.storeID.empty();
    if (!m_counts.fresh) {
        const int order = store->CompareStoreIDs(m_state.storeID.data(), static_cast<UINT>(m_state.storeID.size()),
                                                 const_cast<BYTE*>(storeID.data()), static_cast<UINT>(storeID.size()));
        m_log.Line("CompareStoreIDs(state, store) = %d", order);
        m_counts.fresh = order != 0;
    }
    if (m_counts.fresh) {
        m_log.Line("starting afresh: every object is new to the other side");
        m_state.objects.clear();
    }
    m_state.storeID = storeID;
    if (m_options.onStage) m_options.onStage(SyncOptions::afterStoreInfo);

    // 2. The folder and what changed on the desktop.
    IUnknown* handler = nullptr;
    hr = store->GetFolderInfo(const_cast<char*>("ALK"), &m_folder, &handler);
    m_log.Result("GetFolderInfo(\"ALK\")", hr);
    if (FAILED(hr) || !m_folder || !handler) {
        if (handler) handler->Release();
        return exitFolder;
    }
    m_handler = static_cast<IReplObjHandler*>(handler);  // handed out as the handler itself

    int exit = exitDone;
    BOOL changed = FALSE;
    hr = store->IsFolderChanged(m_folder, &changed);
    m_log.Result("IsFolderChanged()", hr, SUCCEEDED(hr) ? (changed ? "changed=1" : "changed=0") : "");
    if (hr == REPL_E_STORE_REPLACED) {
        exit = exitStoreReplaced;
    } else if (FAILED(hr)) {
        exit = exitFolder;
    }

    std::vector<Object> objects;
    std::vector<HREPLITEM> desktopNew;
    if (exit == exitDone && !ReadDesktop(objects, desktopNew)) exit = exitEnumeration;

    if (exit == exitDone) {
        // 3. The device, and each object.
        std::vector<std::string> deviceNew;
        ReadDevice(objects, deviceNew);
        for (Object& object : objects) Reconcile(object);
        int newReceived = 0;
        for (const std::string& file : deviceNew) {
            Object object;
            object.file = file;
            if (!m_device.Read(file, &object.deviceBytes)) {
                m_log.Line("object %s: the device file cannot be read", file.c_str());
                ++m_counts.failed;
                continue;
            }
            if (Receive(object.deviceBytes, file, &object.handle, true)) {
                ++m_counts.received;
                if (++newReceived == 1 && m_options.onStage) m_options.onStage(SyncOptions::afterFirstReceived);
                object.hash = CDeviceFolder::Hash(object.deviceBytes);
                objects.push_back(std::move(object));
            } else {
                m_log.Line("object %s: failed, tried again next run", file.c_str());
                ++m_counts.failed;
            }
        }
        for (HREPLITEM item : desktopNew) {
            Object object;
            object.file = NewFileName();
            object.handle = item;
            if (Send(item, object.file, &object.hash)) {
                objects.push_back(std::move(object));
            } else {
                m_log.Line("object %s: failed, tried again next run", object.file.c_str());
                ++m_counts.failed;
                Free(item);
            }
        }
        desktopNew.clear();

        // 4. Duplicates, the state, the end.
        if (m_counts.fresh) {
            hr = store->RemoveDuplicates(const_cast<char*>("ALK"), 0);
            m_log.Result("RemoveDuplicates(\"ALK\", 0)", hr);
        }
        CSyncState next;
        next.storeID = m_state.storeID;
        for (const Object& object : objects) {
            if (object.failed) {
                if (!object.saved.file.empty()) next.objects.push_back(object.saved);
                continue;
            }
            if (!object.keep || !object.handle) continue;
            CSyncObject saved;
            saved.file = object.file;
            // The size first, then the bytes, as the manager keeps them.
            const UINT needed = store->ObjectToBytes(object.handle, nullptr);
            m_log.Line("ObjectToBytes(%s, null) = %u", object.file.c_str(), needed);
            saved.handle.resize(needed);
            const UINT size = needed ? store->ObjectToBytes(object.handle, saved.handle.data()) : 0;
            if (needed) m_log.Line("ObjectToBytes(%s) = %u", object.file.c_str(), size);
            saved.handle.resize(std::min<size_t>(size, saved.handle.size()));
            saved.hash = object.hash;
            next.objects.push_back(std::move(saved));
        }
        std::string error;
        if (!next.Save(m_options.statePath, &error)) {
            m_log.Line("state: %s", error.c_str());
            exit = exitSaveState;
        }
    }
    for (Object& object : objects) Free(object.handle);
    for (HREPLITEM item : desktopNew) Free(item);

    if (exit == exitDone || exit == exitSaveState) {
        m_log.Result("ReportStatus(2)", store->ReportStatus(m_folder, nullptr, REPL_STATUS_SYNC_END, 0));
    }
    m_log.Result("ReportStatus(6)", store->ReportStatus(m_folder, nullptr, REPL_STATUS_RELEASE, 0));
    store->FreeObject(m_folder);
    m_log.Line("FreeObject(folder)");
    m_folder = nullptr;
    m_log.Line("IReplObjHandler::Release() = %lu", static_cast<unsigned long>(m_handler->Release()));
    m_handler = nullptr;
    return exit;
}

// --- the desktop -----------------------------------------------------------------------------

bool CSyncRun::ReadDesktop(std::vector<Object>& objects, std::vector<HREPLITEM>& fresh)
{
    for (const CSyncObject& saved : m_state.objects) {
        Object object;
        object.saved = saved;
        object.file = saved.file;
        object.hash = saved.hash;
        object.handle =
            m_store->BytesToObject(const_cast<BYTE*>(saved.handle.data()), static_cast<UINT>(saved.handle.size()));
        m_log.Line("BytesToObject(%s) = %s", saved.file.c_str(), object.handle ? "handle" : "null");
        object.failed = !object.handle;  // kept as it was
        objects.push_back(std::move(object));
    }
    // The state's handles in the store's order, for the matching below.
    std::vector<size_t> order;
    for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i].handle) order.push_back(i);
    }
    auto compare = [this](HREPLITEM a, HREPLITEM b) {
        const int result = m_store->CompareItem(a, b);
        m_log.Line("CompareItem() = %d", result);
        return result;
    };
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return compare(objects[a].handle, objects[b].handle) < 0; });

    std::vector<HREPLITEM> items;
    HREPLITEM item = nullptr;
    BOOL exists = FALSE;
    HRESULT hr = m_store->FindFirstItem(m_folder, &item, &exists);
    m_log.Result("FindFirstItem()", hr, exists ? "exists=1" : "exists=0");
    while (hr == S_OK && exists) {
        items.push_back(item);
        if (items.size() == 1 && m_options.onStage) m_options.onStage(SyncOptions::afterFirstItem);
        item = nullptr;
        hr = m_store->FindNextItem(m_folder, &item, &exists);
        m_log.Result("FindNextItem()", hr, exists ? "exists=1" : "exists=0");
    }
    m_log.Result("FindItemClose()", m_store->FindItemClose(m_folder));
    if (FAILED(hr)) {
        m_log.Line("the enumeration failed: nothing is deleted or written");
        for (HREPLITEM given : items) Free(given);
        return false;
    }

    for (HREPLITEM given : items) {
        const BOOL replicated = m_store->IsItemReplicated(m_folder, given);
        m_log.Line("IsItemReplicated() = %d", replicated ? 1 : 0);
        if (!replicated) {
            Free(given);
            continue;
        }
        // The first handle not before the item, then the equal ones not yet matched.
        size_t low = 0, high = order.size();
        while (low < high) {
            const size_t middle = (low + high) / 2;
            if (compare(objects[order[middle]].handle, given) < 0) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        Object* match = nullptr;
        for (size_t i = low; i < order.size() && compare(objects[order[i]].handle, given) == 0; ++i) {
            if (!objects[order[i]].seen) {
                match = &objects[order[i]];
                break;
            }
        }
        if (!match) {
            fresh.push_back(given);
            continue;
        }
        match->seen = true;
        const BOOL itemChanged = m_store->IsItemChanged(m_folder, match->handle, given);
        m_log.Line("IsItemChanged(%s) = %d", match->file.c_str(), itemChanged ? 1 : 0);
        if (itemChanged) match->desktop = Side::changed;
        const BOOL copied = m_store->CopyObject(given, match->handle);
        m_log.Line("CopyObject(%s) = %d", match->file.c_str(), copied ? 1 : 0);
        Free(given);
    }
    for (Object& object : objects) {
        if (object.handle && !object.seen && IsGone(object.handle, object.file)) object.desktop = Side::gone;
    }
    return true;
}

// --- the device ------------------------------------------------------------------------------

void CSyncRun::ReadDevice(std::vector<Object>& objects, std::vector<std::string>& fresh)
{
    const std::vector<std::string> files = m_device.List();
    std::set<std::string> known;
    for (Object& object : objects) {
        uint32_t number = 0;
        if (CDeviceFolder::NumberOf(object.file, &number)) m_lastNumber = std::max(m_lastNumber, number);
        known.insert(object.file);
        if (object.failed) continue;
        if (!std::binary_search(files.begin(), files.end(), object.file)) {
            object.device = Side::gone;
        } else if (!m_device.Read(object.file, &object.deviceBytes)) {
            m_log.Line("object %s: the device file cannot be read", object.file.c_str());
            object.failed = true;
        } else if (CDeviceFolder::Hash(object.deviceBytes) != object.saved.hash) {
            object.device = Side::changed;
        }
    }
    for (const std::string& file : files) {
        uint32_t number = 0;
        if (CDeviceFolder::NumberOf(file, &number)) m_lastNumber = std::max(m_lastNumber, number);
        if (!known.count(file)) fresh.push_back(file);
    }
}

std::string CSyncRun::NewFileName()
{
    return CDeviceFolder::NameOf(++m_lastNumber);
}

// --- each object -----------------------------------------------------------------------------

void CSyncRun::Reconcile(Object& object)
{
    if (object.failed || !object.handle) return;
    const std::string& file = object.file;
    bool ok = true;
    if (object.desktop == Side::changed && object.device == Side::changed) {
        Conflict(object);
        return;
    }
    if (object.desktop == Side::gone && object.device == Side::gone) {
        m_log.Line("object %s: gone on both sides", file.c_str());
        object.keep = false;
    } else if (object.desktop == Side::gone && object.device == Side::same) {
        ok = m_device.Remove(file);
        m_log.Line("file %s %s", file.c_str(), ok ? "removed" : "cannot be removed");
        if (ok) {
            object.keep = false;
            ++m_counts.deletedOnDevice;
        }
    } else if (object.desktop == Side::same && object.device == Side::gone) {
        ok = DeleteOnDesktop(object.handle, file);
        if (ok) {
            object.keep = false;
            ++m_counts.deletedOnDesktop;
        }
    } else if (object.desktop == Side::gone && object.device == Side::changed) {
        // Changed on the device, deleted on the desktop: the change wins, as a new object.
        m_log.Line("object %s: deleted on the desktop, changed on the device: made anew", file.c_str());
        HREPLITEM made = nullptr;
        ok = Receive(object.deviceBytes, file, &made, true);
        if (ok) {
            ++m_counts.received;
            Free(object.handle);
            object.handle = made;
            object.hash = CDeviceFolder::Hash(object.deviceBytes);
        }
    } else if (object.desktop != Side::same) {
        // Changed on the desktop (the device's file may be gone: it is written again).
        ok = Send(object.handle, file, &object.hash);
    } else if (object.device == Side::changed) {
        ok = Receive(object.deviceBytes, file, &object.handle, false);
        if (ok) {
            ++m_counts.received;
            object.hash = CDeviceFolder::Hash(object.deviceBytes);
        }
    }
    if (!ok) {
        m_log.Line("object %s: failed, tried again next run", file.c_str());
        object.failed = true;
        ++m_counts.failed;
    }
}

void CSyncRun::Conflict(Object& object)
{
    const std::string& file = object.file;
    ++m_counts.conflicts;
    bool ok = false;
    CDevicePacket packet;
    std::string why;
    if (!packet.Parse(object.deviceBytes, &why)) {
        m_log.Line("object %s: the device packet cannot be read: %s", file.c_str(), why.c_str());
    } else {
        // The device's version beside the desktop's, as an object of its own.
        packet.Remove(CDevicePacket::VehicleRefID);
        HREPLITEM copy = nullptr;
        if (Receive(packet.Write(), file + " (device copy)", &copy, true)) {
            CONFINFO info = {};
            info.size = sizeof info;
            info.folder = m_folder;
            info.localItem = object.handle;
            info.remoteItem = copy;
            const HRESULT hr = m_store->GetConflictInfo(&info);
            m_log.Result(("GetConflictInfo(" + file + ")").c_str(), hr);
            if (hr == REPL_E_IGNORE_CONFLICT) {
                m_log.Line("conflict %s: nothing to choose", file.c_str());
                ok = DeleteOnDesktop(copy, file + " (device copy)");
                if (ok) object.hash = CDeviceFolder::Hash(object.deviceBytes);
            } else if (FAILED(hr)) {
                DeleteOnDesktop(copy, file + " (device copy)");
            } else {
                m_log.Line("conflict %s: desktop %s %s, device %s %s; %s wins", file.c_str(), info.localType,
                           Quoted(info.localDescription).c_str(), info.remoteType,
                           Quoted(info.remoteDescription).c_str(), m_options.deviceWins ? "device" : "desktop");
                if (!m_options.deviceWins) {
                    const bool deleted = DeleteOnDesktop(copy, file + " (device copy)");
                    ok = Send(object.handle, file, &object.hash) && deleted;
                } else {
                    ok = Receive(object.deviceBytes, file, &object.handle, false) &&
                         DeleteOnDesktop(copy, file + " (device copy)");
                    if (ok) {
                        ++m_counts.received;
                        object.hash = CDeviceFolder::Hash(object.deviceBytes);
                    }
                }
            }
            Free(copy);
        }
    }
    if (!ok) {
        m_log.Line("object %s: failed, tried again next run", file.c_str());
        object.failed = true;
        ++m_counts.failed;
    }
}

bool CSyncRun::Send(HREPLITEM item, const std::string& file, uint64_t* hash)
{
    REPLSETUP setup = {};
    setup.size = sizeof setup;
    setup.read = TRUE;
    setup.folder = m_folder;
    setup.item = item;
    HRESULT hr = m_handler->Setup(&setup);
    m_log.Result(("Setup(read, " + file + ")").c_str(), hr);
    if (FAILED(hr)) return false;
    std::vector<uint8_t> bytes;
    // A packet at a time until the last; a store that never says "last" is given up on.
    for (int packets = 0; packets < 1024; ++packets) {
        BYTE* data = nullptr;
        DWORD size = 0;
        hr = m_handler->GetPacket(&data, &size, 1024);
        m_log.Result(("GetPacket(" + file + ", 1024)").c_str(), hr, "size=" + std::to_string(size));
        if (FAILED(hr)) break;
        if (data && size) bytes.insert(bytes.end(), data, data + size);
        if (hr == REPL_S_LAST_PACKET) break;
    }
    m_log.Result(("Reset(read, " + file + ")").c_str(), m_handler->Reset(&setup));
    if (hr != REPL_S_LAST_PACKET) return false;
    if (!m_device.Write(file, bytes)) {
        m_log.Line("file %s cannot be written", file.c_str());
        return false;
    }
    m_log.Line("file %s written (%u bytes)", file.c_str(), static_cast<unsigned>(bytes.size()));
    *hash = CDeviceFolder::Hash(bytes);
    ++m_counts.sent;
    return true;
}

bool CSyncRun::Receive(const std::vector<uint8_t>& bytes, const std::string& what, HREPLITEM* item, bool isNew)
{
    REPLSETUP setup = {};
    setup.size = sizeof setup;
    setup.read = FALSE;
    setup.flags = isNew ? REPL_SETUP_NEW_OBJECT : 0;
    setup.folder = m_folder;
    setup.item = isNew ? nullptr : *item;
    const std::string kind = isNew ? "write new, " : "write, ";
    HRESULT hr = m_handler->Setup(&setup);
    m_log.Result(("Setup(" + kind + what + ")").c_str(), hr);
    if (FAILED(hr)) return false;
    hr = m_handler->SetPacket(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    m_log.Result(("SetPacket(" + what + ")").c_str(), hr, "size=" + std::to_string(bytes.size()));
    m_log.Result(("Reset(" + kind + what + ")").c_str(), m_handler->Reset(&setup));
    if (isNew) {
        if (SUCCEEDED(hr) && setup.item) {
            *item = setup.item;
        } else {
            Free(setup.item);
            if (SUCCEEDED(hr)) hr = E_UNEXPECTED;  // written, but no item to remember it by
        }
    }
    return SUCCEEDED(hr);
}

bool CSyncRun::DeleteOnDesktop(HREPLITEM item, const std::string& what)
{
    REPLSETUP setup = {};
    setup.size = sizeof setup;
    setup.folder = m_folder;
    setup.item = item;
    const HRESULT hr = m_handler->DeleteObj(&setup);
    m_log.Result(("DeleteObj(" + what + ")").c_str(), hr);
    return SUCCEEDED(hr) || IsGone(item, what);
}

bool CSyncRun::IsGone(HREPLITEM item, const std::string& what)
{
    const HRESULT hr = m_store->IsValidObject(m_folder, item, 0);
    m_log.Result(("IsValidObject(" + what + ")").c_str(), hr);
    return hr == REPL_E_OBJECT_GONE;
}

void CSyncRun::Free(HREPLITEM item)
{
    if (!item) return;
    m_store->FreeObject(item);
    m_log.Line("FreeObject()");
}
