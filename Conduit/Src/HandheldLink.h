// The link to the handheld application: transfers of any length over the manager's one remote
// call, SyncCallRemoteModule, which runs an action of the application (creator aLRK, type appl).
//
// Receiving: each call's parameter is a ReceiveRequest, the bytes of the transfer received so far
// and the largest reply accepted (64000); each non-empty reply starts with a ReplyHeader:
//
//   offset  0  chunk length    bytes of transfer data in this reply
//           4  total length    of the whole transfer
//           8  header length   where the chunk begins in the reply
//
// all unsigned 32-bit big-endian. The first reply's total sizes the transfer; every later reply
// must repeat it, carry at least one byte, stay within the total and be exactly header + chunk
// long. A transfer of total 0 is one call answered by an empty reply or a header of zeros. Any
// breach fails the whole transfer with general synch error 6: nothing partial is returned.
//
// Sending: each call's parameter is a SendHeader (offset, total length, chunk length, header
// length 16; unsigned 32-bit big-endian) followed by at most 63984 bytes of the transfer, so a
// parameter never exceeds 64000 bytes. An empty transfer makes no call.
//
// The manager's result of every call is checked (CheckRemoteResult). Exchanges built on the
// transfers rely on the application keeping its state between calls: the keys of a request
// decide what the next "requested objects" returns, and begin/end update bracket the deletions
// and stores of one update.
#pragma once

#include <windows.h>

#include <list>

#include "Conduit/Src/AutoPtr.h"
#include "Conduit/Src/DbItemInfo.h"
#include "Conduit/Src/ObjectRecord.h"

enum RemoteAction {
    ActionMark = 0,              // receive, discarded
    ActionGetItemInfos = 1,      // receive: the handheld's ItemInfoRecords
    ActionRequestObjects = 2,    // send: KeyRecords of the objects wanted
    ActionReceiveRequested = 3,  // receive: the ObjectRecords of the objects wanted
    ActionGetAllObjects = 4,     // receive: every ObjectRecord of the handheld
    ActionPutAllObjects = 5,     // send: every desktop ObjectRecord
    ActionBeginUpdate = 6,       // receive, discarded
    ActionDeleteObjects = 7,     // send: KeyRecords of objects to delete on the handheld
    ActionPutObjects = 8,        // send: ObjectRecords to store on the handheld
    ActionEndUpdate = 9          // receive, discarded
};

enum : DWORD { LinkReplyLimit = 64000, LinkSendChunkLimit = 63984 };

typedef std::list<CDbItemInfoKey> CKeyList;

// One receive transfer: the data (no array for a total of 0) and its length in total.
CAutoPtr<BYTE> CallReceive(RemoteAction action, DWORD& total);
// One send transfer.
void CallSend(RemoteAction action, const BYTE* data, DWORD length);
// Throws for a failed call: 0x400A general error 9, 0x4013 12, 0x4015 11, 0x10006410 10, 0x4019
// a Palm side error with the handheld's code (general error 13 when that code is 0), any other
// value but 0 and 0x4012 an unknown synch error.
void CheckRemoteResult(long callResult, DWORD handheldResult);

// The empty exchange that opens and closes a run.
void CallRemoteEmpty();
// The handheld's item information into map (a later record of a key replaces an earlier one). A
// list that is not a whole number of records, or holds a type outside 1 to 4, fails with general
// error 6, the cause named.
void ReceiveItemInfos(CDbItemInfoMap& map);
// The handheld's records of the keys: one request, one receive; no call without keys. Fails with
// general error 6 when the number of records received differs from the number of keys.
void FetchObjectsFromDevice(const CKeyList& keys, CRecordList& objects);
void ReceiveAllObjects(CRecordList& objects);
// No call for an empty list.
void SendAllObjects(const CRecordList& objects);
// Begin update, the deletions, the records, end update; nothing when both lists are empty. The
// transfers are built before the first call, so a record that cannot be written sends nothing.
void SendChangesToDevice(const CKeyList& deleteKeys, const CRecordList& objects);
// The ObjectRecords of a transfer into objects, in order. A list ends only where its data ends:
// a record cut short, a text without its NUL or a type outside 1 to 4 fails with general error
// 6 (the record and its byte named), since a shorter list would read as records deleted on the
// handheld.
void ParseObjectRecords(const BYTE* data, DWORD length, CRecordList& objects);
