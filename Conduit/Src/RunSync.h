// One HotSync run: the synchronizer of the run's sync type, run once.
#pragma once

#include "sdk/hotsync/HotSync.h"

// 0 and 1 two-way, 2 the handheld's records replace the desktop's, 3 the desktop's replace the
// handheld's; 6 (do nothing) and every other type do nothing at all: no database, no log line,
// no file, no message. Always 0.
long RunSync(long* conflictsResolving, HotSyncRunInfo& runInfo, HsProgressFn progress);
