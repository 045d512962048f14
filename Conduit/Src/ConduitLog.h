// What the conduit tells the user: HotSync log entries, message boxes, and texts formatted into
// the fixed 256-byte buffers they travel in.
#pragma once

// Formats into buffer, which holds 256 bytes; a longer text is cut at 255 bytes.
void FormatText(char* buffer, const char* format, ...);

// One log entry: "Autolark: " and the formatted text, cut to 255 bytes, with the activity code
// (HsLogNotice 22, HsLogFailure 30) and the time-stamp flag.
void LogToHotSync(long activity, long timeStamp, const char* format, ...);
// A failure: the text unchanged (never used as a format), activity 30, time-stamped.
void LogError(const char* text);
// A message box with the text, captioned "Autolark", an error icon and OK, owned by no window.
void ShowErrorBox(const char* text);
