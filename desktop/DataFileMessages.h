// What the program tells the user about its data file when the file cannot be opened, read or
// written: the cause in words a user understands (from CDataLayer::GetLastFailure), and the one
// notice of a damaged file. Every message comes from the string table.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "framework/String.h"

// The cause as the end of a sentence, without its full stop: "the disk is full".
CString DescribeFailure(CDataLayer::FailureCause cause);

// True when the same operation may succeed later, once the other program is done or the user has
// made room or changed the file: a file in use, read-only, on a full or failing disk. A file of
// another layout, a damaged one or no connection stays as it is: trying again cannot mend them.
bool CanRetry(CDataLayer::FailureCause cause);

// Tells the user, once for the connection, that the data file is damaged, as soon as an
// operation of the program's connection has met damage (CDataLayer::FoundDamage): before the
// program writes into it (every write of the program calls this first) and after the views'
// loads. Shows a message box owned by the active window: a caller that holds records of the
// main window's lists holds reloads back around it. Nothing when there is no damage or the user
// has been told.
void TellOfDamage();
// True while there is damage met that the user has not been told of (what TellOfDamage would tell).
bool DamageToTell();
// The next damage found is told again: a file has been connected.
void ForgetDamageTold();
