// Class ids of the ADO double's three creatable classes and the private interface by which it
// recognises its own connection objects. The double registers the class ids under the ProgIDs
// "ADODB.Connection", "ADODB.Recordset" and "ADODB.Command"; clients find it by ProgID only.
#pragma once

#include <windows.h>

// {CC37286B-636B-4127-B4FB-910DE770C80B}
static const GUID CLSID_AdoDoubleConnection = {
    0xcc37286b, 0x636b, 0x4127, {0xb4, 0xfb, 0x91, 0x0d, 0xe7, 0x70, 0xc8, 0x0b}};
// {840FDDD9-736D-4007-B27E-A3F4C83DDDEB}
static const GUID CLSID_AdoDoubleRecordset = {
    0x840fddd9, 0x736d, 0x4007, {0xb2, 0x7e, 0xa3, 0xf4, 0xc8, 0x3d, 0xdd, 0xeb}};
// {D05AE6FD-C296-45C3-9A52-7583219F4049}
static const GUID CLSID_AdoDoubleCommand = {
    0xd05ae6fd, 0xc296, 0x45c3, {0x9a, 0x52, 0x75, 0x83, 0x21, 0x9f, 0x40, 0x49}};
// {48B4BC61-5299-419A-9F6F-632D9CFAB7CC}: QueryInterface for it on a connection of the double
// answers the object itself (AddRef'd); used within one process only.
static const GUID IID_AdoDoubleConnection = {
    0x48b4bc61, 0x5299, 0x419a, {0x9f, 0x6f, 0x63, 0x2d, 0x9c, 0xfa, 0xb7, 0xcc}};
