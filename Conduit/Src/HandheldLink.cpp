#include "Conduit/Src/HandheldLink.h"

#include <cstring>

#include "Conduit/Src/ConduitLog.h"
#include "Conduit/Src/SynchException.h"
#include "sdk/hotsync/HotSync.h"

namespace {

const DWORD kCreator = HsFourCC('a', 'L', 'R', 'K');
const DWORD kType = HsFourCC('a', 'p', 'p', 'l');
const DWORD kReplyHeaderBytes = 12;
const DWORD kSendHeaderBytes = 16;

void PutBigEndian(BYTE* to, DWORD value)
{
    to[0] = static_cast<BYTE>(value >> 24);
    to[1] = static_cast<BYTE>(value >> 16);
    to[2] = static_cast<BYTE>(value >> 8);
    to[3] = static_cast<BYTE>(value);
}

DWORD GetBigEndian(const BYTE* from)
{
    return (static_cast<DWORD>(from[0]) << 24) | (static_cast<DWORD>(from[1]) << 16) |
           (static_cast<DWORD>(from[2]) << 8) | from[3];
}

RemoteCallBlock MakeCall(RemoteAction action, void* param, DWORD paramSize, void* result, DWORD resultSize)
{
    RemoteCallBlock call;
    std::memset(&call, 0, sizeof call);
    call.creator = kCreator;
    call.type = kType;
    call.action = static_cast<WORD>(action);
    call.paramSize = paramSize;
    call.param = param;
    call.resultBufferSize = resultSize;
    call.resultBuffer = result;
    return call;
}

// A buffer of the records, or of the keys, one after the other.
VarSizeBuffer WriteRecords(const CRecordList& objects)
{
    VarSizeBuffer buffer;
    CVarSizeBufferWriter writer(buffer);
    for (const CAutoPtr<CBaseObject>& record : objects) WriteObject(record.Get(), writer);
    return buffer;
}

VarSizeBuffer WriteKeys(const CKeyList& keys)
{
    VarSizeBuffer buffer;
    CVarSizeBufferWriter writer(buffer);
    for (const CDbItemInfoKey& key : keys) key.Write(writer);
    return buffer;
}

void Discard(RemoteAction action)
{
    DWORD total = 0;
    CallReceive(action, total);
}

}  // namespace

void CheckRemoteResult(long callResult, DWORD handheldResult)
{
    switch (callResult) {
    case HsOk:
    case HsOkToo: return;
    case HsNoLink: ThrowGeneralSynchError(9);
    case HsResult4013: ThrowGeneralSynchError(12);
    case HsResult4015: ThrowGeneralSynchError(11);
    case HsResult10006410: ThrowGeneralSynchError(10);
    case HsRemoteFailed:
        if (handheldResult == 0) ThrowGeneralSynchError(13);
        throw CPalmSideErrorException(static_cast<long>(handheldResult));
    default: throw CUnknownSynchErrorException(callResult);
    }
}

CAutoPtr<BYTE> CallReceive(RemoteAction action, DWORD& total)
{
    CAutoPtr<BYTE> reply(&CAutoPtr<BYTE>::ArrayDelete, new BYTE[LinkReplyLimit]);
    CAutoPtr<BYTE> output;
    DWORD received = 0, expected = 0;
    bool first = true;
    do {
        BYTE request[8];
        PutBigEndian(request, received);
        PutBigEndian(request + 4, LinkReplyLimit);
        RemoteCallBlock call = MakeCall(action, request, sizeof request, reply.Get(), LinkReplyLimit);
        const long result = SyncCallRemoteModule(&call);
        CheckRemoteResult(result, call.handheldResult);

        const DWORD size = call.resultSize;
        DWORD chunk = 0, replyTotal = 0, header = 0;
        if (size > LinkReplyLimit) ThrowGeneralSynchError(6);
        if (size != 0) {
            if (size < kReplyHeaderBytes) ThrowGeneralSynchError(6);
            chunk = GetBigEndian(reply.Get());
            replyTotal = GetBigEndian(reply.Get() + 4);
            header = GetBigEndian(reply.Get() + 8);
        }
        if (first) {
            expected = replyTotal;
            output.Reset(&CAutoPtr<BYTE>::ArrayDelete, expected ? new BYTE[expected] : nullptr);
            first = false;
        }
        // received never passes expected, so expected - received cannot wrap; header + chunk is
        // summed in 64 bits, so a header length beyond the reply cannot wrap to a match.
        if (chunk == 0 && expected != 0) ThrowGeneralSynchError(6);
        if (chunk > expected - received) ThrowGeneralSynchError(6);
        if (replyTotal != expected) ThrowGeneralSynchError(6);
        if (static_cast<ULONGLONG>(header) + chunk != size) ThrowGeneralSynchError(6);

        if (chunk) std::memcpy(output.Get() + received, reply.Get() + header, chunk);
        received += chunk;
    } while (received < expected);
    total = expected;
    return output;
}

void CallSend(RemoteAction action, const BYTE* data, DWORD length)
{
    if (length == 0) return;
    CAutoPtr<BYTE> param(&CAutoPtr<BYTE>::ArrayDelete, new BYTE[LinkReplyLimit]);
    DWORD sent = 0;
    do {
        const DWORD chunk = length - sent < LinkSendChunkLimit ? length - sent : LinkSendChunkLimit;
        PutBigEndian(param.Get(), sent);
        PutBigEndian(param.Get() + 4, length);
        PutBigEndian(param.Get() + 8, chunk);
        PutBigEndian(param.Get() + 12, kSendHeaderBytes);
        std::memcpy(param.Get() + kSendHeaderBytes, data + sent, chunk);
        RemoteCallBlock call = MakeCall(action, param.Get(), chunk + kSendHeaderBytes, nullptr, 0);
        const long result = SyncCallRemoteModule(&call);
        CheckRemoteResult(result, call.handheldResult);
        sent += chunk;
    } while (sent < length);
}

void CallRemoteEmpty()
{
    Discard(ActionMark);
}

void ReceiveItemInfos(CDbItemInfoMap& map)
{
    DWORD total = 0;
    CAutoPtr<BYTE> data = CallReceive(ActionGetItemInfos, total);
    // A list cut short would read as records deleted on the handheld, seven stray bytes as an
    // empty handheld: only whole records make a list.
    if (total % ItemInfoRecordBytes != 0) {
        char cause[256];
        FormatText(cause, "the handheld's item list of %lu bytes is not a whole number of %u-byte records",
                   static_cast<unsigned long>(total), static_cast<unsigned>(ItemInfoRecordBytes));
        ThrowGeneralSynchError(6, cause);
    }
    CMemoryDataReader reader(data.Get(), total);
    for (unsigned long index = 1;; ++index) {
        CDbItemInfo info;
        if (!ReadItemInfo(reader, info)) break;
        // A type no record has means the list itself is damaged (noise of a fitting length), not
        // one record: nothing of it can be trusted, the absence of a key least of all.
        const long type = info.GetKey().ObjectType;
        if (type < CBaseObject::otVehicle || type > CBaseObject::otKeyword) {
            char cause[256];
            FormatText(cause, "the handheld's item list is damaged at record %lu (record type %ld)", index, type);
            ThrowGeneralSynchError(6, cause);
        }
        map[info.GetKey()] = info.GetValue();
    }
}

void ParseObjectRecords(const BYTE* data, DWORD length, CRecordList& objects)
{
    objects.clear();
    CMemoryDataReader reader(data, length);
    while (!reader.IsAtEnd()) {
        const DWORD start = reader.GetPosition();
        CAutoPtr<CBaseObject> record = ReadObject(reader);
        if (reader.IsFailed() || !record.Get()) {
            char cause[256];
            FormatText(cause, "the handheld's object list of %lu bytes is damaged at record %lu (byte %lu)",
                       static_cast<unsigned long>(length), static_cast<unsigned long>(objects.size() + 1),
                       static_cast<unsigned long>(start));
            ThrowGeneralSynchError(6, cause);
        }
        objects.push_back(record);
    }
}

void FetchObjectsFromDevice(const CKeyList& keys, CRecordList& objects)
{
    objects.clear();
    if (keys.empty()) return;
    VarSizeBuffer request = WriteKeys(keys);
    CallSend(ActionRequestObjects, request.data.Get(), request.length);
    DWORD total = 0;
    CAutoPtr<BYTE> data = CallReceive(ActionReceiveRequested, total);
    ParseObjectRecords(data.Get(), total, objects);
    if (objects.size() != keys.size()) ThrowGeneralSynchError(6);
}

void ReceiveAllObjects(CRecordList& objects)
{
    objects.clear();
    DWORD total = 0;
    CAutoPtr<BYTE> data = CallReceive(ActionGetAllObjects, total);
    ParseObjectRecords(data.Get(), total, objects);
}

void SendAllObjects(const CRecordList& objects)
{
    if (objects.empty()) return;
    VarSizeBuffer buffer = WriteRecords(objects);
    CallSend(ActionPutAllObjects, buffer.data.Get(), buffer.length);
}

void SendChangesToDevice(const CKeyList& deleteKeys, const CRecordList& objects)
{
    if (deleteKeys.empty() && objects.empty()) return;
    VarSizeBuffer deletions = WriteKeys(deleteKeys);
    VarSizeBuffer records = WriteRecords(objects);
    Discard(ActionBeginUpdate);
    if (!deleteKeys.empty()) CallSend(ActionDeleteObjects, deletions.data.Get(), deletions.length);
    if (!objects.empty()) CallSend(ActionPutObjects, records.data.Get(), records.length);
    Discard(ActionEndUpdate);
}
