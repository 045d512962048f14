#include "Conduit/Src/RunSync.h"

#include <memory>

#include "Conduit/Src/CCustomDesktopToDeviceWriter.h"
#include "Conduit/Src/CCustomDeviceToDesktopWriter.h"
#include "Conduit/Src/CCustomSynchronizer.h"

long RunSync(long* conflictsResolving, HotSyncRunInfo& runInfo, HsProgressFn progress)
{
    std::unique_ptr<CCustomSynchronizerBase> synchronizer;
    switch (runInfo.syncType) {
    case HsSyncFast:
    case HsSyncSlow: synchronizer.reset(new CCustomSynchronizer(progress, &runInfo, conflictsResolving)); break;
    case HsSyncHandheldToDesktop:
        synchronizer.reset(new CCustomDeviceToDesktopWriter(progress, &runInfo, conflictsResolving));
        break;
    case HsSyncDesktopToHandheld:
        synchronizer.reset(new CCustomDesktopToDeviceWriter(progress, &runInfo, conflictsResolving));
        break;
    default: break;
    }
    if (synchronizer) synchronizer->Run();
    return 0;
}
