// The files the ADO double serves: an old Access database re-created as an SQLite 3 file.
//
// A file is the double's when its header's application id (PRAGMA application_id) is
// OldDataApplicationId; any other file, SQLite or not, is an "Unrecognized database format" to
// the double, as a foreign file is to Jet. Tables are declared in Access DDL and the declared
// type of a column decides the variant type of its values:
//
//   declared type         variant     value as stored in SQLite
//   BYTE                  VT_UI1      integer 0..255
//   SHORT, SMALLINT       VT_I2       integer
//   LONG, INTEGER         VT_I4       integer
//   SINGLE, REAL          VT_R4       real
//   DOUBLE, FLOAT         VT_R8       real
//   CURRENCY, MONEY       VT_CY       real, or text for an exact amount ("12.3456")
//   DATETIME, DATE        VT_DATE     real OLE date, or text "YYYY-MM-DD[ HH:MM:SS]"
//   TEXT(n), MEMO         VT_BSTR     text
//   BIT, YESNO            VT_BOOL     integer, non-zero for true
//   DECIMAL(p,s)          VT_DECIMAL  integer, real, or the exact number ("-12.50") as a blob
//                                     (CAST('-12.50' AS BLOB): the column's numeric affinity
//                                     would turn a text into a real)
//   EMPTY                 VT_EMPTY    anything (no Jet column gives it; for the tests' sake)
// A stored NULL is VT_NULL whatever the column's type. A column of an expression, which has no
// declared type, takes its type from the value: integer VT_I4, real VT_R8, text VT_BSTR.
//
// An optional table __faults makes calls fail on cue (one row per fault):
//   __faults(Call TEXT, Subject TEXT, Skip INTEGER, Times INTEGER, Code INTEGER)
// Call is "Open", "EOF", "MoveNext" or "Close" of a recordset, whose source text must contain
// Subject (ignoring case), or "Field", a read of the value of the field named Subject. The first
// Skip matching calls succeed; the next Times calls (every later one when Times is 0 or NULL)
// fail with the HRESULT Code (E_FAIL when NULL). Counting starts when the connection opens.
#pragma once

// "ALKO" as a big-endian number.
#define ALK_OLD_DATA_APPLICATION_ID 0x414C4B4F
