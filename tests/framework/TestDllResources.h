// Resource ids of the framework tests' DLL. IDS_DLL_TEXT is the same id as a string of the
// test program, with another text, so a lookup in the wrong module shows.
#pragma once
#define IDS_DLL_TEXT   129
#define IDD_DLL_DIALOG 100
